#include "soundcard/SoundCardBase.h"

#include "soundcard/SoundCardModel.h"

SoundCardBase::SoundCardBase(const SoundCardModel &model, QObject *parent)
    : QObject(parent)
    , m_model(model)
{
}

SoundCardBase::~SoundCardBase() = default;

void SoundCardBase::setSoundMode(int modeType, int modeDetailed)
{
    apply({SetterOp::SoundMode, {modeType, modeDetailed}});
}

void SoundCardBase::setVolume(int voluemType, int value)
{
    apply({SetterOp::Volume, {voluemType, value}});
}

void SoundCardBase::setMicReverberation(int value, int type)
{
    apply({SetterOp::MicReverberation, {value, type}});
}

void SoundCardBase::setDodgeSpeed(int value)
{
    apply({SetterOp::DodgeSpeed, {value}});
}

void SoundCardBase::setDodgeThreshold(int value)
{
    apply({SetterOp::DodgeThreshold, {value}});
}

void SoundCardBase::setDodgeGrade(int value)
{
    apply({SetterOp::DodgeGrade, {value}});
}

void SoundCardBase::setEliminateVoice(int value)
{
    apply({SetterOp::EliminateVoice, {value}});
}

void SoundCardBase::setDenoise(int value)
{
    apply({SetterOp::Denoise, {value}});
}

void SoundCardBase::setMicToneColour(int value)
{
    apply({SetterOp::MicToneColour, {value}});
}

void SoundCardBase::setSwitch(int type, int value)
{
    apply({SetterOp::Switch, {type, value}});
}

void SoundCardBase::setSpecialEffectSound(int value)
{
    apply({SetterOp::SpecialEffectSound, {value}});
}

QString SoundCardBase::getDevType()
{
    return QString::fromLatin1(m_model.devType);
}

QString SoundCardBase::getInputDevName()
{
    return QString::fromUtf8(m_model.inputDevName);
}

QVariantMap SoundCardBase::codes() const
{
    QVariantMap codes;
    for (const ModelParameter &row : m_model.parameters) {
        if (row.key && row.code > 0)
            codes.insert(QString::fromLatin1(row.key), row.code);
    }
    return codes;
}

void SoundCardBase::setKnownSNCode(const QString &text)
{
    if (text == m_knownSNCode)
        return;
    m_knownSNCode = text;
    emit snNumChanged(text);
}

void SoundCardBase::setKnownFirmwareVer(const QString &text)
{
    if (text == m_knownFirmwareVer)
        return;
    m_knownFirmwareVer = text;
    emit firmwareVerChanged(text);
}
