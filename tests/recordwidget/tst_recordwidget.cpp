#include "RecordTestSupport.h"
#include "record/RecordWidget.h"
#include "record/WaveformFrame.h"

#include <QAudioBuffer>
#include <QBoxLayout>
#include <QGridLayout>
#include <QLabel>
#include <QSpacerItem>
#include <QStandardPaths>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

using RecordTestSupport::showsIcon;

class TestRecordWidget : public QObject
{
    Q_OBJECT

    QToolButton *button(RecordWidget &w, const char *name)
    {
        auto *b = w.findChild<QToolButton *>(QLatin1String(name));
        Q_ASSERT(b);
        return b;
    }
    QLabel *timeLabel(RecordWidget &w) { return w.findChild<QLabel *>(QStringLiteral("lbTime")); }
    QTimer *playTimer(RecordWidget &w) { return w.findChild<QTimer *>(QStringLiteral("playTimer")); }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void form()
    {
        RecordWidget w;
        QCOMPARE(w.objectName(), QStringLiteral("RecordWidget"));
        QCOMPARE(w.size(), QSize(961, 363));
        QCOMPARE(w.windowTitle(), QStringLiteral("RecordWidget"));
        QVERIFY(w.styleSheet().isEmpty());

        auto *outer = qobject_cast<QHBoxLayout *>(w.layout());
        QVERIFY(outer);
        QCOMPARE(outer->objectName(), QStringLiteral("horizontalLayout_2"));
        QCOMPARE(outer->contentsMargins(), QMargins(11, 11, 11, 11));
        QCOMPARE(outer->spacing(), 6);
        QCOMPARE(outer->count(), 2);
        QCOMPARE(outer->stretch(0), 675);
        QCOMPARE(outer->stretch(1), 125);

        auto *frame = w.findChild<WaveformFrame *>(QStringLiteral("waveforFrame"));
        QVERIFY(frame);
        QCOMPARE(outer->itemAt(0)->widget(), frame);
        QCOMPARE(frame->styleSheet(), QStringLiteral("QScrollArea{\nbackground-color: #1A1B1C;\n"
                                                     "  border: 1px solid black;\n}\n"));

        auto *right = qobject_cast<QVBoxLayout *>(outer->itemAt(1)->layout());
        QVERIFY(right);
        QCOMPARE(right->objectName(), QStringLiteral("verticalLayout_2"));
        QCOMPARE(right->spacing(), 6);
        QCOMPARE(right->stretch(0), 0);
        QCOMPARE(right->stretch(1), 9);
        QCOMPARE(right->contentsMargins().top(), 6);

        QLabel *label = timeLabel(w);
        QCOMPARE(right->itemAt(0)->widget(), label);
        QCOMPARE(label->text(), QStringLiteral("00:00:00:000"));
        QCOMPARE(label->layoutDirection(), Qt::LeftToRight);
        QCOMPARE(label->alignment(), Qt::AlignLeading | Qt::AlignLeft | Qt::AlignVCenter);
        QCOMPARE(label->styleSheet(), QStringLiteral("font: 75 14pt \"Microsoft YaHei\";\n"
                                                     "color: rgb(132, 132, 132);"));

        auto *buttons = qobject_cast<QHBoxLayout *>(right->itemAt(1)->layout());
        QVERIFY(buttons);
        QCOMPARE(buttons->objectName(), QStringLiteral("horizontalLayout"));
        QCOMPARE(buttons->count(), 3);
        for (int i : {0, 2}) {
            QSpacerItem *spacer = buttons->itemAt(i)->spacerItem();
            QVERIFY(spacer);
            QCOMPARE(spacer->sizeHint(), QSize(40, 20));
            QCOMPARE(spacer->sizePolicy().horizontalPolicy(), QSizePolicy::Expanding);
            QCOMPARE(spacer->sizePolicy().verticalPolicy(), QSizePolicy::Minimum);
        }
        auto *grid = qobject_cast<QGridLayout *>(buttons->itemAt(1)->layout());
        QVERIFY(grid);
        QCOMPARE(grid->objectName(), QStringLiteral("gridLayout"));
        QCOMPARE(grid->itemAtPosition(0, 0)->widget(), button(w, "btnRecord"));
        QCOMPARE(grid->itemAtPosition(0, 1)->widget(), button(w, "btnPauseGo"));
        QCOMPARE(grid->itemAtPosition(1, 0)->widget(), button(w, "btnSave"));

        for (const char *name : {"btnRecord", "btnPauseGo", "btnSave"}) {
            QToolButton *b = button(w, name);
            QCOMPARE(b->iconSize(), QSize(40, 40));
            QVERIFY(b->autoRaise());
            QVERIFY(b->text().isEmpty());
        }
        QVERIFY(showsIcon(button(w, "btnSave"), "Button_Save"));
    }

