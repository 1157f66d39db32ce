#pragma once

#include "soundcard/emulator/FirmwareBase.h"

// Emulated firmware of model vx02. Answers the parameter, version and serial-number requests
// with one input report each on the interrupt pipe.
class FirmwareVx02 : public FirmwareBase
{
public:
    FirmwareVx02();

protected:
    QByteArray answerTo(const SoundCardCommand &command) const override;
    bool applySoundMode(quint8 modeType, quint8 modeDetailed) override;
};
