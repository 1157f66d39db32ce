#pragma once

#include <QFile>
#include <QtEndian>

// Reads a 16-bit PCM WAV file (any chunk layout) and measures its first channel, so tests can
// tell a recorded tone from silence.
struct WavAnalysis
{
    bool ok = false;
    int channels = 0;
    qint64 frames = 0;
    double seconds = 0.0;
    double peak = 0.0;      // largest |sample| of channel 0, 1.0 = full scale
    double frequency = 0.0; // from the zero crossings of channel 0
    bool complete = false;  // the header tells the file's true size

    static WavAnalysis of(const QString &path)
    {
        WavAnalysis a;
        QFile file(path);
        const QByteArray all = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        const char *d = all.constData();
        int rate = 0, bits = 0, pos = 12;
        QByteArray data;
        while (all.startsWith("RIFF") && pos + 8 <= all.size()) {
            quint32 size = qFromLittleEndian<quint32>(d + pos + 4);
            const int body = pos + 8;
            if (all.mid(pos, 4) == "fmt " && body + 16 <= all.size()) {
                a.channels = qFromLittleEndian<quint16>(d + body + 2);
                rate = int(qFromLittleEndian<quint32>(d + body + 4));
                bits = qFromLittleEndian<quint16>(d + body + 14);
            } else if (all.mid(pos, 4) == "data") {
                a.complete =
                    qFromLittleEndian<quint32>(d + 4) == quint32(all.size() - 8) && body + qint64(size) == all.size();
                // An unfinished header may leave the size at 0 or too large: take what is there.
                data = all.mid(body, size == 0 || body + qint64(size) > all.size() ? -1 : int(size));
                break;
            }
            pos = body + int(size) + int(size & 1);
        }
        if (a.channels <= 0 || rate <= 0 || bits != 16)
            return a;
        a.frames = data.size() / (2 * a.channels);
        a.seconds = double(a.frames) / rate;
        qint64 crossings = 0;
        for (qint64 f = 0, previous = 0; f < a.frames; ++f) {
            const int s = qFromLittleEndian<qint16>(data.constData() + f * 2 * a.channels);
            a.peak = qMax(a.peak, qAbs(s) / 32767.0);
            crossings += f > 0 && (previous < 0) != (s < 0);
            previous = s;
        }
        if (a.frames > 0)
            a.frequency = crossings / 2.0 / a.seconds;
        a.ok = true;
        return a;
    }

    // The 440 Hz tone the test sound server plays at half scale, not silence or noise.
    bool isTone() const { return ok && peak > 0.35 && peak < 0.7 && qAbs(frequency - 440.0) < 15.0; }
};
