#include "soundcard/DirectSoundCard.h"

#include "soundcard/SoundCardProtocol.h"

DirectSoundCard::DirectSoundCard(std::unique_ptr<SoundCardProtocol> protocol, QObject *parent)
    : SoundCardBase(protocol->model(), parent)
    , m_protocol(std::move(protocol))
{
}

DirectSoundCard::~DirectSoundCard() = default;

bool DirectSoundCard::openDevice()
{
    return m_protocol->open();
}

void DirectSoundCard::apply(const SetterCall &call)
{
    if (!m_protocol->send(call))
        noteFailure();
}

QString DirectSoundCard::getFirmwareVer()
{
    return kept(m_protocol->firmwareVersion(), &DirectSoundCard::setKnownFirmwareVer);
}

QString DirectSoundCard::getSNCode()
{
    return kept(m_protocol->serialNumber(), &DirectSoundCard::setKnownSNCode);
}

QString DirectSoundCard::kept(const std::optional<QString> &answer, void (DirectSoundCard::*keep)(const QString &))
{
    if (!answer) {
        noteFailure();
        return QString();
    }
    (this->*keep)(*answer);
    return *answer;
}

bool DirectSoundCard::getParaIsChange()
{
    const SoundCardProtocol::Poll poll = m_protocol->poll();
    // The version answer a serial number left was read on the way.
    if (!m_protocol->knownFirmwareVersion().isEmpty())
        setKnownFirmwareVer(m_protocol->knownFirmwareVersion());
    if (!poll.answered)
        noteFailure();
    if (poll.changed)
        emit allParaChanged();
    return poll.changed;
}

QVariantMap DirectSoundCard::getAllPara()
{
    return m_protocol->parameters();
}
