#include "app/ActivationChannel.h"
#include "app/LogWriter.h"
#include "app/MainWidget.h"
#include "app/SessionFiles.h"
#include "app/SingleInstance.h"
#include "support/ProgramRun.h"
#include "support/ScriptedHidBackend.h"

#include <QLocalSocket>
#include <QProcess>
#include <QSharedMemory>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

constexpr char kStartLine[] = "================progress start================";

// The second start and the first instance's activation, with the real program in folders of the
// test's own.
class TestSingleInstance : public QObject
{
    Q_OBJECT

private:
    QString runtime() const { return m_temp.path() + QStringLiteral("/runtime"); }

    // Every log file of the started instances, one after the other.
    QByteArray logText() const
    {
        const QString folder = m_temp.path() + QStringLiteral("/data/Brindle/vorlet/Log");
        QByteArray text;
        for (const QString &name : QDir(folder).entryList({QStringLiteral("*_log.html")}, QDir::Files, QDir::Name)) {
            QFile file(folder + QLatin1Char('/') + name);
            if (file.open(QIODevice::ReadOnly))
                text += file.readAll();
        }
        return text;
    }

    // Starts an instance and waits until it runs its event loop. False when it did not: a
    // process id of 0 would signal the whole process group.
    bool startFirst(QProcess &process, int startsBefore)
    {
        process.start(QStringLiteral(VORLET_BINARY), QStringList());
        if (!process.waitForStarted(10000))
            return false;
        const bool started = QTest::qWaitFor([&] { return logText().count(kStartLine) == startsBefore + 1; }, 20000);
        QTest::qWait(500);
        return started && process.state() == QProcess::Running && process.processId() > 0;
    }

