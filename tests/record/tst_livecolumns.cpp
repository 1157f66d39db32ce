// The live waveform's columns: the levels of one buffer, then 40 ms columns joined from those.
#include "record/BufferLevels.h"
#include "record/ColumnAccumulator.h"
#include "support/RecordTestSupport.h"

#include <QtTest>

#include <cstring>

using RecordTestSupport::pcmFormat;

namespace {

template<typename T>
QByteArray bytesOf(const QVector<T> &samples)
{
    QByteArray bytes(samples.size() * int(sizeof(T)), '\0');
    std::memcpy(bytes.data(), samples.constData(), size_t(bytes.size()));
    return bytes;
}

// Unsigned samples are measured around half their full scale.
qreal u(qreal v, qreal full)
{
    return qAbs(v - full / 2) / (full / 2);
}

} // namespace

using Column = QVector<qreal>;
using Columns = QVector<Column>;

struct Add
{
    Column column;
    qint64 startUs; // -1: reset instead
    int frames;
    int rate;
};
using Adds = QVector<Add>;
Q_DECLARE_METATYPE(Adds)

class TestLiveColumns : public QObject
{
    Q_OBJECT

    // count buffers of `frames` at `rate`, back to back from startUs.
    static Adds run(const Column &c, qint64 startUs, int frames, int rate, int count)
    {
        Adds adds;
        for (int i = 0; i < count; ++i)
            adds.append({c, startUs + qint64(i) * frames * 1000000 / rate, frames, rate});
        return adds;
    }

private slots:
    // Two stereo frames (left, right, left, right) per row, unless the format says otherwise.
    // Rows whose format Qt 6 cannot describe (other sizes, big endian, not PCM) run on Qt 5 only.
    void levels_data()
    {
        QTest::addColumn<QAudioFormat>("format");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<Column>("expected");
        using S = RecordTestSupport::Sample;
        const auto row = [](const char *name, const QAudioFormat &format, const QByteArray &data,
                            const Column &expected) {
            if (format.isValid())
                QTest::newRow(name) << format << data << expected;
            else
                qInfo("%s: no such format in this Qt", name);
        };
        row("s8", pcmFormat(S::Signed, 8), bytesOf(QVector<qint8>{10, -20, 127, -128}),
            Column{1.0, 10 / 127.0, -20 / 127.0, -128 / 127.0});
        row("s16", pcmFormat(S::Signed, 16), bytesOf(QVector<qint16>{1000, -32767, -500, 32767}),
            Column{1000 / 32767.0, -500 / 32767.0, 1.0, -1.0});
        row("s32", pcmFormat(S::Signed, 32), bytesOf(QVector<qint32>{2147483647, 0, -1000, -2147483647}),
            Column{1.0, -1000 / 2147483647.0, 0.0, -1.0});
        row("s16 mono", pcmFormat(S::Signed, 16, 1), bytesOf(QVector<qint16>{-300, 600, 100}),
            Column{600 / 32767.0, -300 / 32767.0});
        row("u8", pcmFormat(S::Unsigned, 8), bytesOf(QVector<quint8>{0, 200, 255, 100}),
            Column{1.0, 1.0, u(200, 255), u(100, 255)});
        row("u16", pcmFormat(S::Unsigned, 16), bytesOf(QVector<quint16>{0, 65535, 40000, 100}),
            Column{u(40000, 65535), 1.0, 1.0, u(100, 65535)});
        // Values above 2^31 must stay positive: they are unsigned.
        row("u32", pcmFormat(S::Unsigned, 32), bytesOf(QVector<quint32>{4294967295u, 1, 5, 3000000000u}),
            Column{1.0, u(5, 4294967295.0), u(3000000000.0, 4294967295.0), u(1, 4294967295.0)});
        row("f32", pcmFormat(S::Float, 32), bytesOf(QVector<float>{0.5f, -0.25f, -0.5f, 0.125f}),
            Column{0.5 / 1.00003, -0.5 / 1.00003, 0.125 / 1.00003, -0.25 / 1.00003});
        // No full scale: zeros.
        row("f64", pcmFormat(S::Float, 64), QByteArray(16, '\x7f'), Column(4, 0.0));
        row("s24", pcmFormat(S::Signed, 24), QByteArray(16, '\x7f'), Column(4, 0.0));
        // Not measurable at all: no column.
        row("big-endian", pcmFormat(S::Signed, 16, 2, true), QByteArray(8, '\x10'), Column());
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
        QAudioFormat raw = pcmFormat(S::Signed, 16);
        raw.setCodec(QStringLiteral("audio/x-raw"));
        row("not pcm", raw, QByteArray(8, '\x10'), Column());
#endif
        QTest::newRow("invalid") << QAudioFormat() << QByteArray(8, '\x10') << Column();
    }

