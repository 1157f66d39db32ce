#include "support/SoundCardRig.h"

#include "emulator/FirmwareFactory.h"
#include "soundcard/SoundCardFactory.h"
#include "soundcard/SoundCardProtocol.h"

SoundCardRig::SoundCardRig(const QString &model, std::unique_ptr<EmulatedFirmware> scripted)
{
    // Reads of a silent device give up quickly.
    bus.setReadWaitLimitMs(20);
    bus.plug(model, scripted ? std::move(scripted) : FirmwareFactory::make(model));
    firmware = bus.firmware(model);
    card = std::make_unique<DirectSoundCard>(SoundCardFactory::create(model, &bus));
    opened = card->openDevice();
}

bool SoundCardRig::call(const QString &slot, const QVariantList &args)
{
    const QByteArray name = slot.toLatin1();
    switch (args.size()) {
    case 1: return QMetaObject::invokeMethod(card.get(), name.constData(), Q_ARG(int, args.at(0).toInt()));
    case 2:
        return QMetaObject::invokeMethod(card.get(), name.constData(), Q_ARG(int, args.at(0).toInt()),
                                         Q_ARG(int, args.at(1).toInt()));
    default: return false;
    }
}
