#include "soundcard/CommandFrame.h"
#include "soundcard/Crc16X25.h"
#include "soundcard/FrameSequence.h"
#include "support/Hex.h"

#include <QtTest>

Q_DECLARE_METATYPE(SoundCardCommand)

namespace {

SoundCardCommand command(std::array<quint8, 4> code, int data = -1)
{
    return SoundCardCommand{code, data >= 0, {quint8(data >> 8), quint8(data & 0xFF)}};
}

} // namespace

class TestCommandFrame : public QObject
{
    Q_OBJECT
private slots:
    void crcCheckValue()
    {
        QCOMPARE(Crc16X25::compute(reinterpret_cast<const quint8 *>("123456789"), 9), quint16(0x906E));
    }

    void buildAndParse_data()
    {
        QTest::addColumn<int>("sequence");
        QTest::addColumn<SoundCardCommand>("command");
        QTest::addColumn<QByteArray>("frame");
        QTest::newRow("setVolume(2, 10) as first frame") << 0 << command({0x03, 0x01, 0x01, 0x02}, 0x020A)
                                                         << hex("89 FF FF 00 00 00 08 00 00 03 01 01 02 02 0A 01 2F");
        QTest::newRow("vx01 firmware query, sequence 1")
            << 1 << command({0x01, 0x01, 0x02, 0x01}) << hex("89 FF FF 00 01 00 06 00 00 01 01 02 01 CF C3");
        QTest::newRow("vx02 parameter query, sequence 0")
            << 0 << command({0x03, 0x01, 0x02, 0x08}) << hex("89 FF FF 00 00 00 06 00 00 03 01 02 08 26 89");
        QTest::newRow("sequence 0x1234, high byte first") << 0x1234 << command({0x03, 0x01, 0x01, 0x06}, 0x0701)
                                                          << hex("89 FF FF 12 34 00 08 00 00 03 01 01 06 07 01 78 DC");
        QTest::newRow("sequence 65535") << 65535 << command({0x01, 0x02, 0x02, 0x01})
                                        << hex("89 FF FF FF FF 00 06 00 00 01 02 02 01 F1 DD");
    }
    void buildAndParse()
    {
        QFETCH(int, sequence);
        QFETCH(SoundCardCommand, command);
        QFETCH(QByteArray, frame);
        QCOMPARE(CommandFrame::build(quint16(sequence), command).toHex(' '), frame.toHex(' '));
        // Parsed back as it stands in an output report: zeros behind it.
        const QByteArray report = frame + QByteArray(40, '\0');
        CommandFrame::Parsed parsed;
        QString error;
        QVERIFY2(
            CommandFrame::parse(reinterpret_cast<const quint8 *>(report.constData()), report.size(), &parsed, &error),
            qPrintable(error));
        QCOMPARE(int(parsed.sequence), sequence);
        QVERIFY(parsed.command == command);
        QCOMPARE(parsed.frameLength, frame.size());
    }

    void parseRejects_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        const QByteArray good = hex("89 FF FF 00 00 00 08 00 00 03 01 01 02 02 0A 01 2F");
        const auto with = [&good](int index, char value) {
            QByteArray bytes = good;
            bytes[index] = value;
            return bytes;
        };
        QTest::newRow("empty") << QByteArray() << "too short";
        QTest::newRow("14 bytes") << good.left(14) << "too short";
        QTest::newRow("start byte") << with(0, char(0x88)) << "start byte";
        QTest::newRow("fixed bytes") << with(2, char(0xFE)) << "fixed bytes";
        QTest::newRow("length 7") << with(6, char(0x07)) << "bad length";
        QTest::newRow("length 0xFF08") << with(5, char(0xFF)) << "bad length";
        QTest::newRow("data frame cut to 16 bytes") << good.left(16) << "cut short";
        QTest::newRow("reserved") << with(8, char(0x01)) << "reserved";
        QTest::newRow("checksum") << with(16, char(0x30)) << "checksum";
        QTest::newRow("data changed in transit") << with(14, char(0x0B)) << "checksum";
    }
    void parseRejects()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        QString error;
        CommandFrame::Parsed parsed;
        QVERIFY(
            !CommandFrame::parse(reinterpret_cast<const quint8 *>(bytes.constData()), bytes.size(), &parsed, &error));
        QVERIFY2(error.contains(reason), qPrintable(error));
    }

    void sequenceCounterWrapsAt65536()
    {
        FrameSequence counter;
        QCOMPARE(int(counter.take()), 0);
        QCOMPARE(int(counter.peek()), 1);
        for (int i = 1; i < 65536; ++i)
            QCOMPARE(int(counter.take()), i);
        // The 65537th frame carries 0 again.
        QCOMPARE(int(counter.take()), 0);
        QCOMPARE(int(counter.take()), 1);
    }
};

QTEST_GUILESS_MAIN(TestCommandFrame)
#include "tst_commandframe.moc"
