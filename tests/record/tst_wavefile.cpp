#include "record/WaveFile.h"

#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <sys/stat.h>

#include <algorithm>

namespace {

using Columns = QVector<QVector<qreal>>;

struct WavLayout
{
    int channels = 2;
    int blockAlign = -1;       // -1: channels * 2
    qint64 claimedFrames = -1; // -1: the frames written
    bool listChunk = false;    // the 34-byte LIST chunk ffmpeg writes before the data
    int strayBytes = 0;        // bytes of a partial frame after the samples
};

template<typename T>
QByteArray le(T v)
{
    QByteArray b(sizeof(T), 0);
    qToLittleEndian(v, b.data());
    return b;
}

QByteArray wavBytes(const WavLayout &layout, const QVector<qint16> &samples)
{
    const int align = layout.blockAlign < 0 ? layout.channels * 2 : layout.blockAlign;
    const qint64 frames = layout.channels ? samples.size() / layout.channels : 0;
    const quint32 dataSize = quint32((layout.claimedFrames < 0 ? frames : layout.claimedFrames) * layout.channels * 2);
    QByteArray b = "RIFF" + le<quint32>(36 + dataSize) + "WAVE" + "fmt " + le<quint32>(16) + le<quint16>(1)
        + le<quint16>(quint16(layout.channels)) + le<quint32>(48000) + le<quint32>(quint32(48000 * align))
        + le<quint16>(quint16(align)) + le<quint16>(16);
    if (layout.listChunk)
        b += "LIST" + le<quint32>(26) + "INFO" + "ISFT" + le<quint32>(14) + QByteArray("Lavf59.27.100\0", 14);
    b += "data" + le(dataSize);
    for (qint16 s : samples)
        b += le(s);
    return b + QByteArray(layout.strayBytes, '\x7f');
}

// Column by column, each channel's maximum then minimum over 1920 frames; the rest dropped.
Columns referenceColumns(const QVector<qint16> &samples, int channels, qint64 frames)
{
    Columns out;
    for (qint64 start = 0; start + 1920 <= frames; start += 1920) {
        QVector<qreal> col;
        for (int c = 0; c < channels; ++c) {
            qint16 hi = samples[start * channels + c], lo = hi;
            for (qint64 f = start; f < start + 1920; ++f) {
                hi = std::max(hi, samples[f * channels + c]);
                lo = std::min(lo, samples[f * channels + c]);
            }
            col << hi << lo;
        }
        out << col;
    }
    return out;
}

QVector<qint16> randomSamples(int channels, qint64 frames, quint32 seed)
{
    QRandomGenerator rng(seed);
    QVector<qint16> s(int(frames * channels));
    for (auto &v : s)
        v = qint16(rng.bounded(-3000, 3000));
    // Extremes on column edges and in vector tails, where a block scan could lose them.
    for (qint64 i = 0; i < s.size(); i += 1920 * channels + 7)
        s[int(i)] = (i / 7) % 2 ? 32767 : -32768;
    if (!s.isEmpty())
        s.last() = 32767;
    return s;
}

struct FileCase
{
    WavLayout layout;
    int written;
    int read;
};

} // namespace

Q_DECLARE_METATYPE(FileCase)

