#pragma once

#include "record/RecordingFormat.h"

#include <QObject>
#include <QString>
#include <QVector>

// Reads a 16-bit PCM WAV working file and turns it into waveform columns: one column per 1920
// frames, holding each channel's largest and then smallest sample (raw values, not normalised).
// The columns arrive synchronously through s_waveformData while loadFile runs.
class WaveFile : public QObject
{
    Q_OBJECT

public:
    // The first 36 bytes of the file (RIFF header and format chunk), little-endian on disk.
    struct WaveHeader
    {
        char chunkId[4];
        quint32 chunkSize;
        char format[4];
        char subChunkId[4];
        quint32 subChunkSize;
        quint16 audioFormat;
        quint16 channelCount;
        quint32 sampleRate;
        quint32 byteRate;
        quint16 blockAlign;
        quint16 bitsPerSample;
    };

    static constexpr int headerSize = 36;
    static constexpr int extraChunkSize = 34;
    static constexpr int framesPerColumn = RecordingFormat::framesPerColumn;

    explicit WaveFile(QObject *parent = nullptr);

    // False when the file cannot be opened, is no plain file or its header gives no frame
    // size (block align or channel count 0); true otherwise.
    bool loadFile(const QString &path);

    const WaveHeader &header() const { return m_header; }
    quint32 dataSize() const { return m_dataSize; }
    // Length of the audio the last loadFile read, by the header's sample rate; 0 without one.
    qint64 durationMs() const;

signals:
    // One column; the receiver may change the vector in place.
    void s_waveformData(QVector<qreal> &data);

private:
    bool readHeader(class QFile &file);
    void readSamples(QFile &file);

    WaveHeader m_header {};
    quint32 m_dataSize = 0;
    qint64 m_framesRead = 0;
};