    void iconsDiffer()
    {
        // The state checks below compare pixels, so every icon must look different.
        const char *names[] = {"Button_Recording_Off", "Button_Stop_On", "Button_Play_On",
                               "Button_Pause_Off", "Button_Save"};
        for (const char *a : names) {
            const QImage ia(RecordTestSupport::iconPath(a));
            QVERIFY2(!ia.isNull(), a);
            for (const char *b : names) {
                if (a != b)
                    QVERIFY(ia != QImage(RecordTestSupport::iconPath(b)));
            }
        }
    }

    void initialState()
    {
        RecordWidget w;
        QVERIFY(button(w, "btnSave")->isEnabled());
        QVERIFY(showsIcon(button(w, "btnRecord"), "Button_Recording_Off"));
        QVERIFY(showsIcon(button(w, "btnPauseGo"), "Button_Play_On"));
        QVERIFY(!playTimer(w)->isActive());
        QCOMPARE(timeLabel(w)->text(), QStringLiteral("00:00:00:000"));
    }

    void states_data()
    {
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("state");
        QTest::addColumn<bool>("saveEnabled");
        QTest::addColumn<QString>("recordIcon");
        QTest::addColumn<QString>("pauseGoIcon");
        QTest::addColumn<bool>("timerActive");
        QTest::newRow("0") << 1 << 0 << true << "Button_Recording_Off" << "Button_Play_On" << false;
        QTest::newRow("1") << 0 << 1 << false << "Button_Stop_On" << "Button_Pause_Off" << false;
        QTest::newRow("2") << 5 << 2 << true << "Button_Recording_Off" << "Button_Play_On" << false;
        // 3 to 6 leave the save button and the record icon as they were (here: recording).
        QTest::newRow("3") << 1 << 3 << false << "Button_Stop_On" << "Button_Play_On" << false;
        QTest::newRow("4") << 1 << 4 << false << "Button_Stop_On" << "Button_Pause_Off" << false;
        QTest::newRow("5") << 1 << 5 << false << "Button_Stop_On" << "Button_Pause_Off" << true;
        QTest::newRow("6") << 5 << 6 << true << "Button_Recording_Off" << "Button_Play_On" << false;
    }

    void states()
    {
        QFETCH(int, before);
        QFETCH(int, state);
        QFETCH(bool, saveEnabled);
        QFETCH(QString, recordIcon);
        QFETCH(QString, pauseGoIcon);
        QFETCH(bool, timerActive);
        RecordWidget w;
        QVERIFY(QMetaObject::invokeMethod(&w, "setRecordState", Q_ARG(int, before)));
        QVERIFY(QMetaObject::invokeMethod(&w, "setRecordState", Q_ARG(int, state)));
        QCOMPARE(button(w, "btnSave")->isEnabled(), saveEnabled);
        QVERIFY(showsIcon(button(w, "btnRecord"), qPrintable(recordIcon)));
        QVERIFY(showsIcon(button(w, "btnPauseGo"), qPrintable(pauseGoIcon)));
        QCOMPARE(playTimer(w)->isActive(), timerActive);
        if (timerActive)
            QCOMPARE(playTimer(w)->interval(), 40);
    }

    void progress_data()
    {
        QTest::addColumn<qlonglong>("ms");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0LL << "00:00:00:000";
        QTest::newRow("83456") << 83456LL << "00:01:23:456";
        QTest::newRow("day dropped") << 90061001LL << "01:01:01:001";
        QTest::newRow("last ms of a day") << 86399999LL << "23:59:59:999";
        QTest::newRow("one hour") << 3600000LL << "01:00:00:000";
        QTest::newRow("padding") << 61007LL << "00:01:01:007";
    }

    void progress()
    {
        QFETCH(qlonglong, ms);
        QFETCH(QString, text);
        QCOMPARE(RecordWidget::progressText(ms), text);
        RecordWidget w;
        timeLabel(w)->setText(QStringLiteral("-"));
        QVERIFY(QMetaObject::invokeMethod(&w, "updateProgress", Q_ARG(qlonglong, ms)));
        QCOMPARE(timeLabel(w)->text(), text);
    }

