#pragma once

#include "emulator/EmulatedFirmware.h"

#include <QString>

#include <memory>

// Makes the emulated firmware of a model ("vx01", "vx02", case ignored); null for an unknown
// model. Handed to the HID backend factory so that "--emulate" brings a device that behaves
// like the real one.
class FirmwareFactory
{
public:
    static std::unique_ptr<EmulatedFirmware> make(const QString &model);
};
