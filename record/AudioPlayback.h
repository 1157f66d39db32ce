#pragma once

#include <QObject>
#include <QString>

class QMediaPlayer;

// Plays a WAV file on the default output. Qt 6's player needs an audio output of its own and
// takes a source where Qt 5's took media; both report the same way here.
class AudioPlayback : public QObject
{
    Q_OBJECT

public:
    explicit AudioPlayback(QObject *parent = nullptr);
    ~AudioPlayback() override;

    // Loads the file, read anew even when its path is the one loaded.
    void setFile(const QString &path);
    void play();
    void pause();
    void stop();
    bool isPlaying() const;
    bool isStopped() const;
    qint64 position() const;
    void setPosition(qint64 ms);

signals:
    // Playback stopped: by stop(), at the end of the file, or for a new file.
    void stopped();

private:
    QMediaPlayer *m_player = nullptr;
};