    void processBufferAdvancesTime()
    {
        RecordWidget w;
        QAudioFormat format;
        format.setSampleRate(48000);
        format.setChannelCount(2);
        format.setSampleSize(16);
        format.setSampleType(QAudioFormat::SignedInt);
        format.setByteOrder(QAudioFormat::LittleEndian);
        format.setCodec(QStringLiteral("audio/pcm"));
        const QAudioBuffer buffer(QByteArray(1920 * 4, '\0'), format);
        QVERIFY(QMetaObject::invokeMethod(&w, "processBuffer", Q_ARG(QAudioBuffer, buffer)));
        QCOMPARE(timeLabel(w)->text(), QStringLiteral("00:00:00:040"));
        QVERIFY(QMetaObject::invokeMethod(&w, "processBuffer", Q_ARG(QAudioBuffer, buffer)));
        QCOMPARE(timeLabel(w)->text(), QStringLiteral("00:00:00:080"));
        // A buffer longer than a second still counts in full.
        const QAudioBuffer longBuffer(QByteArray(96000 * 4, '\0'), format);
        QVERIFY(QMetaObject::invokeMethod(&w, "processBuffer", Q_ARG(QAudioBuffer, longBuffer)));
        QCOMPARE(timeLabel(w)->text(), QStringLiteral("00:00:02:080"));
        // A buffer that cannot be measured still counts its time.
        QAudioFormat big = format;
        big.setByteOrder(QAudioFormat::BigEndian);
        const QAudioBuffer bigBuffer(QByteArray(1920 * 4, '\0'), big);
        QVERIFY(QMetaObject::invokeMethod(&w, "processBuffer", Q_ARG(QAudioBuffer, bigBuffer)));
        QCOMPARE(timeLabel(w)->text(), QStringLiteral("00:00:02:120"));
    }

    void cutCopyNames_data()
    {
        QTest::addColumn<QString>("record");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("cut");
        QTest::newRow("first") << "/r/take.wav" << 1 << "/r/take_1.wav";
        QTest::newRow("tenth") << "/r/take.wav" << 10 << "/r/take_10.wav";
        QTest::newRow("dots") << "/r/my.take.wav" << 2 << "/r/my_2.wav";
        QTest::newRow("spaces") << "/r s/clip 1.wav" << 3 << "/r s/clip 1_3.wav";
    }

    void cutCopyNames()
    {
        QFETCH(QString, record);
        QFETCH(int, index);
        QFETCH(QString, cut);
        QCOMPARE(RecordWidget::cutCopyPath(record, index), cut);
    }

    void playBeforeRecordingDoesNothing()
    {
        RecordWidget w;
        button(w, "btnPauseGo")->click();
        QVERIFY(showsIcon(button(w, "btnPauseGo"), "Button_Play_On"));
        QVERIFY(showsIcon(button(w, "btnRecord"), "Button_Recording_Off"));
        QVERIFY(!playTimer(w)->isActive());
    }

    void saveBeforeRecordingAsksNothing()
    {
        RecordWidget w;
        int asked = 0;
        w.setSaveDialog([&](const QString &, const QString &) {
            ++asked;
            return QString();
        });
        button(w, "btnSave")->click();
        QCOMPARE(asked, 0);
    }

    void undoAndCutWithoutRecordingChangeNothing()
    {
        RecordWidget w;
        QVERIFY(QMetaObject::invokeMethod(&w, "undo"));
        QVERIFY(QMetaObject::invokeMethod(&w, "cutAudio", Q_ARG(double, 1.0), Q_ARG(double, 2.0)));
        QCOMPARE(timeLabel(w)->text(), QStringLiteral("00:00:00:000"));
        int asked = 0;
        w.setSaveDialog([&](const QString &, const QString &) {
            ++asked;
            return QString();
        });
        button(w, "btnSave")->click();
        QCOMPARE(asked, 0); // still nothing to export
    }

    void spaceKeepsStateAndIcons()
    {
        RecordWidget w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTest::keyClick(&w, Qt::Key_Space);
        QVERIFY(showsIcon(button(w, "btnPauseGo"), "Button_Play_On"));
        QVERIFY(!playTimer(w)->isActive());
    }
};

QTEST_MAIN(TestRecordWidget)
#include "tst_recordwidget.moc"
