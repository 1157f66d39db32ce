#include "emulator/FirmwareFactory.h"

#include "emulator/FirmwareVx01.h"
#include "emulator/FirmwareVx02.h"

#include <QDebug>

std::unique_ptr<EmulatedFirmware> FirmwareFactory::make(const QString &model)
{
    return makeUnit(model, QByteArray());
}

std::unique_ptr<EmulatedFirmware> FirmwareFactory::makeUnit(const QString &model, const QByteArray &serial)
{
    if (model.compare(QLatin1String("vx01"), Qt::CaseInsensitive) == 0)
        return std::make_unique<FirmwareVx01>(serial);
    if (model.compare(QLatin1String("vx02"), Qt::CaseInsensitive) == 0)
        return std::make_unique<FirmwareVx02>(serial);
    qWarning().noquote() << "no emulated firmware for model" << model;
    return nullptr;
}
