#include "soundcard/CommandFrame.h"
#include "soundcard/Crc16X25.h"
#include "soundcard/FrameSequence.h"

#include <QtTest>

Q_DECLARE_METATYPE(SoundCardCommand)

namespace {

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(QByteArray(text));
}

QString spaced(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

SoundCardCommand command(std::array<quint8, 4> code)
{
    return SoundCardCommand{code, false, {}};
}

SoundCardCommand command(std::array<quint8, 4> code, quint8 d0, quint8 d1)
{
    return SoundCardCommand{code, true, {d0, d1}};
}

} // namespace

class TestCommandFrame : public QObject
{
    Q_OBJECT
private slots:
    void crc_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<int>("crc");
        QTest::newRow("check value") << QByteArray("123456789") << 0x906E;
        QTest::newRow("empty") << QByteArray() << 0x0000;
        QTest::newRow("one zero byte") << hex("00") << 0xF078;
    }
    void crc()
    {
        QFETCH(QByteArray, input);
        QFETCH(int, crc);
        QCOMPARE(int(Crc16X25::compute(reinterpret_cast<const quint8 *>(input.constData()), input.size())), crc);
    }

    void build_data()
    {
        QTest::addColumn<int>("sequence");
        QTest::addColumn<SoundCardCommand>("command");
        QTest::addColumn<QString>("frame");
        QTest::newRow("setVolume(2, 10) as first frame")
            << 0 << command({0x03, 0x01, 0x01, 0x02}, 0x02, 0x0A)
            << "89 FF FF 00 00 00 08 00 00 03 01 01 02 02 0A 01 2F";
        QTest::newRow("vx01 firmware query, sequence 1")
            << 1 << command({0x01, 0x01, 0x02, 0x01}) << "89 FF FF 00 01 00 06 00 00 01 01 02 01 CF C3";
        QTest::newRow("vx02 parameter query, sequence 0")
            << 0 << command({0x03, 0x01, 0x02, 0x08}) << "89 FF FF 00 00 00 06 00 00 03 01 02 08 26 89";
    }
    void build()
    {
        QFETCH(int, sequence);
        QFETCH(SoundCardCommand, command);
        QFETCH(QString, frame);
        const QByteArray built = CommandFrame::build(quint16(sequence), command);
        QCOMPARE(spaced(built), frame);
        QCOMPARE(built.size(), CommandFrame::kLengthWithoutData + command.dataLength());
    }

    void sequenceFields_data()
    {
        QTest::addColumn<int>("sequence");
        QTest::newRow("0") << 0;
        QTest::newRow("0x1234") << 0x1234;
        QTest::newRow("65535") << 65535;
    }
    void sequenceFields()
    {
        QFETCH(int, sequence);
        const QByteArray built = CommandFrame::build(quint16(sequence), command({0x03, 0x01, 0x01, 0x06}, 7, 1));
        QCOMPARE(quint8(built[3]), quint8(sequence >> 8));
        QCOMPARE(quint8(built[4]), quint8(sequence & 0xFF));
        // The checksum follows the sequence number, high byte first.
        const quint16 crc = Crc16X25::compute(reinterpret_cast<const quint8 *>(built.constData()), 15);
        QCOMPARE(quint8(built[15]), quint8(crc >> 8));
        QCOMPARE(quint8(built[16]), quint8(crc & 0xFF));
    }

    void parseRoundTrip_data() { build_data(); }
    void parseRoundTrip()
    {
        QFETCH(int, sequence);
        QFETCH(SoundCardCommand, command);
        // A frame as it stands in an output report: zeros behind it.
        QByteArray report = CommandFrame::build(quint16(sequence), command) + QByteArray(40, '\0');
        CommandFrame::Parsed parsed;
        QString error;
        QVERIFY2(CommandFrame::parse(reinterpret_cast<const quint8 *>(report.constData()), report.size(), &parsed,
                                     &error),
                 qPrintable(error));
        QCOMPARE(int(parsed.sequence), sequence);
        QVERIFY(parsed.command == command);
        QCOMPARE(parsed.frameLength, 15 + command.dataLength());
    }

    void parseRejects_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        const QByteArray good = hex("89 FF FF 00 00 00 08 00 00 03 01 01 02 02 0A 01 2F");
        QByteArray badStart = good;
        badStart[0] = char(0x88);
        QByteArray badFixed = good;
        badFixed[2] = char(0xFE);
        QByteArray badLength = good;
        badLength[6] = char(0x07);
        QByteArray hugeLength = good;
        hugeLength[5] = char(0xFF);
        QByteArray reserved = good;
        reserved[8] = char(0x01);
        QByteArray badCrc = good;
        badCrc[16] = char(0x30);
        QByteArray changedData = good;
        changedData[14] = char(0x0B);
        QTest::newRow("empty") << QByteArray() << "too short";
        QTest::newRow("14 bytes") << good.left(14) << "too short";
        QTest::newRow("start byte") << badStart << "start byte";
        QTest::newRow("fixed bytes") << badFixed << "fixed bytes";
        QTest::newRow("length 7") << badLength << "bad length";
        QTest::newRow("length 0xFF08") << hugeLength << "bad length";
        QTest::newRow("data frame cut to 16 bytes") << good.left(16) << "cut short";
        QTest::newRow("reserved") << reserved << "reserved";
        QTest::newRow("checksum") << badCrc << "checksum";
        QTest::newRow("data changed in transit") << changedData << "checksum";
    }
    void parseRejects()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        QString error;
        CommandFrame::Parsed parsed;
        QVERIFY(!CommandFrame::parse(reinterpret_cast<const quint8 *>(bytes.constData()), bytes.size(), &parsed,
                                     &error));
        QVERIFY2(error.contains(reason), qPrintable(error));
    }

    void sequenceCounterCountsAndWraps()
    {
        FrameSequence counter;
        QCOMPARE(int(counter.take()), 0);
        QCOMPARE(int(counter.take()), 1);
        QCOMPARE(int(counter.peek()), 2);
        for (int i = 2; i < 65536; ++i)
            counter.take();
        // The 65537th frame carries 0 again.
        QCOMPARE(int(counter.take()), 0);
        QCOMPARE(int(counter.take()), 1);
    }

    void processWideCounterIsOne()
    {
        FrameSequence &a = FrameSequence::processWide();
        const quint16 before = a.peek();
        QCOMPARE(a.take(), before);
        QCOMPARE(FrameSequence::processWide().peek(), quint16(before + 1));
        QCOMPARE(&FrameSequence::processWide(), &a);
    }
};

QTEST_GUILESS_MAIN(TestCommandFrame)
#include "tst_CommandFrame.moc"
