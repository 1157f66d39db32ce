// What the panel reads from the encoder's messages: how far it got and why it
// could not write.
#include "record/EncoderProcess.h"
#include "support/StandInEncoder.h"

#include <QSignalSpy>
#include <QtTest>

class TestEncoderProcess : public QObject
{
    Q_OBJECT

private slots:
    // Each line the encoder prints, read for how far it got (-1: not said) and for why it could
    // not write (empty: no such cause).
    void readLine_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<qint64>("ms");
        QTest::addColumn<QString>("cause");
        QTest::newRow("ffmpeg 5.1") << "size=     256kB time=00:01:02.50 bitrate=  33.5kbits/s speed=60x"
                                    << qint64(62500) << QString();
        QTest::newRow("hours") << "time=01:02:03.04" << qint64(3723040) << QString();
        QTest::newRow("one decimal") << "time=00:00:01.5" << qint64(1500) << QString();
        QTest::newRow("six decimals") << "time=00:00:01.123456" << qint64(1123) << QString();
        QTest::newRow("no fraction") << "time=00:00:07" << qint64(7000) << QString();
        QTest::newRow("not yet known") << "size=N/A time=N/A bitrate=N/A" << qint64(-1) << QString();
        QTest::newRow("before the start") << "time=-00:00:00.02" << qint64(-1) << QString();
        QTest::newRow("trailer, disk full")
            << "Error writing trailer of /m/a.mp3: No space left on device" << qint64(-1) << "No space left on device";
        QTest::newRow("close, quota") << "Error closing file /m/a.mp3: Disk quota exceeded" << qint64(-1)
                                      << "Disk quota exceeded";
        QTest::newRow("read-only") << "/m/a.mp3: Read-only file system" << qint64(-1) << "Read-only file system";
        QTest::newRow("muxing") << "Error muxing a packet for output file #0" << qint64(-1)
                                << "Error muxing a packet for output file #0";
        QTest::newRow("frame write") << "av_interleaved_write_frame(): Broken pipe" << qint64(-1)
                                     << "av_interleaved_write_frame(): Broken pipe";
        QTest::newRow("what follows") << "Conversion failed!" << qint64(-1) << "";
    }

    void readLine()
    {
        QFETCH(QString, line);
        QFETCH(qint64, ms);
        QFETCH(QString, cause);
        QCOMPARE(EncoderProcess::progressMs(line), ms);
        QCOMPARE(EncoderProcess::writeErrorOf(line), cause);
    }

    // Progress lines end with a carriage return; each gives the share of the
    // audio written.
    void progressOfARun()
    {
        StandInEncoder tools("printf 'size=1kB time=00:00:01.00 x\\rsize=2kB "
                             "time=00:00:03.00 x\\r' >&2\n"
                             "printf 'time=00:00:05.00\\nlast words' >&2");
        QVERIFY(tools.isValid());
        qRegisterMetaType<EncoderProcess::Result>(); // for the spy to record the result
        EncoderProcess encoder;
        QSignalSpy progress(&encoder, &EncoderProcess::progress);
        QSignalSpy finished(&encoder, &EncoderProcess::finished);
        QVERIFY(encoder.start({}, tools.filePath(QStringLiteral("out.mp3")), 4000));
        QVERIFY(!encoder.start({}, QString(), 1)); // one run at a time
        QVERIFY(finished.wait(10000));
        QCOMPARE(QList<QList<QVariant>>(progress), (QList<QList<QVariant>>{{25}, {75}, {100}}));
        QCOMPARE(finished.first().first().value<EncoderProcess::Result>(), EncoderProcess::Succeeded);
        QCOMPARE(encoder.lastLine(), QStringLiteral("last words"));
        QVERIFY(!encoder.isRunning());
    }
};

QTEST_GUILESS_MAIN(TestEncoderProcess)
#include "tst_encoderprocess.moc"
