#include "device/PowerEventWatcher.h"

#include <QDBusConnection>
#include <QDebug>
#include <QGuiApplication>
#include <QSessionManager>

#include <atomic>

namespace {
const QString kService = QStringLiteral("org.freedesktop.login1");
const QString kPath = QStringLiteral("/org/freedesktop/login1");
const QString kInterface = QStringLiteral("org.freedesktop.login1.Manager");
const QString kSignal = QStringLiteral("PrepareForSleep");
}

PowerEventWatcher::PowerEventWatcher(QObject *parent) : QObject(parent)
{
    QDBusConnection bus = QDBusConnection::systemBus();
    // QtDBus subscribes by slot signature only.
    m_watchesSleep = bus.isConnected()
                     && bus.connect(kService, kPath, kInterface, kSignal, this, SLOT(onPrepareForSleep(bool)));
    if (!m_watchesSleep) {
        // Machines without a system bus (containers, CI) simply have no sleep events.
        static std::atomic<bool> told{false};
        if (!told.exchange(true))
            qDebug("power events: no system bus, sleep and wake are not logged");
    }

    if (auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        connect(app, &QGuiApplication::commitDataRequest, this,
                [this](QSessionManager &) { onEndOfSession(); });
    }
}

bool PowerEventWatcher::watchesSleep() const
{
    return m_watchesSleep;
}

void PowerEventWatcher::onPrepareForSleep(bool sleeping)
{
    if (sleeping) {
        qDebug("======xiu mian======");
        emit aboutToSleep();
    } else {
        qDebug("======huan xing======");
        emit wokeUp();
    }
}

void PowerEventWatcher::onEndOfSession()
{
    qDebug("======system poweroff,reboot or logoff======");
}
