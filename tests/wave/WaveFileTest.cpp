#include "record/WaveFile.h"

#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <algorithm>
#include <functional>

namespace {

using Columns = QVector<QVector<qreal>>;

struct WavLayout
{
    int channels = 2;
    int blockAlign = -1;      // -1: channels * 2
    qint64 claimedFrames = -1; // -1: the frames written
    bool listChunk = false;
    int strayBytes = 0;       // bytes of a partial frame after the samples
};

QByteArray le16(quint16 v)
{
    QByteArray b(2, 0);
    qToLittleEndian(v, b.data());
    return b;
}

QByteArray le32(quint32 v)
{
    QByteArray b(4, 0);
    qToLittleEndian(v, b.data());
    return b;
}

QByteArray pcm(const QVector<qint16> &samples)
{
    QByteArray b;
    for (qint16 s : samples)
        b += le16(quint16(s));
    return b;
}

QByteArray wavBytes(const WavLayout &layout, const QVector<qint16> &samples)
{
    const int align = layout.blockAlign < 0 ? layout.channels * 2 : layout.blockAlign;
    const qint64 frames = layout.channels ? samples.size() / layout.channels : 0;
    const qint64 claimed = layout.claimedFrames < 0 ? frames : layout.claimedFrames;
    const quint32 dataSize = quint32(claimed * (layout.channels * 2));
    QByteArray b = "RIFF" + le32(36 + dataSize) + "WAVE" + "fmt " + le32(16) + le16(1)
        + le16(quint16(layout.channels)) + le32(48000) + le32(48000 * align)
        + le16(quint16(align)) + le16(16);
    if (layout.listChunk)
        b += "LIST" + le32(26) + "INFO" + "ISFT" + le32(14) + QByteArray("Lavf59.27.100\0", 14);
    b += "data" + le32(dataSize) + pcm(samples);
    b += QByteArray(layout.strayBytes, '\x7f');
    return b;
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

struct Load
{
    bool ok = false;
    Columns columns;
};

Load load(const QString &path, std::function<void(QVector<qreal> &)> receiver = {})
{
    WaveFile reader;
    Load result;
    QObject::connect(&reader, &WaveFile::s_waveformData, [&](QVector<qreal> &data) {
        result.columns << data;
        if (receiver)
            receiver(data);
    });
    result.ok = reader.loadFile(path);
    return result;
}

} // namespace

class WaveFileTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString write(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

private slots:
    void stereoExample()
    {
        QVector<qint16> s(3840 * 2, 0);
        for (int f = 0; f < 1920; ++f)
            s[2 * f] = qint16(-100 + (f * 300) / 1919); // -100 .. 200, right channel silent
        for (int f = 1920; f < 3840; ++f)
            s[2 * f] = qint16(f % 2 ? 5 : -7), s[2 * f + 1] = qint16(f == 3000 ? -1 : 9);
        const Load r = load(write("example.wav", wavBytes({}, s)));
        QVERIFY(r.ok);
        QCOMPARE(r.columns.size(), 2);
        QCOMPARE(r.columns[0], (QVector<qreal> {200, -100, 0, 0}));
        QCOMPARE(r.columns[1], (QVector<qreal> {5, -7, 9, -1}));
    }

    void monoColumns()
    {
        QVector<qint16> s(5000, 3);
        s[10] = -32768;
        s[1919] = 1234;
        s[1920] = 32767;
        s[4999] = -5000; // in the dropped remainder
        const Load r = load(write("mono.wav", wavBytes({1}, s)));
        QVERIFY(r.ok);
        QCOMPARE(r.columns.size(), 2);
        QCOMPARE(r.columns[0], (QVector<qreal> {1234, -32768}));
        QCOMPARE(r.columns[1], (QVector<qreal> {32767, 3}));
    }

    void matchesReference_data()
    {
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("frames");
        QTest::addColumn<int>("expectedColumns");
        QTest::newRow("stereo, 5000 frames") << 2 << 5000 << 2;
        QTest::newRow("stereo, 1919 frames") << 2 << 1919 << 0;
        QTest::newRow("stereo, 1920 frames") << 2 << 1920 << 1;
        QTest::newRow("mono, 1919 frames") << 1 << 1919 << 0;
        QTest::newRow("mono, one minute") << 1 << 48000 * 60 << 1500;
        QTest::newRow("stereo, several read blocks") << 2 << 1920 * 150 + 33 << 150;
        QTest::newRow("3 channels") << 3 << 1920 * 5 + 100 << 5;
        QTest::newRow("4 channels") << 4 << 1920 * 3 << 3;
        QTest::newRow("5 channels") << 5 << 1920 * 2 + 1 << 2;
        QTest::newRow("8 channels") << 8 << 1920 * 4 << 4;
        QTest::newRow("no frames") << 2 << 0 << 0;
    }

    void matchesReference()
    {
        QFETCH(int, channels);
        QFETCH(int, frames);
        QFETCH(int, expectedColumns);
        const QVector<qint16> s = randomSamples(channels, frames, quint32(channels * 7919 + frames));
        const Load r = load(write("ref.wav", wavBytes({channels}, s)));
        QVERIFY(r.ok);
        QCOMPARE(r.columns.size(), expectedColumns);
        QCOMPARE(r.columns, referenceColumns(s, channels, frames));
        for (const auto &col : r.columns)
            QCOMPARE(col.size(), 2 * channels);
    }

    void extraChunkSkipped()
    {
        const QVector<qint16> s = randomSamples(2, 4000, 11);
        WavLayout layout;
        layout.listChunk = true;
        const QByteArray bytes = wavBytes(layout, s);
        QCOMPARE(bytes.size(), 36 + 4 + 34 + 4 + s.size() * 2);
        const Load r = load(write("list.wav", bytes));
        QVERIFY(r.ok);
        QCOMPARE(r.columns, referenceColumns(s, 2, 4000));
        QCOMPARE(r.columns.size(), 2);
    }

    // The real encoder writes its "INFO ISFT Lavf..." LIST chunk before the data.
    void ffmpegFile_data()
    {
        QTest::addColumn<int>("channels");
        QTest::newRow("stereo") << 2;
        QTest::newRow("mono") << 1;
    }

    void ffmpegFile()
    {
        QFETCH(int, channels);
        const QString ffmpeg = QStandardPaths::findExecutable("ffmpeg");
        if (ffmpeg.isEmpty())
            QSKIP("ffmpeg is not installed");
        const qint64 frames = 1920 * 3 + 500;
        const QVector<qint16> s = randomSamples(channels, frames, 77);
        const QString raw = write("in.raw", pcm(s));
        const QString out = m_dir.filePath(QStringLiteral("ffmpeg-%1.wav").arg(channels));
        QProcess p;
        p.start(ffmpeg, {"-v", "error", "-y", "-f", "s16le", "-ar", "48000", "-ac",
                         QString::number(channels), "-i", raw, "-c:a", "pcm_s16le", out});
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 0);

        QFile f(out);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray head = f.read(82);
        QCOMPARE(head.mid(36, 4), QByteArray("LIST"));
        QCOMPARE(qFromLittleEndian<quint32>(head.constData() + 40), quint32(26));
        QCOMPARE(head.mid(44, 8), QByteArray("INFOISFT"));
        QCOMPARE(head.mid(70, 4), QByteArray("data"));

        WaveFile reader;
        Columns got;
        connect(&reader, &WaveFile::s_waveformData, [&](QVector<qreal> &d) { got << d; });
        QVERIFY(reader.loadFile(out));
        QCOMPARE(reader.header().channelCount, quint16(channels));
        QCOMPARE(reader.header().blockAlign, quint16(channels * 2));
        QCOMPARE(reader.header().sampleRate, quint32(48000));
        QCOMPARE(reader.dataSize(), quint32(frames * channels * 2));
        QCOMPARE(got, referenceColumns(s, channels, frames));
        QCOMPARE(got.size(), 3);
    }

