#pragma once

#include "soundcard/ParameterMemory.h"
#include "soundcard/ParameterProfile.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

class DeviceSession;
class PowerEventWatcher;
class SessionRestore;
class SoundCardBase;

// Brings a sound card back to the settings it had last: while the option is on, the parameter
// map of the attached card is remembered by its serial number at every change, and when that
// device arrives again or the machine wakes, the setters that restore it are sent once the
// device answers, and sent again until the device reports them. Until then nothing the device
// reports is remembered: a device that comes back reset must not replace what it had. Off by
// default; with the option off nothing is read, kept or sent. A user moving a slider changes the
// map at every poll: the settings file is written at most once a second, and at once before the
// card goes, the machine sleeps or the program quits.
class SettingsRestorer : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool enabled READ isEnabled WRITE setEnabled NOTIFY enabledChanged)
public:
    explicit SettingsRestorer(QObject *parent = nullptr);
    ~SettingsRestorer() override;

    bool isEnabled() const;
    // Sleep and wake of the machine: nothing is remembered in between (the device may come back
    // reset), and on wake the attached card is restored.
    void watch(PowerEventWatcher *power);
    // The session of a device that was just attached and opened (null once it is removed). With
    // the option on, it gets its remembered settings back once its serial number is known (the
    // session's snNumChanged, answering the scene), and its changes are remembered from then on.
    void attach(DeviceSession *session);
    // The card for restore() and rememberNow() alone: its changes are not followed, nothing is
    // sent on its own (a vorletctl session).
    void setCard(SoundCardBase *card);
    // With the option on, polls the card once and writes the state it reports at once. False
    // when no parameter report came or it could not be written.
    bool rememberNow();
    // The attached card's serial number, once asked; empty before.
    QString serial() const;

signals:
    void enabledChanged(bool enabled);

public slots:
    void setEnabled(bool on);
    // Reads the option again after the settings file changed (vorletctl or a second program may
    // switch it): taken as if switched here, and told only when it differs from what was shown.
    void reload();
    // Sends the settings remembered for the card, then polls it once; false when there is no
    // card, no serial number or nothing remembered (nothing is sent then).
    bool restore();
    // Whether a restore waits for the device to report its settings back.
    bool isRestoring() const { return m_restore != nullptr; }
    void onSleep();
    void onWake();
    // Writes the state that waits for its turn, if any; false when it could not be written.
    bool flush();

private:
    void onSerialAnswered();
    // Restores the attached session and reads the settings back.
    void restoreSession();
    void onRestored(bool restored);
    void dropRestore();
    // The setters and values remembered for the card; false (logged) when there are none.
    bool remembered(QVector<ParameterProfile::Step> *steps, QVariantMap *values);
    void remember();
    bool readSerial();

    ParameterMemory m_memory;
    // The option as last told.
    bool m_enabled;
    QPointer<SoundCardBase> m_card;
    QPointer<DeviceSession> m_session;
    SessionRestore *m_restore = nullptr;
    QString m_serial;
    bool m_serialAsked = false;
    bool m_asleep = false;
    // The last state seen and not yet written, with the serial number it belongs to.
    QString m_pendingSerial;
    QByteArray m_pendingProfile;
    QTimer m_writeTimer;
    bool m_following = false;
};
