#pragma once

#include "soundcard/SoundCardBase.h"

#include <QDBusPendingCall>

class SoundCardProxy;

// The sound card of the running panel, reached over its D-Bus interface: the panel owns the
// device, so vorletctl does not open it beside the panel (both would read each other's answers).
// A setter returns once the panel has queued it; a poll has the panel poll the device after
// everything asked before and brings its map back; a change is a map that differs from the one
// this object saw last. Calls the panel refuses or does not answer count as failures.
class PanelSoundCard : public SoundCardBase
{
    Q_OBJECT
public:
    PanelSoundCard(SoundCardProxy &panel, const SoundCardModel &model);

    // Calls the panel's method of the same name.
    void apply(const SetterCall &call) override;

public slots:
    QString getFirmwareVer() override;
    QString getSNCode() override;
    bool getParaIsChange() override;
    QVariantMap getAllPara() override;

private:
    // Waits for the panel's answer; false (counted) when it refused or did not answer.
    bool answered(QDBusPendingCall call);

    SoundCardProxy &m_panel;
    QVariantMap m_parameters;
};
