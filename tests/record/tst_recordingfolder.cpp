// Where a take comes from and where it goes: the input a card's name resolves to, the recording
// folder and the takes' names in it.
#include "record/AudioInputResolver.h"
#include "record/RecordingFolder.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QtTest>

using Inputs = QVector<AudioInputResolver::Input>;
Q_DECLARE_METATYPE(Inputs)

class TestRecordingFolder : public QObject
{
    Q_OBJECT

private slots:
    // The card's Windows-style input name becomes the backend input whose description (or
    // name) holds the product name in its last parentheses; otherwise the default input.
    void resolve_data()
    {
        const Inputs inputs{
            {"default:", "System default device"},
            {"alsa:hw:CARD=Stage20,DEV=0", "Vorlet Stage 20, USB Audio"},
            {"alsa:hw:CARD=Cantor10,DEV=0", "Vorlet Cantor 10, USB Audio"},
            {"alsa:hw:CARD=Mic,DEV=0", "Mic () USB"},
        };
        QTest::addColumn<QString>("device");
        QTest::addColumn<Inputs>("inputs");
        QTest::addColumn<QString>("expected");
        QTest::newRow("vx02") << "麦克风 (Vorlet Stage 20)" << inputs << "alsa:hw:CARD=Stage20,DEV=0";
        QTest::newRow("vx01") << "Microphone (Vorlet Cantor 10)" << inputs << "alsa:hw:CARD=Cantor10,DEV=0";
        QTest::newRow("bare product") << "Vorlet Cantor 10" << inputs << "alsa:hw:CARD=Cantor10,DEV=0";
        QTest::newRow("empty parentheses: whole name") << "Mic ()" << inputs << "alsa:hw:CARD=Mic,DEV=0";
        QTest::newRow("Default") << "Default" << inputs << "default:";
        QTest::newRow("empty") << "" << inputs << "default:";
        QTest::newRow("card absent") << "麦克风 (Vorlet Stage 20)" << Inputs{inputs[0], inputs[2]} << "default:";
        QTest::newRow("by name, any case")
            << "(vorlet stage 20)" << Inputs{{"x:Vorlet Stage 20", ""}} << "x:Vorlet Stage 20";
    }

    void resolve()
    {
        QFETCH(QString, device);
        QFETCH(Inputs, inputs);
        QFETCH(QString, expected);
        QCOMPARE(AudioInputResolver::resolve(device, inputs, QStringLiteral("default:")), expected);
    }

    void folderAndNames()
    {
        QStandardPaths::setTestModeEnabled(true);
        const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + "/recordings";
        QDir(folder).removeRecursively();
        QCOMPARE(RecordingFolder::path(), folder);
        QVERIFY(QFileInfo(folder).isDir());

        QCOMPARE(RecordingFolder::nextRecordingPath(folder), folder + "/clip_0001.wav");
        for (const char *name : {"clip_0001.wav", "clip_0002.wav", "clip_0004.wav"})
            QVERIFY(QFile(folder + '/' + name).open(QIODevice::WriteOnly));
        QCOMPARE(RecordingFolder::nextRecordingPath(folder), folder + "/clip_0003.wav");
        // After take 3, whose file is gone, the next free number above it.
        int number = 3;
        QCOMPARE(RecordingFolder::nextRecordingPath(folder, &number), folder + "/clip_0005.wav");
        QCOMPARE(number, 5);
    }

    // The recorder reports a file URL, or a URL without a scheme whose path is the path; no
    // character of a Linux path is dropped.
    void localPath_data()
    {
        QTest::addColumn<QUrl>("location");
        QTest::addColumn<QString>("path");
        QTest::newRow("file url") << QUrl::fromLocalFile("/r/clip 1.wav") << "/r/clip 1.wav";
        QTest::newRow("file url, encoded") << QUrl("file:///r/%E5%BD%95.wav") << "/r/录.wav";
        QTest::newRow("no scheme") << QUrl("/r/clip_0001.wav") << "/r/clip_0001.wav";
        QTest::newRow("no scheme, encoded") << QUrl("/r/%E5%BD%95%20x.wav") << "/r/录 x.wav";
        QTest::newRow("empty") << QUrl() << "";
    }

    void localPath()
    {
        QFETCH(QUrl, location);
        QFETCH(QString, path);
        QCOMPARE(RecordingFolder::localPath(location), path);
    }
};

QTEST_GUILESS_MAIN(TestRecordingFolder)
#include "tst_recordingfolder.moc"
