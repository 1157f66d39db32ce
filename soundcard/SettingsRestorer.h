#pragma once

#include "soundcard/ParameterMemory.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

class PowerEventWatcher;
class SoundCardBase;

// Brings a sound card back to the settings it had last: while the option is on, the parameter
// map of the attached card is remembered by its serial number at every change, and when that
// device arrives again or the machine wakes, the setters that restore it are sent and the card
// is polled once. Off by default; with the option off nothing is read, kept or sent. A user
// moving a slider changes the map at every poll: the settings file is written at most once a
// second, and at once before the card goes, the machine sleeps or the program quits.
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
    // The card of a device that was just attached and opened (null once it is removed). With the
    // option on, it gets its remembered settings back once its serial number is known (the
    // card's snNumChanged, answering the scene), and its changes are remembered from then on.
    void attach(SoundCardBase *card);
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
    // Sends the settings remembered for the attached card, then polls it once; false when there
    // is no card, no serial number or nothing remembered (nothing is sent then).
    bool restore();
    void onSleep();
    void onWake();
    // Writes the state that waits for its turn, if any; false when it could not be written.
    bool flush();

private:
    void onSerialAnswered();
    void remember();
    bool readSerial();

    ParameterMemory m_memory;
    // The option as last told.
    bool m_enabled;
    QPointer<SoundCardBase> m_card;
    QString m_serial;
    bool m_serialAsked = false;
    bool m_asleep = false;
    // The last state seen and not yet written, with the serial number it belongs to.
    QString m_pendingSerial;
    QByteArray m_pendingProfile;
    QTimer m_writeTimer;
    bool m_following = false;
};
