#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// What a program of ours printed and how it ended; exit code -1 for a crash or a hang.
struct ProgramRun
{
    int exitCode = -1;
    QStringList out;
    QStringList err;

    // Starts the prepared process and waits for it (at most 30 s, then it is killed).
    static ProgramRun of(QProcess &process, const QString &program, const QStringList &arguments)
    {
        process.start(program, arguments);
        ProgramRun run;
        if (!process.waitForFinished(30000)) {
            process.kill();
            process.waitForFinished();
            return run;
        }
        run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        run.out = QString::fromUtf8(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        run.err = QString::fromUtf8(process.readAllStandardError()).split('\n', Qt::SkipEmptyParts);
        return run;
    }
};
