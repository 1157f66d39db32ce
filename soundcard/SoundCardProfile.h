#pragma once

#include "soundcard/ParameterByte.h"
#include "soundcard/SetterCommand.h"
#include "soundcard/SoundCardCommand.h"

#include <QVector>

// Everything that tells the two models apart as plain data: identity, the HID collection the
// sound-card object opens, the setters' command bytes and the parameter report layout.
struct SoundCardProfile
{
    const char *devType;
    const char *inputDevName; // UTF-8
    const char *productName;  // as the panel shows the model
    quint16 vendorId;
    quint16 productId;
    quint16 usagePage;
    quint16 usage;
    const char *openLogPrefix;
    QVector<SetterCommand> setters;
    QVector<ParameterByte> parameters; // in report order, from kParameterOffset on
    SoundCardCommand firmwareQuery;
    SoundCardCommand serialQuery;

    static constexpr int kParameterOffset = 16;

    const SetterCommand *setter(SetterOp op) const
    {
        for (const SetterCommand &row : setters) {
            if (row.op == op)
                return &row;
        }
        return nullptr;
    }
};
