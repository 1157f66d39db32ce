#pragma once

#include "soundcard/SetterCall.h"

#include <QVector>

// A setter as callers outside the protocol name it: its slot's name, how many arguments it
// takes, which of them picks a row of the model's table (the selector) and which one the row's
// range is for. vorletctl, saved profiles and the D-Bus interface reach setters through this
// table, never by name.
struct SetterSlot
{
    SetterOp op;
    const char *name; // the slot's name: "setVolume"
    int arity;        // arguments of the slot; a left-out last one is 1 (setMicReverberation's TYPE)
    int selector;     // argument picking the row (a volume TYPE); -1: the setter has one row
    int value;        // argument the row's range is for
    bool setsState;   // false: the call is an event (a sound effect played), not a setting

    // The call with `arguments` in the slot's order; a left-out optional last one is filled in.
    SetterCall call(QVector<int> arguments) const;
    // The call that sets the value of a table row: `code` for the selector.
    SetterCall callFor(int code, int value) const;
    // Whether `call` and `other` set the same setting (the same setter and selector): the later
    // one makes the earlier one needless. Never for events.
    bool sameRow(const SetterCall &call, const SetterCall &other) const;

    // Every setter, in the order vorletctl's help lists them.
    static const QVector<SetterSlot> &all();
    static const SetterSlot &of(SetterOp op);
};
