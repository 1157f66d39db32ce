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

    // Length of the WAV file at path by its byte rate and the audio it holds, without reading
    // the audio; -1 when it is no WAV file with a data chunk.
    static qint64 lengthMs(const QString &path);
    // A recording cut short (its disk full, the panel killed, the power gone) keeps the
    // placeholder sizes its writer put into the header; they are set to what the file holds in
    // whole frames, in place and on the disk, so that every reader and every copy sees the
    // audio. True when the sizes are right now; *repaired tells whether they had to be set.
    static bool fixSizes(const QString &path, bool *repaired = nullptr);

signals:
    // One column; the receiver may change the vector in place.
    void s_waveformData(QVector<qreal> &data);

private:
    // Where the data chunk's size field is and what the file holds after it.
    struct DataChunk
    {
        qint64 sizeField = -1;
        quint32 size = 0;
        qint64 available = 0;
        quint32 byteRate = 0;
        quint16 blockAlign = 0;
        quint32 riffSize = 0;
    };
    static DataChunk findData(class QFile &file);

    bool readHeader(class QFile &file);
    void readSamples(QFile &file);

    WaveHeader m_header{};
    quint32 m_dataSize = 0;
    qint64 m_framesRead = 0;
};
