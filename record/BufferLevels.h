#pragma once

#include <QAudioBuffer>
#include <QAudioFormat>
#include <QVector>

#include <limits>

// Measures one captured audio buffer as a waveform column: for every channel its largest and
// then its smallest sample, normalised so that 1.0 is full scale.
class BufferLevels
{
public:
    // The column of a buffer: empty when its format cannot be measured (invalid, big-endian,
    // not PCM), zeros when the sample type or size has no full scale.
    static QVector<qreal> sampleLevels(const QAudioBuffer &buffer);

    // Largest sample value of the format; 0 for formats that cannot be measured.
    static qreal fullScaleValue(const QAudioFormat &format);

    // Maximum and minimum of every channel over interleaved frames of type T, channel by
    // channel: [max0, min0, max1, min1, ...]. Raw sample values, not normalised.
    template<typename T>
    static QVector<qreal> columnScan(const T *samples, int frameCount, int channelCount)
    {
        QVector<qreal> column;
        if (channelCount <= 0)
            return column;
        column.reserve(channelCount * 2);
        for (int c = 0; c < channelCount; ++c) {
            column.append(-2147483648.0);
            column.append(2147483647.0);
        }
        if (!samples)
            return column;
        for (int f = 0; f < frameCount; ++f) {
            const T *frame = samples + qint64(f) * channelCount;
            for (int c = 0; c < channelCount; ++c) {
                const qreal v = static_cast<qreal>(frame[c]);
                if (v > column[2 * c])
                    column[2 * c] = v;
                if (v < column[2 * c + 1])
                    column[2 * c + 1] = v;
            }
        }
        return column;
    }
};
