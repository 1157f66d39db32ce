// Records, plays, cuts, undoes and exports through the window's own buttons, with the private
// sound server of scripts/test (a 440 Hz tone as the microphone) and the real ffmpeg behind a
// wrapper that logs its arguments.
#include "RecordTestSupport.h"
#include "WavAnalysis.h"
#include "record/RecordingFolder.h"

#include <QAudioRecorder>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTime>
#include <QtTest>

using namespace RecordTestSupport;

namespace {

qint64 labelMs(const QString &text)
{
    return QTime::fromString(text, QStringLiteral("hh:mm:ss:zzz")).msecsSinceStartOfDay();
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString probeCodec(const QString &path)
{
    QProcess ffprobe;
    ffprobe.start(QStringLiteral("ffprobe"), {"-v", "error", "-select_streams", "a:0", "-show_entries",
                                              "stream=codec_name", "-of", "default=nw=1:nk=1", path});
    ffprobe.waitForFinished(30000);
    return QString::fromUtf8(ffprobe.readAllStandardOutput()).trimmed();
}

QStringList filesIn(const QString &dir)
{
    return QDir(dir).entryList(QDir::Files, QDir::Name);
}

QStringList cutCall(const QString &from, const char *start, const char *end, const QString &to)
{
    return {"-i", from, "-filter_complex",
            QStringLiteral("[0]atrim=duration=%1[a];[0]atrim=start=%2[b];[a][b]concat=n=2:v=0:a=1")
                .arg(QLatin1String(start), QLatin1String(end)),
            to};
}

const QColor kCursorColour(QStringLiteral("#FF7A02"));
const QColor kWaveColour(QStringLiteral("#5E17CC"));

// What the canvas shows: the play cursor's x and the wave's rightmost x (-1: none).
struct Drawn
{
    int cursorX = -1;
    int waveRight = -1;
};

} // namespace

class TestRecordAudio : public QObject
{
    Q_OBJECT

    RecordWidget *m_widget = nullptr;
    QTemporaryDir m_tools;   // the logging ffmpeg wrapper
    QTemporaryDir m_exports; // where the "user" saves
    QByteArray m_path;       // PATH with the wrapper first
    QString m_folder;        // the window's recording folder
    QString m_recording;     // first take
    WavAnalysis m_take;
    QString m_nextTarget;    // what the save dialog answers
    int m_dialogCalls = 0;
    QString m_dialogCaption, m_dialogFilter;
    int m_copies = 0;

    QToolButton *button(const char *name) { return RecordTestSupport::button(*m_widget, name); }
    QAudioRecorder *recorder() { return m_widget->findChild<QAudioRecorder *>(); }
    QWidget *canvas() { return view(*m_widget)->widget(); }

    QList<QStringList> encoderCalls()
    {
        QList<QStringList> calls{{}};
        for (const QString &line : QString::fromUtf8(contents(m_tools.filePath("calls.log"))).split('\n')) {
            if (line == QLatin1String("--end--"))
                calls.append(QStringList());
            else if (!line.isEmpty())
                calls.last().append(line);
        }
        calls.removeLast();
        return calls;
    }

    Drawn drawn()
    {
        const QImage image = canvas()->grab().toImage();
        Drawn d;
        for (int x = 0; x < image.width(); ++x) {
            if (d.cursorX < 0 && QColor(image.pixel(x, image.height() / 2)) == kCursorColour)
                d.cursorX = x;
            for (int y = 0; y < image.height(); ++y) {
                if (QColor(image.pixel(x, y)) == kWaveColour)
                    d.waveRight = x;
            }
        }
        return d;
    }

    // The view shows the file at path: one column per 1920 frames from x 40 (the cursor may
    // cover the last two).
    bool showsFile(const QString &path)
    {
        return qAbs(drawn().waveRight - (40 + WavAnalysis::of(path).frames / 1920 - 1)) <= 2;
    }

    // The file the recorder added to the folder since `before`, once it holds audio.
    QString newTake(const QStringList &before)
    {
        QStringList added;
        const bool written = QTest::qWaitFor([&] {
            added = filesIn(m_folder);
            for (const QString &f : before)
                added.removeAll(f);
            return added.size() == 1 && WavAnalysis::of(QDir(m_folder).filePath(added[0])).frames > 0;
        }, 15000);
        QTest::qWait(300); // the writer finishes the header after the last buffer
        return written ? QDir(m_folder).filePath(added[0]) : QString();
    }

    void save(const QString &target)
    {
        m_nextTarget = target;
        button("btnSave")->click();
    }

