#include "record/ColumnAccumulator.h"

#include <QtTest>

using Columns = QVector<QVector<qreal>>;

class TestColumnAccumulator : public QObject
{
    Q_OBJECT

private slots:
    void oneColumnPer40ms_data()
    {
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("frames");
        QTest::addColumn<int>("buffers");
        QTest::addColumn<int>("columns");
        QTest::newRow("48k, 1920 frames: one per buffer") << 48000 << 1920 << 10 << 10;
        QTest::newRow("44.1k, 441 frames: one per four") << 44100 << 441 << 100 << 25;
        QTest::newRow("44.1k, 441 frames: partial") << 44100 << 441 << 7 << 1;
        QTest::newRow("48k, two-second buffer") << 48000 << 96000 << 1 << 50;
        QTest::newRow("48k, 1000 frames") << 48000 << 1000 << 48 << 25;
    }

    void oneColumnPer40ms()
    {
        QFETCH(int, rate);
        QFETCH(int, frames);
        QFETCH(int, buffers);
        QFETCH(int, columns);
        ColumnAccumulator acc;
        int produced = 0;
        for (int i = 0; i < buffers; ++i)
            produced += acc.add({0.5, -0.5, 0.1, -0.1}, frames, rate).size();
        QCOMPARE(produced, columns);
    }

    void joinsExtremes()
    {
        ColumnAccumulator acc;
        QVERIFY(acc.add({0.2, -0.1, 0.0, 0.0}, 441, 44100).isEmpty());
        QVERIFY(acc.add({0.7, 0.3, 0.1, -0.9}, 441, 44100).isEmpty());
        QVERIFY(acc.add({0.1, -0.4, 0.2, 0.1}, 441, 44100).isEmpty());
        const Columns done = acc.add({0.0, 0.0, 0.0, 0.0}, 441, 44100);
        QCOMPARE(done, (Columns{{0.7, -0.4, 0.2, -0.9}}));
        // The next column starts afresh.
        acc.add({0.1, -0.1, 0.1, -0.1}, 441, 44100);
        acc.add({0.1, -0.1, 0.1, -0.1}, 441, 44100);
        acc.add({0.1, -0.1, 0.1, -0.1}, 441, 44100);
        QCOMPARE(acc.add({0.1, -0.1, 0.1, -0.1}, 441, 44100), (Columns{{0.1, -0.1, 0.1, -0.1}}));
    }

    void emptyColumnPassesThrough()
    {
        ColumnAccumulator acc;
        QCOMPARE(acc.add({}, 1920, 48000), (Columns{{}}));
        QCOMPARE(acc.add({0.3, -0.3}, 1920, 0), (Columns{{0.3, -0.3}}));
    }

    void channelChangeFlushes()
    {
        ColumnAccumulator acc;
        QVERIFY(acc.add({0.2, -0.2, 0.2, -0.2}, 441, 44100).isEmpty());
        const Columns done = acc.add({0.5, -0.5}, 441, 44100);
        QCOMPARE(done, (Columns{{0.2, -0.2, 0.2, -0.2}}));
    }

    void resetDropsPartialColumn()
    {
        ColumnAccumulator acc;
        acc.add({0.9, -0.9}, 441, 44100);
        acc.add({0.9, -0.9}, 441, 44100);
        acc.reset();
        acc.add({0.1, -0.1}, 441, 44100);
        acc.add({0.1, -0.1}, 441, 44100);
        acc.add({0.1, -0.1}, 441, 44100);
        QCOMPARE(acc.add({0.1, -0.1}, 441, 44100), (Columns{{0.1, -0.1}}));
    }
};

QTEST_APPLESS_MAIN(TestColumnAccumulator)
#include "tst_columnaccumulator.moc"
