#include "app/ActivationChannel.h"
#include "app/MainWidget.h"
#include "app/SessionFiles.h"
#include "support/ScriptedHidBackend.h"

#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <cstring>
#include <thread>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// Sends from another thread, as a second process would, while this thread runs the event loop
// that the listening side needs.
bool sendFromOutside(const ActivationChannel &channel, quint32 code)
{
    std::atomic<bool> done{false};
    bool delivered = false;
    std::thread sender([&] {
        delivered = channel.send(code, 3000);
        done = true;
    });
    QElapsedTimer timer;
    timer.start();
    while (!done && timer.elapsed() < 5000)
        QTest::qWait(10);
    sender.join();
    return delivered;
}

} // namespace

class TestActivation : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // Keep the socket away from any running instance of the user's: a private runtime
        // folder of the test's own (QTemporaryDir makes it 0700).
        QVERIFY(m_temp.isValid());
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_temp.path()));
        qputenv("TMPDIR", QFile::encodeName(m_temp.path()));
        qunsetenv("DISPLAY");
        qunsetenv("WAYLAND_DISPLAY");
    }

    void socketIsInThePrivateFolderOfTheSession_data()
    {
        QTest::addColumn<QByteArray>("wayland");
        QTest::addColumn<QByteArray>("display");
        QTest::addColumn<QString>("name");
        QTest::newRow("no display") << QByteArray() << QByteArray() << "vorletKey.sock";
        QTest::newRow("X display") << QByteArray() << QByteArray(":1") << "vorletKey-_1.sock";
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
        QCOMPARE(path, m_temp.path() + QLatin1Char('/') + name);
    }

    void sharedRuntimeFolderIsNotUsed()
    {
        // A runtime folder others may enter (or none) gives way to a private one in the
        // temporary folder, never to a predictable name others could create first.
        QTemporaryDir open;
        QVERIFY(QFile::setPermissions(open.path(),
                                      QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                          | QFileDevice::ReadOther | QFileDevice::ExeOther));
        const QString fallback = m_temp.path() + QStringLiteral("/vorlet-") + QString::number(::getuid());
        for (const QByteArray &runtime : {QFile::encodeName(open.path()), QByteArray()}) {
            qputenv("XDG_RUNTIME_DIR", runtime);
            QCOMPARE(SessionFiles::folder(), fallback);
        }
        QCOMPARE(QFileInfo(fallback).permissions()
                     & (QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ReadGroup),
                 QFileDevice::Permissions());
        // The fallback folder taken by someone else (here: not private) is not used at all.
        QVERIFY(QFile::setPermissions(fallback, QFileInfo(fallback).permissions() | QFileDevice::WriteOther));
        QCOMPARE(SessionFiles::folder(), QString());
        QVERIFY(!ActivationChannel(QStringLiteral("k")).listen());
        QVERIFY(QDir(fallback).removeRecursively());
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_temp.path()));
    }

    void codeIsDeliveredAndAnswered()
    {
        ActivationChannel server(QStringLiteral("activationTestKey"));
        QVERIFY(server.listen());
        QSignalSpy spy(&server, &ActivationChannel::activationRequested);
        QVERIFY(sendFromOutside(ActivationChannel(QStringLiteral("activationTestKey")), 10086));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.first().first().value<quint32>(), quint32(10086));
    }

    void sendWithoutListenerFails()
    {
        ActivationChannel nobody(QStringLiteral("nobodyListens"));
        QVERIFY(!nobody.send(10086, 200));
    }

    void staleSocketOfDeadInstanceIsReplaced()
    {
        // A killed instance leaves its socket file behind; the next first instance listens anyway.
        {
            ActivationChannel dead(QStringLiteral("staleKey"));
            QVERIFY(dead.listen());
        }
        QFile leftover(ActivationChannel(QStringLiteral("staleKey")).serverName());
        if (!leftover.exists()) {
            QVERIFY(leftover.open(QIODevice::WriteOnly));
            leftover.close();
        }
        ActivationChannel next(QStringLiteral("staleKey"));
        QVERIFY(next.listen());
    }

    void windowReactsOnlyToTheActivationCode_data()
    {
        QTest::addColumn<quint32>("code");
        QTest::addColumn<bool>("restored");
        QTest::newRow("activation code") << quint32(10086) << true;
        // Handled (the sender is answered) but without any effect on the window.
        QTest::newRow("other code") << quint32(10087) << false;
        QTest::newRow("zero") << quint32(0) << false;
    }

    void windowReactsOnlyToTheActivationCode()
    {
        QFETCH(quint32, code);
        QFETCH(bool, restored);
        ScriptedHidBackend noDevices;
        MainWidget window(&noDevices);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.showMinimized();
        QTRY_VERIFY(window.isMinimized());

        ActivationChannel server(QStringLiteral("windowKey"));
        QVERIFY(server.listen());
        connect(&server, &ActivationChannel::activationRequested, &window, &MainWidget::onActivationRequest);
        QVERIFY(sendFromOutside(ActivationChannel(QStringLiteral("windowKey")), code));
        if (restored) {
            QTRY_VERIFY(!window.isMinimized());
            QVERIFY(window.isVisible());
        } else {
            QTest::qWait(100);
            QVERIFY(window.isMinimized());
        }
    }

private:
    QTemporaryDir m_temp;
};

QTEST_MAIN(TestActivation)
#include "tst_activation.moc"
