// The recording panel's edits on real files, without a sound server: the installed ffmpeg, or a
// stand-in on the PATH that fails the ways ffmpeg 5.1 does, and a real full disk (a small tmpfs).
#include "record/RecordingEditor.h"
#include "record/WaveFile.h"
#include "support/FullDisk.h"

#include <QDir>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

#include <memory>

namespace {

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QByteArray kOlderSong("the user's older song");
const QFileDevice::Permissions kOlderMode = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;

// ffmpeg 5.1 on a full disk: a part of the output, the error on its standard error, status 0.
const char *const kDiskFills = "for last; do :; done; printf partial > \"$last\"\n"
                               "echo \"size=       0kB time=00:00:00.00 bitrate=N/A\" >&2\n"
                               "echo \"Error writing trailer of $last: No space left on device\" >&2\n"
                               "echo \"Error closing file $last: No space left on device\" >&2\n"
                               "exit 0";
// Writes a part of its output, tells how far it got, and waits.
const char *const kHangs = "for last; do :; done; echo partial > \"$last\"\n"
                           "printf 'size= 1kB time=00:00:01.00 bitrate=1\\r' >&2; exec sleep 60";

} // namespace

class TestRecordingEditor : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_source; // 3 s of a 440 Hz tone, 48 kHz stereo
    QByteArray m_path;

