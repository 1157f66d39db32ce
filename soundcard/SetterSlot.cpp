#include "soundcard/SetterSlot.h"

#include "soundcard/SoundCardBase.h"

namespace {

using Args = const QVector<int> &;

const QVector<SetterSlot> kSlots{
    {SetterOp::SoundMode, "setSoundMode", 0, 1,
     [](SoundCardBase &card, Args a) { card.setSoundMode(a.at(0), a.at(1)); }},
    {SetterOp::Volume, "setVolume", 0, 1, [](SoundCardBase &card, Args a) { card.setVolume(a.at(0), a.at(1)); }},
    {SetterOp::MicReverberation, "setMicReverberation", 1, 0,
     [](SoundCardBase &card, Args a) {
         if (a.size() > 1)
             card.setMicReverberation(a.at(0), a.at(1));
         else
             card.setMicReverberation(a.at(0));
     }},
    {SetterOp::DodgeSpeed, "setDodgeSpeed", -1, 0, [](SoundCardBase &card, Args a) { card.setDodgeSpeed(a.at(0)); }},
    {SetterOp::DodgeThreshold, "setDodgeThreshold", -1, 0,
     [](SoundCardBase &card, Args a) { card.setDodgeThreshold(a.at(0)); }},
    {SetterOp::DodgeGrade, "setDodgeGrade", -1, 0, [](SoundCardBase &card, Args a) { card.setDodgeGrade(a.at(0)); }},
    {SetterOp::EliminateVoice, "setEliminateVoice", -1, 0,
     [](SoundCardBase &card, Args a) { card.setEliminateVoice(a.at(0)); }},
    {SetterOp::Denoise, "setDenoise", -1, 0, [](SoundCardBase &card, Args a) { card.setDenoise(a.at(0)); }},
    {SetterOp::MicToneColour, "setMicToneColour", -1, 0,
     [](SoundCardBase &card, Args a) { card.setMicToneColour(a.at(0)); }},
    {SetterOp::Switch, "setSwitch", 0, 1, [](SoundCardBase &card, Args a) { card.setSwitch(a.at(0), a.at(1)); }},
    {SetterOp::SpecialEffectSound, "setSpecialEffectSound", -1, 0,
     [](SoundCardBase &card, Args a) { card.setSpecialEffectSound(a.at(0)); }},
};

} // namespace

void SetterSlot::apply(SoundCardBase &card, int code, int value) const
{
    QVector<int> arguments(selector < 0 ? 1 : 2);
    if (selector >= 0)
        arguments[selector] = code;
    arguments[this->value] = value;
    call(card, arguments);
}

const QVector<SetterSlot> &SetterSlot::all()
{
    return kSlots;
}

const SetterSlot &SetterSlot::of(SetterOp op)
{
    for (const SetterSlot &slot : kSlots) {
        if (slot.op == op)
            return slot;
    }
    Q_UNREACHABLE();
}
