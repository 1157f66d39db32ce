// Records, plays, cuts, undoes and exports through the window's own buttons, with the private
// sound server of scripts/test (a 440 Hz tone as the microphone) and the real ffmpeg behind a
// wrapper that logs its arguments.
#include "RecordTestSupport.h"
#include "WavAnalysis.h"
#include "record/RecordingEditor.h"
#include "record/RecordingFolder.h"
#include "support/FullDisk.h"

#include "record/WaveformWidget.h"

#include <QAudioRecorder>
#include <QLabel>
#include <QProgressBar>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTranslator>
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

bool run(const QString &program, const QStringList &arguments)
{
    QProcess p;
    p.start(program, arguments);
    return p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

using Runs = QVector<QPair<int, int>>;
using Loud = QVector<bool>;

// Runs of loud columns, [first, last], joined across gaps shorter than the silence between
// two bursts.
Runs loudRuns(const Loud &loud)
{
    Runs runs;
    for (int i = 0; i < loud.size(); ++i) {
        if (!loud[i])
            continue;
        if (!runs.isEmpty() && i - runs.last().second <= 12)
            runs.last().second = i;
        else
            runs.append({i, i});
    }
    return runs;
}

// The loud columns of a file, by columns of 1920 frames.
Loud fileLoud(const QString &path)
{
    Loud loud;
    for (double peak : WavAnalysis::of(path).columnPeaks)
        loud.append(peak > 0.25);
    return loud;
}

Runs fileBursts(const QString &path)
{
    return loudRuns(fileLoud(path));
}

// Each run of a lies within `columns` of the matching run of b, at both ends.
bool sameRuns(const Runs &a, const Runs &b, int columns = 2)
{
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size(); ++i) {
        if (qAbs(a[i].first - b[i].first) > columns || qAbs(a[i].second - b[i].second) > columns)
            return false;
    }
    return true;
}

// What was drawn while recording agrees with the file: every column drawn loud lies within
// two columns of a loud column of the file (nothing is shifted), and most loud columns of
// every burst of the file are drawn loud. Buffers the probe skipped leave blank columns, which is
// why a burst need not be drawn whole.
bool drawnWhereInFile(const Loud &drawn, const Loud &file)
{
    for (int i = 0; i < drawn.size(); ++i) {
        bool near = false;
        for (int j = qMax(0, i - 2); j <= i + 2 && j < file.size(); ++j)
            near = near || file[j];
        if (drawn[i] && !near)
            return false;
    }
    for (const auto &burst : loudRuns(file)) {
        int loud = 0, shown = 0;
        for (int i = burst.first; i <= burst.second; ++i) {
            loud += file[i];
            shown += file[i] && i < drawn.size() && drawn[i];
        }
        if (shown * 3 < loud * 2)
            return false;
    }
    return true;
}

QString runsText(const Runs &runs)
{
    QStringList parts;
    for (const auto &r : runs)
        parts.append(QStringLiteral("%1-%2").arg(r.first).arg(r.second));
    return parts.join(QLatin1Char(' '));
}

