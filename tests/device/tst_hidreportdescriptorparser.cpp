#include "device/HidReportDescriptorParser.h"
#include "support/Hex.h"

#include <QtTest>

namespace {

// "page:usage:in:out:feature" per collection, ';' between collections, hex page and usage.
QString describe(const HidReportDescriptor &descriptor)
{
    QStringList parts;
    for (const HidTopLevelCollection &c : descriptor.collections) {
        parts << QStringLiteral("%1:%2:%3:%4:%5")
                     .arg(c.usagePage, 4, 16, QLatin1Char('0'))
                     .arg(c.usage, 4, 16, QLatin1Char('0'))
                     .arg(c.inputReportLength)
                     .arg(c.outputReportLength)
                     .arg(c.featureReportLength);
    }
    return parts.join(QLatin1Char(';'));
}

bool parse(const QByteArray &bytes, HidReportDescriptor *result)
{
    return HidReportDescriptorParser::parse(reinterpret_cast<const quint8 *>(bytes.constData()),
                                            std::size_t(bytes.size()), result);
}

} // namespace

class TestHidReportDescriptorParser : public QObject
{
    Q_OBJECT
private slots:
    void realDescriptors_data()
    {
        QTest::addColumn<QByteArray>("descriptor");
        QTest::addColumn<QString>("collections");
        QTest::addColumn<bool>("usesReportIds");

        // Vendor-defined control collection with numbered reports: a 63-byte input report (id 1),
        // output reports of 32 (id 2) and 64 (id 3) bytes.
        QTest::newRow("vendor with report ids") << hex("06 00 FF 0A AA 55 A1 01"
                                                       "85 01 09 01 15 00 26 FF 00 75 08 95 3F 81 02"
                                                       "85 02 09 02 75 08 95 20 91 02"
                                                       "85 03 09 03 75 08 95 40 91 02"
                                                       "C0")
                                                << "ff00:55aa:64:65:0" << true;

        // Multimedia keys: four one-bit controls and padding, no report id.
        QTest::newRow("consumer control")
            << hex("05 0C 09 01 A1 01 15 00 25 01 09 E9 09 EA 09 E2 09 CD 75 01 95 04 81 02"
                   "75 04 95 01 81 03 C0")
            << "000c:0001:2:0:0" << false;

        // A wireless receiver: keyboard (id 1, with LED output), consumer keys (id 3), vendor (id 16).
        QTest::newRow("several top-level collections")
            << hex("05 01 09 06 A1 01 85 01 05 07 19 E0 29 E7 15 00 25 01 75 01 95 08 81 02"
                   "95 01 75 08 81 03 95 05 75 01 05 08 19 01 29 05 91 02 95 01 75 03 91 03"
                   "95 06 75 08 15 00 26 FF 00 05 07 19 00 2A FF 00 81 00 C0"
                   "05 0C 09 01 A1 01 85 03 75 10 95 02 15 01 26 8C 02 19 01 2A 8C 02 81 00 C0"
                   "06 00 FF 09 01 A1 01 85 10 75 08 95 06 15 00 26 FF 00 09 01 81 00 09 01 91 00 C0")
            << "0001:0006:9:2:0;000c:0001:5:0:0;ff00:0001:7:7:0" << true;

        // Vendor pipe without report ids: 64 bytes each way.
        QTest::newRow("no report ids") << hex(
            "06 00 FF 09 01 A1 01 15 00 26 FF 00 75 08 95 40 09 01 81 02 09 01 91 02 C0")
                                       << "ff00:0001:65:65:0" << false;

        // Mouse with a nested physical collection; only the top level is listed.
        QTest::newRow("nested collection")
            << hex("05 01 09 02 A1 01 09 01 A1 00 05 09 19 01 29 03 15 00 25 01 95 03 75 01 81 02"
                   "95 01 75 05 81 03 05 01 09 30 09 31 15 81 25 7F 75 08 95 02 81 06 C0 C0")
            << "0001:0002:4:0:0" << false;

        // A four-byte usage names its own page; push and pop restore the report size.
        QTest::newRow("extended usage, push and pop")
            << hex("0B 01 00 0C 00 A1 01 75 08 A4 75 10 95 01 81 02 B4 95 02 81 02 C0") << "000c:0001:5:0:0" << false;

        // Long items are skipped.
        QTest::newRow("long item") << hex("06 00 FF 09 01 A1 01 FE 02 10 AA BB 75 08 95 08 81 02 C0")
                                   << "ff00:0001:9:0:0" << false;

        // Feature reports are counted apart from input reports.
        QTest::newRow("feature report") << hex("06 00 FF 09 01 A1 01 85 05 75 08 95 10 B1 02 85 06 95 02 81 02 C0")
                                        << "ff00:0001:3:0:17" << true;
    }
    void realDescriptors()
    {
        QFETCH(QByteArray, descriptor);
        HidReportDescriptor result;
        QVERIFY(parse(descriptor, &result));
        QTEST(describe(result), "collections");
        QTEST(result.usesReportIds, "usesReportIds");
    }

    void malformedDescriptorsAreRejected_data()
    {
        QTest::addColumn<QByteArray>("descriptor");
        const QByteArray good = hex("06 00 FF 09 01 A1 01 15 00 26 FF 00 75 08 95 40 09 01 81 02 09 01 91 02 C0");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("truncated in item data") << good.left(11); // 26 FF | 00 missing
        QTest::newRow("truncated before end collection") << good.left(good.size() - 1);
        QTest::newRow("cut after prefix") << hex("06 00 FF 09 01 A1 01 26");
        QTest::newRow("end without collection") << hex("C0 06 00 FF 09 01 A1 01 C0");
        QTest::newRow("unclosed nested collection") << hex("05 01 09 02 A1 01 A1 00 75 08 95 01 81 02 C0");
        QTest::newRow("pop without push") << hex("05 01 09 02 A1 01 B4 C0");
        QTest::newRow("report id 0") << hex("06 00 FF 09 01 A1 01 85 00 75 08 95 01 81 02 C0");
        QTest::newRow("reserved item type") << hex("06 00 FF 09 01 A1 01 0C C0");
        QTest::newRow("unknown main item") << hex("06 00 FF 09 01 A1 01 F0 C0");
        QTest::newRow("truncated long item") << hex("06 00 FF 09 01 A1 01 FE 08 10 AA");
        QTest::newRow("no collection") << hex("06 00 FF 75 08 95 40 81 02");
        QTest::newRow("huge report") << hex("06 00 FF 09 01 A1 01 77 FF FF FF FF 97 FF FF FF FF 81 02 C0");
        QTest::newRow("push overflow") << QByteArray(64, char(0xA4));
    }
    void malformedDescriptorsAreRejected()
    {
        QFETCH(QByteArray, descriptor);
        HidReportDescriptor result;
        result.collections << HidTopLevelCollection();
        QVERIFY(!parse(descriptor, &result));
        QVERIFY(result.collections.isEmpty());
    }

    void nullInput()
    {
        HidReportDescriptor result;
        QVERIFY(!HidReportDescriptorParser::parse(nullptr, 10, &result));
        const quint8 byte = 0xC0;
        QVERIFY(!HidReportDescriptorParser::parse(&byte, 1, nullptr));
    }
};

QTEST_GUILESS_MAIN(TestHidReportDescriptorParser)
#include "tst_hidreportdescriptorparser.moc"
