#include "record/DurationProbe.h"

#include "record/ChildProcess.h"

#include <QDebug>
#include <QFileInfo>
#include <QStandardPaths>

DurationProbe::DurationProbe(QObject *parent)
    : QObject(parent)
    , m_process(new ChildProcess(this))
{
    m_process->setStandardInputFile(QProcess::nullDevice());
    connect(m_process, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), this,
            [this](int code, QProcess::ExitStatus status) {
                const qint64 ms =
                    status == QProcess::NormalExit && code == 0 ? endMs(m_process->readAllStandardOutput()) : -1;
                if (ms < 0)
                    qWarning().noquote() << "=== ffprobe found no audio ===" << m_process->arguments().constLast()
                                         << m_process->readAllStandardError().trimmed();
                emit finished(ms);
            });
    connect(m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            qCritical() << "=== ffprobe could not be started ===" << m_process->errorString();
            emit finished(-1);
        }
    });
}

QString DurationProbe::program()
{
    const QString ffmpeg = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
    if (ffmpeg.isEmpty())
        return {};
    const QString probe = QFileInfo(ffmpeg).absolutePath() + QStringLiteral("/ffprobe");
    return QFileInfo(probe).isExecutable() ? probe : QString();
}

void DurationProbe::start(const QString &path)
{
    m_process->start(program(),
                     {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-select_streams"),
                      QStringLiteral("a:0"), QStringLiteral("-show_entries"),
                      QStringLiteral("packet=pts_time,duration_time"), QStringLiteral("-of"), QStringLiteral("csv=p=0"),
                      QStringLiteral("-i"), path});
}

void DurationProbe::cancel()
{
    if (!isRunning())
        return;
    m_process->blockSignals(true);
    m_process->kill();
    m_process->waitForFinished(3000);
    m_process->blockSignals(false);
}

bool DurationProbe::isRunning() const
{
    return m_process->state() != QProcess::NotRunning;
}

qint64 DurationProbe::endMs(const QByteArray &lines)
{
    double end = -1.0;
    for (const QByteArray &line : lines.split('\n')) {
        const QList<QByteArray> fields = line.split(',');
        bool hasStart = false, hasLength = false;
        const double start = fields.value(0).toDouble(&hasStart);
        const double length = fields.value(1).toDouble(&hasLength);
        if (hasStart && hasLength)
            end = qMax(end, start + length);
    }
    return end < 0 ? -1 : qint64(end * 1000 + 0.5);
}
