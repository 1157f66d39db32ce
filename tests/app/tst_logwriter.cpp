// The program's own records: the hour's log files, and the file a crash leaves.
#include "support/MessageCapture.h"
#include "support/ProgramRun.h"

#include "app/Log.h"
#include "app/LogWriter.h"

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <thread>
#include <vector>

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QDateTime at(const QString &text)
{
    return QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

} // namespace

class TestLogWriter : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // Also run under a locale whose digits are not ASCII: names and stamps must stay ASCII.
        if (qEnvironmentVariable("LC_ALL").startsWith(QLatin1String("ar")))
            QVERIFY(QLocale::system().toString(2026) != QLatin1String("2026"));
    }

    // The first message of a new file: the header, then the message's line.
    void lineFormatByType_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("message");
        QTest::addColumn<char>("kind"); // the line's class
        QTest::newRow("warning") << int(QtWarningMsg) << "x" << 'w';
        QTest::newRow("debug") << int(QtDebugMsg) << "NO hid device" << 'd';
        QTest::newRow("critical") << int(QtCriticalMsg) << "No More Item Left!!!" << 'c';
        QTest::newRow("fatal") << int(QtFatalMsg) << "f" << 'f';
        QTest::newRow("info") << int(QtInfoMsg) << "i" << 'i';
        QTest::newRow("markup is not escaped") << int(QtDebugMsg) << "<b>a & b</b>" << 'd';
        QTest::newRow("placeholders stay as they are") << int(QtDebugMsg) << "%1 %2 100%" << 'd';
        QTest::newRow("utf-8") << int(QtDebugMsg) << QStringLiteral("麦克风 (Vorlet Stage 20)") << 'd';
    }

    void lineFormatByType()
    {
        QFETCH(int, type);
        QFETCH(QString, message);
        QFETCH(char, kind);
        QTemporaryDir dir;
        QString plain;
        {
            LogWriter writer(dir.path(), [] { return at(QStringLiteral("2026-12-04 07:59:05")); });
            plain = writer.write(QtMsgType(type), message);
        }
        QCOMPARE(plain, QStringLiteral("2026-12-04 07:59:05 ") + message);
        const QString line = QStringLiteral("<div class=\"%1\">%2</div>\r\n").arg(QLatin1Char(kind)).arg(plain);
        QCOMPARE(readAll(dir.path() + QStringLiteral("/2026-12-04_07_log.html")),
                 (LogWriter::header() + "\r\n" + line).toUtf8());
    }

    // A second run in the same hour appends to its file, each line on disk at once; the file is
    // not reopened within the hour (moved away, it still receives the lines).
    void hoursAndRuns()
    {
        QTemporaryDir dir;
        const QString seven = dir.path() + QStringLiteral("/2026-12-04_07_log.html");
        QDateTime now = at(QStringLiteral("2026-12-04 07:10:00"));
        LogWriter(dir.path(), [&] { return now; }).write(QtDebugMsg, QStringLiteral("run 1"));
        LogWriter writer(dir.path(), [&] { return now; });
        for (int i = 0; i < 40; ++i) {
            writer.write(QtDebugMsg, QStringLiteral("run 2, message %1 ").arg(i) + QString(30, QLatin1Char('x')));
            QCOMPARE(readAll(seven).count("<div"), i + 2);
        }
        const QString moved = dir.path() + QStringLiteral("/moved.html");
        QVERIFY(QFile::rename(seven, moved));
        writer.write(QtDebugMsg, QStringLiteral("after the move"));
        now = at(QStringLiteral("2026-12-04 08:00:00"));
        writer.write(QtDebugMsg, QStringLiteral("next hour"));
        QVERIFY(!QFile::exists(seven));
        const QByteArray old = readAll(moved);
        QCOMPARE(old.count("<title>"), 1);
        QCOMPARE(old.count("<div"), 42);
        QVERIFY(old.indexOf("run 1") < old.indexOf("run 2"));
        QVERIFY(old.endsWith("<div class=\"d\">2026-12-04 07:10:00 after the move</div>\r\n"));
        const QByteArray eight = readAll(dir.path() + QStringLiteral("/2026-12-04_08_log.html"));
        QCOMPARE(eight,
                 (LogWriter::header() + "\r\n<div class=\"d\">2026-12-04 08:00:00 next hour</div>\r\n").toUtf8());
        // Later lines are appended behind the header: nothing may close the page.
        QVERIFY(eight.startsWith("\r\n<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\"?>"));
        QVERIFY(!eight.contains("</body>"));
    }

    void unavailableFolderIsQuietAndMadeAgainNextHour()
    {
        // The folder's parent is a file: the folder can be neither created nor written, even by root.
        QTemporaryDir dir;
        QFile blocker(dir.path() + QStringLiteral("/blocker"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const QString folder = blocker.fileName() + QStringLiteral("/Log");
        QDateTime now = at(QStringLiteral("2026-12-04 07:10:00"));
        LogWriter writer(folder, [&] { return now; });
        {
            MessageCapture capture;
            QCOMPARE(writer.write(QtWarningMsg, QStringLiteral("lost")), QStringLiteral("2026-12-04 07:10:00 lost"));
            writer.write(QtDebugMsg, QStringLiteral("lost too"));
            QCOMPARE(capture.lines(), QStringList());
        }
        // The next hour makes the folder again (as after it was removed) and opens its file.
        QVERIFY(blocker.remove());
        writer.write(QtDebugMsg, QStringLiteral("still the same hour"));
        QVERIFY(!QFileInfo::exists(folder));
        now = at(QStringLiteral("2026-12-04 08:00:01"));
        writer.write(QtDebugMsg, QStringLiteral("next hour"));
        QCOMPARE(readAll(folder + QStringLiteral("/2026-12-04_08_log.html")),
                 (LogWriter::header() + "\r\n<div class=\"d\">2026-12-04 08:00:01 next hour</div>\r\n").toUtf8());
    }

    void eightThreadsLoseAndInterleaveNothing()
    {
        QTemporaryDir dir;
        LogWriter writer(dir.path(), [] { return at(QStringLiteral("2026-12-04 07:00:00")); });
        constexpr int kThreads = 8;
        constexpr int kLines = 250;
        std::atomic<bool> go{false};
        std::vector<std::thread> threads;
        QStringList expected;
        for (int t = 0; t < kThreads; ++t) {
            threads.emplace_back([&, t] {
                while (!go)
                    std::this_thread::yield();
                for (int i = 0; i < kLines; ++i)
                    writer.write(QtDebugMsg, QStringLiteral("thread %1 line %2 end").arg(t).arg(i));
            });
            for (int i = 0; i < kLines; ++i)
                expected
                    << QStringLiteral("<div class=\"d\">2026-12-04 07:00:00 thread %1 line %2 end</div>").arg(t).arg(i);
        }
        go = true;
        for (auto &thread : threads)
            thread.join();

        const QString content = QString::fromUtf8(readAll(dir.path() + QStringLiteral("/2026-12-04_07_log.html")));
        QStringList lines = content.mid(LogWriter::header().size() + 2).split(QStringLiteral("\r\n"));
        QCOMPARE(lines.takeLast(), QString());
        lines.sort();
        expected.sort();
        QCOMPARE(lines, expected);
    }

    // startLog deletes the first files by name down to the limit; folders do not count.
    void startLogPrunes()
    {
        // A home of its own: the same test under another locale may run beside it.
        QTemporaryDir home;
        qputenv("HOME", QFile::encodeName(home.path()));
        QStandardPaths::setTestModeEnabled(true);
        QCoreApplication::setOrganizationName(QStringLiteral("Brindle"));
        QCoreApplication::setApplicationName(QStringLiteral("vorlet"));
        const QString folder =
            QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + QStringLiteral("/Log");
        QVERIFY(QDir().mkpath(folder + QStringLiteral("/a-subfolder")));
        for (int i = 0; i < 7; ++i) {
            QFile file(folder + QStringLiteral("/0000-%1_log.html").arg(i, 4, 10, QLatin1Char('0')));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        const QtMessageHandler testHandler = qInstallMessageHandler(nullptr);
        startLog(QStringLiteral("Log"), 4, true);
        qInstallMessageHandler(testHandler);
        QCOMPARE(QDir(folder).entryList(QDir::Files, QDir::Name),
                 (QStringList{"0000-0003_log.html", "0000-0004_log.html", "0000-0005_log.html", "0000-0006_log.html"}));
        QVERIFY(QDir(folder).exists(QStringLiteral("a-subfolder")));
    }

    void writesDumpAndEndsAsCrash_data()
    {
        QTest::addColumn<QString>("signalName");
        QTest::addColumn<QString>("origin"); // a pattern
        // Rows are named as the crasher's argument; on overflow the handler runs on its own stack.
        const QString fault = QStringLiteral("fault address: 0x");
        QTest::newRow("segv") << "SIGSEGV" << fault + "10";
        QTest::newRow("overflow") << "SIGSEGV" << fault + "[0-9a-f]+";
        // Raised by the process itself: no fault address, the sender instead.
        const QString sender = QStringLiteral("sent by process: \\d+");
        QTest::newRow("abort") << "SIGABRT" << sender;
        QTest::newRow("fpe") << "SIGFPE" << sender;
        QTest::newRow("bus") << "SIGBUS" << sender;
        QTest::newRow("ill") << "SIGILL" << sender;
    }

    void writesDumpAndEndsAsCrash()
    {
        QFETCH(QString, signalName);
        QFETCH(QString, origin);
        // The handler makes the folder; later rows find a long old file, which the crash replaces.
        const QString dataHome = m_crashData.path() + QStringLiteral("/not/yet/there");
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
        QVERIFY(ProgramRun::of(QStringLiteral(CRASHER_BINARY), {QTest::currentDataTag()}, env).crashed);
        // At least one frame, and nothing of the old file behind the last.
        const QRegularExpression dump("^signal: \\d+ " + signalName + "\n" + origin
                                      + "\nthread id: \\d+\nprocess id: \\d+\nbacktrace:\n(.+\n)+$");
        const QString text = QString::fromUtf8(readAll(file.fileName()));
        QVERIFY2(dump.match(text).hasMatch(), qPrintable(text.left(2000)));
    }

private:
    QTemporaryDir m_crashData;
};

QTEST_GUILESS_MAIN(TestLogWriter)
#include "tst_logwriter.moc"
