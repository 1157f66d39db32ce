#pragma once

#include "cli/CliInvocation.h"

#include <QString>
#include <QVector>

// What a vorletctl command line asks for.
struct CliOptions
{
    QString emulate;     // "vx01", "vx02" or empty
    bool direct = false; // open the device here even when the panel runs
    bool trace = false;
    bool json = false;
    bool verbose = false;
    bool help = false;
    bool version = false;
    QVector<CliInvocation> invocations;
};
