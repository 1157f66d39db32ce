#pragma once

#include "soundcard/emulator/FirmwareBase.h"

// Emulated firmware of model vx01. Everything goes over the control pipe: a query's answer is
// offered by the next get-input-report, every other one offers the 19 parameter bytes.
class FirmwareVx01 : public FirmwareBase
{
public:
    FirmwareVx01();

protected:
    QByteArray answerTo(const SoundCardCommand &command) const override;
    bool applySoundMode(quint8 modeType, quint8 modeDetailed) override;
};
