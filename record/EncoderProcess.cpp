#include "record/EncoderProcess.h"

#include <QDebug>
#include <QProcess>

QString EncoderProcess::program()
{
    return QStringLiteral("ffmpeg");
}

int EncoderProcess::run(const QStringList &arguments)
{
    const int code = QProcess::execute(program(), arguments);
    if (code == -2)
        qCritical() << "=== ffmpeg could not be started: is it installed and on the PATH? ===";
    else if (code == -1)
        qCritical() << "=== ffmpeg crashed ===";
    return code;
}
