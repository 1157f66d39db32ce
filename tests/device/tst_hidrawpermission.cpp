#include "device/HidHandle.h"
#include "device/HidPathText.h"
#include "device/HidrawBackend.h"
#include "device/HidrawPermissionNotice.h"
#include "support/MessageCapture.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

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

// Opens `node` of a vx02 through the hidraw backend as an unprivileged user and returns the
// lines told. Root opens everything, so a root test drops its rights in a child process first.
QStringList openAsUser(const QString &node, bool *opened)
{
    HidCollectionInfo collection{HidPathText::make(node, 0x1234, 0x4321), 0x1234, 0x4321, 0xFF00, 0x0001, 65, 65};
    if (::geteuid() != 0) {
        MessageCapture capture;
        HidrawBackend backend;
        *opened = backend.open(collection) != nullptr;
        return accessLines(capture);
    }
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return {QStringLiteral("pipe failed")};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeFds[0]);
        QByteArray answer = "x";
        if (::setgid(65534) == 0 && ::setuid(65534) == 0) {
            MessageCapture capture;
            HidrawBackend backend;
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

} // namespace

class TestHidrawPermission : public QObject
{
    Q_OBJECT

private slots:
    void init() { HidrawPermissionNotice::reset(); }

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
        QTest::newRow("vx02 busy") << quint16(0x1234) << quint16(0x4321) << EBUSY << false;
    }
    void toldForSoundCardsOnly()
    {
        QFETCH(quint16, vendorId);
        QFETCH(quint16, productId);
        QFETCH(int, errorCode);
        QFETCH(bool, told);
        MessageCapture capture;
        QCOMPARE(HidrawPermissionNotice::report("/dev/hidraw5", vendorId, productId, errorCode), told);
        const QStringList lines = accessLines(capture);
        QCOMPARE(lines.size(), told ? 1 : 0);
        if (told) {
            QVERIFY2(
                lines.first().startsWith(QStringLiteral("no permission to open /dev/hidraw5 (Vorlet sound card %1:%2)")
                                             .arg(vendorId, 4, 16, QLatin1Char('0'))
                                             .arg(productId, 4, 16, QLatin1Char('0'))),
                qPrintable(lines.first()));
            QVERIFY(lines.first().contains(QLatin1String("install the udev rule 70-vorlet.rules")));
            QVERIFY(!lines.first().contains(QLatin1Char('\n')));
        }
    }

    // A node with several collections is told once per enumeration.
    void oncePerNodeUntilTheNextEnumeration()
    {
        MessageCapture capture;
        QVERIFY(HidrawPermissionNotice::report("/dev/hidraw2", 0x1234, 0x4321, EACCES));
        QVERIFY(!HidrawPermissionNotice::report("/dev/hidraw2", 0x1234, 0x4321, EACCES));
        QVERIFY(HidrawPermissionNotice::report("/dev/hidraw3", 0x1234, 0x4321, EACCES));
        HidrawPermissionNotice::reset();
        QVERIFY(HidrawPermissionNotice::report("/dev/hidraw2", 0x1234, 0x4321, EACCES));
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
};

QTEST_GUILESS_MAIN(TestHidrawPermission)
#include "tst_hidrawpermission.moc"
