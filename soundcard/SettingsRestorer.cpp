#include "soundcard/SettingsRestorer.h"

#include "device/PowerEventWatcher.h"
#include "soundcard/DeviceSession.h"
#include "soundcard/ParameterProfile.h"
#include "soundcard/SessionRestore.h"

#include <QCoreApplication>
#include <QDebug>

#include <utility>

namespace {

// The settings file is written at most this often.
constexpr int kWriteIntervalMs = 1000;

} // namespace

SettingsRestorer::SettingsRestorer(QObject *parent)
    : QObject(parent)
    , m_enabled(m_memory.restoreEnabled())
{
    // Reached by the scene through a property of the main window.
    qRegisterMetaType<SettingsRestorer *>();
    m_writeTimer.setSingleShot(true);
    m_writeTimer.setInterval(kWriteIntervalMs);
    connect(&m_writeTimer, &QTimer::timeout, this, &SettingsRestorer::flush);
    if (QCoreApplication::instance())
        connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, &SettingsRestorer::flush);
}

SettingsRestorer::~SettingsRestorer()
{
    flush();
}

bool SettingsRestorer::isEnabled() const
{
    return m_memory.restoreEnabled();
}

void SettingsRestorer::setEnabled(bool on)
{
    if (on != isEnabled())
        m_memory.setRestoreEnabled(on);
    reload();
}

void SettingsRestorer::reload()
{
    const bool on = isEnabled();
    if (on == m_enabled)
        return;
    m_enabled = on;
    qInfo("restore last settings: %s", on ? "on" : "off");
    // What the device shows now is what comes back next time.
    if (on && m_card && readSerial())
        remember();
    emit enabledChanged(on);
}

void SettingsRestorer::watch(PowerEventWatcher *power)
{
    connect(power, &PowerEventWatcher::aboutToSleep, this, &SettingsRestorer::onSleep);
    connect(power, &PowerEventWatcher::wokeUp, this, &SettingsRestorer::onWake);
}

void SettingsRestorer::attach(DeviceSession *session)
{
    setCard(session);
    m_session = session;
    if (!session)
        return;
    // The scene asks for the serial number when the arrival is told; its answer starts both.
    connect(session, &SoundCardBase::snNumChanged, this, &SettingsRestorer::onSerialAnswered);
}

void SettingsRestorer::onSerialAnswered()
{
    if (m_following || !m_card)
        return;
    m_following = true;
    connect(m_card, &SoundCardBase::allParaChanged, this, &SettingsRestorer::remember);
    if (isEnabled())
        restoreSession();
}

void SettingsRestorer::restoreSession()
{
    QVector<ParameterProfile::Step> steps;
    QVariantMap values;
    if (!m_session || !readSerial() || !remembered(&steps, &values))
        return;
    dropRestore();
    m_restore = new SessionRestore(m_session, steps, values, this);
    connect(m_restore, &SessionRestore::finished, this, &SettingsRestorer::onRestored);
    m_restore->start();
}

void SettingsRestorer::dropRestore()
{
    if (!m_restore)
        return;
    disconnect(m_restore, nullptr, this, nullptr);
    m_restore->deleteLater();
    m_restore = nullptr;
}

void SettingsRestorer::onRestored(bool restored)
{
    dropRestore();
    if (!m_session)
        return;
    if (restored) {
        qInfo("restore last settings: the %s reports the settings of %s again", qPrintable(m_session->getDevType()),
              qPrintable(m_serial));
        remember();
    } else {
        qWarning("restore last settings: the %s did not take the settings of %s back; they stay remembered",
                 qPrintable(m_session->getDevType()), qPrintable(m_serial));
    }
}

void SettingsRestorer::setCard(SoundCardBase *card)
{
    flush();
    if (m_card)
        disconnect(m_card, nullptr, this, nullptr);
    m_card = card;
    m_session = nullptr;
    dropRestore();
    m_following = false;
    m_serial.clear();
    m_serialAsked = false;
}