class TestWaveFile : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    bool m_ok = false;
    Columns m_columns;
    qint64 m_ms = -1;

    QString write(const QByteArray &bytes)
    {
        // Every file gets a name the reader must take as it is.
        const QString path = m_dir.filePath(QString::fromUtf8("Aufnahme ü 录音 #1 %20.wav"));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    // Loads path into m_ok, m_columns and m_ms. The receiver may change each column in place:
    // here it scales, clears or grows them in turn, which must not harm the next ones.
    void load(const QString &path)
    {
        WaveFile reader;
        m_columns.clear();
        connect(&reader, &WaveFile::s_waveformData, [this](QVector<qreal> &data) {
            m_columns << data;
            if (m_columns.size() % 3 == 0)
                std::for_each(data.begin(), data.end(), [](qreal &v) { v /= 32767.0; });
            else if (m_columns.size() % 3 == 1)
                data.clear();
            else
                data << 1 << 2 << 3;
        });
        m_ok = reader.loadFile(path);
        m_ms = reader.durationMs();
    }

private slots:
    // Columns match a plain reference scan of the frames read: those the header's data size
    // and block align promise, cut short by the file's end. The length is that of those frames.
    void matchesReference_data()
    {
        QTest::addColumn<FileCase>("c");
        // layout {channels, block align, claimed frames, LIST chunk, stray bytes}, frames written, frames read
        QTest::newRow("stereo, 1919 frames") << FileCase{{2}, 1919, 1919};
        QTest::newRow("stereo, 1920 frames") << FileCase{{2}, 1920, 1920};
        QTest::newRow("mono, 5000 frames") << FileCase{{1}, 5000, 5000};
        QTest::newRow("stereo, several read blocks") << FileCase{{2}, 288033, 288033};
        QTest::newRow("3 channels") << FileCase{{3}, 9700, 9700};
        QTest::newRow("8 channels") << FileCase{{8}, 7680, 7680};
        QTest::newRow("no frames") << FileCase{{2}, 0, 0};
        QTest::newRow("34-byte LIST chunk") << FileCase{{2, -1, -1, true}, 4000, 4000};
        QTest::newRow("truncated on a column") << FileCase{{2, -1, 100000}, 3840, 3840};
        QTest::newRow("truncated in a column") << FileCase{{2, -1, 100000}, 3000, 3000};
        QTest::newRow("truncated in a frame") << FileCase{{2, -1, 100000, false, 3}, 3839, 3839};
        QTest::newRow("truncated before the data") << FileCase{{2, -1, 100000}, 0, 0};
        QTest::newRow("chunks after the data") << FileCase{{2, -1, 1920}, 5000, 1920};
        QTest::newRow("block align 8") << FileCase{{2, 8}, 7680, 3840};
    }

    void matchesReference()
    {
        QFETCH(FileCase, c);
        const int channels = c.layout.channels;
        const QVector<qint16> s = randomSamples(channels, c.written, quint32(channels * 7919 + c.written));
        load(write(wavBytes(c.layout, s)));
        QVERIFY(m_ok);
        QCOMPARE(m_columns, referenceColumns(s, channels, c.read));
        QCOMPARE(m_ms, qint64(c.read) * 1000 / 48000);
    }

    // A take whose writer never stopped (the panel killed, the power gone) keeps the header's
    // placeholder sizes: they become those of the whole frames it holds, and ffprobe reads them.
    // A header that claims no more than the file holds stays as it is.
    void repair_data()
    {
        QTest::addColumn<FileCase>("c");
        QTest::addColumn<bool>("repaired");
        QTest::newRow("the recorder's placeholder") << FileCase{{2, -1, 0x7FFF0000 / 4}, 48000, 48000} << true;
        QTest::newRow("sizes 0, a frame cut in two") << FileCase{{2, -1, 0, false, 3}, 24000, 24000} << true;
        QTest::newRow("complete") << FileCase{{2}, 9600, 9600} << false;
        QTest::newRow("chunks after the data") << FileCase{{2, -1, 1920}, 5000, 1920} << false;
    }

    void repair()
    {
        QFETCH(FileCase, c);
        QFETCH(bool, repaired);
        const QByteArray before = wavBytes(c.layout, randomSamples(2, c.written, 3));
        const QString path = write(before);
        bool changed = !repaired;
        QVERIFY(WaveFile::fixSizes(path, &changed));
        QCOMPARE(changed, repaired);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), repaired ? wavBytes({2}, randomSamples(2, c.written, 3)) : before);
        QProcess probe;
        probe.start("ffprobe", {"-v", "error", "-show_entries", "format=duration", "-of", "csv=p=0", path});
        QVERIFY(probe.waitForFinished());
        QVERIFY2(qAbs(probe.readAll().toDouble() - c.read / 48000.0) < 0.1, probe.readAllStandardError());
    }

    void unreadable_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("path"); // empty: the bytes, written to a file
        const QVector<qint16> s = randomSamples(2, 4000, 5);
        QTest::newRow("block align 0") << wavBytes({2, 0}, s) << QString();
        QTest::newRow("no channels") << wavBytes({0}, s) << QString();
        QTest::newRow("shorter than a header") << wavBytes({}, s).left(20) << QString();
        QTest::newRow("missing file") << QByteArray() << m_dir.filePath("does-not-exist.wav");
        QTest::newRow("a device, no end") << QByteArray() << QStringLiteral("/dev/urandom");
        // Opening a FIFO would wait for a writer forever.
        const QString fifo = m_dir.filePath(QStringLiteral("fifo.wav"));
        if (!QFile::exists(fifo) && mkfifo(QFile::encodeName(fifo).constData(), 0600) != 0)
            qFatal("cannot make a FIFO");
        QTest::newRow("a FIFO without a writer") << QByteArray() << fifo;
        QTest::newRow("a folder") << QByteArray() << m_dir.path();
    }

    void unreadable()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, path);
        load(path.isEmpty() ? write(bytes) : path);
        QVERIFY(!m_ok);
        QVERIFY(m_columns.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestWaveFile)
#include "tst_wavefile.moc"