    void unreadableHeaders_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        WavLayout zeroAlign;
        zeroAlign.blockAlign = 0;
        WavLayout noChannels;
        noChannels.channels = 0;
        const QVector<qint16> s = randomSamples(2, 4000, 5);
        QTest::newRow("block align 0") << wavBytes(zeroAlign, s);
        QTest::newRow("no channels") << wavBytes(noChannels, s);
        QTest::newRow("shorter than a header") << wavBytes({}, s).left(20);
        QTest::newRow("empty file") << QByteArray();
    }

    void unreadableHeaders()
    {
        QFETCH(QByteArray, bytes);
        const Load r = load(write("bad.wav", bytes));
        QVERIFY(!r.ok);
        QVERIFY(r.columns.isEmpty());
    }

    // A header promising more than the file holds gives columns for the frames present only.
    void truncatedFile_data()
    {
        QTest::addColumn<int>("present");
        QTest::addColumn<int>("stray");
        QTest::addColumn<int>("expectedColumns");
        QTest::newRow("ends on a column") << 3840 << 0 << 2;
        QTest::newRow("ends inside a column") << 3000 << 0 << 1;
        QTest::newRow("ends inside a frame") << 3839 << 3 << 1;
        QTest::newRow("ends before the data") << 0 << 0 << 0;
    }

    void truncatedFile()
    {
        QFETCH(int, present);
        QFETCH(int, stray);
        QFETCH(int, expectedColumns);
        const QVector<qint16> s = randomSamples(2, present, 3);
        WavLayout layout;
        layout.claimedFrames = 100000;
        layout.strayBytes = stray;
        const Load r = load(write("short.wav", wavBytes(layout, s)));
        QVERIFY(r.ok);
        QCOMPARE(r.columns.size(), expectedColumns);
        QCOMPARE(r.columns, referenceColumns(s, 2, present));
    }

    void headerOnlyAndCutData()
    {
        // The data chunk may be followed by other chunks: only its declared size is read.
        const QVector<qint16> s = randomSamples(2, 5000, 9);
        WavLayout layout;
        layout.claimedFrames = 1920;
        const Load r = load(write("trailer.wav", wavBytes(layout, s)));
        QVERIFY(r.ok);
        QCOMPARE(r.columns, referenceColumns(s, 2, 1920));
    }

    // The frame count comes from the block align, the frame layout from the channel count.
    void blockAlignSetsFrameCount()
    {
        const QVector<qint16> s = randomSamples(2, 1920 * 4, 21);
        WavLayout layout;
        layout.blockAlign = 8;
        const Load r = load(write("align.wav", wavBytes(layout, s)));
        QVERIFY(r.ok);
        QCOMPARE(r.columns, referenceColumns(s, 2, 1920 * 2));
    }

    void missingFile()
    {
        const Load r = load(m_dir.filePath("does-not-exist.wav"));
        QVERIFY(!r.ok);
        QVERIFY(r.columns.isEmpty());
    }

    void devicesAreNotRead()
    {
        QVERIFY(QFile::exists("/dev/urandom"));
        const Load r = load("/dev/urandom");
        QVERIFY(!r.ok);
        QVERIFY(r.columns.isEmpty());
    }

    void pathUsedUnchanged()
    {
        const QVector<qint16> s = randomSamples(2, 1920, 4);
        const QString path = write(QString::fromUtf8("Aufnahme ü 录音 #1 %20.wav"), wavBytes({}, s));
        const Load r = load(path);
        QVERIFY(r.ok);
        QCOMPARE(r.columns, referenceColumns(s, 2, 1920));
    }

    void receiverMayChangeTheColumn_data()
    {
        QTest::addColumn<int>("mode");
        QTest::newRow("scaled in place") << 0;
        QTest::newRow("cleared") << 1;
        QTest::newRow("grown") << 2;
    }

    void receiverMayChangeTheColumn()
    {
        QFETCH(int, mode);
        const QVector<qint16> s = randomSamples(2, 1920 * 5, 8);
        const Load r = load(write("inplace.wav", wavBytes({}, s)), [mode](QVector<qreal> &d) {
            if (mode == 0)
                for (qreal &v : d)
                    v /= 32767.0;
            else if (mode == 1)
                d.clear();
            else
                d << 1 << 2 << 3;
        });
        QVERIFY(r.ok);
        QCOMPARE(r.columns, referenceColumns(s, 2, 1920 * 5));
    }
};

QTEST_GUILESS_MAIN(WaveFileTest)
#include "WaveFileTest.moc"
