// Arbitrary bytes as a WAV file: loadFile must not crash, hang or read past the data, and
// every column must hold two values per channel of the header.
#include "record/WaveFile.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Refused inputs log a line each; at thousands of runs a second that would only be noise.
    static const auto quiet = qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    Q_UNUSED(quiet);
    static QTemporaryDir dir;
    static const QString path = dir.filePath("fuzz.wav");
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        f.write(reinterpret_cast<const char *>(data), qint64(size));
    }

    WaveFile reader;
    qint64 columns = 0;
    int channels = -1;
    QObject::connect(&reader, &WaveFile::s_waveformData, [&](QVector<qreal> &column) {
        channels = reader.header().channelCount;
        if (column.size() != 2 * channels)
            std::abort();
        for (int i = 0; i < column.size(); i += 2)
            if (column[i] < column[i + 1] || column[i] > 32767 || column[i + 1] < -32768)
                std::abort();
        ++columns;
        column.clear(); // the receiver may change the column
    });
    const bool ok = reader.loadFile(path);
    if (!ok && columns != 0)
        std::abort();
    if (columns > 0) {
        // Columns only from samples that are in the file (after at least a 44-byte header).
        const qint64 samples = (qint64(size) - 44) / 2;
        if (columns * WaveFile::framesPerColumn * channels > samples)
            std::abort();
    }
    return 0;
}
