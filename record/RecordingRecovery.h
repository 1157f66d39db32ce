#pragma once

#include <QCoreApplication>
#include <QString>

// What a session that ended early (a crash, SIGKILL, a power cut) left in the panel's files is
// set right at the next start, before anything else touches them: the files it was writing
// that the journal lists are removed, and takes whose header still holds the writer's
// placeholder sizes get the sizes of the audio they hold.
class RecordingRecovery
{
    Q_DECLARE_TR_FUNCTIONS(RecordingRecovery)

public:
    // Returns what the panel tells the user: which takes were repaired; empty when none was.
    static QString run();
};