bool SettingsRestorer::rememberNow()
{
    if (!m_card || !isEnabled())
        return true;
    if (!readSerial())
        return false;
    QString error = QStringLiteral("no answer");
    m_card->getParaIsChange();
    const QVariantMap parameters = m_card->getAllPara();
    if (!parameters.isEmpty() && ParameterProfile::check(m_card->getDevType(), parameters, &error)) {
        remember();
        return flush();
    }
    qWarning("restore last settings: the %s sent no parameter report (%s); its settings are not kept",
             qPrintable(m_card->getDevType()), qPrintable(error));
    return false;
}

QString SettingsRestorer::serial() const
{
    return m_serial;
}

bool SettingsRestorer::remembered(QVector<ParameterProfile::Step> *steps, QVariantMap *values)
{
    flush();
    const QByteArray profile = m_memory.recall(m_serial);
    if (profile.isEmpty()) {
        qInfo("restore last settings: nothing remembered for %s yet", qPrintable(m_serial));
        return false;
    }
    QString error;
    const QString origin = QStringLiteral("remembered settings of %1").arg(m_serial);
    if (!ParameterProfile::fromJson(profile, origin, m_card->getDevType(), steps, &error, values)) {
        qWarning("restore last settings: %s; nothing sent", qPrintable(error));
        return false;
    }
    return true;
}

bool SettingsRestorer::restore()
{
    QVector<ParameterProfile::Step> steps;
    QVariantMap values;
    if (!m_card || !readSerial() || !remembered(&steps, &values))
        return false;
    for (const ParameterProfile::Step &step : qAsConst(steps))
        m_card->apply(step);
    qInfo("restore last settings: %d setters sent to %s", int(steps.size()), qPrintable(m_serial));
    m_card->getParaIsChange();
    return true;
}

void SettingsRestorer::onSleep()
{
    flush();
    m_asleep = true;
}

void SettingsRestorer::onWake()
{
    m_asleep = false;
    if (isEnabled())
        restoreSession();
}

void SettingsRestorer::remember()
{
    if (!m_card || m_asleep || m_restore || !isEnabled() || !readSerial())
        return;
    const QVariantMap parameters = m_card->getAllPara();
    if (parameters.isEmpty())
        return;
    // Only a state that can be sent back is kept, checked as save checks it: a device that
    // reports a value beyond its settings leaves the last good state in place.
    QString error;
    if (!ParameterProfile::check(m_card->getDevType(), parameters, &error)) {
        qDebug("restore last settings: %s; not kept", qPrintable(error));
        return;
    }
    m_pendingSerial = m_serial;
    m_pendingProfile = ParameterProfile::toJson(m_card->getDevType(), parameters, true);
    // Not restarted by later changes: the state is never more than the interval behind.
    if (!m_writeTimer.isActive())
        m_writeTimer.start();
}

bool SettingsRestorer::flush()
{
    m_writeTimer.stop();
    if (m_pendingProfile.isEmpty())
        return true;
    const QByteArray profile = std::exchange(m_pendingProfile, QByteArray());
    if (m_memory.remember(m_pendingSerial, profile))
        return true;
    qWarning("restore last settings: the settings of %s could not be written", qPrintable(m_pendingSerial));
    return false;
}

// Asked once per attached card, and only while the option is on.
bool SettingsRestorer::readSerial()
{
    if (!m_card)
        return false;
    // The number the scene already read; the device is asked only where nobody did.
    if (m_serial.isEmpty())
        m_serial = m_card->knownSNCode().trimmed();
    if (m_serialAsked || !m_serial.isEmpty())
        return !m_serial.isEmpty();
    m_serialAsked = true;
    m_serial = m_card->getSNCode().trimmed();
    if (m_serial.isEmpty())
        qWarning("restore last settings: the %s gives no serial number; its settings are not kept",
                 qPrintable(m_card->getDevType()));
    return !m_serial.isEmpty();
}
