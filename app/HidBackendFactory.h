#pragma once

#include "device/HidBackend.h"
#include "emulator/EmulatedFirmware.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

// Picks the HID backend at start: the machine's devices, or an emulated bus with one device of
// the model named by "--emulate vx01|vx02" (or "--emulate=..."), or by the environment variable
// VORLET_EMULATE when the arguments name none. Model names are taken in any case.
class HidBackendFactory
{
public:
    // Makes the firmware of an emulated device of the given model; null means a recording one.
    using FirmwareMaker = std::function<std::unique_ptr<EmulatedFirmware>(const QString &model)>;

    static std::unique_ptr<HidBackend> create(const QStringList &arguments, const FirmwareMaker &makeFirmware = {});
    // The model to emulate, empty for real devices. An unknown model is logged and ignored.
    static QString emulatedModel(const QStringList &arguments);
    // The same, strict: false with a message naming the bad value ("unknown model 'foo',
    // expected vx01 or vx02") when the option or the variable names no known model.
    static bool emulatedModel(const QStringList &arguments, QString *model, QString *error);
};
