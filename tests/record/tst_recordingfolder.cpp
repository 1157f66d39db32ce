#include "record/RecordingFolder.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QtTest>

class TestRecordingFolder : public QObject
{
    Q_OBJECT

private slots:
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
