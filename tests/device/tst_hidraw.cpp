#include "device/HidPathText.h"
#include "device/HidrawBackend.h"
#include "device/HidrawHandle.h"
#include "device/HidHandle.h"

#include <QElapsedTimer>
#include <QtTest>

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A packet socket pair stands in for a hidraw node: each read and write moves one report.
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
    ~NodePair()
    {
        if (device >= 0)
            ::close(device);
    }
    void send(const QByteArray &report) const
    {
        QCOMPARE(::write(device, report.constData(), size_t(report.size())), ssize_t(report.size()));
    }
};

QByteArray pattern(int size, int seed)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = char(seed + i * 3);
    return bytes;
}

} // namespace

class TestHidraw : public QObject
{
    Q_OBJECT
private slots:
    void readPutsTheReportIdBackWithoutNumberedReports();
    void readPassesNumberedReportsAsTheyCome();
    void readTimesOut();
    void readOfAGoneDeviceReturnsAtOnce();
    void writeSendsTheWholeReport();
    void controlRequestsFailOnAnythingButHidraw();
    void handleClosesItsNode();
    void backendOpensTheNodeNamedInThePath();
    void backendWithoutDevices();
};

void TestHidraw::readPutsTheReportIdBackWithoutNumberedReports()
{
    NodePair pair;
    QVERIFY(pair.host >= 0);
    HidrawHandle handle(pair.host, false);
    const QByteArray report = pattern(64, 1);
    pair.send(report);
    quint8 buffer[512];
    std::fill(std::begin(buffer), std::end(buffer), 0xEE);
    QCOMPARE(handle.read(buffer, sizeof buffer, 1000), 65);
    QCOMPARE(buffer[0], quint8(0));
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(buffer + 1), 64), report);
    QCOMPARE(buffer[65], quint8(0xEE));
}

void TestHidraw::readPassesNumberedReportsAsTheyCome()
{
    NodePair pair;
    HidrawHandle handle(pair.host, true);
    const QByteArray report = QByteArray(1, '\x02') + pattern(32, 9);
    pair.send(report);
    quint8 buffer[512] = {};
    QCOMPARE(handle.read(buffer, sizeof buffer, 1000), 33);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(buffer), 33), report);
}

void TestHidraw::readTimesOut()
{
    NodePair pair;
    HidrawHandle handle(pair.host, false);
    quint8 buffer[512] = {};
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(handle.read(buffer, sizeof buffer, 50), 0);
    QVERIFY(clock.elapsed() >= 45);
}

void TestHidraw::readOfAGoneDeviceReturnsAtOnce()
{
    NodePair pair;
    HidrawHandle handle(pair.host, false);
    ::close(pair.device);
    pair.device = -1;
    quint8 buffer[512] = {};
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(handle.read(buffer, sizeof buffer, 5000), 0);
    QVERIFY(clock.elapsed() < 5000);
}

void TestHidraw::writeSendsTheWholeReport()
{
    NodePair pair;
    HidrawHandle handle(pair.host, false);
    const QByteArray report = QByteArray(1, '\0') + pattern(64, 5);
    QCOMPARE(handle.write(reinterpret_cast<const quint8 *>(report.constData()), 65), 65);
    char received[512];
    QCOMPARE(::read(pair.device, received, sizeof received), ssize_t(65));
    QCOMPARE(QByteArray(received, 65), report);

    ::close(pair.device);
    pair.device = -1;
    QCOMPARE(handle.write(reinterpret_cast<const quint8 *>(report.constData()), 65), 0);
}

void TestHidraw::controlRequestsFailOnAnythingButHidraw()
{
    NodePair pair;
    HidrawHandle handle(pair.host, false);
    quint8 buffer[65] = {};
    QVERIFY(!handle.getInputReport(buffer, 65));
    QVERIFY(!handle.setOutputReport(buffer, 65));
    QVERIFY(!handle.getInputReport(buffer, 0));
}

void TestHidraw::handleClosesItsNode()
{
    NodePair pair;
    const int fd = pair.host;
    {
        HidrawHandle handle(fd, false);
    }
    QCOMPARE(::fcntl(fd, F_GETFD), -1);
}

void TestHidraw::backendOpensTheNodeNamedInThePath()
{
    HidrawBackend backend;
    HidCollectionInfo info;
    info.path = QStringLiteral("/dev/null#VID_1234&PID_4321");
    std::unique_ptr<HidHandle> handle = backend.open(info);
    QVERIFY(handle);
    const quint8 report[65] = {};
    QCOMPARE(handle->write(report, 65), 65);

    info.path = QStringLiteral("/dev/hidraw-that-is-not-there#VID_1234&PID_4321");
    QVERIFY(!backend.open(info));
    info.path.clear();
    QVERIFY(!backend.open(info));
}

void TestHidraw::backendWithoutDevices()
{
    // Whatever the machine has, every listed collection carries a node and the ids in its path.
    HidrawBackend backend;
    const HidEnumeration found = backend.enumerateWithStatus();
    QVERIFY(found.status != HidEnumeration::Status::NoDeviceSet);
    for (const HidCollectionInfo &info : found.collections) {
        QVERIFY(info.path.startsWith(QLatin1String("/dev/")));
        QVERIFY(info.path.endsWith(QLatin1Char('#') + HidPathText::vendorProduct(info.vendorId, info.productId)));
    }
    QCOMPARE(backend.enumerate().size(), found.collections.size());
}

QTEST_GUILESS_MAIN(TestHidraw)
#include "tst_hidraw.moc"
