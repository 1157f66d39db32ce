#include "record/RecordingFolder.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QtTest>

class TestRecordingFolder : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void folderIsCreatedUnderAppData()
    {
        const QString base = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
        QDir(base + QStringLiteral("/recordings")).removeRecursively();
        const QString folder = RecordingFolder::path();
        QCOMPARE(folder, base + QStringLiteral("/recordings"));
        QVERIFY(QFileInfo(folder).isDir());
    }

    void nextNameSkipsTakenOnes()
    {
        QTemporaryDir dir;
        QCOMPARE(RecordingFolder::nextRecordingPath(dir.path()), dir.filePath(QStringLiteral("clip_0001.wav")));
        for (const char *name : {"clip_0001.wav", "clip_0002.wav", "clip_0004.wav"}) {
            QFile f(dir.filePath(QLatin1String(name)));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        QCOMPARE(RecordingFolder::nextRecordingPath(dir.path()), dir.filePath(QStringLiteral("clip_0003.wav")));
    }

    void localPath_data()
    {
        QTest::addColumn<QUrl>("location");
        QTest::addColumn<QString>("path");
        // Whole path kept: no character is dropped from a Linux path.
        QTest::newRow("file url") << QUrl::fromLocalFile(QStringLiteral("/r/clip 1.wav"))
                                  << QStringLiteral("/r/clip 1.wav");
        QTest::newRow("no scheme") << QUrl(QStringLiteral("/r/clip_0001.wav"))
                                   << QStringLiteral("/r/clip_0001.wav");
        QTest::newRow("no scheme, encoded") << QUrl(QStringLiteral("/r/%E5%BD%95%20x.wav"))
                                            << QStringLiteral("/r/录 x.wav");
        QTest::newRow("file url, unicode") << QUrl(QStringLiteral("file:///r/%E5%BD%95.wav"))
                                           << QStringLiteral("/r/录.wav");
        QTest::newRow("empty") << QUrl() << QString();
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
