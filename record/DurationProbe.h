#pragma once

#include <QObject>
#include <QString>

class ChildProcess;

// Measures how long the audio of a media file really lasts, with ffprobe (of the same ffmpeg
// package, found beside the ffmpeg on the PATH), in the background. The length is where its
// last audio packet ends: the header of a file cut short may still claim the whole length.
class DurationProbe : public QObject
{
    Q_OBJECT

public:
    explicit DurationProbe(QObject *parent = nullptr);

    // ffprobe beside the ffmpeg on the PATH; empty when either is missing.
    static QString program();

    // Starts measuring the file at path; finished() follows, also when ffprobe cannot run.
    void start(const QString &path);
    // Stops a measurement without a finished().
    void cancel();
    bool isRunning() const;

    // The end of the latest packet in ffprobe's lines "pts_time,duration_time", in ms; -1
    // without one.
    static qint64 endMs(const QByteArray &lines);

signals:
    // ms: the audio's length, -1 when the file holds no audio ffprobe can read.
    void finished(qint64 ms);

private:
    ChildProcess *m_process = nullptr;
};
