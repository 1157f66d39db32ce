#include "app/FontAlias.h"
#include "record/ExportFileDialog.h"
#include "record/RecordingEditor.h"
#include "record/RecordingFolder.h"
#include "record/WaveformWidget.h"
#include "support/RecordTestSupport.h"
#include "support/StandInEncoder.h"
#include "support/WavAnalysis.h"

#include <QAccessible>
#include <QApplication>
#include <QAudioBuffer>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtEndian>
#include <QtTest>

using namespace RecordTestSupport;

namespace {
QString status(const RecordWidget &w)
{
    return w.findChild<QLabel *>(QStringLiteral("lbStatus"))->text();
}
} // namespace

class TestRecordWidget : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        // The panel's family resolves as in the program, to another face than the default.
        QVERIFY(FontAlias::install());
    }

    // The recording tests tell the states apart by the pixels of the icons: they must differ. At
    // twice the design's scale the buttons and the waveform view are twice as large.
    void iconsAndScale()
    {
        const char *icons[] = {"Button_Recording_Off", "Button_Stop_On", "Button_Play_On", "Button_Pause_Off",
                               "Button_Save"};
        for (const char *a : icons)
            for (const char *b : icons)
                QVERIFY((a == b) == (QImage(iconPath(a)) == QImage(iconPath(b))));
        RecordWidget w;
        QVERIFY(showsIcon(button(w, "btnSave"), "Button_Save"));
        w.setScale(2.0);
        QCOMPARE(button(w, "btnRecord")->iconSize(), QSize(80, 80));
        QCOMPARE(view(w)->canvas()->leftMargin(), 80);
        QCOMPARE(view(w)->axisStrip()->width(), 80);
    }

    // What a screen reader finds in the panel, before and after the language changes: every
    // control that takes the focus has a name and a role; the buttons are named for what they
    // do now, and the status line is no stop of the Tab chain.
    void accessibleNames_data()
    {
        QTest::addColumn<QString>("translation");
        QTest::addColumn<QStringList>("names"); // record, play, save, cancel, progress, status; recording
        QTest::newRow("zh") << QString()
                            << QStringList{"录音", "播放", "另存为…", "取消", "进度", "状态", "停止", "暂停"};
        QTest::newRow("en") << ":/i18n/i18n_en.qm" << QStringList{"Record",   "Play",   "Save as…", "Cancel",
                                                                  "Progress", "Status", "Stop",     "Pause"};
    }

    void accessibleNames()
    {
        QFETCH(QString, translation);
        QFETCH(QStringList, names);
        RecordWidget w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTranslator translator;
        if (!translation.isEmpty())
            QVERIFY(translator.load(translation) && QCoreApplication::installTranslator(&translator));
        // Screenshots of the panel at three scales, for a person to look at.
        QVector<qreal> column{0.8, -0.6, 0.4, -0.3};
        for (int i = 0; i < 200; ++i)
            view(w)->onDrawWaveform(column);
        const QString shots = qEnvironmentVariable("VORLET_ARTEFACT_DIR", QDir::currentPath() + "/screenshots");
        QVERIFY(QDir().mkpath(shots));
        for (double scale : {1.0, 1.5, 2.0}) {
            w.setScale(scale);
            w.resize(qRound(802 * scale), qRound(150 * scale));
            QVERIFY(
                w.grab().save(QStringLiteral("%1/record-%2-%3.png").arg(shots, QTest::currentDataTag()).arg(scale)));
        }
        QCoreApplication::processEvents(); // the change of language reaches the widgets as posted events
        const auto name = [&w](const char *objectName) {
            QAccessibleInterface *a = QAccessible::queryAccessibleInterface(w.findChild<QWidget *>(objectName));
            return a ? a->text(QAccessible::Name) : QString();
        };
        const char *widgets[] = {"btnRecord", "btnPauseGo", "btnSave", "btnCancel", "progressBar", "lbStatus"};
        for (int i = 0; i < 6; ++i)
            QCOMPARE(name(widgets[i]), names[i]);
        QCOMPARE(QAccessible::queryAccessibleInterface(button(w, "btnSave"))->role(), QAccessible::Button);
        QCOMPARE(QAccessible::queryAccessibleInterface(w.findChild<QWidget *>("progressBar"))->role(),
                 QAccessible::ProgressBar);
        QCOMPARE(w.findChild<QWidget *>("lbStatus")->focusPolicy(), Qt::NoFocus);
        QVERIFY(QMetaObject::invokeMethod(&w, "setRecordState", Q_ARG(int, 1)));
        QCOMPARE(name("btnRecord"), names[6]);
        QCOMPARE(name("btnPauseGo"), names[7]);
        for (QWidget *control : w.findChildren<QWidget *>()) {
            if (control->focusPolicy() & Qt::TabFocus)
                QVERIFY2(!QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name).isEmpty(),
                         control->metaObject()->className());
        }
        QCoreApplication::removeTranslator(&translator);
        QTRY_COMPARE(name("btnRecord"), QStringLiteral("停止"));
    }

    // The ruler's and the axis's numbers are in the panel's font, the family of its other texts.
    void labelFont()
    {
        RecordWidget w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QFontInfo labels(view(w)->canvas()->labelFont());
        QCOMPARE(labels.family(), QFontInfo(w.findChild<QLabel *>("lbTime")->font()).family());
        QCOMPARE(labels.family(), QFontInfo(button(w, "btnCancel")->font()).family());
        QCOMPARE(labels.pixelSize(), 12);
    }

    // The buttons are drawn from their vectors at the window's device pixel ratio (2 under
    // QT_SCALE_FACTOR=2, as the test "tst_recordwidget_scaled" runs): what the screen shows
    // is the picture rendered at that many pixels, not a 40-pixel bitmap stretched.
    void sharpIcons()
    {
        RecordWidget w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const double ratio = qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble();
        QCOMPARE(w.devicePixelRatioF(), ratio);
        w.resize(802, 150);
        w.grab().save(qEnvironmentVariable("VORLET_ARTEFACT_DIR", QDir::currentPath() + "/screenshots")
                      + QStringLiteral("/record-ratio-%1.png").arg(ratio));
        for (const char *name : {"btnRecord", "btnPauseGo", "btnSave"}) {
            QToolButton *b = button(w, name);
            const QImage shown = b->grab().toImage().convertToFormat(QImage::Format_ARGB32);
            QCOMPARE(shown.size(), b->size() * ratio);
            QImage wanted(b->iconSize() * ratio, QImage::Format_ARGB32);
            const QSize room = b->size() - b->iconSize();
            const QPoint at = QPoint(room.width() / 2, room.height() / 2) * ratio;
            wanted.fill(shown.pixel(at));
            QPainter painter(&wanted);
            painter.setRenderHint(QPainter::Antialiasing);
            QSvgRenderer(static_cast<VectorButton *>(b)->picture()).render(&painter, QRectF(wanted.rect()));
            painter.end();
            int off = 0;
            for (int y = 0; y < wanted.height(); ++y) {
                for (int x = 0; x < wanted.width(); ++x) {
                    const QColor a(wanted.pixel(x, y)), c(shown.pixel(at + QPoint(x, y)));
                    off += qAbs(a.red() - c.red()) + qAbs(a.green() - c.green()) + qAbs(a.blue() - c.blue()) > 48;
                }
            }
            QVERIFY2(off * 100 < wanted.width() * wanted.height(),
                     qPrintable(QStringLiteral("%1: %2 pixels off").arg(name).arg(off)));
        }
        // Disabled while recording, the save button's picture is faded.
        const QImage enabled = button(w, "btnSave")->grab().toImage();
        QVERIFY(QMetaObject::invokeMethod(&w, "setRecordState", Q_ARG(int, 1)));
        QVERIFY(button(w, "btnSave")->grab().toImage() != enabled);
    }

    // Buffers are drawn where their start time places them, one column per 40 ms: buffers the
    // probe skipped leave a blank where their audio lies in the file, and the time shows the end
    // of the newest one. A buffer without a start time follows the last one; one that cannot be
    // measured still counts.
    void buffersPlacedByTime()
    {
        RecordWidget w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QAudioFormat format = pcmFormat(Sample::Signed, 16, 2);
        QByteArray loud(480 * 4, '\0');
        for (int i = 0; i < loud.size(); i += 2)
            qToLittleEndian<qint16>(i % 8 ? 16000 : -16000, loud.data() + i);
        // 0 .. 80 ms, then nothing until 400 .. 440 ms.
        for (qint64 us : {0, 10000, 20000, 30000, 40000, 50000, 60000, 70000, 400000, 410000, 420000, 430000})
            QVERIFY(
                QMetaObject::invokeMethod(&w, "processBuffer", Q_ARG(QAudioBuffer, QAudioBuffer(loud, format, us))));
        QCOMPARE(timeText(w), QStringLiteral("00:00:00:440"));
        WaveformWidget *canvas = view(w)->canvas();
        QCOMPARE(canvas->columnCount(), 11);
        canvas->setPlayPosition(2000); // the cursor out of the way
        const QImage image = canvas->grab().toImage();
        const QColor wave(QStringLiteral("#5E17CC"));
        for (int x = 40; x < 40 + 11; ++x)
            QVERIFY2((QColor(image.pixel(x, canvas->levelY(0, 0.3))) == wave) == (x < 42 || x == 50),
                     qPrintable(QString::number(x)));

        const QAudioFormat bigEndian = pcmFormat(Sample::Signed, 16, 2, true);
        for (const QAudioBuffer &b : {QAudioBuffer(QByteArray(96000 * 4, '\0'), format), QAudioBuffer(loud, bigEndian)})
            QVERIFY(QMetaObject::invokeMethod(&w, "processBuffer", Q_ARG(QAudioBuffer, b)));
        // Qt 6 has no PCM format it cannot measure: its invalid buffer holds no frames to count.
        QCOMPARE(timeText(w), bigEndian.isValid() ? QStringLiteral("00:00:02:450") : QStringLiteral("00:00:02:440"));
        QCOMPARE(canvas->columnCount(), 61);
        QCOMPARE(RecordWidget::progressText(90061001), QStringLiteral("01:01:01:001")); // the day dropped
    }

    // The save dialog proposes WAV among the six types; a name without a suffix becomes a WAV.
    void saveDialogProposesWav()
    {
        QTemporaryDir dir;
        QString selected;
        QTimer poll;
        int ticks = 0;
        connect(&poll, &QTimer::timeout, [&] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            auto *name = dialog ? dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")) : nullptr;
            if (!name)
                return;
            if (selected.isEmpty())
                selected = dialog->selectedNameFilter().trimmed();
            // The user types a name without a suffix and accepts. The dialog reads its folder in
            // the background: until it has, accepting may not close it, so the answer is given
            // again until it does.
            dialog->setDirectory(dir.path());
            name->setText(QStringLiteral("take"));
            QMetaObject::invokeMethod(dialog, ++ticks > 500 ? "reject" : "accept");
        });
        poll.start(20);
        const QString chosen = ExportFileDialog::ask(
            QStringLiteral("Save File"), QStringLiteral("*.mp3 ;; *.wav ;; *.aac ;; *.wma ;; *.flac ;; *.ac3"));
        QCOMPARE(selected, QStringLiteral("*.wav"));
        QCOMPARE(chosen, dir.filePath(QStringLiteral("take.wav")));
    }

    // With a recording, a range selected with the mouse and Delete cuts it and the view shows
    // the cut copy; Ctrl+Z returns to the recording; Save offers the six types. Once a second
    // take is exported, the first one's files are in the trash and Ctrl+Z says so; quitting
    // during an export ends the encoder and removes what it wrote.
    void editsOfARecording()
    {
        QTemporaryDir dir;
        const QString take = dir.filePath(QStringLiteral("clip_0001.wav"));
        QCOMPARE(QProcess::execute(
                     QStringLiteral("ffmpeg"),
                     {"-v", "error", "-f", "lavfi", "-i", "sine=duration=2", "-ac", "2", "-ar", "48000", take}),
                 0);
        RecordWidget w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QStringList asked;
        w.setSaveDialog([&](const QString &caption, const QString &filter) {
            asked << caption << filter;
            return QString();
        });
        auto *editor = w.findChild<RecordingEditor *>();
        editor->setRecording(take);
        selectAndDelete(w, 45, 60); // 0.2 s to 0.8 s
        QTRY_COMPARE_WITH_TIMEOUT(view(w)->canvas()->columnCount(), 35, 30000);
        QCOMPARE(editor->workingFile(), RecordingEditor::cutCopyPath(take, 1));
        QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(editor->workingFile(), take);
        QCOMPARE(view(w)->canvas()->columnCount(), 50);
        QTest::mouseClick(button(w, "btnSave"), Qt::LeftButton);
        QCOMPARE(asked, QStringList({"保存文件", "*.mp3 ;; *.wav ;; *.aac ;; *.wma ;; *.flac ;; *.ac3"}));

        selectAndDelete(w, 45, 60);
        QTRY_COMPARE_WITH_TIMEOUT(editor->workingFile(), RecordingEditor::cutCopyPath(take, 2), 30000);
        const QString take2 = dir.filePath(QStringLiteral("clip_0002.wav"));
        QVERIFY(QFile::copy(take, take2));
        editor->setRecording(take2);
        QString target = dir.filePath(QStringLiteral("song.mp3"));
        w.setSaveDialog([&](const QString &, const QString &) { return target; });
        QTest::mouseClick(button(w, "btnSave"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(status(w), "已保存 " + target + "。较早的录音已移到废纸篓：clip_0001.wav。", 30000);
        QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY2(status(w).startsWith("无法再撤销：更早的步骤所用的录音 clip_0001.wav 已移到废纸篓"),
                 qPrintable(status(w)));
        QCOMPARE(editor->workingFile(), take2);

        StandInEncoder tools;
        QVERIFY(tools.setBody(StandInEncoder::hangs()));
        target = dir.filePath(QStringLiteral("late.ac3"));
        QTest::mouseClick(button(w, "btnSave"), Qt::LeftButton);
        QTRY_VERIFY(tools.hangingRun(true));
        QVERIFY(QMetaObject::invokeMethod(qApp, "aboutToQuit"));
        QVERIFY(tools.hangingRun(false));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"clip_0002.wav", "song.mp3"}));
    }

    // A take the panel was killed while recording keeps the recorder's placeholder sizes: the
    // next start repairs it before anything reads it, and says so once.
    void repairedAtStart()
    {
        const QString take = RecordingFolder::path() + "/clip_0009.wav";
        QFile::remove(take);
        QCOMPARE(QProcess::execute("ffmpeg", {"-v", "error", "-f", "lavfi", "-i", "sine=duration=1", take}), 0);
        QFile file(take);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QByteArray bytes = file.readAll();
        bytes.replace(bytes.indexOf("data") + 4, 4, QByteArray::fromHex("0000ff7f"));
        QVERIFY(file.seek(0) && file.write(bytes) == bytes.size() && file.flush());
        for (const QString &said : {QStringLiteral("中断的录音 clip_0009.wav 已修复"), QString()}) {
            RecordWidget w;
            QCOMPARE(status(w), said);
        }
        QVERIFY(WavAnalysis::of(take).complete);
    }

    // Before a recording exists, play, save, undo, cut and Space change nothing; Record without
    // a recording folder records nothing, nowhere else, and says why.
    void nothingRecordedYet()
    {
        const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + "/recordings";
        QDir(folder).removeRecursively();
        QVERIFY(QDir().mkpath(QFileInfo(folder).path()));
        QFile blocker(folder);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        RecordWidget w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        int asked = 0;
        w.setSaveDialog([&](const QString &, const QString &) {
            ++asked;
            return QString();
        });
        button(w, "btnPauseGo")->click();
        button(w, "btnSave")->click();
        QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(QMetaObject::invokeMethod(&w, "cutAudio", Q_ARG(double, 1.0), Q_ARG(double, 2.0)));
        QTest::keyClick(&w, Qt::Key_Space);
        button(w, "btnRecord")->click();
        QCOMPARE(w.findChild<QLabel *>("lbStatus")->text(), "无法创建录音文件夹 " + folder + ": File exists");
        QVERIFY(blocker.remove());
        QCOMPARE(asked, 0);
        QVERIFY(showsIcons(w, "Button_Recording_Off", "Button_Play_On"));
        QVERIFY(!playTimer(w)->isActive());
        QCOMPARE(timeText(w), QStringLiteral("00:00:00:000"));
        QVERIFY(button(w, "btnSave")->isEnabled());
        QVERIFY(!QFileInfo::exists(folder));
    }
};

QTEST_MAIN(TestRecordWidget)
#include "tst_recordwidget.moc"
