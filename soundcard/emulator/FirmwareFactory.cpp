#include "soundcard/emulator/FirmwareFactory.h"

#include "soundcard/emulator/FirmwareVx01.h"
#include "soundcard/emulator/FirmwareVx02.h"

#include <QDebug>

std::unique_ptr<EmulatedFirmware> FirmwareFactory::make(const QString &model)
{
    if (model == QLatin1String("vx01"))
        return std::make_unique<FirmwareVx01>();
    if (model == QLatin1String("vx02"))
        return std::make_unique<FirmwareVx02>();
    qWarning().noquote() << "no emulated firmware for model" << model;
    return nullptr;
}
