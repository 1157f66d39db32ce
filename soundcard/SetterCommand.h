#pragma once

#include "soundcard/DataByte.h"
#include "soundcard/SetterOp.h"
#include "soundcard/SoundCardCommand.h"

// One row of a model's command table: the setter, its four command bytes and where its two data
// bytes come from. Arguments are the setter's own, in the order of its parameters.
struct SetterCommand
{
    SetterOp op;
    std::array<quint8, 4> code;
    DataByte d0;
    DataByte d1;

    // Every setter's command bytes: 03 01 01 and its group.
    static constexpr std::array<quint8, 4> group(quint8 number) { return {0x03, 0x01, 0x01, number}; }

    SoundCardCommand resolve(int firstArgument, int secondArgument) const
    {
        SoundCardCommand command;
        command.code = code;
        command.hasData = true;
        command.data = {d0.resolve(firstArgument, secondArgument), d1.resolve(firstArgument, secondArgument)};
        return command;
    }
};
