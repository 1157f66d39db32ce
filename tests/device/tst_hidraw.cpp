#include "support/MessageCapture.h"

#include "device/HidHandle.h"
#include "device/HidPathText.h"
#include "device/HidrawBackend.h"
#include "device/HidrawHandle.h"
#include "device/HidrawMonitor.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <linux/hidraw.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A packet socket pair stands in for a hidraw node: each read and write moves one report. The
// handle owns the host end.
struct NodePair
{
    int host = -1;
    int device = -1;
    NodePair()
    {
        int fds[2];
        if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, fds) == 0) {
            host = fds[0];
            device = fds[1];
        }
    }
    ~NodePair() { unplug(); }
    void unplug()
    {
        if (device >= 0)
            ::close(device);
        device = -1;
    }
};

QByteArray pattern(int size, int seed)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = char(seed + i * 3);
    return bytes;
}

// A vendor collection with 64-byte input and output reports, no report ids (as a vx02 has).
const QByteArray kVendorDescriptor = QByteArray::fromHex("0600FF0AAA55A101150026FF00750895400901810209019102C0");
// A keyboard: one 8-byte input report.
const QByteArray kKeyboardDescriptor = QByteArray::fromHex("05010906A101750895088102C0");

// The part of a system's root that the hidraw backend reads: sysfs's hidraw class with each
// node's HID device (uevent, report descriptor) and the nodes in dev/ (plain files here).
class FakeSystem
{
public:
    FakeSystem()
    {
        QDir().mkpath(root() + "/sys/class/hidraw");
        QDir().mkpath(root() + "/dev");
    }
    QString root() const { return m_dir.path(); }

    // Adds the HID device with its hidraw entry; the node itself comes with addNode().
    void addDevice(const QString &name, const QString &hidId, const QByteArray &descriptor)
    {
        const QString device = root() + "/sys/devices/usb1/" + name + "-hid";
        QDir().mkpath(device);
        write(device + "/uevent", "DRIVER=hid-generic\nHID_ID=" + hidId.toLatin1() + "\nHID_NAME=Test\n");
        if (!descriptor.isNull())
            write(device + "/report_descriptor", descriptor);
        const QString entry = root() + "/sys/class/hidraw/" + name;
        QDir().mkpath(entry);
        QFile::link(device, entry + "/device");
    }
    void addNode(const QString &name) { write(root() + "/dev/" + name, QByteArray()); }
    void removeNode(const QString &name) { QFile::remove(root() + "/dev/" + name); }

private:
    static void write(const QString &path, const QByteArray &bytes)
    {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
    }
    QTemporaryDir m_dir;
};

// "path page:usage in/out" of a listed collection, the root left out of the path.
QStringList listed(const QList<HidCollectionInfo> &collections, const QString &root)
{
    QStringList lines;
    for (const HidCollectionInfo &info : collections) {
        lines << QString::asprintf("%s %04x:%04x %u/%u", qPrintable(info.path.mid(root.size())), info.usagePage,
                                   info.usage, info.inputReportLength, info.outputReportLength);
    }
    return lines;
}

} // namespace

