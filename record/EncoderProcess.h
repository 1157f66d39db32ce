#pragma once

#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>

// Runs the external encoder (ffmpeg from the PATH) in the background, one run at a time. Its
// standard input is closed, so a question it asks ends it instead of waiting forever; its
// messages go to the diagnostic log; the "time=" of its progress lines gives the progress.
// ffmpeg ends with status 0 even when its disk filled ("Error writing trailer of x: No space
// left on device"): a run that reported a write error has failed, whatever its status.
class EncoderProcess : public QObject
{
    Q_OBJECT

public:
    enum Result {
        Succeeded,
        Missing,   // not installed or not on the PATH
        Failed,    // crashed, ended with a non-zero status, or reported a write error
        Cancelled, // stopped by cancel(); the partial output is deleted
    };
    Q_ENUM(Result)

    explicit EncoderProcess(QObject *parent = nullptr);
    ~EncoderProcess() override;

    static QString program();

    // Starts the encoder with arguments; output is the file it writes, a new file of the
    // caller's (deleted when the run fails or is cancelled), totalMs the length of the audio
    // it writes, for the progress.
    // finished() follows, also when the encoder cannot be started. False while a run is going.
    bool start(const QStringList &arguments, const QString &output, qint64 totalMs);
    void cancel();
    bool isRunning() const { return m_running; }

    // Exit status and last line of output of the last run.
    int exitCode() const { return m_exitCode; }
    QString lastLine() const { return m_lastLine; }
    // The cause of the first write error the last run reported ("No space left on device");
    // empty when it reported none.
    QString writeError() const { return m_writeError; }

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
    void end(Result result);

    QProcess *m_process = nullptr;
    QString m_output;
    qint64 m_totalMs = 0;
    QByteArray m_pending;
    QString m_lastLine;
    QString m_writeError;
    int m_exitCode = 0;
    bool m_running = false;
    bool m_cancelled = false;
};