private slots:
    void initTestCase()
    {
        // The messages as an English user reads them.
        auto *english = new QTranslator(this);
        QVERIFY(english->load(QStringLiteral(":/i18n/i18n_en.qm")));
        QCoreApplication::installTranslator(english);
        m_path = qgetenv("PATH");
        m_source = m_dir.filePath(QStringLiteral("tone.wav"));
        QProcess ffmpeg;
        ffmpeg.start(QStringLiteral("ffmpeg"), {"-v", "error", "-f", "lavfi", "-i", "sine=frequency=440:duration=3",
                                                "-ac", "2", "-ar", "48000", m_source});
        QVERIFY2(ffmpeg.waitForFinished(60000) && ffmpeg.exitCode() == 0, "ffmpeg is not installed (scripts/install-deps)");
        QCOMPARE(WaveFile::lengthMs(m_source), qint64(3000));
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
        QCOMPARE(RecordingEditor::cutCopyPath(record, index), cut);
    }

    // Whatever way an export or a cut fails, the user's files stay byte for byte and the
    // message names the cause; an export that succeeds replaces its target in one step (with the
    // target's permissions), a cut that succeeds becomes the working file.
    void edits_data()
    {
        QTest::addColumn<QString>("edit");      // "cut", or the export target's file name
        QTest::addColumn<QString>("encoder");   // shell script run as ffmpeg; "real": the installed one; "none"
        QTest::addColumn<bool>("fullDisk");     // the folder is a full disk
        QTest::addColumn<QString>("interrupt"); // "cancel", "quit" (the editor goes) or none
        QTest::addColumn<QString>("message");   // how the last message starts; %1: the target
        QTest::addColumn<bool>("done");
        QTest::newRow("mp3, disk fills, status 0") << "song.mp3" << kDiskFills << false << "" << "Could not save %1: No space left on device" << false;
        QTest::newRow("mp3 on a full disk") << "song.mp3" << "real" << true << "" << "Could not save %1: No space left on device" << false;
        QTest::newRow("wav on a full disk") << "song.wav" << "real" << true << "" << "Could not save %1: No space left on device" << false;
        QTest::newRow("encoder fails") << "song.wma" << "echo 'Unknown encoder wmav2' >&2; exit 3" << false << ""
                                       << "Could not save %1: ffmpeg failed (exit status 3): Unknown encoder wmav2" << false;
        QTest::newRow("encoder missing") << "song.flac" << "none" << false << "" << "ffmpeg was not found. Install the package \"ffmpeg\"" << false;
        QTest::newRow("nothing written, status 0") << "song.aac" << "exit 0" << false << "" << "Could not save %1: ffmpeg wrote an incomplete file" << false;
        QTest::newRow("cancelled") << "song.mp3" << kHangs << false << "cancel" << "Cancelled; the unfinished file was deleted." << false;
        QTest::newRow("quit while encoding") << "song.ac3" << kHangs << false << "quit" << "" << false;
        QTest::newRow("mp3 replaces") << "song.mp3" << "real" << false << "" << "Saved %1" << true;
        QTest::newRow("wav replaces") << "song.wav" << "none" << false << "" << "Saved %1" << true;
        QTest::newRow("cut, disk fills, status 0") << "cut" << kDiskFills << false << ""
                                                   << "Could not cut: No space left on device. The recording is unchanged." << false;
        QTest::newRow("cut on a full disk") << "cut" << "real" << true << ""
                                            << "Could not cut: No space left on device. The recording is unchanged." << false;
        QTest::newRow("cut short, status 0") << "cut" << "for last; do :; done; head -c 96044 \"$2\" > \"$last\"" << false << ""
                                             << "Could not cut: ffmpeg wrote an incomplete file. The recording is unchanged." << false;
        QTest::newRow("cut") << "cut" << "real" << false << "" << "" << true;
        QTest::newRow("quit while cutting") << "cut" << kHangs << false << "quit" << "" << false;
    }

    void edits()
    {
        QFETCH(QString, edit);
        QFETCH(QString, encoder);
        QFETCH(bool, fullDisk);
        QFETCH(QString, interrupt);
        QFETCH(QString, message);
        QFETCH(bool, done);
        const auto disk = std::make_unique<FullDisk>(fullDisk ? 1024 * 1024 : 0);
        if (fullDisk && !disk->isMounted())
            QSKIP(qPrintable(disk->reason()));
        const QString folder = disk->path();
        const QString recording = folder + QStringLiteral("/clip_0001.wav");
        QVERIFY(QFile::copy(m_source, recording));
        const bool cut = edit == QLatin1String("cut");
        const QString target = cut ? RecordingEditor::cutCopyPath(recording, 1) : folder + QLatin1Char('/') + edit;
        if (!cut) {
            QFile older(target);
            QVERIFY(older.open(QIODevice::WriteOnly) && older.write(kOlderSong) == kOlderSong.size());
            QVERIFY(older.setPermissions(kOlderMode));
        }
        // Where the encoder writes: a cut its copy, an export a file beside the target.
        const QString written = cut ? target : RecordingEditor::partialPath(target);
        // A cut's copy finds room for a part of itself.
        QVERIFY(!fullDisk || disk->fill(cut ? 64 * 1024 : 0));

        QTemporaryDir tools;
        if (encoder != QLatin1String("real") && encoder != QLatin1String("none")) {
            QFile script(tools.filePath(QStringLiteral("ffmpeg")));
            QVERIFY(script.open(QIODevice::WriteOnly));
            script.write("#!/bin/sh\n" + encoder.toUtf8() + "\n");
            QVERIFY(script.setPermissions(script.permissions() | QFileDevice::ExeOwner));
        }
        qputenv("PATH", encoder == QLatin1String("real") ? m_path
                        : QFile::encodeName(tools.path()) + (encoder == QLatin1String("none") ? "" : ":/bin:/usr/bin"));
        auto editor = std::make_unique<RecordingEditor>();
        QSignalSpy messages(editor.get(), &RecordingEditor::message);
        QSignalSpy shown(editor.get(), &RecordingEditor::workingFileChanged);
        editor->setRecording(recording);
        if (cut)
            editor->cut(0.5, 1.0);
        else
            editor->exportTo(target);
        if (!interrupt.isEmpty()) {
            QTRY_VERIFY(QFile::exists(written));
            if (interrupt == QLatin1String("cancel"))
                editor->cancel();
            else
                editor.reset();
        }
        const bool idle = !editor || QTest::qWaitFor([&] { return !editor->isBusy(); }, 60000);
        qputenv("PATH", m_path);
        QVERIFY(idle);

        const QString last = messages.isEmpty() ? QString() : messages.last().at(0).toString();
        QVERIFY2(message.isEmpty() || last.startsWith(QString(message).replace("%1", target)), qPrintable(last));
        QStringList left = QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
        left.removeAll(QStringLiteral(".filler"));
        QCOMPARE(contents(recording), contents(m_source));
        if (cut) {
            QCOMPARE(left, done ? QStringList({"clip_0001.wav", "clip_0001_1.wav"}) : QStringList{"clip_0001.wav"});
            // The view, cleared for the cut, draws the working file again.
            QVERIFY(!editor || editor->workingFile() == (done ? target : recording));
            QVERIFY(!editor || shown.last() == (QList<QVariant>{done ? target : recording, qint64(done ? 500 : -1)}));
            QVERIFY(!done || qAbs(WaveFile::lengthMs(target) - 2500) <= 20);
        } else {
            QCOMPARE(left, QStringList({"clip_0001.wav", edit}));
            QCOMPARE(contents(target) == kOlderSong, !done);
            QCOMPARE(QFileInfo(target).permissions() & 0x7077, kOlderMode);
            if (done && edit.endsWith(QLatin1String(".wav")))
                QCOMPARE(contents(target), contents(recording));
        }
    }
};

QTEST_GUILESS_MAIN(TestRecordingEditor)
#include "tst_recordingeditor.moc"