class TestHidraw : public QObject
{
    Q_OBJECT
private slots:
    void read_data()
    {
        QTest::addColumn<bool>("usesReportIds");
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<QByteArray>("read");
        const QByteArray plain = pattern(64, 1);
        const QByteArray numbered = QByteArray(1, '\x02') + pattern(32, 9);
        QTest::newRow("report id put back") << false << plain << QByteArray(1, '\0') + plain;
        QTest::newRow("numbered reports as they come") << true << numbered << numbered;
    }
    void read()
    {
        QFETCH(bool, usesReportIds);
        QFETCH(QByteArray, sent);
        QFETCH(QByteArray, read);
        NodePair pair;
        QVERIFY(pair.host >= 0);
        HidrawHandle handle(pair.host, usesReportIds);
        QCOMPARE(::write(pair.device, sent.constData(), size_t(sent.size())), ssize_t(sent.size()));
        quint8 buffer[512];
        std::fill(std::begin(buffer), std::end(buffer), 0xEE);
        QCOMPARE(handle.read(buffer, sizeof buffer, 1000), read.size());
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(buffer), read.size() + 1), read + '\xEE');
    }

    void goneDeviceFailsAtOnce()
    {
        NodePair pair;
        HidrawHandle handle(pair.host, false);
        quint8 buffer[512] = {};
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(handle.read(buffer, sizeof buffer, 50), 0); // time-out
        QVERIFY(clock.elapsed() >= 45);
        pair.unplug();
        clock.restart();
        QCOMPARE(handle.read(buffer, sizeof buffer, 5000), 0);
        QVERIFY(clock.elapsed() < 5000);
        QCOMPARE(handle.write(buffer, 65), 0);
    }

    void writeSendsTheWholeReportAndCloseClosesTheNode()
    {
        NodePair pair;
        auto handle = std::make_unique<HidrawHandle>(pair.host, false);
        const QByteArray report = QByteArray(1, '\0') + pattern(64, 5);
        QCOMPARE(handle->write(reinterpret_cast<const quint8 *>(report.constData()), 65), 65);
        char received[512];
        QCOMPARE(::read(pair.device, received, sizeof received), ssize_t(65));
        QCOMPARE(QByteArray(received, 65), report);
        // The report requests exist on hidraw nodes only.
        quint8 buffer[65] = {};
        // Where the kernel does not know them, one line says what is needed, once.
        MessageCapture capture;
        QVERIFY(!handle->getInputReport(buffer, 65));
        QVERIFY(!handle->setOutputReport(buffer, 65));
        QCOMPARE(capture.texts(QtCriticalMsg),
                 QStringList{"hidraw: HIDIOCGINPUT/HIDIOCSOUTPUT are not supported here; the sound card's reports need "
                             "Linux 5.11 or later"});
        handle.reset();
        QCOMPARE(::fcntl(pair.host, F_GETFD), -1);
    }

    void backendOpensTheNodeNamedInThePath()
    {
        HidrawBackend backend;
        HidCollectionInfo info;
        info.path = "/dev/null#VID_1234&PID_4321";
        std::unique_ptr<HidHandle> handle = backend.open(info);
        QVERIFY(handle);
        const quint8 report[65] = {};
        QCOMPARE(handle->write(report, 65), 65);
        info.path = "/dev/hidraw-that-is-not-there#VID_1234&PID_4321";
        QVERIFY(!backend.open(info));
        info.path.clear();
        QVERIFY(!backend.open(info));
    }

    void kernelVersions_data()
    {
        QTest::addColumn<QByteArray>("release");
        QTest::addColumn<bool>("predates");
        QTest::newRow("Debian 11") << QByteArray("5.10.0-23-amd64") << true;
        QTest::newRow("5.11") << QByteArray("5.11.0") << false;
        QTest::newRow("Debian 12") << QByteArray("6.1.0-18-amd64") << false;
        QTest::newRow("4.19") << QByteArray("4.19.0-26-amd64") << true;
    }
    void kernelVersions()
    {
        QFETCH(QByteArray, release);
        QTEST(HidrawHandle::kernelPredatesReportIoctls(release.constData()), "predates");
    }

    void openNodeMustStillBelongToTheDevice_data()
    {
        QTest::addColumn<int>("vendor");
        QTest::addColumn<int>("product");
        QTest::addColumn<bool>("same");
        QTest::newRow("same ids") << 0x1234 << 0x4321 << true;
        QTest::newRow("ids above 0x7fff") << 0x8086 << 0xC52B << true;
        QTest::newRow("other product") << 0x1234 << 0x4322 << false;
        QTest::newRow("other vendor") << 0x1235 << 0x4321 << false;
    }
    void openNodeMustStillBelongToTheDevice()
    {
        QFETCH(int, vendor);
        QFETCH(int, product);
        hidraw_devinfo info = {};
        info.vendor = qint16(quint16(vendor));
        info.product = qint16(quint16(product));
        const bool wantedHigh = vendor == 0x8086;
        QTEST(HidrawBackend::sameDevice(info, wantedHigh ? 0x8086 : 0x1234, wantedHigh ? 0xC52B : 0x4321), "same");
    }

    void backendListsTheNodesOfTheSystemTree()
    {
        FakeSystem system;
        QByteArray flood;
        for (int i = 0; i < 40; ++i)
            flood += QByteArray::fromHex("05010902A101C0");
        system.addDevice("hidraw10", "0003:00001234:00004321", kVendorDescriptor);
        system.addDevice("hidraw2", "0003:0000046D:0000C31C", kKeyboardDescriptor);
        system.addDevice("hidraw3", "0003:00001235:00000003", QByteArray()); // descriptor unreadable
        system.addDevice("hidraw4", "0003:0000AAAA:0000BBBB", flood);
        for (const char *name : {"hidraw10", "hidraw2", "hidraw3", "hidraw4"})
            system.addNode(name);
        HidrawBackend backend(system.root());
        MessageCapture capture;
        const HidEnumeration found = backend.enumerateWithStatus();
        QCOMPARE(found.status, HidEnumeration::Status::Complete);
        QStringList expected{"/dev/hidraw2#VID_046D&PID_C31C 0001:0006 9/0",
                             "/dev/hidraw3#VID_1235&PID_0003 0000:0000 0/0"};
        for (int i = 0; i < HidrawBackend::kMaxCollectionsPerNode; ++i)
            expected << "/dev/hidraw4#VID_AAAA&PID_BBBB 0001:0002 0/0";
        expected << "/dev/hidraw10#VID_1234&PID_4321 ff00:55aa 65/65";
        QCOMPARE(listed(found.collections, system.root()), expected);
        QCOMPARE(capture.texts(QtDebugMsg),
                 QStringList{"hidraw: " + system.root()
                             + "/dev/hidraw4 declares 40 top-level collections, the first 16 are used"});
        // Opened through its path: the node of the tree.
        QVERIFY(backend.open(found.collections.last()));

        QCOMPARE(HidrawBackend(system.root() + "/nowhere").enumerateWithStatus().status,
                 HidEnumeration::Status::NoDeviceSet);
    }

    // An entry whose ids cannot be read ends the listing there.
    void unreadableIdsEndTheListing_data()
    {
        QTest::addColumn<QString>("hidId");
        QTest::newRow("two fields") << "0003:00001234";
        QTest::newRow("not hex") << "0003:0000XYZW:00004321";
        QTest::newRow("vendor too wide") << "0003:00011234:00004321";
    }
    void unreadableIdsEndTheListing()
    {
        QFETCH(QString, hidId);
        FakeSystem system;
        system.addDevice("hidraw2", "0005:0000046d:0000c31c\n", kKeyboardDescriptor); // Bluetooth, lower case
        system.addDevice("hidraw5", hidId, kVendorDescriptor);
        system.addNode("hidraw2");
        system.addNode("hidraw5");
        const HidEnumeration found = HidrawBackend(system.root()).enumerateWithStatus();
        QCOMPARE(found.status, HidEnumeration::Status::UnreadableEntry);
        QCOMPARE(listed(found.collections, system.root()), QStringList{"/dev/hidraw2#VID_046D&PID_C31C 0001:0006 9/0"});
    }

    void withoutUdevTheDeviceFolderIsWatched()
    {
        FakeSystem system;
        system.addDevice("hidraw0", "0003:0000046D:0000C31C", kKeyboardDescriptor);
        system.addNode("hidraw0");
        MessageCapture capture;
        HidrawBackend backend(system.root());
        QCOMPARE(backend.monitor()->source(), HidrawMonitor::Source::DeviceFolder);
        QVERIFY(backend.watchesHotplug());
        QCOMPARE(capture.texts(QtDebugMsg).value(0), QStringLiteral("register UDisk notification fail, error:"));
        QSignalSpy arrived(&backend, &HidBackend::interfaceArrived);
        QSignalSpy removed(&backend, &HidBackend::interfaceRemoved);

        const QString vx02 = system.root() + "/dev/hidraw5#VID_1234&PID_4321";
        system.addDevice("hidraw5", "0003:00001234:00004321", kVendorDescriptor);
        system.addNode("hidraw5");
        QTRY_COMPARE(arrived.count(), 1);
        QCOMPARE(arrived.first().first().toString(), vx02);
        // The HID device goes first, then the node: the path is still known.
        QVERIFY(QDir(system.root() + "/sys/class/hidraw/hidraw5").removeRecursively());
        system.removeNode("hidraw5");
        QTRY_COMPARE(removed.count(), 1);
        QCOMPARE(removed.first().first().toString(), vx02);
        QCOMPARE(arrived.count(), 1);
        // Other files in the folder mean nothing.
        QFile other(system.root() + "/dev/ttyUSB0");
        QVERIFY(other.open(QIODevice::WriteOnly));
        other.close();
        QTest::qWait(100);
        QCOMPARE(arrived.count() + removed.count(), 2);
    }
};

QTEST_GUILESS_MAIN(TestHidraw)
#include "tst_hidraw.moc"
