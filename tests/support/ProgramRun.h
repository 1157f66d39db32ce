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
        run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        run.out = QString::fromUtf8(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        run.err = QString::fromUtf8(process.readAllStandardError()).split('\n', Qt::SkipEmptyParts);
        return run;
    }
};
