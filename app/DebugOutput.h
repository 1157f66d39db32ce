#pragma once

#include <QString>

// Where a debugger would show the program's messages. On Linux that is standard error.
class DebugOutput
{
public:
    static void write(const QString &line);
};
