// Records and plays through the window's own buttons, with the private sound server of
// scripts/test (a 440 Hz tone as the microphone).
#include "record/AudioCapture.h"
#include "record/RecordingFolder.h"
#include "support/FullDisk.h"
#include "support/RecordTestSupport.h"
#include "support/WavAnalysis.h"

#include "record/WaveformWidget.h"

#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QStandardPaths>
#include <QTime>
#include <QTranslator>
#include <QtTest>

using namespace RecordTestSupport;

namespace {

qint64 labelMs(const QString &text)
{
    return QTime::fromString(text, QStringLiteral("hh:mm:ss:zzz")).msecsSinceStartOfDay();
}

QStringList filesIn(const QString &dir)
{
    return QDir(dir).entryList(QDir::Files, QDir::Name);
}

} // namespace

class TestRecordAudio : public QObject
{
    Q_OBJECT

    RecordWidget *m_widget = nullptr;
    QString m_folder;    // the window's recording folder
    QString m_recording; // the latest take
    WavAnalysis m_take;

    // Whether pactl succeeded, and what it printed (trimmed) in *output.
    static bool runPactl(const QStringList &arguments, QString *output = nullptr)
    {
        QProcess pactl;
        pactl.start(QStringLiteral("pactl"), arguments);
        const bool ran = pactl.waitForFinished(5000) && pactl.exitStatus() == QProcess::NormalExit && !pactl.exitCode();
        if (output)
            *output = QString::fromLocal8Bit(pactl.readAllStandardOutput()).trimmed();
        return ran;
    }

    QToolButton *button(const char *name) { return RecordTestSupport::button(*m_widget, name); }

    AudioCapture *recorder() { return m_widget->findChild<AudioCapture *>(); }
    QString status() { return m_widget->findChild<QLabel *>(QStringLiteral("lbStatus"))->text(); }
    bool busy() { return m_widget->findChild<QProgressBar *>(QStringLiteral("progressBar"))->isVisible(); }
    int cursorX() { return view(*m_widget)->canvas()->playX(); }
    int columns() { return view(*m_widget)->canvas()->columnCount(); }
    // The view shows the file at path: one column per 1920 frames.
    bool showsFile(const QString &path) { return columns() == WavAnalysis::of(path).frames / 1920; }

