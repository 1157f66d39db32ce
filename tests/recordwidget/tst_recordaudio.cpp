// Records, plays, cuts, undoes and exports through the panel's own buttons, with the private
// sound server of scripts/test (a 440 Hz tone as the microphone) and the real ffmpeg behind a
// wrapper that logs its arguments.
#include "RecordTestSupport.h"
#include "WavAnalysis.h"
#include "record/RecordWidget.h"
#include "record/RecordingFolder.h"
#include "record/WaveformFrame.h"

#include <QAudioRecorder>
#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

using RecordTestSupport::showsIcon;

namespace {

const QColor kCursorColour(QStringLiteral("#FF7A02"));
const QColor kWaveColour(QStringLiteral("#5E17CC"));

qint64 labelMs(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char(':'));
    if (parts.size() != 4)
        return -1;
    return parts[0].toLongLong() * 3600000 + parts[1].toLongLong() * 60000
           + parts[2].toLongLong() * 1000 + parts[3].toLongLong();
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString probeCodec(const QString &path)
{
    QProcess ffprobe;
    ffprobe.start(QStringLiteral("ffprobe"),
                  {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-select_streams"),
                   QStringLiteral("a:0"), QStringLiteral("-show_entries"),
                   QStringLiteral("stream=codec_name"), QStringLiteral("-of"),
                   QStringLiteral("default=nw=1:nk=1"), path});
    if (!ffprobe.waitForFinished(30000))
        return {};
    return QString::fromUtf8(ffprobe.readAllStandardOutput()).trimmed();
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
    QTemporaryDir m_tools;   // the logging ffmpeg wrapper
    QTemporaryDir m_exports; // where the "user" saves
    QByteArray m_path;       // PATH with the wrapper first
    QString m_folder;        // the panel's recording folder
    QString m_recording;     // first take
    WavAnalysis m_take;
    QString m_nextTarget;    // what the save dialog answers
    int m_dialogCalls = 0;
    bool m_recordingIconsShown = false; // seen just before recordTake stopped
    QString m_dialogCaption;
    QString m_dialogFilter;

    QToolButton *button(const char *name)
    {
        return m_widget->findChild<QToolButton *>(QLatin1String(name));
    }
    QString label() { return m_widget->findChild<QLabel *>(QStringLiteral("lbTime"))->text(); }
    QTimer *playTimer() { return m_widget->findChild<QTimer *>(QStringLiteral("playTimer")); }
    QAudioRecorder *recorder() { return m_widget->findChild<QAudioRecorder *>(); }
    WaveformFrame *view() { return m_widget->findChild<WaveformFrame *>(QStringLiteral("waveforFrame")); }
    QWidget *canvas() { return view()->widget(); }

    QList<QStringList> encoderCalls()
    {
        QList<QStringList> calls;
        QStringList current;
        const QStringList lines = QString::fromUtf8(contents(m_tools.filePath(QStringLiteral("calls.log"))))
                                      .split(QLatin1Char('\n'));
        for (const QString &line : lines) {
            if (line == QLatin1String("--end--")) {
                calls.append(current);
                current.clear();
            } else if (!line.isEmpty()) {
                current.append(line);
            }
        }
        return calls;
    }

    // x of the play cursor as drawn on the canvas, -1 when none is seen.
    int cursorX()
    {
        const QImage image = canvas()->grab().toImage();
        const int y = image.height() / 2;
        for (int x = 0; x < image.width(); ++x) {
            if (QColor(image.pixel(x, y)) == kCursorColour)
                return x;
        }
        return -1;
    }

    int wavePixels()
    {
        const QImage image = canvas()->grab().toImage();
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                count += QColor(image.pixel(x, y)) == kWaveColour;
        return count;
    }

    int rightmostWaveX()
    {
        const QImage image = canvas()->grab().toImage();
        for (int x = image.width() - 1; x >= 0; --x)
            for (int y = 0; y < image.height(); ++y)
                if (QColor(image.pixel(x, y)) == kWaveColour)
                    return x;
        return -1;
    }

    // Records about ms milliseconds through the record button and returns the new file.
    QString recordTake(int ms)
    {
        const QStringList before = filesIn(m_folder);
        button("btnRecord")->click();
        if (!QTest::qWaitFor([&] { return recorder()->state() == QMediaRecorder::RecordingState; }, 5000))
            return {};
        QTest::qWait(ms);
        m_recordingIconsShown = showsIcon(button("btnRecord"), "Button_Stop_On")
                                && showsIcon(button("btnPauseGo"), "Button_Pause_Off");
        button("btnRecord")->click();
        if (!QTest::qWaitFor([&] { return recorder()->state() == QMediaRecorder::StoppedState; }, 5000))
            return {};
        QStringList added;
        const bool written = QTest::qWaitFor([&] {
            added = filesIn(m_folder);
            for (const QString &f : before)
                added.removeAll(f);
            return added.size() == 1 && WavAnalysis::of(QDir(m_folder).filePath(added[0])).frames > 0;
        }, 5000);
        QTest::qWait(300); // the writer finishes the header after the last buffer
        return written ? QDir(m_folder).filePath(added[0]) : QString();
    }

    void save(const QString &target)
    {
        m_nextTarget = target;
        button("btnSave")->click();
    }

private slots:
    void initTestCase()
    {
        const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
        const bool required = !runtime.isEmpty()
                              && QFile::exists(runtime + QStringLiteral("/vorlet-test-audio"));
        QProcess pactl;
        pactl.start(QStringLiteral("pactl"), {QStringLiteral("info")});
        const bool serverUp = pactl.waitForFinished(5000) && pactl.exitStatus() == QProcess::NormalExit
                              && pactl.exitCode() == 0;
        if (!serverUp) {
            if (required)
                QFAIL("scripts/test-audio started a sound server but pactl info gets no answer");
            QSKIP("no PulseAudio server answers pactl info; scripts/test starts a private one");
        }
        const QString realFfmpeg = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
        QVERIFY2(!realFfmpeg.isEmpty(), "ffmpeg is not installed (scripts/install-deps)");

        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(m_tools.isValid() && m_exports.isValid());
        QFile wrapper(m_tools.filePath(QStringLiteral("ffmpeg")));
        QVERIFY(wrapper.open(QIODevice::WriteOnly));
        wrapper.write(QStringLiteral("#!/bin/sh\n"
                                     "{ for a in \"$@\"; do printf '%s\\n' \"$a\"; done; echo --end--; } >> '%1/calls.log'\n"
                                     "exec '%2' \"$@\" >/dev/null 2>>'%1/ffmpeg.err'\n")
                          .arg(m_tools.path(), realFfmpeg)
                          .toUtf8());
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
        QCOMPARE(label(), QStringLiteral("00:00:00:000"));
        const QStringList before = filesIn(m_folder);
        button("btnRecord")->click();
        // Recording: save disabled, stop and pause icons.
        QVERIFY(!button("btnSave")->isEnabled());
        QVERIFY(showsIcon(button("btnRecord"), "Button_Stop_On"));
        QVERIFY(showsIcon(button("btnPauseGo"), "Button_Pause_Off"));
        QTRY_COMPARE_WITH_TIMEOUT(recorder()->state(), QMediaRecorder::RecordingState, 5000);
        QTRY_VERIFY_WITH_TIMEOUT(labelMs(label()) > 300, 5000);

        button("btnPauseGo")->click();
        QCOMPARE(recorder()->state(), QMediaRecorder::PausedState);
        QVERIFY(showsIcon(button("btnPauseGo"), "Button_Play_On"));
        QVERIFY(showsIcon(button("btnRecord"), "Button_Stop_On"));
        QTest::qWait(200);
        button("btnPauseGo")->click();
        QCOMPARE(recorder()->state(), QMediaRecorder::RecordingState);
        QVERIFY(showsIcon(button("btnPauseGo"), "Button_Pause_Off"));

        QTRY_VERIFY_WITH_TIMEOUT(labelMs(label()) >= 1800, 8000);
        const qint64 shown = labelMs(label());
        button("btnRecord")->click();
        QVERIFY(button("btnSave")->isEnabled());
        QVERIFY(showsIcon(button("btnRecord"), "Button_Recording_Off"));
        QVERIFY(showsIcon(button("btnPauseGo"), "Button_Play_On"));
        QTRY_COMPARE_WITH_TIMEOUT(recorder()->state(), QMediaRecorder::StoppedState, 5000);

        QStringList added;
        QTRY_VERIFY_WITH_TIMEOUT((added = filesIn(m_folder), added.size() == before.size() + 1), 5000);
        for (const QString &f : before)
            added.removeAll(f);
        QCOMPARE(added.size(), 1);
        m_recording = QDir(m_folder).filePath(added[0]);
        QVERIFY2(m_recording.endsWith(QLatin1String(".wav")), qPrintable(m_recording));
        QTRY_VERIFY_WITH_TIMEOUT(WavAnalysis::of(m_recording).seconds > 1.0, 5000);
        QTest::qWait(300);

        m_take = WavAnalysis::of(m_recording);
        // After Stop the label shows the recorder's own duration: about the file's length.
        qInfo() << "label after stop" << label() << "file" << m_take.seconds;
        // (This backend reports 0 once stopped; the label keeps the last time it knew.)
        QVERIFY(labelMs(label()) >= 1500);
        QVERIFY(labelMs(label()) <= m_take.seconds * 1000 + 100);
        // The live waveform has one column per 40 ms of probed audio (25 px per second),
        // the pipeline's tail after Stop included.
        const int waveEnd = rightmostWaveX();
        qInfo() << "live waveform ends at x" << waveEnd;
        QVERIFY(waveEnd <= 40 + int(m_take.seconds * 25) + 3);
        QVERIFY(waveEnd >= 40 + int(m_take.seconds * 25 * 0.5));
        qInfo() << "recorded" << m_recording << m_take.seconds << "s" << m_take.sampleRate << "Hz"
                << m_take.channels << "ch, peak" << m_take.peak << "rms" << m_take.rms << "f"
                << m_take.frequency;
        QVERIFY(m_take.ok);
        QCOMPARE(m_take.channels, 2);
        QVERIFY2(m_take.seconds > 1.5 && m_take.seconds < 4.0, "about two seconds");
        // module-sine plays at half scale: a 440 Hz tone, not silence.
        QVERIFY2(m_take.peak > 0.35 && m_take.peak < 0.7, "tone level");
        QVERIFY2(qAbs(m_take.rms - m_take.peak / M_SQRT2) < 0.06, "a sine, not noise");
        QVERIFY2(qAbs(m_take.frequency - 440.0) < 15.0, "440 Hz");
        // The label counted the probed buffers while recording.
        QVERIFY(shown >= 1800 && shown < 5000);
    }

    void playback()
    {
        QVERIFY(!m_recording.isEmpty());
        // Stopping put the cursor back at 0 s: x 40, drawn one column step left, 2 px wide.
        QTRY_VERIFY(qAbs(cursorX() - 39) <= 1);
        QTest::qWait(300);
        QVERIFY2(qAbs(cursorX() - 39) <= 1, "late buffers do not move the cursor");
        button("btnPauseGo")->click();
        QVERIFY(showsIcon(button("btnPauseGo"), "Button_Pause_Off"));
        QVERIFY(playTimer()->isActive());
        QCOMPARE(playTimer()->interval(), 40);
        QTRY_VERIFY_WITH_TIMEOUT(cursorX() > 45, 5000);
        const int early = cursorX();

        button("btnPauseGo")->click(); // pause
        QVERIFY(showsIcon(button("btnPauseGo"), "Button_Play_On"));
        QVERIFY(!playTimer()->isActive());
        const int paused = cursorX();
        QTest::qWait(300);
        QCOMPARE(cursorX(), paused);

        button("btnPauseGo")->click(); // go on to the end
        QVERIFY(showsIcon(button("btnPauseGo"), "Button_Pause_Off"));
        QTRY_VERIFY_WITH_TIMEOUT(showsIcon(button("btnPauseGo"), "Button_Play_On"), 10000);
        QVERIFY(!playTimer()->isActive());
        const int last = cursorX();
        qInfo() << "cursor x" << early << paused << last;
        QVERIFY(last > early);
        // 25 px per second: the end is near 40 + 25 × length.
        QVERIFY(last >= 40 + int(25 * m_take.seconds) - 12);
    }

    void cutWithMouse()
    {
        const int callsBefore = encoderCalls().size();
        QWidget *c = canvas();
        // Select 0.60 s to 1.00 s (x 55 to 65) and press Delete, as a user does.
        QTest::mousePress(c, Qt::LeftButton, Qt::NoModifier, QPoint(55, 100));
        QMouseEvent move(QEvent::MouseMove, QPointF(65, 100), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(c, &move);
        QTest::mouseRelease(c, Qt::LeftButton, Qt::NoModifier, QPoint(65, 100));
        QTest::keyClick(c, Qt::Key_Delete);

        const QList<QStringList> calls = encoderCalls();
        QCOMPARE(calls.size(), callsBefore + 1);
        const QString cut = RecordWidget::cutCopyPath(m_recording, 1);
        QCOMPARE(calls.last(),
                 (QStringList{QStringLiteral("-i"), m_recording, QStringLiteral("-filter_complex"),
                              QStringLiteral("[0]atrim=duration=0.60[a];[0]atrim=start=1.00[b];"
                                             "[a][b]concat=n=2:v=0:a=1"),
                              cut}));
        const WavAnalysis a = WavAnalysis::of(cut);
        QVERIFY(a.ok);
        QVERIFY2(qAbs(a.seconds - (m_take.seconds - 0.40)) < 0.03, qPrintable(QString::number(a.seconds)));
        QVERIFY2(qAbs(a.frequency - 440.0) < 15.0, "still the tone");
        QVERIFY2(wavePixels() > 0, "the cut copy is drawn");
    }

    void cutAgainNamesFromRecording()
    {
        const QString first = RecordWidget::cutCopyPath(m_recording, 1);
        const QString second = RecordWidget::cutCopyPath(m_recording, 2);
        emit view()->s_cutAudio(0.25, 0.5);
        const QList<QStringList> calls = encoderCalls();
        QVERIFY(!calls.isEmpty());
        QCOMPARE(calls.last(),
                 (QStringList{QStringLiteral("-i"), first, QStringLiteral("-filter_complex"),
                              QStringLiteral("[0]atrim=duration=0.25[a];[0]atrim=start=0.50[b];"
                                             "[a][b]concat=n=2:v=0:a=1"),
                              second}));
        QCOMPARE(QFileInfo(second).path(), QFileInfo(m_recording).path());
        const WavAnalysis a = WavAnalysis::of(second);
        QVERIFY(qAbs(a.seconds - (WavAnalysis::of(first).seconds - 0.25)) < 0.03);
    }

    void undoTwice()
    {
        const QString first = RecordWidget::cutCopyPath(m_recording, 1);
        const QString second = RecordWidget::cutCopyPath(m_recording, 2);
        // Exporting as WAV copies the working file: that shows which file is current.
        save(m_exports.filePath(QStringLiteral("u0.wav")));
        QCOMPARE(contents(m_exports.filePath(QStringLiteral("u0.wav"))), contents(second));

        const QString before = label();
        QTest::keyClick(m_widget, Qt::Key_Z, Qt::ControlModifier);
        save(m_exports.filePath(QStringLiteral("u1.wav")));
        QCOMPARE(contents(m_exports.filePath(QStringLiteral("u1.wav"))), contents(first));
        QVERIFY2(wavePixels() > 0, "the earlier file is drawn again");

        QTest::keyClick(m_widget, Qt::Key_Z, Qt::ControlModifier);
        save(m_exports.filePath(QStringLiteral("u2.wav")));
        QCOMPARE(contents(m_exports.filePath(QStringLiteral("u2.wav"))), contents(m_recording));

        // Nothing left to undo: still the recording; the cut copies stay on disk.
        QTest::keyClick(m_widget, Qt::Key_Z, Qt::ControlModifier);
        save(m_exports.filePath(QStringLiteral("u3.wav")));
        QCOMPARE(contents(m_exports.filePath(QStringLiteral("u3.wav"))), contents(m_recording));
        QVERIFY(QFile::exists(first) && QFile::exists(second));
        QCOMPARE(label(), before);
    }

    void exportFormats_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QString>("codec");
        QTest::addColumn<QString>("probed");
        QTest::newRow("mp3") << "mp3" << "libmp3lame" << "mp3";
        QTest::newRow("aac") << "aac" << "aac" << "aac";
        QTest::newRow("wma") << "wma" << "wmav2" << "wmav2";
        QTest::newRow("flac") << "flac" << "flac" << "flac";
        QTest::newRow("ac3") << "ac3" << "ac3" << "ac3";
    }

    void exportFormats()
    {
        QFETCH(QString, suffix);
        QFETCH(QString, codec);
        QFETCH(QString, probed);
        const QString target = m_exports.filePath(QStringLiteral("song.") + suffix);
        const int asked = m_dialogCalls;
        save(target);
        QCOMPARE(m_dialogCalls, asked + 1);
        QCOMPARE(m_dialogCaption, QStringLiteral("保存文件"));
        QCOMPARE(m_dialogFilter, QStringLiteral("*.mp3 ;; *.wav ;; *.aac ;; *.wma ;; *.flac ;; *.ac3"));
        QVERIFY(!encoderCalls().isEmpty());
        QCOMPARE(encoderCalls().last(),
                 (QStringList{QStringLiteral("-y"), QStringLiteral("-i"), m_recording,
                              QStringLiteral("-acodec"), codec, target}));
        QCOMPARE(probeCodec(target), probed);
    }

    void exportWavCopiesWithoutEncoder()
    {
        const int calls = encoderCalls().size();
        const QString target = m_exports.filePath(QStringLiteral("song.wav"));
        save(target);
        QCOMPARE(encoderCalls().size(), calls);
        QCOMPARE(contents(target), contents(m_recording));
    }

    void exportUpperCaseSuffixMatchesNothing()
    {
        const int calls = encoderCalls().size();
        const QString target = m_exports.filePath(QStringLiteral("song.MP3"));
        save(target);
        QCOMPARE(encoderCalls().size(), calls);
        QVERIFY(!QFile::exists(target));
    }

    void cancelSave()
    {
        const int calls = encoderCalls().size();
        const QStringList files = filesIn(m_folder);
        const QStringList exported = filesIn(m_exports.path());
        const int asked = m_dialogCalls;
        save(QString());
        QCOMPARE(m_dialogCalls, asked + 1);
        QCOMPARE(encoderCalls().size(), calls);
        QCOMPARE(filesIn(m_folder), files);
        QCOMPARE(filesIn(m_exports.path()), exported);
    }

    void recordWhilePlayingAndTidyUp()
    {
        const QString first = RecordWidget::cutCopyPath(m_recording, 1);
        const QString second = RecordWidget::cutCopyPath(m_recording, 2);
        // A file of the user's beside the recordings whose name fits the working files' pattern.
        const QString decoy = RecordWidget::cutCopyPath(m_recording, 9);
        {
            QFile f(decoy);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("the user's own file");
        }

        button("btnPauseGo")->click();
        QTRY_VERIFY(playTimer()->isActive());
        QTest::qWait(200);
        // The card's input name finds no such input here: the default input records.
        m_widget->setInputDevice(QStringLiteral("麦克风 (Vorlet Stage 20)"));
        // Record pressed while playing: the player stops first, the icons are the recording's.
        const QString take2 = recordTake(1200);
        QVERIFY(!take2.isEmpty());
        QCOMPARE(recorder()->audioInput(), recorder()->defaultAudioInput());
        QVERIFY2(m_recordingIconsShown, "recording shows the stop and pause icons");
        m_widget->setInputDevice(QStringLiteral("Default"));
        QVERIFY(take2 != m_recording);
        QVERIFY(!playTimer()->isActive());
        const WavAnalysis a = WavAnalysis::of(take2);
        QVERIFY2(a.peak > 0.35 && qAbs(a.frequency - 440.0) < 15.0, "second take holds the tone");

        // Exported into the recording folder itself: the export is the user's, never tidied.
        const QString exported = QDir(m_folder).filePath(QStringLiteral("export.mp3"));
        save(exported);
        QTRY_VERIFY(QFile::exists(exported));
        QVERIFY2(!QFile::exists(m_recording), "the earlier take is tidied away");
        QVERIFY(!QFile::exists(first));
        QVERIFY(!QFile::exists(second));
        QVERIFY2(QFile::exists(decoy), "a file the window did not write stays");
        QCOMPARE(contents(decoy), QByteArray("the user's own file"));
        QVERIFY(QFile::exists(take2));
        QVERIFY(QFile::exists(exported));
        m_recording = take2;
    }

    void missingEncoder()
    {
        QTemporaryDir empty;
        qputenv("PATH", QFile::encodeName(empty.path()));
        const QString exported = m_exports.filePath(QStringLiteral("nothing.mp3"));
        QTest::ignoreMessage(QtCriticalMsg, QRegularExpression(QStringLiteral("ffmpeg could not be started")));
        save(exported);
        QVERIFY(!QFile::exists(exported));

        QTest::ignoreMessage(QtCriticalMsg, QRegularExpression(QStringLiteral("ffmpeg could not be started")));
        emit view()->s_cutAudio(0.2, 0.4);
        QVERIFY(!QFile::exists(RecordWidget::cutCopyPath(m_recording, 1)));
        // Undo returns to the recording; the panel goes on working.
        QTest::keyClick(m_widget, Qt::Key_Z, Qt::ControlModifier);
        qputenv("PATH", m_path);
        const QString wav = m_exports.filePath(QStringLiteral("after.wav"));
        save(wav);
        QCOMPARE(contents(wav), contents(m_recording));
    }
};

QTEST_MAIN(TestRecordAudio)
#include "tst_recordaudio.moc"
