// Records, plays, cuts, undoes and exports through the window's own buttons, with the private
// sound server of scripts/test (a 440 Hz tone as the microphone) and the real ffmpeg.
#include "record/RecordingEditor.h"
#include "record/RecordingFolder.h"
#include "support/FullDisk.h"
#include "support/RecordTestSupport.h"
#include "support/WavAnalysis.h"

#include "record/WaveformWidget.h"

#include <QAudioRecorder>
#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTime>
#include <QTranslator>
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

QStringList filesIn(const QString &dir)
{
    return QDir(dir).entryList(QDir::Files, QDir::Name);
}

bool run(const QString &program, const QStringList &arguments)
{
    QProcess p;
    p.start(program, arguments);
    return p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

using Loud = QVector<bool>;
using Runs = QVector<QPoint>; // the first and the last column of each burst

// Runs of loud columns, joined across gaps shorter than the silence between two bursts.
Runs bursts(const Loud &loud)
{
    Runs runs;
    for (int i = 0; i < loud.size(); ++i) {
        if (loud[i] && !runs.isEmpty() && i - runs.last().y() <= 12)
            runs.last().setY(i);
        else if (loud[i])
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

// Both ends of each burst of a lie within two columns of those of b's.
bool sameRuns(const Runs &a, const Runs &b)
{
    bool same = a.size() == b.size();
    for (int i = 0; same && i < a.size(); ++i)
        same = qAbs(a[i].x() - b[i].x()) <= 2 && qAbs(a[i].y() - b[i].y()) <= 2;
    return same;
}

QByteArray text(const Runs &runs)
{
    QByteArray text;
    for (const QPoint &r : runs)
        text += QByteArray::number(r.x()) + '-' + QByteArray::number(r.y()) + ' ';
    return text;
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
    for (const QPoint &burst : bursts(file)) {
        int loud = 0, shown = 0;
        for (int i = burst.x(); i <= burst.y(); ++i) {
            loud += file[i];
            shown += file[i] && i < drawn.size() && drawn[i];
        }
        if (shown * 3 < loud * 2)
            return false;
    }
    return true;
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
    QTemporaryDir m_exports; // where the "user" saves
    QString m_folder;        // the window's recording folder
    QString m_recording;     // first take
    WavAnalysis m_take;
    QString m_nextTarget; // what the save dialog answers
    QString m_dialogCaption, m_dialogFilter;
    int m_copies = 0;

    QString m_firstRecording;

    QToolButton *button(const char *name) { return RecordTestSupport::button(*m_widget, name); }

    QAudioRecorder *recorder() { return m_widget->findChild<QAudioRecorder *>(); }
    QString status() { return m_widget->findChild<QLabel *>(QStringLiteral("lbStatus"))->text(); }
    bool busy() { return m_widget->findChild<QProgressBar *>(QStringLiteral("progressBar"))->isVisible(); }
    // The encoder runs in the background; the window takes its result from the event loop.
    bool waitIdle()
    {
        return QTest::qWaitFor([this] { return !busy(); }, 120000);
    }

    // The bursts as drawn: columns whose line in the first lane spans more than a quarter of
    // the lane.
    Runs drawnBursts() { return bursts(drawnLoud()); }

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
        QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("ffmpeg")).isEmpty(),
                 "ffmpeg is not installed (scripts/install-deps)");

        // The panel's texts as an English user reads them.
        auto *english = new QTranslator(this);
        QVERIFY(english->load(QStringLiteral(":/i18n/i18n_en.qm")));
        QCoreApplication::installTranslator(english);

        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(m_exports.isValid());

        m_folder = RecordingFolder::path();
        QVERIFY(!m_folder.isEmpty());
        for (const QString &f : filesIn(m_folder))
            QFile::remove(QDir(m_folder).filePath(f));

        m_widget = new RecordWidget;
        m_widget->setSaveDialog([this](const QString &caption, const QString &filter) {
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

    // Record pressed while playing stops the player first; while recording, Delete cuts nothing
    // and leaves the live waveform as it is.
    void recordWhilePlaying()
    {
        button("btnPauseGo")->click();
        QTRY_VERIFY(playTimer(*m_widget)->isActive());
        QTest::qWait(200);
        // The card's input name finds no such input here: the default input records.
        m_widget->setInputDevice(QStringLiteral("麦克风 (Vorlet Stage 20)"));
        const QStringList before = filesIn(m_folder);
        button("btnRecord")->click();
        QTRY_COMPARE_WITH_TIMEOUT(recorder()->state(), QMediaRecorder::RecordingState, 15000);
        QCOMPARE(recorder()->audioInput(), recorder()->defaultAudioInput());
        QTest::qWait(1200);
        QVERIFY2(showsIcons(*m_widget, "Button_Stop_On", "Button_Pause_Off"), "the recording's icons");
        QVERIFY(!playTimer(*m_widget)->isActive());
        QVERIFY(!button("btnSave")->isEnabled());
        selectAndDelete(45, 60);
        QVERIFY(!busy());
        QVERIFY(view(*m_widget)->canvas()->columnCount() > 20);
        button("btnRecord")->click();
        QTRY_COMPARE_WITH_TIMEOUT(recorder()->state(), QMediaRecorder::StoppedState, 15000);
        m_widget->setInputDevice(QStringLiteral("Default"));
        const QString take2 = newTake(before);
        QVERIFY(!take2.isEmpty() && take2 != m_recording);
        QVERIFY2(WavAnalysis::of(take2).isTone(), "second take holds the tone");
        m_recording = take2;
    }

    // A known sound is played into the recorded source: silence, a burst, silence, a second
    // burst. The bursts are drawn where they lie in the file, live and after Stop; cutting the
    // first burst as drawn (mouse and Delete) removes it from the file, and the second is drawn
    // where it now lies; Ctrl+Z returns to the recording, and with nothing left to undo changes
    // nothing.
    void burstsDrawnWhereTheyLie()
    {
        const QString pattern = m_exports.filePath(QStringLiteral("pattern.wav"));
        QVERIFY(run(QStringLiteral("ffmpeg"),
                    {"-v", "error", "-y", "-f", "lavfi", "-i",
                     "aevalsrc='0.5*sin(2*PI*1000*t)*(between(t,1,2)+between(t,3.5,4.5))':s=48000:d=5.5", "-ac", "2",
                     pattern}));
        QVERIFY(run(QStringLiteral("pactl"), {"set-default-source", "pattern.monitor"}));
        // As the tidy-up after an export would: the first take's number stays taken.
        QVERIFY(QFile::remove(m_firstRecording));
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

        const Runs inFile = bursts(fileLoud(take));
        QVERIFY2(inFile.size() == 2, text(inFile));
        QVERIFY2(drawnWhereInFile(live, fileLoud(take)), text(bursts(live) + inFile));
        QTRY_VERIFY2(sameRuns(drawnBursts(), inFile), text(drawnBursts()));
        QTRY_VERIFY2(qAbs(labelMs(timeText(*m_widget)) - WavAnalysis::of(take).seconds * 1000) <= 50,
                     qPrintable(timeText(*m_widget)));

        // Select the first burst as drawn, with some silence on either side, and cut it.
        const Runs shown = drawnBursts();
        const int from = 40 + shown[0].x() - 6, to = 40 + shown[0].y() + 6;
        selectAndDelete(from, to);
        QVERIFY(waitIdle());
        // The first cut of a new recording is number 1 again.
        const QString cut = RecordingEditor::cutCopyPath(take, 1);
        QVERIFY2(QFile::exists(cut), qPrintable(status()));
        const Runs afterCut = bursts(fileLoud(cut));
        QVERIFY2(afterCut.size() == 1 && qAbs(afterCut[0].x() - (inFile[1].x() - (to - from))) <= 2, text(afterCut));
        QVERIFY2(sameRuns(drawnBursts(), afterCut), text(drawnBursts()));
        QCOMPARE(current(), contents(cut));
        QCOMPARE(m_dialogCaption, QStringLiteral("Save file"));
        QCOMPARE(m_dialogFilter, QStringLiteral("*.mp3 ;; *.wav ;; *.aac ;; *.wma ;; *.flac ;; *.ac3"));

        const QString label = timeText(*m_widget);
        QTest::keyClick(m_widget, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY2(sameRuns(drawnBursts(), inFile), text(drawnBursts()));
        QTest::keyClick(m_widget, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(current(), contents(take));
        QVERIFY(QFile::exists(cut));
        QCOMPARE(timeText(*m_widget), label);
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
