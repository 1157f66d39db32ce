#pragma once

#include <QFile>
#include <QString>
#include <QtEndian>

#include <cstring>
#include <vector>

// Writes a stereo 16-bit 48 kHz WAV file of `frames` frames whose audio is `second` (one second
// of interleaved samples) repeated: long recordings for the benchmarks without hours of audio.
inline bool writeLongRecording(const QString &path, qint64 frames, const std::vector<qint16> &second)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    const quint32 dataSize = quint32(frames * 4);
    char h[44] = {};
    memcpy(h, "RIFF", 4);
    qToLittleEndian<quint32>(36 + dataSize, h + 4);
    memcpy(h + 8, "WAVEfmt ", 8);
    qToLittleEndian<quint32>(16, h + 16);
    qToLittleEndian<quint16>(1, h + 20);
    qToLittleEndian<quint16>(2, h + 22);
    qToLittleEndian<quint32>(48000, h + 24);
    qToLittleEndian<quint32>(48000 * 4, h + 28);
    qToLittleEndian<quint16>(4, h + 32);
    qToLittleEndian<quint16>(16, h + 34);
    memcpy(h + 36, "data", 4);
    qToLittleEndian<quint32>(dataSize, h + 40);
    if (f.write(h, sizeof h) != qint64(sizeof h))
        return false;
    const qint64 bytes = qint64(second.size() * sizeof(qint16));
    for (qint64 s = 0; s < frames / 48000; ++s) {
        if (f.write(reinterpret_cast<const char *>(second.data()), bytes) != bytes)
            return false;
    }
    return true;
}
