#pragma once

#include "soundcard/SetterOp.h"

#include <QVector>

// One setter call as data: which setter and its arguments in the slot's order
// (setVolume(TYPE, VALUE) is {Volume, {TYPE, VALUE}}). Every caller (the scene, D-Bus,
// vorletctl, a profile) hands setters on in this form, and each model's protocol turns it into
// the command its table gives.
struct SetterCall
{
    SetterOp op = SetterOp::Volume;
    QVector<int> args;

    int arg(int index) const { return args.value(index); }
    bool operator==(const SetterCall &other) const { return op == other.op && args == other.args; }
};
