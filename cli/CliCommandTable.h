#pragma once

#include "cli/CliCommand.h"

#include <QVector>

// Every command vorletctl knows, in the order --help lists them.
class CliCommandTable
{
public:
    static const QVector<CliCommand> &commands();
    // Null for an unknown name.
    static const CliCommand *find(const QString &name);
};
