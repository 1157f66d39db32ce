#pragma once

#include <QString>

// How an operation on presets ended, with the message the user reads. The panel, its D-Bus
// interface and vorletctl each turn the status into their own form (a D-Bus error name, an exit
// status) from one table.
struct PresetOutcome
{
    enum Status {
        Ok,
        BadName,       // a name with a path separator, too long, blank
        Unknown,       // no preset of that name
        OtherModel,    // a preset of the other model
        Damaged,       // a file that is no preset: the message names the file and the bad key
        Exists,        // the new name is taken
        NothingToUndo, // no applied state of the model is kept
        NoDevice,
        NoAnswer, // the device did not answer, did not take the settings, or is busy
        FileError,
    };

    Status status = Ok;
    QString message;

    bool ok() const { return status == Ok; }
    static PresetOutcome failure(Status status, const QString &message) { return {status, message}; }
};