    // Exporting as WAV copies the working file: that shows which file is current.
    QByteArray current()
    {
        const QString target = m_exports.filePath(QStringLiteral("copy%1.wav").arg(++m_copies));
        save(target);
        return contents(target);
    }

private slots:
    void initTestCase()
    {
        QProcess pactl;
        pactl.start(QStringLiteral("pactl"), {QStringLiteral("info")});
        QVERIFY2(pactl.waitForFinished(5000) && pactl.exitStatus() == QProcess::NormalExit && !pactl.exitCode(),
                 "no sound server answers pactl info: run through scripts/test, which starts one");
        const QString realFfmpeg = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
        QVERIFY2(!realFfmpeg.isEmpty(), "ffmpeg is not installed (scripts/install-deps)");

        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(m_tools.isValid() && m_exports.isValid());
        QFile wrapper(m_tools.filePath(QStringLiteral("ffmpeg")));
        QVERIFY(wrapper.open(QIODevice::WriteOnly));
        wrapper.write(QStringLiteral("#!/bin/sh\n"
                                     "{ for a in \"$@\"; do printf '%s\\n' \"$a\"; done; echo --end--; } >> '%1/calls.log'\n"
                                     "exec '%2' \"$@\" >/dev/null 2>>'%1/ffmpeg.err'\n")
                          .arg(m_tools.path(), realFfmpeg).toUtf8());
        wrapper.close();
        wrapper.setPermissions(wrapper.permissions() | QFileDevice::ExeOwner);
        m_path = QFile::encodeName(m_tools.path()) + ':' + qgetenv("PATH");
        qputenv("PATH", m_path);

        m_folder = RecordingFolder::path();
        QVERIFY(!m_folder.isEmpty());
        for (const QString &f : filesIn(m_folder))
            QFile::remove(QDir(m_folder).filePath(f));

        m_widget = new RecordWidget;
        m_widget->setSaveDialog([this](const QString &caption, const QString &filter) {
            ++m_dialogCalls;
            m_dialogCaption = caption;
            m_dialogFilter = filter;
            return m_nextTarget;
        });
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
        QTRY_COMPARE_WITH_TIMEOUT(recorder()->state(), QMediaRecorder::RecordingState, 15000);
        QTRY_VERIFY_WITH_TIMEOUT(labelMs(timeText(*m_widget)) > 300, 15000);

        button("btnPauseGo")->click();
        QCOMPARE(recorder()->state(), QMediaRecorder::PausedState);
        QVERIFY(showsIcons(*m_widget, "Button_Stop_On", "Button_Play_On"));
        QTest::qWait(200);
        button("btnPauseGo")->click();
        QCOMPARE(recorder()->state(), QMediaRecorder::RecordingState);
        QVERIFY(showsIcons(*m_widget, "Button_Stop_On", "Button_Pause_Off"));

        QTRY_VERIFY_WITH_TIMEOUT(labelMs(timeText(*m_widget)) >= 1800, 20000);
        const qint64 shown = labelMs(timeText(*m_widget));
        button("btnRecord")->click();
        QVERIFY(button("btnSave")->isEnabled());
        QVERIFY(showsIcons(*m_widget, "Button_Recording_Off", "Button_Play_On"));
        QTRY_COMPARE_WITH_TIMEOUT(recorder()->state(), QMediaRecorder::StoppedState, 15000);

        m_recording = newTake(before);
        QVERIFY2(m_recording.endsWith(QLatin1String(".wav")), qPrintable(m_recording));
        m_take = WavAnalysis::of(m_recording);
        qInfo() << "recorded" << m_recording << m_take.seconds << "s," << m_take.channels << "ch, peak"
                << m_take.peak << "rms" << m_take.rms << "f" << m_take.frequency << "label" << shown
                << "then" << timeText(*m_widget);
        QCOMPARE(m_take.channels, 2);
        QVERIFY2(m_take.seconds > 1.5 && m_take.seconds < 6.0, "about two seconds");
        // module-sine plays at half scale: a 440 Hz sine, not silence or noise.
        QVERIFY2(m_take.isTone(), "440 Hz at half scale");
        QVERIFY2(qAbs(m_take.rms - m_take.peak / M_SQRT2) < 0.06, "a sine, not noise");
        // The label counted the probed buffers; after Stop it shows the recorder's duration,
        // about the file's length (this backend reports 0 once stopped: the last time known).
        QVERIFY(shown >= 1800);
        QVERIFY(labelMs(timeText(*m_widget)) >= 1500);
        QVERIFY(labelMs(timeText(*m_widget)) <= m_take.seconds * 1000 + 100);
        // The live waveform has one column per 40 ms of probed audio (25 px per second).
        const int waveEnd = drawn().waveRight;
        QVERIFY2(waveEnd <= 40 + int(m_take.seconds * 25) + 3, qPrintable(QString::number(waveEnd)));
        QVERIFY2(waveEnd >= 40 + int(m_take.seconds * 25 * 0.5), qPrintable(QString::number(waveEnd)));
    }

