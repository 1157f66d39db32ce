#include "support/ProgramRun.h"

#include <QTemporaryDir>
#include <QtTest>

class TestCrashHandler : public QObject
{
    Q_OBJECT

private slots:
    void writesDumpAndEndsAsCrash_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QByteArray>("signalName");
        QTest::addColumn<QByteArray>("origin");
        QTest::newRow("null pointer write") << "segv" << QByteArray("SIGSEGV") << QByteArray("fault address: 0x10\n");
        // The handler runs on its spare stack.
        QTest::newRow("stack overflow") << "overflow" << QByteArray("SIGSEGV") << QByteArray("fault address: 0x");
        // Raised by the process itself: no fault address, the sender instead.
        QTest::newRow("abort") << "abort" << QByteArray("SIGABRT") << QByteArray("sent by process: ");
        QTest::newRow("floating point") << "fpe" << QByteArray("SIGFPE") << QByteArray("sent by process: ");
        QTest::newRow("bus error") << "bus" << QByteArray("SIGBUS") << QByteArray("sent by process: ");
        QTest::newRow("illegal instruction") << "ill" << QByteArray("SIGILL") << QByteArray("sent by process: ");
    }

    void writesDumpAndEndsAsCrash()
    {
        QFETCH(QString, how);
        QFETCH(QByteArray, signalName);
        QFETCH(QByteArray, origin);
        // One data folder for all rows, which does not exist before the first: the handler
        // creates it with its parents. Later rows find a long old file, which the crash replaces.
        const QString dataHome = m_temp.path() + QStringLiteral("/not/yet/there");
        QFile file(dataHome + QStringLiteral("/Brindle/vorlet/vorlet.dmp"));
        if (file.exists()) {
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(100000, 'x'));
            file.close();
        }
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_DATA_HOME"), dataHome);
        // The sanitizer build must let our handler run rather than report and exit itself.
        env.insert(QStringLiteral("ASAN_OPTIONS"),
                   QStringLiteral(
                       "handle_segv=0:handle_sigbus=0:handle_sigfpe=0:handle_sigill=0:handle_abort=0:detect_leaks=0"));
        QVERIFY(ProgramRun::of(QStringLiteral(CRASHER_BINARY), {how}, env).crashed);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray dump = file.readAll();
        QVERIFY(!dump.contains("xxxx"));
        QVERIFY2(dump.contains(signalName), dump.constData());
        QVERIFY(dump.contains("thread id: "));
        QVERIFY2(dump.contains(origin), dump.constData());
        QCOMPARE(dump.contains("fault address"), signalName == "SIGSEGV");
        QVERIFY(dump.contains("backtrace:\n"));
        // At least one frame below the header.
        QVERIFY(dump.mid(dump.indexOf("backtrace:\n") + 11).count('\n') >= 1);
    }

private:
    QTemporaryDir m_temp;
};

QTEST_GUILESS_MAIN(TestCrashHandler)
#include "tst_crashhandler.moc"
