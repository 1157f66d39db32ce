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

    SoundCardCommand resolve(int firstArgument, int secondArgument) const
    {
        SoundCardCommand command;
        command.code = code;
        command.hasData = true;
        command.data = {d0.resolve(firstArgument, secondArgument), d1.resolve(firstArgument, secondArgument)};
        return command;
    }
};
