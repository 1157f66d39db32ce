#pragma once

#include "soundcard/SetterOp.h"

#include <QVector>

class SoundCardBase;

// A setter of the sound card as callers outside the scene reach it: its slot's name, which of
// its arguments picks a row of the model's table (the selector) and which one the row's range
// is for, and the typed call. vorletctl, saved profiles and the D-Bus interface call setters
// through this table, never by name.
struct SetterSlot
{
    SetterOp op;
    const char *name; // the slot's name: "setVolume"
    int selector;     // argument picking the row (a volume TYPE); -1: the setter has one row
    int value;        // argument the row's range is for
    // Calls the setter with the arguments in the slot's order; one argument less than it has
    // leaves out the optional last one (setMicReverberation's TYPE).
    void (*call)(SoundCardBase &card, const QVector<int> &arguments);

    // Calls the setter so that it sets the value of a table row: `code` for the selector.
    void apply(SoundCardBase &card, int code, int value) const;

    // Every setter, in the order vorletctl's help lists them.
    static const QVector<SetterSlot> &all();
    static const SetterSlot &of(SetterOp op);
};
