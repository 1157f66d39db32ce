#pragma once

#include "soundcard/SetterCall.h"

#include <QObject>
#include <QString>
#include <QVariantMap>

struct SoundCardModel;

// The sound card as the scene, the D-Bus interface and vorletctl see it: the setters, the
// queries, the parameter map and its signals. Every setter slot ends in apply(), the one path a
// setter takes whoever calls it; how the call reaches the device (a session on its own thread,
// directly, or through the running panel) is up to the class that implements it. Which codes a
// model takes is the model's table, offered to the scene as `codes`.
class SoundCardBase : public QObject
{
    Q_OBJECT
    // The last serial number and firmware version the device gave; empty before.
    Q_PROPERTY(QString snCode READ knownSNCode NOTIFY snNumChanged)
    Q_PROPERTY(QString firmwareVer READ knownFirmwareVer NOTIFY firmwareVerChanged)
    // The codes the pages send, by name, from the model's table: each setting's selector
    // ("btnDodge": 2, "volumeBGM": 5) and each sound-mode group ("voiceChange": 2).
    Q_PROPERTY(QVariantMap codes READ codes CONSTANT)
public:
    ~SoundCardBase() override;

    const SoundCardModel &model() const { return m_model; }
    // Sends the setter call on its way; returns at once or once it was sent, as the class goes.
    virtual void apply(const SetterCall &call) = 0;

    QString knownSNCode() const { return m_knownSNCode; }
    QString knownFirmwareVer() const { return m_knownFirmwareVer; }
    QVariantMap codes() const;
    // Requests that got no answer and setters that could not be sent, so far.
    int failures() const { return m_failures; }

signals:
    void allParaChanged();
    void snNumChanged(QString snNum);
    void firmwareVerChanged(QString firmwareVer);

public slots:
    void setSoundMode(int modeType, int modeDetailed);
    void setVolume(int voluemType, int value);
    void setMicReverberation(int value, int type = 1);
    void setDodgeSpeed(int value);
    void setDodgeThreshold(int value);
    void setDodgeGrade(int value);
    void setEliminateVoice(int value);
    void setDenoise(int value);
    void setMicToneColour(int value);
    void setSwitch(int type, int value);
    void setSpecialEffectSound(int value);
    virtual QString getFirmwareVer() = 0;
    virtual QString getSNCode() = 0;
    virtual bool getParaIsChange() = 0;
    virtual QVariantMap getAllPara() = 0;
    QString getDevType();
    QString getInputDevName();

protected:
    SoundCardBase(const SoundCardModel &model, QObject *parent);

    // Keep what the device gave and tell it when it changed.
    void setKnownSNCode(const QString &text);
    void setKnownFirmwareVer(const QString &text);
    void noteFailure() { ++m_failures; }

private:
    const SoundCardModel &m_model;
    QString m_knownSNCode;
    QString m_knownFirmwareVer;
    int m_failures = 0;
};
