#pragma once

#include "record/AudioInputResolver.h"

#include <QAudioBuffer>
#include <QObject>
#include <QString>
#include <QVector>

#include <QtGlobal>

#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
class QAudioInput;
class QAudioSource;
class QIODevice;
class QMediaCaptureSession;
#else
class QAudioProbe;
#endif
class QMediaRecorder;

// Records one take at a time from an audio input into a stereo WAV file at
// RecordingFormat::sampleRate, and hands out every captured buffer for the live levels. Qt 5
// records with QAudioRecorder and probes its own buffers; Qt 6 has no probe, so a QAudioSource
// on the same device reads the levels beside the QMediaRecorder of a capture session. Both
// report the same states: stop() stops at once, and finished() follows when the file is
// complete. A backend that failed records nothing more and is replaced at the take's stop.
class AudioCapture : public QObject
{
    Q_OBJECT

public:
    enum State { Stopped, Recording, Paused };
    Q_ENUM(State)

    explicit AudioCapture(QObject *parent = nullptr);
    ~AudioCapture() override;

    // The backend's inputs with their descriptions, and the name of its default one.
    QVector<AudioInputResolver::Input> inputs() const;
    QString defaultInput() const;
    // The input of the current or last take.
    QString input() const { return m_input; }

    // Starts a take from the named input into the file at path.
    void record(const QString &input, const QString &path);
    void pause();
    void resume();
    void stop();

    State state() const { return m_state; }
    // Stopped, and the file's header is still being written.
    bool isFinalizing() const;
    // The current take failed (its backend is replaced at its stop).
    bool hasFailed() const { return !m_error.isEmpty(); }
    // The file of the current or last take, as the backend names it.
    QString outputPath() const;

signals:
    void stateChanged(AudioCapture::State state);
    // Length recorded so far, pauses excluded.
    void durationChanged(qint64 ms);
    // The stopped take's file is complete.
    void finished();
    // A captured buffer, stamped with its place in the take.
    void bufferCaptured(const QAudioBuffer &buffer);
    // The take failed; the first message names the cause.
    void failed(const QString &message);

private:
    void createBackend();
    void setState(State state);
    void backendFailed(const QString &message);
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    void backendStopped();
    void startLevels();
    void readLevels();

    QMediaCaptureSession *m_session = nullptr;
    QAudioInput *m_audioInput = nullptr;
    QAudioSource *m_levels = nullptr;
    QIODevice *m_levelStream = nullptr;
    // Frames read for the levels while recording: the next buffer's place in the take.
    qint64 m_levelFrames = 0;
    // stop() was called and the recorder has not said it stopped yet.
    bool m_finalizing = false;
#else
    QAudioProbe *m_probe = nullptr;
#endif
    QMediaRecorder *m_recorder = nullptr;
    State m_state = Stopped;
    QString m_input;
    QString m_path;
    QString m_error;
};
