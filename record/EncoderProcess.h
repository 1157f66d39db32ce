#pragma once

#include <QString>
#include <QStringList>

// Runs the external encoder (ffmpeg from the PATH) and waits for it to end.
class EncoderProcess
{
public:
    static QString program();

    // Exit code of the encoder; -2 (with a log line) when it cannot be started, -1 when it
    // crashed. Callers rely on the output file, not on the code.
    static int run(const QStringList &arguments);
};
