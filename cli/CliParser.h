#pragma once

#include "cli/CliOptions.h"

#include <QString>
#include <QStringList>

// Turns the arguments (without the program name) into options and checked invocations. Every
// command and every argument is checked before anything runs.
class CliParser
{
public:
    // False with a one-line message naming the problem in *error.
    static bool parse(const QStringList &arguments, CliOptions *options, QString *error);
    static QString helpText();
};