    void levels()
    {
        QFETCH(QAudioFormat, format);
        QFETCH(QByteArray, data);
        QFETCH(Column, expected);
        QCOMPARE(BufferLevels::sampleLevels(QAudioBuffer(data, format)), expected);
    }

    // One column per 40 ms of recording, placed by the buffers' start times, joining extremes.
    void columns_data()
    {
        QTest::addColumn<Adds>("adds");
        QTest::addColumn<Columns>("expected");
        const Column c{0.1, -0.1, 0.1, -0.1};
        const Column e;
        QTest::newRow("48k, 1920 frames: one per buffer") << run(c, 0, 1920, 48000, 10) << Columns(10, c);
        QTest::newRow("48k, 480 frames: partial") << run(c, 0, 480, 48000, 7) << Columns(1, c);
        QTest::newRow("44.1k, 441 frames: one per four") << run(c, 0, 441, 44100, 100) << Columns(25, c);
        QTest::newRow("48k, two-second buffer") << run(c, 0, 96000, 48000, 1) << Columns(50, c);
        QTest::newRow("48k, 1000 frames") << run(c, 0, 1000, 48000, 48) << Columns(25, c);
        QTest::newRow("extremes of 40 ms, then afresh") << Adds{{{0.2, -0.1, 0.0, 0.0}, 0, 480, 48000},
                                                                {{0.7, 0.3, 0.1, -0.9}, 10000, 480, 48000},
                                                                {{0.1, -0.4, 0.2, 0.1}, 20000, 480, 48000},
                                                                {{0.0, 0.0, 0.0, 0.0}, 30000, 480, 48000},
                                                                {c, 40000, 1920, 48000}}
                                                        << Columns{{0.7, -0.4, 0.2, -0.9}, c};
        // Skipped buffers leave blank columns where their audio lies; what follows stays put.
        QTest::newRow("skipped buffers leave a gap")
            << run(c, 0, 480, 48000, 8) + run({0.5, -0.5, 0.5, -0.5}, 200000, 480, 48000, 4)
            << Columns{c, c, e, e, e, {0.5, -0.5, 0.5, -0.5}};
        QTest::newRow("gap inside a column keeps its levels")
            << Adds{{c, 0, 480, 48000}, {c, 30000, 480, 48000}} << Columns{c};
        QTest::newRow("first buffers skipped") << run(c, 120000, 1920, 48000, 2) << Columns{e, e, e, c, c};
        QTest::newRow("buffer across a column edge")
            << Adds{{c, 30000, 960, 48000}, {{0.5, -0.5, 0.5, -0.5}, 50000, 1920, 48000}}
            << Columns{c, {0.5, -0.5, 0.5, -0.5}};
        QTest::newRow("late buffer joins the open column")
            << Adds{{c, 40000, 480, 48000}, {{0.9, -0.9, 0.9, -0.9}, 0, 480, 48000}, {c, 60000, 960, 48000}}
            << Columns{e, {0.9, -0.9, 0.9, -0.9}};
        QTest::newRow("empty column leaves a blank") << run(e, 0, 1920, 48000, 1) << Columns{e};
        QTest::newRow("no rate passes through") << Adds{{{0.3, -0.3}, 0, 1920, 0}} << Columns{{0.3, -0.3}};
        QTest::newRow("channel change: the newer wins")
            << Adds{{c, 0, 480, 48000}, {{0.5, -0.5}, 10000, 1440, 48000}} << Columns{{0.5, -0.5}};
        QTest::newRow("reset starts at column 0 again")
            << Adds{{{0.9, -0.9}, 0, 960, 48000}, {{}, -1, 0, 0}, {{0.1, -0.1}, 0, 1920, 48000}}
            << Columns{{0.1, -0.1}};
    }

    void columns()
    {
        QFETCH(Adds, adds);
        QFETCH(Columns, expected);
        ColumnAccumulator acc;
        Columns out;
        for (const Add &a : adds) {
            if (a.startUs < 0)
                acc.reset();
            else
                out += acc.add(a.column, a.startUs, a.frames, a.rate);
        }
        QCOMPARE(out, expected);
    }
};

QTEST_APPLESS_MAIN(TestLiveColumns)
#include "tst_livecolumns.moc"
