#include "record/ColumnAccumulator.h"

#include <QtTest>

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

class TestColumnAccumulator : public QObject
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

QTEST_APPLESS_MAIN(TestColumnAccumulator)
#include "tst_columnaccumulator.moc"
