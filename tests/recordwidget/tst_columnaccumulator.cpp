#include "record/ColumnAccumulator.h"

#include <QtTest>

using Column = QVector<qreal>;
using Columns = QVector<Column>;

struct Add
{
    Column column;
    int frames; // -1: reset instead
    int rate;
    int times;
};
using Adds = QVector<Add>;
Q_DECLARE_METATYPE(Adds)

class TestColumnAccumulator : public QObject
{
    Q_OBJECT

private slots:
    // One column per 40 ms of buffers, whatever their length, joining their extremes.
    void columns_data()
    {
        QTest::addColumn<Adds>("adds");
        QTest::addColumn<Columns>("expected");
        const Column c{0.1, -0.1, 0.1, -0.1};
        QTest::newRow("48k, 1920 frames: one per buffer") << Adds{{c, 1920, 48000, 10}} << Columns(10, c);
        QTest::newRow("44.1k, 441 frames: one per four") << Adds{{c, 441, 44100, 100}} << Columns(25, c);
        QTest::newRow("44.1k, 441 frames: partial") << Adds{{c, 441, 44100, 7}} << Columns(1, c);
        QTest::newRow("48k, two-second buffer") << Adds{{c, 96000, 48000, 1}} << Columns(50, c);
        QTest::newRow("48k, 1000 frames") << Adds{{c, 1000, 48000, 48}} << Columns(25, c);
        QTest::newRow("extremes of 40 ms, then afresh")
            << Adds{{{0.2, -0.1, 0.0, 0.0}, 441, 44100, 1}, {{0.7, 0.3, 0.1, -0.9}, 441, 44100, 1},
                    {{0.1, -0.4, 0.2, 0.1}, 441, 44100, 1}, {{0.0, 0.0, 0.0, 0.0}, 441, 44100, 1},
                    {c, 1764, 44100, 1}}
            << Columns{{0.7, -0.4, 0.2, -0.9}, c};
        QTest::newRow("empty column passes through") << Adds{{{}, 1920, 48000, 1}} << Columns{{}};
        QTest::newRow("no rate passes through") << Adds{{{0.3, -0.3}, 1920, 0, 1}} << Columns{{0.3, -0.3}};
        QTest::newRow("channel change flushes") << Adds{{c, 441, 44100, 1}, {{0.5, -0.5}, 441, 44100, 1}}
                                                << Columns{c};
        QTest::newRow("reset drops the partial column")
            << Adds{{{0.9, -0.9}, 882, 44100, 1}, {{}, -1, 0, 1}, {{0.1, -0.1}, 1764, 44100, 1}}
            << Columns{{0.1, -0.1}};
    }

    void columns()
    {
        QFETCH(Adds, adds);
        QFETCH(Columns, expected);
        ColumnAccumulator acc;
        Columns out;
        for (const Add &a : adds) {
            for (int i = 0; i < a.times; ++i) {
                if (a.frames < 0)
                    acc.reset();
                else
                    out += acc.add(a.column, a.frames, a.rate);
            }
        }
        QCOMPARE(out, expected);
    }
};

QTEST_APPLESS_MAIN(TestColumnAccumulator)
#include "tst_columnaccumulator.moc"
