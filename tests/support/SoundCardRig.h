#pragma once

#include "emulator/EmulatedBus.h"
#include "emulator/EmulatedFirmware.h"
#include "soundcard/DirectSoundCard.h"

#include <QString>
#include <QVariantList>

#include <memory>

// A sound card of one model opened on an emulated bus, with the device's firmware at hand.
class SoundCardRig
{
public:
    // `firmware` drives the device; null plugs the model's emulated firmware.
    explicit SoundCardRig(const QString &model, std::unique_ptr<EmulatedFirmware> firmware = nullptr);

    // Calls a slot of the card with int arguments through the meta-object, as the scene does.
    bool call(const QString &slot, const QVariantList &args);

    template<typename Firmware>
    Firmware &device() const
    {
        return *static_cast<Firmware *>(firmware);
    }

    EmulatedBus bus;
    EmulatedFirmware *firmware = nullptr;
    std::unique_ptr<DirectSoundCard> card;
    bool opened = false;
};
