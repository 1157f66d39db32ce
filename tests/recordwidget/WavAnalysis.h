#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtEndian>
#include <QtMath>

// Reads a 16-bit PCM WAV file (any chunk layout) and measures its first channel, so tests can
// tell a recorded tone from silence.
struct WavAnalysis
{
    bool ok = false;
    int channels = 0;
    int sampleRate = 0;
    int bits = 0;
    qint64 frames = 0;
    double seconds = 0.0;
    double peak = 0.0;      // largest |sample| of channel 0, 1.0 = full scale
    double rms = 0.0;       // of channel 0
    double frequency = 0.0; // from the zero crossings of channel 0

    static WavAnalysis of(const QString &path)
    {
        WavAnalysis a;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return a;
        const QByteArray all = file.readAll();
        if (all.size() < 12 || !all.startsWith("RIFF") || all.mid(8, 4) != "WAVE")
            return a;
        int pos = 12;
        QByteArray data;
        while (pos + 8 <= all.size()) {
            const QByteArray id = all.mid(pos, 4);
            quint32 size = qFromLittleEndian<quint32>(all.constData() + pos + 4);
            const int body = pos + 8;
            if (id == "fmt " && body + 16 <= all.size()) {
                a.channels = qFromLittleEndian<quint16>(all.constData() + body + 2);
                a.sampleRate = int(qFromLittleEndian<quint32>(all.constData() + body + 4));
                a.bits = qFromLittleEndian<quint16>(all.constData() + body + 14);
            } else if (id == "data") {
                // An unfinished header may leave the size at 0 or too large: take what is there.
                if (size == 0 || body + qint64(size) > all.size())
                    size = quint32(all.size() - body);
                data = all.mid(body, int(size));
                break;
            }
            pos = body + int(size) + int(size & 1);
        }
        if (a.channels <= 0 || a.sampleRate <= 0 || a.bits != 16)
            return a;
        const int frameBytes = 2 * a.channels;
        a.frames = data.size() / frameBytes;
        a.seconds = double(a.frames) / a.sampleRate;
        double sumSquares = 0.0;
        qint64 crossings = 0;
        int previous = 0;
        for (qint64 f = 0; f < a.frames; ++f) {
            const int s = qFromLittleEndian<qint16>(data.constData() + f * frameBytes);
            a.peak = qMax(a.peak, qAbs(s) / 32767.0);
            sumSquares += double(s) * s;
            if (f > 0 && ((previous < 0 && s >= 0) || (previous >= 0 && s < 0)))
                ++crossings;
            previous = s;
        }
        if (a.frames > 0) {
            a.rms = qSqrt(sumSquares / a.frames) / 32767.0;
            a.frequency = crossings / 2.0 / a.seconds;
        }
        a.ok = true;
        return a;
    }
};
