#pragma once

#include "cli/CliCommand.h"

#include <QString>
#include <QStringList>
#include <QVector>

// One command of a command line with its arguments, checked by the parser.
struct CliInvocation
{
    const CliCommand *command = nullptr;
    QVector<int> integers; // for integer commands
    QString file;          // for file commands
    QString key;           // for key-value commands (with the value in `integers`)
    QString word;          // for on/off commands: "on", "off" or empty; preset's action
    QString name;          // a preset's name

    // Deleting a preset is a file's business: it works without a device.
    bool needsDevice() const
    {
        return command->needsDevice()
            && !(command->action == CliCommand::Action::Preset && word == QLatin1String("delete"));
    }
};