// The header of a finished WAV file tells its true size.
bool completeWav(const QString &path)
{
    const QByteArray all = contents(path);
    const int data = all.indexOf("data");
    return all.startsWith("RIFF") && data > 0 && all.size() > data + 8
           && qFromLittleEndian<quint32>(all.constData() + 4) == quint32(all.size() - 8)
           && qFromLittleEndian<quint32>(all.constData() + data + 4) == quint32(all.size() - data - 8);
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
    QString m_realFfmpeg;
    QString m_firstRecording;

    QAudioRecorder *recorder() { return m_widget->findChild<QAudioRecorder *>(); }
    QString status() { return m_widget->findChild<QLabel *>(QStringLiteral("lbStatus"))->text(); }
    bool busy() { return m_widget->findChild<QProgressBar *>(QStringLiteral("progressBar"))->isVisible(); }
    // The encoder runs in the background; the window takes its result from the event loop.
    bool waitIdle() { return QTest::qWaitFor([this] { return !busy(); }, 120000); }

    // The bursts as drawn: columns whose line in the first lane spans more than a quarter of
    // the lane.
    Runs drawnBursts() { return loudRuns(drawnLoud()); }

    Loud drawnLoud()
    {
        WaveformWidget *c = view(*m_widget)->canvas();
        const QImage image = c->grab().toImage();
        QVector<bool> loud;
        for (int i = 0; i < c->columnCount() && 40 + i < image.width(); ++i) {
            int ink = 0;
            for (int y = 20; y < 20 + c->laneHeight(); ++y)
                ink += QColor(image.pixel(40 + i, y)) == kWaveColour;
            loud.append(ink > c->laneHeight() / 4);
        }
        return loud;
    }

    void selectAndDelete(int from, int to)
    {
        QTest::mousePress(canvas(), Qt::LeftButton, Qt::NoModifier, QPoint(from, 100));
        QMouseEvent move(QEvent::MouseMove, QPointF(to, 100), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(canvas(), &move);
        QTest::mouseRelease(canvas(), Qt::LeftButton, Qt::NoModifier, QPoint(to, 100));
        QTest::keyClick(canvas(), Qt::Key_Delete);
    }
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
        QVERIFY(waitIdle());
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
        m_realFfmpeg = realFfmpeg;

        // The panel's texts as an English user reads them.
        auto *english = new QTranslator(this);
        QVERIFY(english->load(QStringLiteral(":/i18n/i18n_en.qm")));
        QCoreApplication::installTranslator(english);

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

    void cleanupTestCase()
    {
        delete m_widget;
        run(QStringLiteral("pactl"), {"set-default-source", "mic.monitor"});
    }

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
        // Measured on the rms, not the peak: one click as the stream starts (seen under load)
        // raises the peak of a perfect sine.
        QVERIFY2(qAbs(m_take.rms - 0.5 / M_SQRT2) < 0.06, "a half-scale sine, not noise");
        m_firstRecording = m_recording;
        // Recorded at the rate the view's scale is built on.
        QCOMPARE(qRound(m_take.frames / m_take.seconds), 48000);
        // Once the file is complete the view shows it, and the label its length.
        QVERIFY(shown >= 1800);
        QTRY_VERIFY2(qAbs(labelMs(timeText(*m_widget)) - m_take.seconds * 1000) <= 50, qPrintable(timeText(*m_widget)));
        QVERIFY2(showsFile(m_recording), qPrintable(QString::number(drawn().waveRight)));
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
        const QString first = RecordingEditor::cutCopyPath(m_recording, 1);
        const QString second = RecordingEditor::cutCopyPath(m_recording, 2);
        const int calls = encoderCalls().size();
        // Select 0.60 s to 1.00 s (x 55 to 65) with the mouse and press Delete, as a user does;
        // a second cut asked for meanwhile waits for the first and reads its copy, but is named
        // from the recording, beside it.
        selectAndDelete(55, 65);
        QVERIFY(busy());
        emit view(*m_widget)->s_cutAudio(0.25, 0.5);
        QVERIFY(waitIdle());
        QCOMPARE(encoderCalls().mid(calls), (QList<QStringList>{cutCall(m_recording, "0.60", "1.00", first),
                                                                cutCall(first, "0.25", "0.50", second)}));
        const WavAnalysis a = WavAnalysis::of(first);
        QVERIFY2(qAbs(a.seconds - (m_take.seconds - 0.40)) < 0.03, qPrintable(QString::number(a.seconds)));
        QVERIFY2(a.isTone(), "still the tone");
        QVERIFY(qAbs(WavAnalysis::of(second).seconds - (a.seconds - 0.25)) < 0.03);
        QVERIFY2(showsFile(second), "the last cut copy is drawn");
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
        QTest::newRow("no suffix") << "song" << "" << "none";
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
        QCOMPARE(m_dialogCaption, QStringLiteral("Save file"));
        QCOMPARE(m_dialogFilter, QStringLiteral("*.mp3 ;; *.wav ;; *.aac ;; *.wma ;; *.flac ;; *.ac3"));
        QCOMPARE(filesIn(m_folder), files); // only the current recording's files are there
        // The encoder writes beside the target, which the complete file then replaces.
        const QList<QStringList> expected{{"-y", "-i", m_recording, "-acodec", codec, RecordingEditor::partialPath(target)}};
        QCOMPARE(encoderCalls().mid(calls), codec.isEmpty() ? QList<QStringList>() : expected);
        // The user is told what went where, or which types are known.
        if (!name.isEmpty())
            QVERIFY2(status().contains(outcome == QLatin1String("none") ? QStringLiteral(".mp3, .aac, .wma, .flac, .ac3, .wav")
                                                                          : QStringLiteral("Saved ") + target),
                     qPrintable(status()));
        if (outcome == QLatin1String("none"))
            QCOMPARE(filesIn(m_exports.path()), exported);
        else if (outcome == QLatin1String("copy"))
            QCOMPARE(contents(target), contents(m_recording));
        else
            QCOMPARE(probeCodec(target), outcome);
    }

    void recordWhilePlayingAndTidyUp()
    {
        const QString first = RecordingEditor::cutCopyPath(m_recording, 1);
        const QString second = RecordingEditor::cutCopyPath(m_recording, 2);
        // A file of the user's beside the recordings whose name fits the working files' pattern.
        const QString decoy = RecordingEditor::cutCopyPath(m_recording, 9);
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

    // A known sound is played into the recorded source: silence, a burst, silence, a second
    // burst. The bursts are drawn where they lie in the file, live and after Stop; cutting the
    // first burst as drawn removes it from the file, and the second is drawn where it now lies.
    void burstsDrawnWhereTheyLie()
    {
        const QString pattern = m_tools.filePath(QStringLiteral("pattern.wav"));
        QVERIFY(run(m_realFfmpeg, {"-v", "error", "-y", "-f", "lavfi", "-i",
                                   "aevalsrc='0.5*sin(2*PI*1000*t)*(between(t,1,2)+between(t,3.5,4.5))':s=48000:d=5.5",
                                   "-ac", "2", pattern}));
        QVERIFY(run(QStringLiteral("pactl"), {"set-default-source", "pattern.monitor"}));
        const QStringList before = filesIn(m_folder);
        button("btnRecord")->click();
        QTRY_COMPARE_WITH_TIMEOUT(recorder()->state(), QMediaRecorder::RecordingState, 15000);
        QTRY_VERIFY_WITH_TIMEOUT(labelMs(timeText(*m_widget)) > 300, 15000);
        QProcess player;
        player.start(QStringLiteral("paplay"), {"-d", "pattern", pattern});
        QVERIFY(QTest::qWaitFor([&] { return player.state() == QProcess::NotRunning; }, 30000));
        QCOMPARE(player.exitCode(), 0);
        QTest::qWait(600);
        const Loud live = drawnLoud();
        button("btnRecord")->click();
        QTRY_COMPARE_WITH_TIMEOUT(recorder()->state(), QMediaRecorder::StoppedState, 15000);
        QVERIFY(run(QStringLiteral("pactl"), {"set-default-source", "mic.monitor"}));
        const QString take = newTake(before);
        QVERIFY(!take.isEmpty());
        // A take's number is never given twice, though the first take's file is gone.
        QVERIFY2(QFileInfo(take).fileName() != QFileInfo(m_firstRecording).fileName(), qPrintable(take));
        m_recording = take;

        const Runs inFile = fileBursts(take);
        qInfo() << "bursts in the file" << runsText(inFile) << "drawn live" << runsText(loudRuns(live));
        QCOMPARE(inFile.size(), 2);
        QVERIFY2(drawnWhereInFile(live, fileLoud(take)), qPrintable(runsText(loudRuns(live))));
        QTRY_VERIFY2(sameRuns(drawnBursts(), inFile), qPrintable(runsText(drawnBursts())));
        QTRY_VERIFY2(qAbs(labelMs(timeText(*m_widget)) - WavAnalysis::of(take).seconds * 1000) <= 50,
                     qPrintable(timeText(*m_widget)));

        // Select the first burst as drawn, with some silence on either side, and cut it.
        const Runs shown = drawnBursts();
        const int from = 40 + shown[0].first - 6, to = 40 + shown[0].second + 6;
        selectAndDelete(from, to);
        QVERIFY(waitIdle());
        // The first cut of a new recording is number 1 again.
        const QString cut = RecordingEditor::cutCopyPath(take, 1);
        QVERIFY2(QFile::exists(cut), qPrintable(status()));
        const Runs afterCut = fileBursts(cut);
        qInfo() << "after the cut" << runsText(afterCut) << "drawn" << runsText(drawnBursts());
        QCOMPARE(afterCut.size(), 1);
        QVERIFY(qAbs(afterCut[0].first - (inFile[1].first - (to - from))) <= 2);
        QVERIFY2(sameRuns(drawnBursts(), afterCut), qPrintable(runsText(drawnBursts())));
    }

    // The disk fills while recording: the recording stops with the message that names the
    // cause, the buttons are those of a stopped recording, and what was recorded is kept whole,
    // drawn, played and exported.
    void recordingOnFullDisk()
    {
        FullDisk disk(256 * 1024, m_folder);
        if (!disk.isMounted())
            QSKIP(qPrintable(disk.reason()));
        button("btnRecord")->click();
        const QString failed = QStringLiteral("Recording failed: No space left on the resource.");
        QTRY_COMPARE_WITH_TIMEOUT(status(), failed, 20000);
        QTRY_VERIFY(showsIcons(*m_widget, "Button_Recording_Off", "Button_Play_On"));
        QCOMPARE(recorder()->state(), QMediaRecorder::StoppedState);
        QVERIFY(button("btnSave")->isEnabled());
        QCOMPARE(filesIn(m_folder).size(), 1);
        const QString take = QDir(m_folder).filePath(filesIn(m_folder).first());
        QVERIFY2(completeWav(take), "the header tells what the file holds");
        QVERIFY(WavAnalysis::of(take).isTone() && WavAnalysis::of(take).seconds > 1.0);
        QTRY_VERIFY2(showsFile(take), qPrintable(QString::number(drawn().waveRight)));
        QCOMPARE(status(), failed);

        button("btnPauseGo")->click();
        QVERIFY(showsIcons(*m_widget, "Button_Recording_Off", "Button_Pause_Off"));
        QTRY_VERIFY_WITH_TIMEOUT(showsIcons(*m_widget, "Button_Recording_Off", "Button_Play_On"), 15000);
        const QString rescued = m_exports.filePath(QStringLiteral("rescued.wav"));
        save(rescued);
        QCOMPARE(contents(rescued), contents(take));
    }

    // Quitting while recording stops the recorder and leaves a complete WAV file (after a
    // failed take too: the window records again).
    void quitWhileRecording()
    {
        const QStringList before = filesIn(m_folder);
        button("btnRecord")->click();
        QTRY_COMPARE_WITH_TIMEOUT(recorder()->state(), QMediaRecorder::RecordingState, 15000);
        QTRY_VERIFY_WITH_TIMEOUT(labelMs(timeText(*m_widget)) > 800, 15000);
        delete m_widget;
        m_widget = nullptr;
        QStringList added = filesIn(m_folder);
        for (const QString &f : before)
            added.removeAll(f);
        QCOMPARE(added.size(), 1);
        const QString take = QDir(m_folder).filePath(added[0]);
        QVERIFY2(completeWav(take), "the header gives the file's true size");
        QVERIFY(WavAnalysis::of(take).isTone());
        QVERIFY(WavAnalysis::of(take).seconds > 0.7);
    }
};

QTEST_MAIN(TestRecordAudio)
#include "tst_recordaudio.moc"
