#include "cli/PanelSoundCard.h"

#include "SoundCardProxy.h"

#include <QDebug>

PanelSoundCard::PanelSoundCard(SoundCardProxy &panel, const SoundCardProfile &profile)
    : SoundCardBase(nullptr, profile, nullptr)
    , m_panel(panel)
{
}

bool PanelSoundCard::openDevice()
{
    return true;
}

bool PanelSoundCard::answered(QDBusPendingCall call)
{
    call.waitForFinished();
    if (!call.isError())
        return true;
    ++m_failedCalls;
    qWarning() << "the panel answered" << call.error().name() << call.error().message();
    return false;
}

void PanelSoundCard::setSoundMode(int modeType, int modeDetailed)
{
    answered(m_panel.setSoundMode(modeType, modeDetailed));
}

void PanelSoundCard::setVolume(int voluemType, int value)
{
    answered(m_panel.setVolume(voluemType, value));
}

void PanelSoundCard::setMicReverberation(int value, int type)
{
    answered(m_panel.setMicReverberation(value, type));
}

void PanelSoundCard::setDodgeSpeed(int value)
{
    answered(m_panel.setDodgeSpeed(value));
}

void PanelSoundCard::setDodgeThreshold(int value)
{
    answered(m_panel.setDodgeThreshold(value));
}

void PanelSoundCard::setDodgeGrade(int value)
{
    answered(m_panel.setDodgeGrade(value));
}

void PanelSoundCard::setEliminateVoice(int value)
{
    answered(m_panel.setEliminateVoice(value));
}

void PanelSoundCard::setDenoise(int value)
{
    answered(m_panel.setDenoise(value));
}

void PanelSoundCard::setMicToneColour(int value)
{
    answered(m_panel.setMicToneColour(value));
}

void PanelSoundCard::setSwitch(int type, int value)
{
    answered(m_panel.setSwitch(type, value));
}

void PanelSoundCard::setSpecialEffectSound(int value)
{
    answered(m_panel.setSpecialEffectSound(value));
}

QString PanelSoundCard::getFirmwareVer()
{
    QDBusPendingReply<QString> reply = m_panel.firmwareVersion();
    return answered(reply) ? reply.value() : QString();
}

QString PanelSoundCard::getSNCode()
{
    QDBusPendingReply<QString> reply = m_panel.serialNumber();
    return keepSNCode(answered(reply) ? reply.value() : QString());
}

bool PanelSoundCard::getParaIsChange()
{
    QDBusPendingReply<QVariantMap> reply = m_panel.refresh();
    if (!notePollAnswer(answered(reply)))
        return false;
    // Numbers arrive as the bus carries them; the map holds ints as the device's own does.
    QVariantMap parameters;
    const QVariantMap received = reply.value();
    for (auto it = received.cbegin(); it != received.cend(); ++it)
        parameters.insert(it.key(), it.value().toInt());
    if (parameters == m_parameters)
        return false;
    m_parameters = parameters;
    emit allParaChanged();
    return true;
}

QVariantMap PanelSoundCard::getAllPara()
{
    return m_parameters;
}

bool PanelSoundCard::sendReport(const QByteArray &, int)
{
    return false;
}
