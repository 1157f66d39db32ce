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
    // The same for one unit with a serial number of its own (cut to the model's field), so that
    // two units of a model can be told apart.
    static std::unique_ptr<EmulatedFirmware> makeUnit(const QString &model, const QByteArray &serial);
};
