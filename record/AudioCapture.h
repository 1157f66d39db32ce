#pragma once

#include "record/AudioInputResolver.h"

#include <QAudioBuffer>
#include <QObject>
#include <QString>
#include <QVector>

#include <QtGlobal>

#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
#include <QFile>

class QAudioSource;
class QIODevice;
#else
class QAudioProbe;
class QAudioRecorder;
#endif

// Records one take at a time from an audio input into a stereo 16-bit WAV file at
// RecordingFormat::sampleRate, and hands out every captured buffer for the live levels. Both
// report the same states: stop() stops at once, and finished() follows when the file is
// complete (at once where it is complete when stop() returns).
// Qt 5 records with QAudioRecorder and probes its buffers. Qt 6's QMediaRecorder (6.4,
// GStreamer) ignores the sample rate asked for and records at the source's 44.1 kHz default,
// and has no probe: there the take is written from a QAudioSource in the take's own format,
// whose buffers are also the levels, so the live waveform is exactly what the file holds.
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
    void setState(State state);
    void backendFailed(const QString &message);
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    void readInput();
    void closeTake();

    QAudioSource *m_source = nullptr;
    QIODevice *m_stream = nullptr;
    QFile m_file;
    // Frames written to the take: the next buffer's place in it.
    qint64 m_frames = 0;
#else
    void createBackend();

    QAudioProbe *m_probe = nullptr;
    QAudioRecorder *m_recorder = nullptr;
#endif
    State m_state = Stopped;
    QString m_input;
    QString m_path;
    QString m_error;
};
