#pragma once

#include "app/PresetBus.h"
#include "app/PresetController.h"
#include "soundcard/DeviceSession.h"
#include "soundcard/SetterCall.h"

#include <QDBusContext>
#include <QDBusMessage>
#include <QObject>
#include <QString>
#include <QVariantMap>

#include <functional>

class DeviceManager;
class QDBusConnection;

// The attached sound card on the user's session bus: the name "com.brindle.vorlet", the object
// "/SoundCard" with the interface com.brindle.vorlet.SoundCard, described in
// packaging/dbus/com.brindle.vorlet.SoundCard.xml. The adaptor generated from that description
// calls the methods below.
//
// A setter is checked against the attached model's values and queued for the device; the call
// returns then. getAllPara() is the map of the panel's last poll; refresh(), serialNumber() and
// firmwareVersion() are answered with the device's answer to their own request. Without a device
// every call but model() and deletePreset() fails with kNoDeviceError. The preset methods go
// through the panel's PresetController and answer once it is done. Lives on the GUI thread beside
// the device manager.
class SoundCardService : public QObject, protected QDBusContext
{
    Q_OBJECT
public:
    static const QString kServiceName;
    static const QString kObjectPath;
    static const QString kNoDeviceError;
    static const QString kNoAnswerError;

    explicit SoundCardService(DeviceManager *devices, QObject *parent = nullptr);

    // Exports the object and takes the name; false, with a log line, when there is no session
    // bus or another program has the name.
    bool registerOn(QDBusConnection bus);

    void setSoundMode(int modeType, int detail);
    void setVolume(int type, int value);
    void setMicReverberation(int value, int type);
    void setDodgeSpeed(int value);
    void setDodgeThreshold(int value);
    void setDodgeGrade(int value);
    void setEliminateVoice(int value);
    void setDenoise(int value);
    void setMicToneColour(int value);
    void setSwitch(int type, int value);
    void setSpecialEffectSound(int number);
    QVariantMap getAllPara();
    QVariantMap refresh();
    QString model();
    QString serialNumber();
    QString firmwareVersion();
    QStringList presets();
    void applyPreset(const QString &name);
    void savePreset(const QString &name);
    void deletePreset(const QString &name);
    void undoPreset();
    PresetChangeList presetDiff(const QString &name);

signals:
    void parametersChanged(const QVariantMap &parameters);
    void connectionChanged(bool connected, const QString &model);
    void presetApplied(const QString &name);

private:
    // The session for the call in hand; null after an error was sent back.
    DeviceSession *sessionFor();
    // Checks the setter call against the model and queues it.
    void apply(const SetterCall &call);
    // The handler that answers the call in hand with what `result` makes of the device's reply,
    // or with the error that says why there is none.
    DeviceSession::ReplyHandler answerWith(std::function<QVariant(const DeviceSession::Reply &)> result);
    // The handler that answers the call in hand once a preset operation ended.
    PresetController::Done answerPreset();
    void onSoundCardChanged();

    DeviceManager *m_devices;
};
