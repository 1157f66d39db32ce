#pragma once

#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>

class ChildProcess;
class DurationProbe;

// Runs the external encoder (ffmpeg from the PATH) in the background, one run at a time. Its
// standard input is closed, so a question it asks ends it instead of waiting forever; its
// messages go to the diagnostic log; the "time=" of its progress lines gives the progress.
// ffmpeg ends with status 0 even when its disk filled ("Error writing trailer of x: No space
// left on device"): a run that reported a write error has failed, whatever its status. A run
// given the length its output must have is complete only once that length is measured (see
// DurationProbe; without ffprobe, ffmpeg's last progress time). The encoder ends with the
// panel, however the panel ends (ChildProcess).
class EncoderProcess : public QObject
{
    Q_OBJECT

public:
    enum Result {
        Succeeded,
        Missing,     // not installed or not on the PATH
        Failed,      // crashed, ended with a non-zero status, or reported a write error
        Cancelled,   // stopped by cancel(); the partial output is deleted
        WrongLength, // the output does not last as long as it must (see measuredMs())
    };
    Q_ENUM(Result)

    // How long the output of a run must last, in ms; an empty window is not checked.
    struct Length
    {
        Length(qint64 min = -1, qint64 max = -1)
            : minMs(min)
            , maxMs(max)
        {
        }
        qint64 minMs;
        qint64 maxMs;
    };

    explicit EncoderProcess(QObject *parent = nullptr);
    ~EncoderProcess() override;

    static QString program();

    // Starts the encoder with arguments; output is the file it writes, a new file of the
    // caller's (deleted when the run fails or is cancelled), totalMs the length of the audio
    // it writes, for the progress.
    // finished() follows, also when the encoder cannot be started. False while a run is going.
    bool start(const QStringList &arguments, const QString &output, qint64 totalMs, Length length = Length());
    void cancel();
    // Stops the run now, before returning: finished(Cancelled) has been emitted and the partial
    // output removed. For the end of the session.
    void abort();
    bool isRunning() const { return m_running; }

    // Exit status and last line of output of the last run.
    int exitCode() const { return m_exitCode; }
    QString lastLine() const { return m_lastLine; }
    // The cause of the first write error the last run reported ("No space left on device");
    // empty when it reported none.
    QString writeError() const { return m_writeError; }
    // How long the output of the last run lasted as measured; -1 when it could not be.
    qint64 measuredMs() const { return m_measuredMs; }

    // The cause a line of the encoder gives for failing to write its output; empty when the
    // line tells of no write error.
    static QString writeErrorOf(const QString &line);

    // Milliseconds of audio written, from a progress line ("... time=00:01:02.50 ..."); -1 when
    // the line has none.
    static qint64 progressMs(const QString &line);

signals:
    void progress(int percent);
    void finished(EncoderProcess::Result result);

private:
    void readOutput();
    void takeLine(const QString &line);
    void encoderEnded(int code, QProcess::ExitStatus status);
    void checkLength(qint64 ms);
    void end(Result result);

    ChildProcess *m_process = nullptr;
    DurationProbe *m_probe = nullptr;
    Length m_length;
    qint64 m_measuredMs = -1;
    qint64 m_progressMs = -1;
    QString m_output;
    qint64 m_totalMs = 0;
    QByteArray m_pending;
    QString m_lastLine;
    QString m_writeError;
    int m_exitCode = 0;
    bool m_running = false;
    bool m_cancelled = false;
};
