#include "soundcard/SetterSlot.h"

namespace {

const QVector<SetterSlot> kSlots{
    {SetterOp::SoundMode, "setSoundMode", 2, 0, 1, true},
    {SetterOp::Volume, "setVolume", 2, 0, 1, true},
    {SetterOp::MicReverberation, "setMicReverberation", 2, 1, 0, true},
    {SetterOp::DodgeSpeed, "setDodgeSpeed", 1, -1, 0, true},
    {SetterOp::DodgeThreshold, "setDodgeThreshold", 1, -1, 0, true},
    {SetterOp::DodgeGrade, "setDodgeGrade", 1, -1, 0, true},
    {SetterOp::EliminateVoice, "setEliminateVoice", 1, -1, 0, true},
    {SetterOp::Denoise, "setDenoise", 1, -1, 0, true},
    {SetterOp::MicToneColour, "setMicToneColour", 1, -1, 0, true},
    {SetterOp::Switch, "setSwitch", 2, 0, 1, true},
    {SetterOp::SpecialEffectSound, "setSpecialEffectSound", 1, -1, 0, false},
};

} // namespace

SetterCall SetterSlot::call(QVector<int> arguments) const
{
    while (arguments.size() < arity)
        arguments.append(1);
    return {op, arguments};
}

SetterCall SetterSlot::callFor(int code, int rowValue) const
{
    QVector<int> arguments(arity, 1);
    if (selector >= 0)
        arguments[selector] = code;
    arguments[value] = rowValue;
    return {op, arguments};
}

bool SetterSlot::sameRow(const SetterCall &call, const SetterCall &other) const
{
    return setsState && call.op == op && other.op == op && (selector < 0 || call.arg(selector) == other.arg(selector));
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
