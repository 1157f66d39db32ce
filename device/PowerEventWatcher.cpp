#include "device/PowerEventWatcher.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDebug>
#include <QGuiApplication>
#include <QSessionManager>

#include <atomic>

namespace {
const QString kService = QStringLiteral("org.freedesktop.login1");
const QString kPath = QStringLiteral("/org/freedesktop/login1");
const QString kInterface = QStringLiteral("org.freedesktop.login1.Manager");
} // namespace

PowerEventWatcher::PowerEventWatcher(QObject *parent)
    : QObject(parent)
{
    QDBusConnection bus = QDBusConnection::systemBus();
    // QtDBus subscribes by slot signature only.
    m_watchesSleep = bus.isConnected()
        && bus.connect(kService, kPath, kInterface, QStringLiteral("PrepareForSleep"), this,
                       SLOT(onPrepareForSleep(bool)));
    if (m_watchesSleep) {
        // A power-off or reboot started outside the desktop (systemctl) or on Wayland reaches
        // the program only this way.
        bus.connect(kService, kPath, kInterface, QStringLiteral("PrepareForShutdown"), this,
                    SLOT(onPrepareForShutdown(bool)));
        takeDelayLock();
    } else {
        // Machines without a system bus (containers, CI) simply have no sleep events.
        static std::atomic<bool> told{false};
        if (!told.exchange(true))
            qDebug("power events: no system bus, sleep and wake are not logged");
    }

    if (auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        connect(app, &QGuiApplication::commitDataRequest, this, [this](QSessionManager &) { onEndOfSession(); });
    }
}

bool PowerEventWatcher::watchesSleep() const
{
    return m_watchesSleep;
}

bool PowerEventWatcher::holdsDelayLock() const
{
    return m_delayLock.isValid();
}

void PowerEventWatcher::takeDelayLock()
{
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Inhibit"));
    call << QStringLiteral("sleep:shutdown") << QStringLiteral("vorlet")
         << QStringLiteral("Writing the log and the sound card's settings first") << QStringLiteral("delay");
    // Asynchronous: the GUI thread never waits for logind.
    auto *pending = new QDBusPendingCallWatcher(QDBusConnection::systemBus().asyncCall(call), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *watcher) {
        watcher->deleteLater();
        const QDBusPendingReply<QDBusUnixFileDescriptor> reply = *watcher;
        if (reply.isError()) {
            qDebug().noquote() << "power events: no delay lock:" << reply.error().message();
            return;
        }
        m_delayLock = reply.value();
        if (m_delayLock.isValid())
            emit delayLockChanged(true);
    });
}

void PowerEventWatcher::releaseDelayLock()
{
    if (!m_delayLock.isValid())
        return;
    // Closing the descriptor gives the lock up; logind then lets the machine sleep.
    m_delayLock = QDBusUnixFileDescriptor();
    emit delayLockChanged(false);
}

void PowerEventWatcher::onPrepareForSleep(bool sleeping)
{
    if (sleeping) {
        qDebug("======xiu mian======");
        emit aboutToSleep();
        releaseDelayLock();
    } else {
        qDebug("======huan xing======");
        takeDelayLock();
        emit wokeUp();
    }
}

void PowerEventWatcher::onPrepareForShutdown(bool shuttingDown)
{
    if (shuttingDown) {
        onEndOfSession();
        releaseDelayLock();
    } else if (m_watchesSleep && !m_delayLock.isValid()) {
        // Called off: the next shutdown waits for us again.
        takeDelayLock();
    }
}

void PowerEventWatcher::onEndOfSession()
{
    // The session manager and logind may both announce the same end: one line, and what waits
    // is written each time (the second finds little or nothing).
    if (!m_sessionEndLogged)
        qDebug("======system poweroff,reboot or logoff======");
    m_sessionEndLogged = true;
    emit sessionEnding();
}
