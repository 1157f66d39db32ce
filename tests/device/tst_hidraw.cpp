#include "support/Hex.h"
#include "support/MessageCapture.h"

#include "device/HidPathText.h"
#include "device/HidReportDescriptorParser.h"
#include "device/HidrawBackend.h"
#include "device/HidrawHandle.h"
#include "device/HidrawMonitor.h"
#include "device/HidrawPermissionNotice.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <fcntl.h>
#include <linux/hidraw.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

Q_DECLARE_METATYPE(HidCollectionInfo)
Q_DECLARE_METATYPE(HidEnumeration::Status)

namespace {
using Status = HidEnumeration::Status;

// The models as the layers above hand them down.
const QVector<HidModelId> kSoundCards{{"vx01", 0x1235, 0x0003}, {"vx02", 0x1234, 0x4321}};

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

    // Adds the HID device with its hidraw entry on the USB interface `usb` ("1-2:1.0": interface
    // 0 of the USB device 1-2; empty: not on USB); the node itself comes with addNode().
    void addDevice(const QString &name, const QString &hidId, const QByteArray &descriptor,
                   const QString &usb = "1-1:1.0")
    {
        const QString usbInterface = root() + "/sys/devices/usb1/" + usb.section(':', 0, 0) + '/' + usb;
        const QString device = (usb.isEmpty() ? root() + "/sys/devices/virtual" : usbInterface) + '/' + name + "-hid";
        QDir().mkpath(device);
        if (!usb.isEmpty())
            write(usbInterface + "/uevent", "DEVTYPE=usb_interface\n");
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

// "path page:usage in/out unit" of a listed collection, the root left out of path and unit.
QStringList listed(const QList<HidCollectionInfo> &collections, const QString &root)
{
    QStringList lines;
    for (const HidCollectionInfo &info : collections) {
        lines << QString::asprintf("%s %04x:%04x %u/%u %s", qPrintable(info.path.mid(root.size())), info.usagePage,
                                   info.usage, info.inputReportLength, info.outputReportLength,
                                   qPrintable(info.unit.mid(QDir(root).canonicalPath().size())));
    }
    return lines;
}

// Lines of the device-access category.
QStringList accessLines(const MessageCapture &capture)
{
    QStringList lines;
    for (const QString &line : capture.texts(QtWarningMsg)) {
        if (line.contains(QLatin1String("udev rule")))
            lines << line;
    }
    return lines;
}

// Opens `node` of a vx02 through the hidraw backend as an unprivileged user, in a child process
// that first drops root's rights (root opens everything), and returns the lines told.
QStringList openAsUser(const QString &node, bool *opened)
{
    HidCollectionInfo collection{HidPathText::make(node, 0x1234, 0x4321), 0x1234, 0x4321, 0xFF00, 0x0001, 65, 65, {}};
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return {QStringLiteral("pipe failed")};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeFds[0]);
        QByteArray answer = "x";
        if (::geteuid() != 0 || (::setgid(65534) == 0 && ::setuid(65534) == 0)) {
            MessageCapture capture;
            HidrawBackend backend(QString(), kSoundCards);
            answer = backend.open(collection) ? "1" : "0";
            answer += accessLines(capture).join(QLatin1Char('\n')).toUtf8();
        }
        if (::write(pipeFds[1], answer.constData(), size_t(answer.size())) < 0)
            _exit(2);
        _exit(0);
    }
    ::close(pipeFds[1]);
    QByteArray answer;
    char buffer[4096];
    ssize_t got = 0;
    while ((got = ::read(pipeFds[0], buffer, sizeof buffer)) > 0)
        answer.append(buffer, int(got));
    ::close(pipeFds[0]);
    ::waitpid(child, nullptr, 0);
    *opened = answer.startsWith('1');
    const QString lines = QString::fromUtf8(answer.mid(1));
    return lines.isEmpty() ? QStringList() : lines.split(QLatin1Char('\n'));
}

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