    void playback()
    {
        QVERIFY(!m_recording.isEmpty());
        // Stopping put the cursor back at 0 s: x 40, drawn one column step left, 2 px wide.
        QTRY_VERIFY(qAbs(drawn().cursorX - 39) <= 1);
        QTest::qWait(300);
        QVERIFY2(qAbs(drawn().cursorX - 39) <= 1, "late buffers do not move the cursor");
        button("btnPauseGo")->click();
        QVERIFY(showsIcons(*m_widget, "Button_Recording_Off", "Button_Pause_Off"));
        QVERIFY(playTimer(*m_widget)->isActive());
        QTRY_VERIFY_WITH_TIMEOUT(drawn().cursorX > 45, 15000);
        const int early = drawn().cursorX;

        button("btnPauseGo")->click(); // pause
        QVERIFY(showsIcons(*m_widget, "Button_Recording_Off", "Button_Play_On"));
        QVERIFY(!playTimer(*m_widget)->isActive());
        const int paused = drawn().cursorX;
        QTest::qWait(300);
        QCOMPARE(drawn().cursorX, paused);

        button("btnPauseGo")->click(); // go on to the end: the stopped player shows Play again
        QVERIFY(showsIcons(*m_widget, "Button_Recording_Off", "Button_Pause_Off"));
        QTRY_VERIFY_WITH_TIMEOUT(showsIcons(*m_widget, "Button_Recording_Off", "Button_Play_On"), 20000);
        QVERIFY(!playTimer(*m_widget)->isActive());
        const int last = drawn().cursorX;
        qInfo() << "cursor x" << early << paused << last;
        // 25 px per second: the end is near 40 + 25 × length.
        QVERIFY(last > early && last >= 40 + int(25 * m_take.seconds) - 25);
    }

