#include "support/MessageCapture.h"

#include "device/PowerEventWatcher.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QString kPath = QStringLiteral("/org/freedesktop/login1");
const QString kInterface = QStringLiteral("org.freedesktop.login1.Manager");

QDBusMessage prepareForSleep(bool sleeping)
{
    QDBusMessage signal = QDBusMessage::createSignal(kPath, kInterface, QStringLiteral("PrepareForSleep"));
    signal << sleeping;
    return signal;
}
}

// Runs a private message bus as the "system bus" with a stand-in logind on it.
class TestPowerEventWatcher : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (daemon.isEmpty())
            QSKIP("dbus-daemon is not installed");
        QVERIFY(m_dir.isValid());
        m_daemon.start(daemon, {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1"),
                                QStringLiteral("--address=unix:path=") + m_dir.filePath(QStringLiteral("bus"))});
        QVERIFY(m_daemon.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(m_daemon.canReadLine(), 10000);
        m_address = QString::fromLocal8Bit(m_daemon.readLine()).trimmed();
        QVERIFY(!m_address.isEmpty());
        // Must happen before anything in this process asks for the system bus.
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", m_address.toLocal8Bit());

        QDBusConnection logind = QDBusConnection::connectToBus(m_address, QStringLiteral("logind"));
        QVERIFY(logind.isConnected());
        QVERIFY(logind.registerService(QStringLiteral("org.freedesktop.login1")));
    }

    void cleanupTestCase()
    {
        QDBusConnection::disconnectFromBus(QStringLiteral("logind"));
        QDBusConnection::disconnectFromBus(QStringLiteral("impostor"));
        if (m_daemon.state() != QProcess::NotRunning) {
            m_daemon.terminate();
            m_daemon.waitForFinished(3000);
        }
    }

    void sleepAndWakeFromLogindOnly()
    {
        PowerEventWatcher watcher;
        QVERIFY(watcher.watchesSleep());
        QDBusConnection logind(QStringLiteral("logind"));
        QDBusConnection impostor = QDBusConnection::connectToBus(m_address, QStringLiteral("impostor"));
        QVERIFY(impostor.isConnected());
        MessageCapture capture;
        QVERIFY(impostor.send(prepareForSleep(true)));
        QVERIFY(logind.send(prepareForSleep(true)));
        QTRY_COMPARE(capture.texts(QtDebugMsg), QStringList{"======xiu mian======"});
        QVERIFY(logind.send(prepareForSleep(false)));
        const QStringList both{"======xiu mian======", "======huan xing======"};
        QTRY_COMPARE(capture.texts(QtDebugMsg), both);
        QTest::qWait(50);  // the impostor's signal never shows up
        QCOMPARE(capture.texts(QtDebugMsg), both);
    }

private:
    QTemporaryDir m_dir;
    QProcess m_daemon;
    QString m_address;
};

QTEST_GUILESS_MAIN(TestPowerEventWatcher)
#include "tst_powereventwatcher.moc"