    // The file the recorder added to the folder since `before`, once it holds audio.
    QString newTake(const QStringList &before)
    {
        QStringList added;
        const bool written = QTest::qWaitFor(
            [&] {
                added = filesIn(m_folder);
                for (const QString &f : before)
                    added.removeAll(f);
                return added.size() == 1 && WavAnalysis::of(QDir(m_folder).filePath(added[0])).frames > 0;
            },
            15000);
        QTest::qWait(300); // the writer finishes the header after the last buffer
        return written ? QDir(m_folder).filePath(added[0]) : QString();
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(runPactl({QStringLiteral("info")}),
                 "no sound server answers pactl info: run through scripts/test, which starts one");
        // The panel's texts as an English user reads them.
        auto *english = new QTranslator(this);
        QVERIFY(english->load(QStringLiteral(":/i18n/i18n_en.qm")));
        QCoreApplication::installTranslator(english);

        QStandardPaths::setTestModeEnabled(true);

        m_folder = RecordingFolder::path();
        QVERIFY(!m_folder.isEmpty());
        for (const QString &f : filesIn(m_folder))
            QFile::remove(QDir(m_folder).filePath(f));

        m_widget = new RecordWidget;
        m_widget->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_widget));
    }

    void cleanupTestCase() { delete m_widget; }

    void recordTone()
    {
        QCOMPARE(timeText(*m_widget), QStringLiteral("00:00:00:000"));
        const QStringList before = filesIn(m_folder);
        button("btnRecord")->click();
        QVERIFY(!button("btnSave")->isEnabled());
        QVERIFY(showsIcons(*m_widget, "Button_Stop_On", "Button_Pause_Off"));
        QTRY_COMPARE_WITH_TIMEOUT(recorder()->state(), AudioCapture::Recording, 15000);
        QTRY_VERIFY_WITH_TIMEOUT(labelMs(timeText(*m_widget)) > 300, 15000);

        button("btnPauseGo")->click();
        QCOMPARE(recorder()->state(), AudioCapture::Paused);
        QVERIFY(showsIcons(*m_widget, "Button_Stop_On", "Button_Play_On"));
        QTest::qWait(200);
        button("btnPauseGo")->click();
        QCOMPARE(recorder()->state(), AudioCapture::Recording);
        QVERIFY(showsIcons(*m_widget, "Button_Stop_On", "Button_Pause_Off"));

        QTRY_VERIFY_WITH_TIMEOUT(labelMs(timeText(*m_widget)) >= 1800, 20000);
        button("btnRecord")->click();
        QVERIFY(button("btnSave")->isEnabled());
        QVERIFY(showsIcons(*m_widget, "Button_Recording_Off", "Button_Play_On"));
        QTRY_COMPARE_WITH_TIMEOUT(recorder()->state(), AudioCapture::Stopped, 15000);

        m_recording = newTake(before);
        m_take = WavAnalysis::of(m_recording);
        QCOMPARE(m_take.channels, 2);
        QVERIFY2(m_take.seconds > 1.5 && m_take.seconds < 6.0, "about two seconds");
        // module-sine plays at half scale: a 440 Hz sine, not silence or noise.
        QVERIFY2(m_take.isTone(), "440 Hz at half scale");
        // Recorded at the rate the view's scale is built on.
        QCOMPARE(qRound(m_take.frames / m_take.seconds), 48000);
        // Once the file is complete the view shows it, and the label its length.
        QTRY_VERIFY2(qAbs(labelMs(timeText(*m_widget)) - m_take.seconds * 1000) <= 50, qPrintable(timeText(*m_widget)));
        QTRY_VERIFY2(showsFile(m_recording), qPrintable(QString::number(columns())));
    }

    void playback()
    {
        // Stopping put the cursor back at 0 s, at the margin.
        QTRY_VERIFY(cursorX() == 40);
        QTest::qWait(300);
        QVERIFY2(cursorX() == 40, "late buffers do not move the cursor");
        button("btnPauseGo")->click();
        QVERIFY(showsIcons(*m_widget, "Button_Recording_Off", "Button_Pause_Off"));
        QVERIFY(playTimer(*m_widget)->isActive());
        QTRY_VERIFY_WITH_TIMEOUT(cursorX() > 45, 15000);
        const int early = cursorX();

        button("btnPauseGo")->click(); // pause
        QVERIFY(showsIcons(*m_widget, "Button_Recording_Off", "Button_Play_On"));
        QVERIFY(!playTimer(*m_widget)->isActive());

        button("btnPauseGo")->click(); // go on to the end: the stopped player shows Play again
        QVERIFY(showsIcons(*m_widget, "Button_Recording_Off", "Button_Pause_Off"));
        QTRY_VERIFY_WITH_TIMEOUT(showsIcons(*m_widget, "Button_Recording_Off", "Button_Play_On"), 20000);
        QVERIFY(!playTimer(*m_widget)->isActive());
        const int last = cursorX();
        // 25 px per second: the end is near 40 + 25 × length.
        QVERIFY(last > early && last >= 40 + int(25 * m_take.seconds) - 25);
    }

    // Record pressed while playing stops the player first; while recording, Delete cuts nothing
    // and leaves the live waveform as it is, drawn as long as the file becomes. A take's number
    // is never given twice, though the first take's file is gone (as after the tidy-up).
    void recordWhilePlaying()
    {
        button("btnPauseGo")->click();
        QTRY_VERIFY(playTimer(*m_widget)->isActive());
        QTest::qWait(200);
        // The card's input name finds no such input here: the default input records.
        m_widget->setInputDevice(QStringLiteral("麦克风 (Vorlet Stage 20)"));
        const QString first = m_recording;
        QVERIFY(QFile::remove(first));
        const QStringList before = filesIn(m_folder);
        button("btnRecord")->click();
        QTRY_COMPARE_WITH_TIMEOUT(recorder()->state(), AudioCapture::Recording, 15000);
        QCOMPARE(recorder()->input(), recorder()->defaultInput());
        QTest::qWait(1200);
        QVERIFY2(showsIcons(*m_widget, "Button_Stop_On", "Button_Pause_Off"), "the recording's icons");
        QVERIFY(!playTimer(*m_widget)->isActive());
        QVERIFY(!button("btnSave")->isEnabled());
        selectAndDelete(*m_widget, 45, 60);
        QVERIFY(!busy());
        const int live = columns();
        QVERIFY(live > 20);
        button("btnRecord")->click();
        QTRY_COMPARE_WITH_TIMEOUT(recorder()->state(), AudioCapture::Stopped, 15000);
        m_widget->setInputDevice(QStringLiteral("Default"));
        m_recording = newTake(before);
        QVERIFY2(QFileInfo(m_recording).fileName() != QFileInfo(first).fileName(), qPrintable(m_recording));
        const WavAnalysis take = WavAnalysis::of(m_recording);
        QVERIFY2(take.isTone(), "second take holds the tone");
        // One column per 1920 frames; the file also holds what came through after the last look.
        QVERIFY2(live <= take.frames / 1920 + 2 && live >= take.frames / 1920 - 25, qPrintable(QString::number(live)));
    }

    // The disk fills while recording: the recording stops with the message that names the
    // cause, the buttons are those of a stopped recording, and what was recorded is kept whole
    // and drawn.
    void recordingOnFullDisk()
    {
        FullDisk disk(256 * 1024, m_folder);
        if (!disk.isMounted())
            QSKIP(qPrintable(disk.reason()));
        button("btnRecord")->click();
        // The writer's words: GStreamer's on Qt 5, the system's on Qt 6, where the take is
        // written by the window's own code.
        const QString failed = QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
            ? QStringLiteral("Recording failed: No space left on device")
            : QStringLiteral("Recording failed: No space left on the resource.");
        QTRY_COMPARE_WITH_TIMEOUT(status(), failed, 20000);
        QTRY_VERIFY(showsIcons(*m_widget, "Button_Recording_Off", "Button_Play_On"));
        QCOMPARE(recorder()->state(), AudioCapture::Stopped);
        QVERIFY(button("btnSave")->isEnabled());
        QCOMPARE(filesIn(m_folder).size(), 1);
        const QString take = QDir(m_folder).filePath(filesIn(m_folder).first());
        const WavAnalysis kept = WavAnalysis::of(take);
        QVERIFY2(kept.complete, "the header tells what the file holds");
        QVERIFY(kept.isTone() && kept.seconds > 1.0);
        QTRY_VERIFY2(showsFile(take), qPrintable(QString::number(columns())));
        QCOMPARE(status(), failed);
    }

    // Quitting while recording stops the recorder and leaves a complete WAV file (after a
    // failed take too: the window records again).
    void quitWhileRecording()
    {
        const QStringList before = filesIn(m_folder);
        button("btnRecord")->click();
        QTRY_COMPARE_WITH_TIMEOUT(recorder()->state(), AudioCapture::Recording, 15000);
        QTRY_VERIFY_WITH_TIMEOUT(labelMs(timeText(*m_widget)) > 800, 15000);
        delete m_widget;
        m_widget = nullptr;
        const QString take = newTake(before);
        const WavAnalysis kept = WavAnalysis::of(take);
        QVERIFY2(kept.complete, "the header gives the file's true size");
        QVERIFY(kept.isTone() && kept.seconds > 0.7);
    }
};

QTEST_MAIN(TestRecordAudio)
#include "tst_recordaudio.moc"
