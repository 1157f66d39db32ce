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
        QCOMPARE(handle.read(buffer, sizeof buffer, 50), 0);  // time-out
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
        QVERIFY(!handle->getInputReport(buffer, 65));
        QVERIFY(!handle->setOutputReport(buffer, 65));
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

    void backendListsNodesWithIdsInThePath()
    {
        // Whatever the machine has, every listed collection carries a node and the ids in its path.
        HidrawBackend backend;
        const HidEnumeration found = backend.enumerateWithStatus();
        QVERIFY(found.status != HidEnumeration::Status::NoDeviceSet);
        for (const HidCollectionInfo &info : found.collections) {
            QVERIFY(info.path.startsWith("/dev/"));
            QVERIFY(info.path.endsWith('#' + HidPathText::vendorProduct(info.vendorId, info.productId)));
        }
        QCOMPARE(backend.enumerate().size(), found.collections.size());
    }
};

QTEST_GUILESS_MAIN(TestHidraw)
#include "tst_hidraw.moc"
