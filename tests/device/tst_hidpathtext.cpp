#include "device/HidPathText.h"

#include <QtTest>

class TestHidPathText : public QObject
{
    Q_OBJECT
private slots:
    void make_data()
    {
        QTest::addColumn<QString>("node");
        QTest::addColumn<int>("vid");
        QTest::addColumn<int>("pid");
        QTest::addColumn<QString>("path");
        QTest::newRow("vx02") << "/dev/hidraw3" << 0x1234 << 0x4321 << "/dev/hidraw3#VID_1234&PID_4321";
        QTest::newRow("vx01 detection") << "/dev/hidraw0" << 0x1235 << 0x0003 << "/dev/hidraw0#VID_1235&PID_0003";
        QTest::newRow("upper-case hex") << "/dev/hidraw12" << 0x046d << 0xc52b << "/dev/hidraw12#VID_046D&PID_C52B";
    }
    void make()
    {
        QFETCH(QString, node);
        QFETCH(int, vid);
        QFETCH(int, pid);
        QFETCH(QString, path);
        QCOMPARE(HidPathText::make(node, quint16(vid), quint16(pid)), path);
        QCOMPARE(HidPathText::node(path), node);
        QCOMPARE(HidPathText::node(node), node);  // a bare node stands for itself
    }

    void parseHidId_data()
    {
        QTest::addColumn<QString>("hidId");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("vid");
        QTest::addColumn<int>("pid");
        QTest::newRow("usb") << "0003:00001234:00004321" << true << 0x1234 << 0x4321;
        QTest::newRow("bluetooth lower case") << "0005:0000046d:0000b01a" << true << 0x046D << 0xB01A;
        QTest::newRow("trailing newline") << "0003:00001235:00000003\n" << true << 0x1235 << 0x0003;
        QTest::newRow("two fields") << "0003:00001234" << false << 0 << 0;
        QTest::newRow("not hex") << "0003:0000XYZW:00004321" << false << 0 << 0;
        QTest::newRow("vendor too wide") << "0003:00011234:00004321" << false << 0 << 0;
        QTest::newRow("empty") << "" << false << 0 << 0;
    }
    void parseHidId()
    {
        QFETCH(QString, hidId);
        quint16 vendor = 0;
        quint16 product = 0;
        QTEST(HidPathText::parseHidId(hidId, &vendor, &product), "ok");
        QTEST(int(vendor), "vid");
        QTEST(int(product), "pid");
    }
};

QTEST_GUILESS_MAIN(TestHidPathText)
#include "tst_hidpathtext.moc"
