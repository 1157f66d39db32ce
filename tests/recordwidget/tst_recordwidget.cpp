#include "RecordTestSupport.h"
#include "record/WaveformWidget.h"

#include <QApplication>
#include <QDir>
#include <QAudioBuffer>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtEndian>
#include <QStandardPaths>
#include <QtTest>

using namespace RecordTestSupport;

class TestRecordWidget : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // The state checks compare pixels, so every icon must look different.
    void icons()
    {
        const char *icons[] = {"Button_Recording_Off", "Button_Stop_On", "Button_Play_On",
                               "Button_Pause_Off", "Button_Save"};
        for (const char *a : icons)
            for (const char *b : icons)
                QVERIFY((a == b) == (QImage(iconPath(a)) == QImage(iconPath(b))));
        QVERIFY(showsIcon(button(RecordWidget(), "btnSave"), "Button_Save"));
    }

    void states_data()
    {
        QTest::addColumn<int>("before"); // -1: none, as built
        QTest::addColumn<int>("state");
        QTest::addColumn<bool>("saveEnabled");
        QTest::addColumn<QString>("recordIcon");
        QTest::addColumn<QString>("pauseGoIcon");
        QTest::addColumn<bool>("timerActive");
        QTest::addColumn<bool>("cutAllowed");
        QTest::newRow("as built") << -1 << -1 << true << "Button_Recording_Off" << "Button_Play_On" << false << true;
        QTest::newRow("0") << 1 << 0 << true << "Button_Recording_Off" << "Button_Play_On" << false << false;
        QTest::newRow("1") << 0 << 1 << false << "Button_Stop_On" << "Button_Pause_Off" << false << false;
        QTest::newRow("2") << 1 << 2 << true << "Button_Recording_Off" << "Button_Play_On" << false << true;
        // 3 to 6 leave the save button and the record icon as they were (here: recording).
        QTest::newRow("3") << 1 << 3 << false << "Button_Stop_On" << "Button_Play_On" << false << false;
        QTest::newRow("4") << 1 << 4 << false << "Button_Stop_On" << "Button_Pause_Off" << false << false;
        QTest::newRow("5") << 1 << 5 << false << "Button_Stop_On" << "Button_Pause_Off" << true << false;
        QTest::newRow("6") << 5 << 6 << true << "Button_Recording_Off" << "Button_Play_On" << false << true;
    }

    void states()
    {
        QFETCH(int, before);
        QFETCH(int, state);
        QFETCH(bool, saveEnabled);
        QFETCH(QString, recordIcon);
        QFETCH(QString, pauseGoIcon);
        QFETCH(bool, timerActive);
        QFETCH(bool, cutAllowed);
        RecordWidget w;
        for (int s : {before, state})
            QVERIFY(s < 0 || QMetaObject::invokeMethod(&w, "setRecordState", Q_ARG(int, s)));
        QCOMPARE(button(w, "btnSave")->isEnabled(), saveEnabled);
        QVERIFY(showsIcons(w, qPrintable(recordIcon), qPrintable(pauseGoIcon)));
        QCOMPARE(playTimer(w)->isActive(), timerActive);
        QVERIFY(!timerActive || playTimer(w)->interval() == 40);
        QCOMPARE(view(w)->canvas()->clipEnabled(), cutAllowed);
    }

    void progress_data()
    {
        QTest::addColumn<qlonglong>("ms");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0LL << "00:00:00:000";
        QTest::newRow("83456") << 83456LL << "00:01:23:456";
        QTest::newRow("day dropped") << 90061001LL << "01:01:01:001";
        QTest::newRow("last ms of a day") << 86399999LL << "23:59:59:999";
        QTest::newRow("padding") << 61007LL << "00:01:01:007";
    }

    void progress()
    {
        QFETCH(qlonglong, ms);
        QFETCH(QString, text);
        RecordWidget w;
        QVERIFY(QMetaObject::invokeMethod(&w, "updateProgress", Q_ARG(qlonglong, 1)));
        QVERIFY(QMetaObject::invokeMethod(&w, "updateProgress", Q_ARG(qlonglong, ms)));
        QCOMPARE(timeText(w), text);
    }

    // Every probed buffer advances the time by its length and draws one column per 40 ms.
    void processBufferAdvancesTimeAndDraws()
    {
        RecordWidget w;
        const struct { int frames; bool bigEndian; const char *text; int columns; } buffers[] = {
            {1920, false, "00:00:00:040", 1},
            {1920, false, "00:00:00:080", 2},
            {96000, false, "00:00:02:080", 52}, // longer than a second: counted in full
            {1920, true, "00:00:02:120", 53},   // unmeasurable: an empty column, time still counts
        };
        for (const auto &b : buffers) {
            const QAudioFormat format = pcmFormat(QAudioFormat::SignedInt, 16, 2,
                                                  b.bigEndian ? QAudioFormat::BigEndian : QAudioFormat::LittleEndian);
            const QAudioBuffer buffer(QByteArray(b.frames * 4, '\0'), format);
            QVERIFY(QMetaObject::invokeMethod(&w, "processBuffer", Q_ARG(QAudioBuffer, buffer)));
            QCOMPARE(timeText(w), QString::fromLatin1(b.text));
            QCOMPARE(view(w)->canvas()->columnCount(), b.columns);
        }
    }

    // Buffers are drawn where their start time places them: buffers the probe skipped leave a
    // blank where their audio lies in the file, and the time shows the end of the newest one.
    void buffersPlacedByTime()
    {
        RecordWidget w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QAudioFormat format = pcmFormat(QAudioFormat::SignedInt, 16, 2);
        QByteArray loud(480 * 4, '\0');
        for (int i = 0; i < loud.size(); i += 2)
            qToLittleEndian<qint16>(i % 8 ? 16000 : -16000, loud.data() + i);
        // 0 .. 80 ms, then nothing until 400 .. 440 ms.
        for (qint64 us : {0, 10000, 20000, 30000, 40000, 50000, 60000, 70000, 400000, 410000, 420000, 430000})
            QVERIFY(QMetaObject::invokeMethod(&w, "processBuffer", Q_ARG(QAudioBuffer, QAudioBuffer(loud, format, us))));
        QCOMPARE(timeText(w), QStringLiteral("00:00:00:440"));
        WaveformWidget *canvas = view(w)->canvas();
        QCOMPARE(canvas->columnCount(), 11);
        QCOMPARE(canvas->drawX(), 40 + 11);
        canvas->setPlayPosition(2000); // the cursor out of the way
        const QImage image = canvas->grab().toImage();
        const int y = canvas->levelY(0, 0.3);
        const QColor wave(QStringLiteral("#5E17CC"));
        for (int x = 40; x < 40 + 11; ++x)
            QVERIFY2((QColor(image.pixel(x, y)) == wave) == (x < 42 || x == 50), qPrintable(QString::number(x)));
    }

    // The save dialog proposes WAV among the six types; a name without a suffix becomes a WAV.
    void saveDialogProposesWav()
    {
        QTemporaryDir dir;
        QStringList filters;
        QString selected, suffix;
        QTimer poll;
        int ticks = 0;
        connect(&poll, &QTimer::timeout, [&] {
            for (QWidget *w : QApplication::topLevelWidgets()) {
                auto *dialog = qobject_cast<QFileDialog *>(w);
                if (!dialog || !dialog->isVisible())
                    continue;
                if (filters.isEmpty()) {
                    filters = dialog->nameFilters();
                    selected = dialog->selectedNameFilter().trimmed();
                    suffix = dialog->defaultSuffix();
                }
                // The dialog reads its folder in the background: until it has, accepting may
                // not close it, so the answer is given again until it does.
                if (++ticks > 500) {
                    dialog->reject();
                    return;
                }
                // The user types a name without a suffix into the name field and accepts.
                dialog->setDirectory(dir.path());
                auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
                if (name) {
                    name->setText(QStringLiteral("take"));
                    QMetaObject::invokeMethod(dialog, "accept");
                }
            }
        });
        poll.start(20);
        const QString chosen = RecordWidget::askSaveFile(QStringLiteral("Save File"),
                                                         QStringLiteral("*.mp3 ;; *.wav ;; *.aac ;; *.wma ;; *.flac ;; *.ac3"));
        QCOMPARE(filters.size(), 6);
        QCOMPARE(selected, QStringLiteral("*.wav"));
        QCOMPARE(suffix, QStringLiteral("wav"));
        QCOMPARE(chosen, dir.filePath(QStringLiteral("take.wav")));
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