// The hidraw transport: report descriptors, handles on a node, the backend on a system tree and
// what it tells when the user may not open a sound card.
class TestHidraw : public QObject
{
    Q_OBJECT
private slots:
    void init() { HidrawPermissionNotice::reset(); }

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
        HidrawHandle handle(pair.host, usesReportIds);
        QCOMPARE(::write(pair.device, sent.constData(), size_t(sent.size())), ssize_t(sent.size()));
        quint8 buffer[512];
        std::fill(std::begin(buffer), std::end(buffer), 0xEE);
        QCOMPARE(handle.read(buffer, sizeof buffer, 1000), read.size());
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(buffer), read.size() + 1), read + '\xEE');
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(handle.read(buffer, sizeof buffer, 50), 0); // time-out
        QVERIFY(clock.elapsed() >= 45);
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
        // A gone device fails at once.
        pair.unplug();
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(handle->read(buffer, sizeof buffer, 5000), 0);
        QVERIFY(clock.elapsed() < 5000);
        QCOMPARE(handle->write(buffer, 65), 0);
        handle.reset();
        QCOMPARE(::fcntl(pair.host, F_GETFD), -1);
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
        // Each node's unit is the USB device above its interface: hidraw3 and hidraw10 are two
        // interfaces of one device; hidraw2 is on no USB interface, its own unit.
        system.addDevice("hidraw10", "0003:00001234:00004321", kVendorDescriptor, "1-2:1.1");
        system.addDevice("hidraw2", "0005:0000046D:0000C31C", kKeyboardDescriptor, "");
        system.addDevice("hidraw3", "0003:00001235:00000003", QByteArray(), "1-2:1.0"); // descriptor unreadable
        system.addDevice("hidraw4", "0003:0000AAAA:0000BBBB", flood);
        for (const char *name : {"hidraw10", "hidraw2", "hidraw3", "hidraw4"})
            system.addNode(name);
        HidrawBackend backend(system.root());
        MessageCapture capture;
        const HidEnumeration found = backend.enumerateWithStatus();
        QCOMPARE(found.status, HidEnumeration::Status::Complete);
        QStringList expected{"/dev/hidraw2#VID_046D&PID_C31C 0001:0006 9/0 /sys/devices/virtual/hidraw2-hid",
                             "/dev/hidraw3#VID_1235&PID_0003 0000:0000 0/0 /sys/devices/usb1/1-2"};
        for (int i = 0; i < HidrawBackend::kMaxCollectionsPerNode; ++i)
            expected << "/dev/hidraw4#VID_AAAA&PID_BBBB 0001:0002 0/0 /sys/devices/usb1/1-1";
        expected << "/dev/hidraw10#VID_1234&PID_4321 ff00:55aa 65/65 /sys/devices/usb1/1-2";
        QCOMPARE(listed(found.collections, system.root()), expected);
        const QString hid2 = QDir(system.root()).canonicalPath() + "/sys/devices/virtual/hidraw2-hid";
        QCOMPARE(capture.texts(QtDebugMsg),
                 QStringList({"hidraw: hidraw2 is not on a USB interface (" + hid2 + "), taken as a device of its own",
                              "hidraw: " + system.root()
                                  + "/dev/hidraw4 declares 40 top-level collections, the first 16 are used"}));
        // Opened through its path: the node of the tree; a path without a node opens nothing.
        HidCollectionInfo info = found.collections.last();
        QVERIFY(backend.open(info));
        info.path = system.root() + "/dev/hidraw9#VID_1234&PID_4321";
        QVERIFY(!backend.open(info));
        info.path.clear();
        QVERIFY(!backend.open(info));

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
        QCOMPARE(listed(found.collections, system.root()),
                 QStringList{"/dev/hidraw2#VID_046D&PID_C31C 0001:0006 9/0 /sys/devices/usb1/1-1"});
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
        QVERIFY(arrived.first().at(1).toString().endsWith("/sys/devices/usb1/1-1"));
        // The HID device goes first, then the node: the path and the unit are still known.
        QVERIFY(QDir(system.root() + "/sys/class/hidraw/hidraw5").removeRecursively());
        system.removeNode("hidraw5");
        QTRY_COMPARE(removed.count(), 1);
        QCOMPARE(removed.first(), arrived.first());
        QCOMPARE(arrived.count(), 1);
        // Other files in the folder mean nothing.
        system.addNode("ttyUSB0");
        QTest::qWait(100);
        QCOMPARE(arrived.count() + removed.count(), 2);
    }

    // Only a permission problem on one of the sound cards is told, with the rule's name.
    void toldForSoundCardsOnly_data()
    {
        QTest::addColumn<quint16>("vendorId");
        QTest::addColumn<quint16>("productId");
        QTest::addColumn<int>("errorCode");
        QTest::addColumn<bool>("told");
        QTest::newRow("vx02, no access") << quint16(0x1234) << quint16(0x4321) << EACCES << true;
        QTest::newRow("vx01 detection id, not permitted") << quint16(0x1235) << quint16(0x0003) << EPERM << true;
        QTest::newRow("keyboard, no access") << quint16(0x046d) << quint16(0xc31c) << EACCES << false;
        QTest::newRow("vx02 gone") << quint16(0x1234) << quint16(0x4321) << ENOENT << false;
    }
    void toldForSoundCardsOnly()
    {
        QFETCH(quint16, vendorId);
        QFETCH(quint16, productId);
        QFETCH(int, errorCode);
        QFETCH(bool, told);
        MessageCapture capture;
        QCOMPARE(HidrawPermissionNotice::report(kSoundCards, "/dev/hidraw5", vendorId, productId, errorCode), told);
        const QString line = QStringLiteral("no permission to open /dev/hidraw5 (Vorlet sound card %1:%2): install the "
                                            "udev rule 70-vorlet.rules (scripts/install-udev-rule, or the vorlet "
                                            "package), then unplug and replug the device")
                                 .arg(vendorId, 4, 16, QLatin1Char('0'))
                                 .arg(productId, 4, 16, QLatin1Char('0'));
        QCOMPARE(accessLines(capture), told ? QStringList{line} : QStringList());
    }

    // A node with several collections is told once per enumeration.
    void oncePerNodeUntilTheNextEnumeration()
    {
        MessageCapture capture;
        QVERIFY(HidrawPermissionNotice::report(kSoundCards, "/dev/hidraw2", 0x1234, 0x4321, EACCES));
        QVERIFY(!HidrawPermissionNotice::report(kSoundCards, "/dev/hidraw2", 0x1234, 0x4321, EACCES));
        QVERIFY(HidrawPermissionNotice::report(kSoundCards, "/dev/hidraw3", 0x1234, 0x4321, EACCES));
        HidrawPermissionNotice::reset();
        QVERIFY(HidrawPermissionNotice::report(kSoundCards, "/dev/hidraw2", 0x1234, 0x4321, EACCES));
        QCOMPARE(accessLines(capture).size(), 3);
    }

    // The real open of a node the user may not open, as without the udev rule (root-owned, 0600).
    void backendTellsWhenTheNodeIsNotPermitted()
    {
        QTemporaryDir dir;
        QVERIFY(::chmod(QFile::encodeName(dir.path()).constData(), 0755) == 0);
        const QString node = dir.filePath("hidraw7");
        QFile file(node);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QVERIFY(::chmod(QFile::encodeName(node).constData(), ::geteuid() == 0 ? 0600 : 0000) == 0);
        bool opened = true;
        const QStringList lines = openAsUser(node, &opened);
        QVERIFY(!opened);
        QCOMPARE(lines.size(), 1);
        QVERIFY2(lines.first().startsWith(
                     QStringLiteral("no permission to open %1 (Vorlet sound card 1234:4321)").arg(node)),
                 qPrintable(lines.first()));
    }

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

        // Mouse with a nested physical collection; only the top level is listed.
        QTest::newRow("nested collection")
            << hex("05 01 09 02 A1 01 09 01 A1 00 05 09 19 01 29 03 15 00 25 01 95 03 75 01 81 02"
                   "95 01 75 05 81 03 05 01 09 30 09 31 15 81 25 7F 75 08 95 02 81 06 C0 C0")
            << "0001:0002:4:0:0" << false;

        // A four-byte usage names its own page; push and pop restore the report size.
        QTest::newRow("extended usage, push and pop")
            << hex("0B 01 00 0C 00 A1 01 75 08 A4 75 10 95 01 81 02 B4 95 02 81 02 C0") << "000c:0001:5:0:0" << false;

        QTest::newRow("long item") << hex("06 00 FF 09 01 A1 01 FE 02 10 AA BB 75 08 95 08 81 02 C0")
                                   << "ff00:0001:9:0:0" << false;

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
        QTest::newRow("second collection never closed") << good + hex("06 00 FF 09 01 A1 01");
        QTest::newRow("end without collection") << hex("C0 06 00 FF 09 01 A1 01 C0");
        QTest::newRow("pop without push") << hex("05 01 09 02 A1 01 B4 C0");
        QTest::newRow("report id 0") << hex("06 00 FF 09 01 A1 01 85 00 75 08 95 01 81 02 C0");
        QTest::newRow("reserved item type") << hex("06 00 FF 09 01 A1 01 0C C0");
        QTest::newRow("unknown main item") << hex("06 00 FF 09 01 A1 01 F0 C0");
        QTest::newRow("truncated long item") << hex("06 00 FF 09 01 A1 01 FE 08 10 AA");
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

QTEST_MAIN(TestHidraw)
#include "tst_hidraw.moc"