    // Runs a second start to its end; returns its exit code and how long it took.
    static int runSecond(qint64 *elapsedMs, const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment())
    {
        QElapsedTimer timer;
        timer.start();
        const int exitCode = ProgramRun::of(QStringLiteral(VORLET_BINARY), {}, env).exitCode;
        *elapsedMs = timer.elapsed();
        return exitCode;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_temp.isValid());
        QVERIFY(QDir().mkpath(m_temp.path() + QStringLiteral("/tmp")));
        QVERIFY(QDir().mkpath(runtime()));
        QFile::setPermissions(runtime(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        // The started instances meet this process in the same session folder.
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime()));
        qputenv("TMPDIR", QFile::encodeName(m_temp.path() + QStringLiteral("/tmp")));
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_temp.path() + QStringLiteral("/data")));
        qputenv("VORLET_EMULATE", "vx02");
    }

    void socketIsInThePrivateFolderOfTheSession_data()
    {
        QTest::addColumn<QByteArray>("wayland");
        QTest::addColumn<QByteArray>("display");
        QTest::addColumn<QString>("name");
        QTest::newRow("no display") << QByteArray() << QByteArray() << "vorletKey.sock";
        QTest::newRow("remote X display") << QByteArray() << QByteArray("host:10.0") << "vorletKey-host_10.0.sock";
        QTest::newRow("Wayland first") << QByteArray("wayland-0") << QByteArray(":0") << "vorletKey-wayland_0.sock";
        QTest::newRow("no way out of the folder")
            << QByteArray("../../x/y") << QByteArray() << "vorletKey-.._.._x_y.sock";
    }

    void socketIsInThePrivateFolderOfTheSession()
    {
        QFETCH(QByteArray, wayland);
        QFETCH(QByteArray, display);
        QFETCH(QString, name);
        qputenv("WAYLAND_DISPLAY", wayland);
        qputenv("DISPLAY", display);
        const QString path = ActivationChannel(QStringLiteral("vorletKey")).serverName();
        qunsetenv("WAYLAND_DISPLAY");
        qunsetenv("DISPLAY");
        QCOMPARE(path, runtime() + QLatin1Char('/') + name);
    }

    void sharedRuntimeFolderIsNotUsed()
    {
        // A runtime folder others may enter (or none) gives way to a private one in the
        // temporary folder; one taken by someone else (not private) is not used at all.
        QTemporaryDir open;
        QVERIFY(QFile::setPermissions(open.path(),
                                      QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                          | QFileDevice::ReadOther | QFileDevice::ExeOther));
        const QString fallback = m_temp.path() + QStringLiteral("/tmp/vorlet-") + QString::number(::getuid());
        for (const QByteArray &folder : {QFile::encodeName(open.path()), QByteArray()}) {
            qputenv("XDG_RUNTIME_DIR", folder);
            QCOMPARE(SessionFiles::folder(), fallback);
        }
        QCOMPARE(QFileInfo(fallback).permissions()
                     & (QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ReadGroup),
                 QFileDevice::Permissions());
        QVERIFY(QFile::setPermissions(fallback, QFileInfo(fallback).permissions() | QFileDevice::WriteOther));
        QCOMPARE(SessionFiles::folder(), QString());
        QVERIFY(!ActivationChannel(QStringLiteral("k")).listen());
        QVERIFY(QDir(fallback).removeRecursively());
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime()));
    }

    void lockHeldByAStuckStartIsWaitedForOnlyBriefly()
    {
        const QByteArray lockFile =
            QFile::encodeName(SessionFiles::file(QStringLiteral("vorletKey"), QStringLiteral(".shm.lock")));
        const int fd = ::open(lockFile.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        QVERIFY(fd >= 0);
        QVERIFY(::flock(fd, LOCK_EX) == 0);
        qint64 elapsed = 0;
        QCOMPARE(runSecond(&elapsed), 0);
        ::close(fd);
        QVERIFY2(elapsed >= SingleInstance::kLockTimeoutMs && elapsed < 2500, qPrintable(QString::number(elapsed)));
    }

    // This process is the first instance. While its segment holds no window yet, a second start
    // ends with 0 and sends nothing; once it holds one, the second start restores that window.
    void secondStartRestoresTheMinimisedWindow()
    {
        ScriptedHidBackend noDevices;
        MainWidget window(&noDevices);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.showMinimized();
        QTRY_VERIFY(window.isMinimized());
        QSharedMemory segment;
        QVERIFY(!SingleInstance::otherInstanceRunning(segment, QStringLiteral("vorletKey")));
        ActivationChannel channel(QStringLiteral("vorletKey"));
        QVERIFY(channel.listen());
        QSignalSpy spy(&channel, &ActivationChannel::activationRequested);
        connect(&channel, &ActivationChannel::activationRequested, &window, &MainWidget::onActivationRequest);
        qint64 elapsed = 0;
        QCOMPARE(runSecond(&elapsed), 0);
        QTest::qWait(100);
        QCOMPARE(spy.count(), 0);
        QVERIFY(logText().isEmpty());

        SingleInstance::storeWindowHandle(segment, quint32(window.winId()));
        // Any other code leaves the window as it is.
        window.onActivationRequest(ActivationChannel::kActivationCode + 1);
        QVERIFY(window.isMinimized());
        // Started without waiting for it here: this process answers while it runs. The token
        // its desktop gave the second start arrives with the request and is handed to Qt's
        // platform client, which reads it when the window asks for the focus.
        qunsetenv("XDG_ACTIVATION_TOKEN");
        QProcess second;
        QProcessEnvironment launched = QProcessEnvironment::systemEnvironment();
        launched.insert(QStringLiteral("XDG_ACTIVATION_TOKEN"), QStringLiteral("launcher-token-1"));
        second.setProcessEnvironment(launched);
        second.start(QStringLiteral(VORLET_BINARY), QStringList());
        QTRY_COMPARE_WITH_TIMEOUT(second.state(), QProcess::NotRunning, 10000);
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QTRY_VERIFY(!window.isMinimized());
        QVERIFY(window.isVisible());
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toUInt(), ActivationChannel::kActivationCode);
        QCOMPARE(spy.at(0).at(1).toByteArray(), QByteArray("launcher-token-1"));
        QCOMPARE(qgetenv("XDG_ACTIVATION_TOKEN"), QByteArray("launcher-token-1"));
    }

    // The message as it goes over the socket: code, payload size, the token; a start without
    // a token sends an empty one, and an oversized payload is not taken for a message.
    void activationMessages_data()
    {
        QTest::addColumn<QByteArray>("wire");
        QTest::addColumn<int>("requests");
        QTest::addColumn<QByteArray>("token");
        QTest::newRow("no token") << QByteArray("\x66\x27\0\0\0\0\0\0", 8) << 1 << QByteArray();
        QTest::newRow("token") << QByteArray("\x66\x27\0\0\x03\0\0\0abc", 11) << 1 << QByteArray("abc");
        QTest::newRow("oversized") << QByteArray("\x66\x27\0\0\x01\x10\0\0abc", 11) << 0 << QByteArray();
    }
    void activationMessages()
    {
        QFETCH(QByteArray, wire);
        QFETCH(int, requests);
        QFETCH(QByteArray, token);
        ActivationChannel channel(QStringLiteral("messageKey"));
        QVERIFY(channel.listen());
        QSignalSpy spy(&channel, &ActivationChannel::activationRequested);
        QLocalSocket socket;
        socket.connectToServer(channel.serverName());
        QVERIFY(socket.waitForConnected(3000));
        // Byte by byte: a message split over several reads is put together.
        for (char byte : wire) {
            socket.write(&byte, 1);
            socket.flush();
            QTest::qWait(5);
        }
        QTest::qWait(100);
        QCOMPARE(spy.count(), requests);
        if (requests) {
            QCOMPARE(spy.at(0).at(0).toUInt(), 10086u);
            QCOMPARE(spy.at(0).at(1).toByteArray(), token);
        } else {
            // Not waited for: the connection is dropped.
            QTRY_COMPARE(socket.state(), QLocalSocket::UnconnectedState);
        }
    }

    // A real first instance logs its start first. A second start ends at once with 0 and logs
    // nothing, also while the first is stopped with its socket's backlog full. Killed with -9,
    // the first leaves its segment: the next start takes over.
    void secondStartsBesideARealFirst()
    {
        QProcess first;
        QVERIFY(startFirst(first, 0));
        const QByteArray log = logText();
        QVERIFY(log.startsWith(LogWriter::header().toUtf8()));
        const int firstDiv = log.indexOf("<div class=");
        const QByteArray firstLine = log.mid(firstDiv, log.indexOf("\r\n", firstDiv) - firstDiv);
        const QRegularExpression pattern(
            QStringLiteral("^<div class=\"d\">\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d \\S*main\\.cpp \\d+ ")
            + QLatin1String(kStartLine) + QStringLiteral("</div>$"));
        QVERIFY2(firstDiv > 0 && pattern.match(QString::fromUtf8(firstLine)).hasMatch(), firstLine.constData());

        qint64 elapsed = 0;
        QCOMPARE(runSecond(&elapsed), 0);
        QVERIFY2(elapsed < 1000, qPrintable(QStringLiteral("second start took %1 ms").arg(elapsed)));
        QProcessEnvironment otherTemp = QProcessEnvironment::systemEnvironment();
        otherTemp.insert(QStringLiteral("TMPDIR"), m_temp.path());
        QCOMPARE(runSecond(&elapsed, otherTemp), 0);
        QCOMPARE(first.state(), QProcess::Running);

        QVERIFY(::kill(pid_t(first.processId()), SIGSTOP) == 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray socketPath = QFile::encodeName(ActivationChannel(QStringLiteral("vorletKey")).serverName());
        std::memcpy(address.sun_path, socketPath.constData(), size_t(socketPath.size()));
        QList<int> pending;
        for (int i = 0; i < 200; ++i) {
            const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
            pending << fd;
            if (::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof(address)) != 0)
                break;
        }
        QVERIFY(pending.size() < 200);
        for (int i = 0; i < 2; ++i) {
            QCOMPARE(runSecond(&elapsed), 0);
            QVERIFY2(elapsed < 2500, qPrintable(QStringLiteral("second start took %1 ms").arg(elapsed)));
        }
        for (int fd : qAsConst(pending))
            ::close(fd);
        ::kill(pid_t(first.processId()), SIGCONT);
        QCOMPARE(logText().count(kStartLine), 1);

        first.kill();
        QVERIFY(first.waitForFinished(5000));
        QProcess next;
        QVERIFY(startFirst(next, 1));
        // It answers on the socket the killed one left behind.
        QVERIFY(ActivationChannel(QStringLiteral("vorletKey")).send(0, {}, 3000));
        QCOMPARE(runSecond(&elapsed), 0);
        QCOMPARE(next.state(), QProcess::Running);
        next.terminate();
        if (!next.waitForFinished(5000)) {
            next.kill();
            next.waitForFinished();
        }
    }

private:
    QTemporaryDir m_temp;
};

QTEST_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
