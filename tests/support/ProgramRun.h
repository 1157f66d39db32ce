#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// What a program of ours printed and how it ended; exit code -1 for a crash or a hang.
struct ProgramRun
{
    int exitCode = -1;
    bool crashed = false; // ended by a signal of its own, not killed for hanging
    QStringList out;
    QStringList err;

    // Runs the program to its end (at most 30 s, then it is killed).
    static ProgramRun of(const QString &program, const QStringList &arguments,
                         const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
    {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(program, arguments);
        ProgramRun run;
        if (!process.waitForFinished(30000)) {
            process.kill();
            process.waitForFinished();
            return run;
        }
        run.crashed = process.exitStatus() == QProcess::CrashExit;
        run.exitCode = run.crashed ? -1 : process.exitCode();
        run.out = QString::fromUtf8(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        run.err = QString::fromUtf8(process.readAllStandardError()).split('\n', Qt::SkipEmptyParts);
        return run;
    }
};
