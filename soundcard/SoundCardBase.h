#pragma once

#include "soundcard/ParameterSnapshot.h"
#include "soundcard/SetterOp.h"
#include "soundcard/SoundCardCommand.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QVariantMap>

#include <memory>

class DeviceHID;
class HidBackend;
struct SoundCardModel;

// The object through which the scene sees and changes the connected sound card: the parameter
// map, the setters, the command frame and the change polling. The setters are the same code for
// both models, driven by the model's table (a setter without a row there does nothing); a
// model class adds only its transport and its queries.
class SoundCardBase : public QObject
{
    Q_OBJECT
    // The last serial number read (knownSNCode()).
    Q_PROPERTY(QString snCode READ knownSNCode NOTIFY snNumChanged)
public:
    ~SoundCardBase() override;

    // Creates the DeviceHID on first use (with the model's ids) and opens it; true on success.
    virtual bool openDevice();
    // The device the DeviceHID is restricted to (HidCollectionInfo::unit); empty: any.
    void setDeviceUnit(const QString &unit) { m_deviceUnit = unit; }

    const SoundCardModel &model() const { return m_model; }

    // Every report buffer holds at least this many bytes.
    static constexpr int kReportBufferSize = 512;

signals:
    void allParaChanged();
    void snNumChanged(QString snNum);

public slots:
    virtual void setSoundMode(int modeType, int modeDetailed);
    virtual void setVolume(int voluemType, int value);
    virtual void setMicReverberation(int value, int type = 1);
    virtual void setDodgeSpeed(int value);
    virtual void setDodgeThreshold(int value);
    virtual void setDodgeGrade(int value);
    virtual void setEliminateVoice(int value);
    virtual void setDenoise(int value);
    virtual void setMicToneColour(int value);
    virtual void setSwitch(int type, int value);
    virtual void setSpecialEffectSound(int value);
    virtual QString getFirmwareVer();
    virtual QString getSNCode();
    virtual bool getParaIsChange() = 0;
    virtual QVariantMap getAllPara();
    virtual QString getDevType();
    virtual QString getInputDevName();

    // The last serial number getSNCode read, empty before. Asking the device again costs a
    // vx02 an answer that every later read is behind by, so whoever else needs the number
    // (the settings restorer) takes it from here once the scene has asked.
    QString knownSNCode() const { return m_knownSNCode; }

    // Whether the last getParaIsChange() got a report from the device at all (changed or not):
    // false after a read that failed or timed out.
    bool lastPollAnswered() const { return m_lastPollAnswered; }

protected:
    SoundCardBase(HidBackend *backend, const SoundCardModel &model, QObject *parent);

    // Keeps a serial number read from the device and hands it on.
    QString keepSNCode(const QString &text)
    {
        if (!text.isEmpty())
            m_knownSNCode = text;
        return text;
    }

    DeviceHID *device() const { return m_device.get(); }
    // A poll's read: keeps whether it delivered and passes the result on.
    bool notePollAnswer(bool answered)
    {
        m_lastPollAnswered = answered;
        return answered;
    }

    // A zero-filled report buffer (report id 0), large enough for the device's reports.
    QByteArray newReportBuffer() const;

    // Builds the setter's command from the model's table and sends it; a setter the model has
    // no row for sends nothing and leaves the sequence counter alone.
    void sendSetter(SetterOp op, int first, int second = 0);
    // Frames the command with the next sequence number into a fresh report buffer and hands it
    // to the model's transport.
    bool sendCommand(const SoundCardCommand &command);
    // The model's transport for commands: the report buffer and the frame's length.
    virtual bool sendReport(const QByteArray &buffer, int frameLength) = 0;

    // The common change test: takes the report over when its parameter bytes differ from the
    // snapshot, rewrites the whole map and emits allParaChanged once.
    bool takeOverParameters(const QByteArray &report);

private:
    HidBackend *m_backend;
    const SoundCardModel &m_model;
    std::unique_ptr<DeviceHID> m_device;
    QString m_deviceUnit;
    QString m_devType;
    QString m_inputDevName;
    ParameterSnapshot m_snapshot;
    QVariantMap m_parameters;
    QString m_knownSNCode;
    bool m_lastPollAnswered = false;
};
