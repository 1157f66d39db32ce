#pragma once

#include "cli/CliInvocation.h"

#include <QString>

// The values each setter takes on each model, so that a command line is refused before
// anything is sent instead of sending a byte the device would misread (-1 goes out as 255).
class SetterRangeTable
{
public:
    // True when every argument of the setter invocation is in the model's range; otherwise
    // false with a message naming the argument and its valid values.
    static bool check(const QString &devType, const CliInvocation &invocation, QString *error);
};
