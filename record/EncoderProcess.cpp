#include "record/EncoderProcess.h"

#include "record/ChildProcess.h"
#include "record/DurationProbe.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

EncoderProcess::EncoderProcess(QObject *parent)
    : QObject(parent)
    , m_process(new ChildProcess(this))
    , m_probe(new DurationProbe(this))
{
    m_process->setProcessChannelMode(QProcess::MergedChannels);
    m_process->setStandardInputFile(QProcess::nullDevice());
    connect(m_process, &QProcess::readyRead, this, &EncoderProcess::readOutput);
    connect(m_process, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), this,
            &EncoderProcess::encoderEnded);
    connect(m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart && m_running)
            end(Missing);
    });
    connect(m_probe, &DurationProbe::finished, this, &EncoderProcess::checkLength);
}

EncoderProcess::~EncoderProcess()
{
    // Quitting during a run: the encoder stops with us and leaves no half-written file.
    abort();
}

QString EncoderProcess::program()
{
    return QStringLiteral("ffmpeg");
}

bool EncoderProcess::start(const QStringList &arguments, const QString &output, qint64 totalMs, Length length)
{
    if (m_running)
        return false;
    m_running = true;
    m_cancelled = false;
    m_output = output;
    m_totalMs = totalMs;
    m_length = length;
    m_measuredMs = -1;
    m_progressMs = -1;
    m_pending.clear();
    m_lastLine.clear();
    m_writeError.clear();
    m_exitCode = 0;
    qDebug() << "ffmpeg" << arguments;
    // QProcess would only say "failed to start"; finding it first tells a missing encoder
    // from one that cannot run.
    if (QStandardPaths::findExecutable(program()).isEmpty()) {
        qCritical() << "=== ffmpeg could not be started: is it installed and on the PATH? ===";
        m_lastLine = QStringLiteral("ffmpeg not found");
        // Reported from the event loop, as every other ending is.
        QMetaObject::invokeMethod(
            this, [this] { end(Missing); }, Qt::QueuedConnection);
        return true;
    }
    m_process->start(program(), arguments);
    return true;
}

void EncoderProcess::cancel()
{
    if (!m_running || m_cancelled)
        return;
    m_cancelled = true;
    qDebug() << "=== ffmpeg cancelled ===" << m_output;
    if (m_probe->isRunning()) {
        m_probe->cancel();
        end(Cancelled);
        return;
    }
    m_process->kill();
}

void EncoderProcess::abort()
{
    if (!m_running)
        return;
    cancel();
    // The end of the run comes through the finished handler while waiting; an encoder that does
    // not even die on SIGKILL in time is left to the kernel, its output removed all the same.
    if (m_process->state() != QProcess::NotRunning && !m_process->waitForFinished(3000))
        qCritical() << "=== ffmpeg did not stop ===" << m_process->processId();
    end(Cancelled);
    qWarning() << "=== ffmpeg stopped at the end of the session ===" << m_output;
}

void EncoderProcess::encoderEnded(int code, QProcess::ExitStatus status)
{
    readOutput();
    if (!m_pending.isEmpty())
        takeLine(QString::fromLocal8Bit(m_pending));
    m_pending.clear();
    m_exitCode = code;
    if (m_cancelled)
        end(Cancelled);
    else if (status == QProcess::CrashExit || code != 0 || !m_writeError.isEmpty())
        end(Failed);
    else if (m_length.maxMs < 0)
        end(Succeeded);
    else if (!DurationProbe::program().isEmpty())
        m_probe->start(m_output);
    else
        checkLength(m_progressMs); // ffmpeg's own count of what it wrote
}

void EncoderProcess::checkLength(qint64 ms)
{
    m_measuredMs = ms;
    const bool complete = ms >= m_length.minMs && ms <= m_length.maxMs;
    if (!complete)
        qCritical() << "=== ffmpeg's output does not last as long as its input ===" << m_output << ms << "ms, not"
                    << m_length.minMs << "to" << m_length.maxMs;
    end(complete ? Succeeded : WrongLength);
}

void EncoderProcess::readOutput()
{
    m_pending += m_process->readAll();
    // Progress lines end with a carriage return, messages with a newline.
    for (;;) {
        int cut = -1;
        for (int i = 0; i < m_pending.size(); ++i) {
            if (m_pending[i] == '\n' || m_pending[i] == '\r') {
                cut = i;
                break;
            }
        }
        if (cut < 0)
            break;
        const QString line = QString::fromLocal8Bit(m_pending.left(cut)).trimmed();
        m_pending.remove(0, cut + 1);
        if (!line.isEmpty())
            takeLine(line);
    }
}

void EncoderProcess::takeLine(const QString &line)
{
    m_lastLine = line;
    // The first one names the cause; "Conversion failed!" and the like follow it.
    if (m_writeError.isEmpty())
        m_writeError = writeErrorOf(line);
    const qint64 ms = progressMs(line);
    if (ms < 0) {
        qDebug().noquote() << "ffmpeg:" << line;
        return;
    }
    m_progressMs = ms;
    if (m_totalMs > 0)
        emit progress(int(qBound(qint64(0), ms * 100 / m_totalMs, qint64(100))));
}

QString EncoderProcess::writeErrorOf(const QString &line)
{
    // The system's words for a write that failed, and ffmpeg's own lines around them.
    static const char *const kCauses[] = {"No space left on device", "Disk quota exceeded", "File too large",
                                          "Input/output error", "Read-only file system"};
    static const char *const kWriteFailures[] = {"Error writing trailer", "Error closing file",
                                                 "av_interleaved_write_frame()", "Error muxing"};
    for (const char *cause : kCauses) {
        if (line.contains(QLatin1String(cause), Qt::CaseInsensitive))
            return QLatin1String(cause);
    }
    for (const char *failure : kWriteFailures) {
        if (line.contains(QLatin1String(failure), Qt::CaseInsensitive))
            return line;
    }
    return {};
}

qint64 EncoderProcess::progressMs(const QString &line)
{
    static const QRegularExpression time(QStringLiteral("time=(\\d+):(\\d\\d):(\\d\\d)(?:\\.(\\d+))?"));
    const QRegularExpressionMatch m = time.match(line);
    if (!m.hasMatch())
        return -1;
    const QString fraction = (m.captured(4) + QStringLiteral("000")).left(3);
    return ((m.captured(1).toLongLong() * 60 + m.captured(2).toLongLong()) * 60 + m.captured(3).toLongLong()) * 1000
        + fraction.toLongLong();
}

void EncoderProcess::end(Result result)
{
    if (!m_running)
        return;
    m_running = false;
    if (result == Failed)
        qCritical().noquote() << "=== ffmpeg failed, exit status" << m_exitCode
                              << "===" << (m_writeError.isEmpty() ? m_lastLine : m_writeError);
    if (result != Succeeded && QFileInfo::exists(m_output)) {
        QFile::remove(m_output);
        qDebug() << "=== partial ffmpeg output removed ===" << m_output;
    }
    emit finished(result);
}