    void cutTwiceAndUndo()
    {
        const QString first = RecordWidget::cutCopyPath(m_recording, 1);
        const QString second = RecordWidget::cutCopyPath(m_recording, 2);
        const int calls = encoderCalls().size();
        // Select 0.60 s to 1.00 s (x 55 to 65) with the mouse and press Delete, as a user does.
        QTest::mousePress(canvas(), Qt::LeftButton, Qt::NoModifier, QPoint(55, 100));
        QMouseEvent move(QEvent::MouseMove, QPointF(65, 100), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(canvas(), &move);
        QTest::mouseRelease(canvas(), Qt::LeftButton, Qt::NoModifier, QPoint(65, 100));
        QTest::keyClick(canvas(), Qt::Key_Delete);
        const WavAnalysis a = WavAnalysis::of(first);
        QVERIFY2(qAbs(a.seconds - (m_take.seconds - 0.40)) < 0.03, qPrintable(QString::number(a.seconds)));
        QVERIFY2(a.isTone(), "still the tone");
        QVERIFY2(showsFile(first), "the cut copy is drawn");

        // The next cut reads the copy but is named from the recording, beside it.
        emit view(*m_widget)->s_cutAudio(0.25, 0.5);
        QCOMPARE(encoderCalls().mid(calls), (QList<QStringList>{cutCall(m_recording, "0.60", "1.00", first),
                                                                cutCall(first, "0.25", "0.50", second)}));
        QVERIFY(qAbs(WavAnalysis::of(second).seconds - (a.seconds - 0.25)) < 0.03);
        QCOMPARE(current(), contents(second));

        const QString label = timeText(*m_widget);
        QTest::keyClick(m_widget, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(current(), contents(first));
        QVERIFY2(showsFile(first), "the earlier file is drawn again");
        QTest::keyClick(m_widget, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(current(), contents(m_recording));
        // Nothing left to undo: still the recording; the cut copies stay on disk.
        QTest::keyClick(m_widget, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(current(), contents(m_recording));
        QVERIFY(QFile::exists(first) && QFile::exists(second));
        QCOMPARE(timeText(*m_widget), label);
    }

    void exportTarget_data()
    {
        QTest::addColumn<QString>("name");    // empty: the dialog is cancelled
        QTest::addColumn<QString>("codec");   // empty: the encoder does not run
        QTest::addColumn<QString>("outcome"); // ffprobe's codec, "copy", or "none" for no file
        QTest::newRow("mp3") << "song.mp3" << "libmp3lame" << "mp3";
        QTest::newRow("aac") << "song.aac" << "aac" << "aac";
        QTest::newRow("wma") << "song.wma" << "wmav2" << "wmav2";
        QTest::newRow("flac") << "song.flac" << "flac" << "flac";
        QTest::newRow("ac3") << "song.ac3" << "ac3" << "ac3";
        QTest::newRow("wav is copied") << "song.wav" << "" << "copy";
        QTest::newRow("upper-case suffix") << "song.MP3" << "" << "none";
        QTest::newRow("cancelled") << "" << "" << "none";
    }

    void exportTarget()
    {
        QFETCH(QString, name);
        QFETCH(QString, codec);
        QFETCH(QString, outcome);
        const int calls = encoderCalls().size(), asked = m_dialogCalls;
        const QStringList files = filesIn(m_folder), exported = filesIn(m_exports.path());
        const QString target = name.isEmpty() ? QString() : m_exports.filePath(name);
        save(target);
        QCOMPARE(m_dialogCalls, asked + 1);
        QCOMPARE(m_dialogCaption, QStringLiteral("保存文件"));
        QCOMPARE(m_dialogFilter, QStringLiteral("*.mp3 ;; *.wav ;; *.aac ;; *.wma ;; *.flac ;; *.ac3"));
        QCOMPARE(filesIn(m_folder), files); // only the current recording's files are there
        const QList<QStringList> expected{{"-y", "-i", m_recording, "-acodec", codec, target}};
        QCOMPARE(encoderCalls().mid(calls), codec.isEmpty() ? QList<QStringList>() : expected);
        if (outcome == QLatin1String("none"))
            QCOMPARE(filesIn(m_exports.path()), exported);
        else if (outcome == QLatin1String("copy"))
            QCOMPARE(contents(target), contents(m_recording));
        else
            QCOMPARE(probeCodec(target), outcome);
    }

    void recordWhilePlayingAndTidyUp()
    {
        const QString first = RecordWidget::cutCopyPath(m_recording, 1);
        const QString second = RecordWidget::cutCopyPath(m_recording, 2);
        // A file of the user's beside the recordings whose name fits the working files' pattern.
        const QString decoy = RecordWidget::cutCopyPath(m_recording, 9);
        QFile f(decoy);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write("the user's own file") > 0);
        f.close();

        button("btnPauseGo")->click();
        QTRY_VERIFY(playTimer(*m_widget)->isActive());
        QTest::qWait(200);
        // The card's input name finds no such input here: the default input records.
        m_widget->setInputDevice(QStringLiteral("麦克风 (Vorlet Stage 20)"));
        const QStringList before = filesIn(m_folder);
        button("btnRecord")->click(); // while playing: the player stops first
        QTRY_COMPARE_WITH_TIMEOUT(recorder()->state(), QMediaRecorder::RecordingState, 15000);
        QCOMPARE(recorder()->audioInput(), recorder()->defaultAudioInput());
        QTest::qWait(1200);
        QVERIFY2(showsIcons(*m_widget, "Button_Stop_On", "Button_Pause_Off"), "the recording's icons");
        QVERIFY(!playTimer(*m_widget)->isActive());
        button("btnRecord")->click();
        QTRY_COMPARE_WITH_TIMEOUT(recorder()->state(), QMediaRecorder::StoppedState, 15000);
        m_widget->setInputDevice(QStringLiteral("Default"));
        const QString take2 = newTake(before);
        QVERIFY(!take2.isEmpty() && take2 != m_recording);
        QVERIFY2(WavAnalysis::of(take2).isTone(), "second take holds the tone");

        // Exported into the recording folder itself: the export is the user's, never tidied.
        const QString exported = QDir(m_folder).filePath(QStringLiteral("export.mp3"));
        save(exported);
        QVERIFY2(!QFile::exists(m_recording), "the earlier take is tidied away");
        QVERIFY(!QFile::exists(first) && !QFile::exists(second));
        QCOMPARE(contents(decoy), QByteArray("the user's own file"));
        QVERIFY(QFile::exists(take2) && QFile::exists(exported));
        m_recording = take2;
    }

    void missingEncoder()
    {
        QTemporaryDir empty;
        qputenv("PATH", QFile::encodeName(empty.path()));
        const QString exported = m_exports.filePath(QStringLiteral("nothing.mp3"));
        const QRegularExpression line(QStringLiteral("ffmpeg could not be started"));
        QTest::ignoreMessage(QtCriticalMsg, line);
        save(exported);
        QVERIFY(!QFile::exists(exported));
        QTest::ignoreMessage(QtCriticalMsg, line);
        emit view(*m_widget)->s_cutAudio(0.2, 0.4);
        QVERIFY(!QFile::exists(RecordWidget::cutCopyPath(m_recording, 1)));
        // Undo returns to the recording; the window goes on working.
        QTest::keyClick(m_widget, Qt::Key_Z, Qt::ControlModifier);
        qputenv("PATH", m_path);
        QCOMPARE(current(), contents(m_recording));
    }
};

QTEST_MAIN(TestRecordAudio)
#include "tst_recordaudio.moc"
