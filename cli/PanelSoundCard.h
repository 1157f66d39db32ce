#pragma once

#include "soundcard/SoundCardBase.h"

#include <QDBusPendingCall>

class SoundCardProxy;

// The sound card of the running panel, reached over its D-Bus interface: the panel owns the
// device, so vorletctl does not open it beside the panel (both would read each other's answers).
// A setter returns once the panel has queued it; a poll has the panel poll the device after
// everything asked before and brings the map back; a change is a map that differs from the one
// this object saw last. Calls the panel refuses or does not answer count as failed.
class PanelSoundCard : public SoundCardBase
{
    Q_OBJECT
public:
    PanelSoundCard(SoundCardProxy &panel, const SoundCardProfile &profile);

    bool openDevice() override;
    int failedCalls() const { return m_failedCalls; }

public slots:
    void setSoundMode(int modeType, int modeDetailed) override;
    void setVolume(int voluemType, int value) override;
    void setMicReverberation(int value, int type = 1) override;
    void setDodgeSpeed(int value) override;
    void setDodgeThreshold(int value) override;
    void setDodgeGrade(int value) override;
    void setEliminateVoice(int value) override;
    void setDenoise(int value) override;
    void setMicToneColour(int value) override;
    void setSwitch(int type, int value) override;
    void setSpecialEffectSound(int value) override;
    QString getFirmwareVer() override;
    QString getSNCode() override;
    bool getParaIsChange() override;
    QVariantMap getAllPara() override;

protected:
    // Never used: the panel sends.
    bool sendReport(const QByteArray &buffer, int frameLength) override;

private:
    // Waits for the panel's answer; false (counted) when it refused or did not answer.
    bool answered(QDBusPendingCall call);

    SoundCardProxy &m_panel;
    QVariantMap m_parameters;
    int m_failedCalls = 0;
};
