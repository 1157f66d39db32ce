#include "app/ActivationChannel.h"
#include "app/MainWidget.h"
#include "app/SessionFiles.h"
#include "app/SingleInstance.h"
#include "support/ScriptedHidBackend.h"

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

// Starts the real program as separate processes, each with the same private temporary and data
// folders, so the shared segment and the socket are the test's own.
class TestSingleInstance : public QObject
{
    Q_OBJECT

private:
    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TMPDIR"), m_temp.path() + QStringLiteral("/tmp"));
        env.insert(QStringLiteral("XDG_DATA_HOME"), m_temp.path() + QStringLiteral("/data"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_temp.path() + QStringLiteral("/runtime"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("VORLET_EMULATE"), QStringLiteral("vx02"));
        return env;
    }

    QString logFolder() const { return m_temp.path() + QStringLiteral("/data/Brindle/vorlet/Log"); }

    int countInLogs(const QByteArray &needle) const
    {
        int count = 0;
        const QStringList files = QDir(logFolder()).entryList({QStringLiteral("*_log.html")}, QDir::Files);
        for (const QString &name : files) {
            QFile file(logFolder() + QLatin1Char('/') + name);
            if (file.open(QIODevice::ReadOnly))
                count += file.readAll().count(needle);
        }
        return count;
    }

    // Starts an instance and waits until it runs its event loop (its start line is logged and
    // its window handle published a moment later). False when it did not get there: a caller
    // must not go on (a process id of 0 would signal the whole process group).
    bool startFirst(QProcess &process, int startsBefore)
    {
        process.setProcessEnvironment(environment());
        process.start(QStringLiteral(VORLET_BINARY), QStringList());
        if (!process.waitForStarted(10000))
            return false;
        const bool started = QTest::qWaitFor(
            [&] { return countInLogs("================progress start================") == startsBefore + 1; }, 20000);
        QTest::qWait(500);
        return started && process.state() == QProcess::Running && process.processId() > 0;
    }

    // Runs a second start to its end; returns its exit code and how long it took.
    static int runSecond(const QProcessEnvironment &env, qint64 *elapsedMs)
    {
        QProcess second;
        second.setProcessEnvironment(env);
        QElapsedTimer timer;
        timer.start();
        second.start(QStringLiteral(VORLET_BINARY), QStringList());
        if (!second.waitForFinished(10000)) {
            second.kill();
            second.waitForFinished();
            return -1;
        }
        *elapsedMs = timer.elapsed();
        return second.exitStatus() == QProcess::NormalExit ? second.exitCode() : -2;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_temp.isValid());
        QVERIFY(QDir().mkpath(m_temp.path() + QStringLiteral("/tmp")));
        QVERIFY(QDir().mkpath(m_temp.path() + QStringLiteral("/runtime")));
        QFile::setPermissions(m_temp.path() + QStringLiteral("/runtime"),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        // This process plays the first instance in some cases: it meets the started ones in
        // the same session folder.
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_temp.path() + QStringLiteral("/runtime")));
    }

    void secondStartWhileTheFirstIsStillStarting()
    {
        // The segment exists but holds no window yet: the second start ends with 0 and sends nothing.
        QSharedMemory segment;
        QVERIFY(!SingleInstance::otherInstanceRunning(segment, QStringLiteral("vorletKey")));
        ActivationChannel channel(QStringLiteral("vorletKey"));
        QVERIFY(channel.listen());
        QSignalSpy spy(&channel, &ActivationChannel::activationRequested);
        qint64 elapsed = 0;
        QCOMPARE(runSecond(environment(), &elapsed), 0);
        QTest::qWait(100);
        QCOMPARE(spy.count(), 0);
        QCOMPARE(countInLogs("progress start"), 0);
    }

    void lockHeldByAStuckStartIsWaitedForOnlyBriefly()
    {
        const QByteArray lockFile =
            QFile::encodeName(SessionFiles::file(QStringLiteral("vorletKey"), QStringLiteral(".shm.lock")));
        const int fd = ::open(lockFile.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        QVERIFY(fd >= 0);
        QVERIFY(::flock(fd, LOCK_EX) == 0);
        qint64 elapsed = 0;
        QCOMPARE(runSecond(environment(), &elapsed), 0);
        ::close(fd);
        QVERIFY2(elapsed >= SingleInstance::kLockTimeoutMs && elapsed < 2500, qPrintable(QString::number(elapsed)));
    }

    void secondStartRestoresTheMinimisedWindow()
    {
        // The first instance is this process, with the real main window; the second is the program.
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
        connect(&channel, &ActivationChannel::activationRequested, &window, &MainWidget::onActivationRequest);
        SingleInstance::storeWindowHandle(segment, quint32(window.winId()));

        QProcess second;
        second.setProcessEnvironment(environment());
        second.start(QStringLiteral(VORLET_BINARY), QStringList());
        QTRY_COMPARE_WITH_TIMEOUT(second.state(), QProcess::NotRunning, 10000);
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QTRY_VERIFY(!window.isMinimized());
        QVERIFY(window.isVisible());
    }

    void stoppedFirstInstanceCannotHoldASecondStart()
    {
        // The first instance is stopped (SIGSTOP) and its socket's backlog is full, as after
        // many starts: a second start still ends at once with 0.
        QProcess first;
        QVERIFY(startFirst(first, 0));
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
            qint64 elapsed = 0;
            QCOMPARE(runSecond(environment(), &elapsed), 0);
            QVERIFY2(elapsed < 2500, qPrintable(QStringLiteral("second start took %1 ms").arg(elapsed)));
        }
        for (int fd : qAsConst(pending))
            ::close(fd);
        ::kill(pid_t(first.processId()), SIGCONT);
        first.terminate();
        if (!first.waitForFinished(5000)) {
            first.kill();
            first.waitForFinished();
        }
        QCOMPARE(countInLogs("================progress start================"), 1);
        QDir(logFolder()).removeRecursively();
    }

    void secondStartEndsAtOnceAndFirstRecoversAfterKill()
    {
        QProcess first;
        QVERIFY(startFirst(first, 0));

        qint64 elapsed = 0;
        QCOMPARE(runSecond(environment(), &elapsed), 0);
        QVERIFY2(elapsed < 1000, qPrintable(QStringLiteral("second start took %1 ms").arg(elapsed)));
        // Another temporary folder is still the same session.
        QProcessEnvironment otherTemp = environment();
        otherTemp.insert(QStringLiteral("TMPDIR"), m_temp.path());
        QCOMPARE(runSecond(otherTemp, &elapsed), 0);
        // The second starts logged nothing and the first keeps running.
        QCOMPARE(countInLogs("================progress start================"), 1);
        QCOMPARE(first.state(), QProcess::Running);

        // kill -9: the segment outlives the first instance; the next start must take over.
        first.kill();
        QVERIFY(first.waitForFinished(5000));

        QProcess next;
        QVERIFY(startFirst(next, 1));
        QCOMPARE(runSecond(environment(), &elapsed), 0);
        QCOMPARE(next.state(), QProcess::Running);

        next.terminate();
        if (!next.waitForFinished(5000)) {
            next.kill();
            next.waitForFinished();
        }
    }

    void progressStartIsTheFirstLine()
    {
        const QStringList files = QDir(logFolder()).entryList({QStringLiteral("*_log.html")}, QDir::Files, QDir::Name);
        QVERIFY(!files.isEmpty());
        QFile file(logFolder() + QLatin1Char('/') + files.first());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray content = file.readAll();
        const int firstDiv = content.indexOf("<div class=");
        QVERIFY(firstDiv > 0);
        const QByteArray firstLine = content.mid(firstDiv, content.indexOf("\r\n", firstDiv) - firstDiv);
        QVERIFY2(firstLine.startsWith("<div class=\"d\">"), firstLine.constData());
        // The source file and line come first, then the start text.
        const QRegularExpression pattern(
            QStringLiteral("^<div class=\"d\">\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d \\S*main\\.cpp \\d+ "
                           "================progress start================</div>$"));
        QVERIFY2(pattern.match(QString::fromUtf8(firstLine)).hasMatch(), firstLine.constData());
    }

private:
    QTemporaryDir m_temp;
};

QTEST_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
