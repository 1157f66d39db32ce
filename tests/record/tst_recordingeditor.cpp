// The recording panel's edits on real files: the installed ffmpeg behind a wrapper that logs its
// runs (and can be held back), stand-ins that fail the ways ffmpeg 5.1 does, a real full disk;
// and what the panel reads from the encoder's messages.
#include "record/EncoderProcess.h"
#include "record/PartialFileJournal.h"
#include "record/RecordingEditor.h"
#include "record/RecordingRecovery.h"
#include "record/WaveFile.h"
#include "support/FullDisk.h"
#include "support/StandInEncoder.h"

#include <QDir>
#include <QSignalSpy>
#include <QStandardPaths>
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

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

const QByteArray kOlderSong("the user's older song");
const QFileDevice::Permissions kOlderMode = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;

// What runs as ffmpeg, after "log" (its arguments into calls.log) is defined and $last set to
// the file it writes.
const QMap<QString, QString> kEncoders{
    // The installed one, held back while the file "hold" exists.
    {"real", "log; while [ -e \"$tools/hold\" ]; do sleep 0.02; done; exec \"$ffmpeg\" -v error \"$@\""},
    // Writes a part of its output, tells how far it got, and waits.
    {"hangs", "printf partial > \"$last\"; log; printf 'size= 1kB time=00:00:01.00 bitrate=1\\r' >&2; exec sleep 60"},
    {"fails", "log; echo 'Unknown encoder wmav2' >&2; exit 3"},
    {"silent", "log"},
    {"short", "log; head -c 96044 \"$2\" > \"$last\""}, // half a second of the input
    {"kbytes", "log; head -c 1000 \"$3\" > \"$last\""}, // its header claims the whole length
};

// " | trash: " and the names (without ".wav") of the files from folder in the trash, as the
// file manager finds them: the file, and beside it a .trashinfo that leads back to folder.
QString trashed(const QString &folder)
{
    const QString trash = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/Trash/";
    QStringList names;
    for (const QString &info : QDir(trash + "info").entryList({"*.trashinfo"}, QDir::Files)) {
        const QString from = QUrl::fromPercentEncoding(contents(trash + "info/" + info).split('\n').value(1).mid(5));
        if (from.startsWith(folder) && QFile::exists(trash + "files/" + info.chopped(10)))
            names.append(from.mid(folder.size()).remove(".wav"));
    }
    names.sort();
    return names.isEmpty() ? QString() : " | trash: " + names.join(' ');
}

struct Edits
{
    QString steps, runs, shown, files, messages;
};

} // namespace

Q_DECLARE_METATYPE(Edits)

class TestRecordingEditor : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_source; // 3 s of a 440 Hz tone, 48 kHz stereo
    QString m_ffmpeg;

    // The runs logged in tools, without the folder (given with its slash) and ".wav": a cut as
    // "cut FROM START END TO" ("-" for START: from the beginning), an export as "export FROM
    // CODEC TO", anything else as its arguments.
    static QStringList runs(const StandInEncoder &tools, const QString &folder)
    {
        QStringList runs =
            QString::fromUtf8(contents(tools.filePath("calls.log"))).remove(folder).remove(".wav").split('\n');
        runs.removeAll(QString());
        const char *const cut =
            "^-i (\\S+) -filter_complex \\[0\\]atrim=duration=(\\S+)\\[a\\];\\[0\\]atrim=start=(\\S+)\\[b\\];"
            "\\[a\\]\\[b\\]concat=n=2:v=0:a=1 (\\S+)$";
        return runs.replaceInStrings(QRegularExpression(cut), "cut \\1 \\2 \\3 \\4")
            .replaceInStrings(QRegularExpression("^-i (\\S+) -filter_complex \\[0\\]atrim=start=(\\S+) (\\S+)$"),
                              "cut \\1 - \\2 \\3")
            .replaceInStrings(QRegularExpression("^-y -i (\\S+) -acodec (\\S+) (\\S+)$"), "export \\1 \\2 \\3");
    }

    // The files in folder without ".wav"; "*" marks one that holds the user's older song, "="
    // an export (any file but the recordings r*) with the bytes of the working file, "<" that.
    static QString filesIn(const QString &folder, const QString &working)
    {
        QStringList files = QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
        files.removeAll(QStringLiteral(".filler"));
        for (QString &file : files) {
            const QByteArray bytes = contents(folder + file);
            const bool isWorking = folder + file == working;
            file += bytes == kOlderSong ? "*" : !file.startsWith('r') && bytes == contents(working) ? "=" : "";
            file += isWorking ? "<" : "";
        }
        return files.join(QLatin1Char(' ')).remove(QStringLiteral(".wav"));
    }

private slots:
    void initTestCase()
    {
        // The messages as an English user reads them.
        auto *english = new QTranslator(this);
        QVERIFY(english->load(QStringLiteral(":/i18n/i18n_en.qm")));
        QCoreApplication::installTranslator(english);
        m_ffmpeg = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
        m_source = m_dir.filePath(QStringLiteral("tone.wav"));
        QVERIFY2(QProcess::execute(
                     QStringLiteral("ffmpeg"),
                     {"-v", "error", "-f", "lavfi", "-i", "sine=duration=3", "-ac", "2", "-ar", "48000", m_source})
                     == 0,
                 "ffmpeg is not installed (scripts/install-deps)");
        QCOMPARE(WaveFile::lengthMs(m_source), qint64(3000));
    }

    // Each line the encoder prints, read for how far it got (-1: not said) and for why it could
    // not write (empty: no such cause).
    void readLine_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<qint64>("ms");
        QTest::addColumn<QString>("cause");
        QTest::newRow("ffmpeg 5.1") << "size=     256kB time=00:01:02.50 bitrate=  33.5kbits/s speed=60x"
                                    << qint64(62500) << QString();
        QTest::newRow("hours") << "time=01:02:03.04" << qint64(3723040) << QString();
        QTest::newRow("one decimal") << "time=00:00:01.5" << qint64(1500) << QString();
        QTest::newRow("six decimals") << "time=00:00:01.123456" << qint64(1123) << QString();
        QTest::newRow("no fraction") << "time=00:00:07" << qint64(7000) << QString();
        QTest::newRow("before the start") << "time=-00:00:00.02" << qint64(-1) << QString();
        QTest::newRow("trailer, disk full")
            << "Error writing trailer of /m/a.mp3: No space left on device" << qint64(-1) << "No space left on device";
        QTest::newRow("read-only") << "/m/a.mp3: Read-only file system" << qint64(-1) << "Read-only file system";
        QTest::newRow("frame write") << "av_interleaved_write_frame(): Broken pipe" << qint64(-1)
                                     << "av_interleaved_write_frame(): Broken pipe";
        QTest::newRow("what follows") << "Conversion failed!" << qint64(-1) << "";
    }

    void readLine()
    {
        QFETCH(QString, line);
        QFETCH(qint64, ms);
        QFETCH(QString, cause);
        QCOMPARE(EncoderProcess::progressMs(line), ms);
        QCOMPARE(EncoderProcess::writeErrorOf(line), cause);
    }

    // Progress lines end with a carriage return; each gives the share of the
    // audio written.
    void progressOfARun()
    {
        StandInEncoder tools;
        QVERIFY(tools.setBody("printf 'size=1kB time=00:00:01.00 x\\rsize=2kB time=00:00:03.00 x\\r' >&2\n"
                              "printf 'time=00:00:05.00\\nlast words' >&2"));
        qRegisterMetaType<EncoderProcess::Result>(); // for the spy to record the result
        EncoderProcess encoder;
        QSignalSpy progress(&encoder, &EncoderProcess::progress);
        QSignalSpy finished(&encoder, &EncoderProcess::finished);
        QVERIFY(encoder.start({}, tools.filePath(QStringLiteral("out.mp3")), 4000));
        QVERIFY(!encoder.start({}, QString(), 1)); // one run at a time
        QVERIFY(finished.wait(10000));
        QCOMPARE(QList<QList<QVariant>>(progress), (QList<QList<QVariant>>{{25}, {75}, {100}}));
        QCOMPARE(finished.first().first().value<EncoderProcess::Result>(), EncoderProcess::Succeeded);
        QCOMPARE(encoder.lastLine(), QStringLiteral("last words"));
    }

    // Edits asked for one after the other: what the encoder was asked to do, in order, what the
    // view was given to draw (file@cursor ms), the files left in the recording folder ("<" marks
    // the working file at the end) and, " | " apart, messages given in that order, the last one
    // last (%1: the folder). The recording r1 is set first. Steps: cut START END, undo, export
    // NAME, record NAME (a new recording), older NAME (a file of the user's), encoder NAME (what
    // runs as ffmpeg; "none": no ffmpeg), hold/release (the encoder waits), cancel, quit (the
    // editor goes), full SPARE (the folder's disk is full but for SPARE bytes), delete NAME.
    void edits_data()
    {
        QTest::addColumn<Edits>("e");
        // A second cut waits for the first and reads its copy, but is named from the recording; an
        // undo waits for the cut before it.
        QTest::newRow("two cuts, two undos") << Edits{"cut 0.5 1; hold; cut 2 3.5; undo; release; undo",
                                                      "cut r1 0.50 1.00 r1_1; cut r1_1 2.00 3.50 r1_2",
                                                      "r1_1@500 r1_2@2000 r1_1@-1 r1@-1", "r1< r1_1 r1_2", ""};
        // Nothing selected: the view, cleared for the cut, draws the working file again.
        // A step whose file someone deleted is refused, and the one before it is next.
        QTest::newRow("a step's file deleted") << Edits{
            "cut 0.5 1; cut 1 1.5; delete r1_1.wav; undo; undo", "cut r1 0.50 1.00 r1_1; cut r1_1 1.00 1.50 r1_2",
            "r1_1@500 r1_2@1000 r1@-1", "r1< r1_2", "Cannot undo: %1r1_1.wav no longer exists."};
        QTest::newRow("nothing to undo, empty selections")
            << Edits{"undo; cut 1 1; cut 2 1; cut -1 -0.5", "", "r1@-1 r1@-1 r1@-1", "r1<", ""};
        // Nothing before the range: only what follows it is kept (a duration of 0 is no limit).
        QTest::newRow("from before the start, a name taken by the user")
            << Edits{"older r1_1.wav; cut -0.4 0.5", "cut r1 - 0.50 r1_2", "r1_2@0", "r1 r1_1* r1_2<", ""};
        QTest::newRow("cancel drops the queue")
            << Edits{"hold; cut 0.5 1; cut 1 2; export a.mp3; undo; cancel; release", "cut r1 0.50 1.00 r1_1", "r1@-1",
                     "r1<", "Cancelled"};
        // A new recording numbers its cuts from 1, named from the recording up to its first dot;
        // the history still leads to the earlier one.
        QTest::newRow("new recording") << Edits{"cut 0.5 1; record r2.x.wav; cut 1 1.5; undo; undo",
                                                "cut r1 0.50 1.00 r1_1; cut r2.x 1.00 1.50 r2_1",
                                                "r1_1@500 r2_1@1000 r2.x@-1 r1@-1", "r1< r1_1 r2.x r2_1", ""};
        // A new recording drops the edits still queued for the one before.
        QTest::newRow("new recording while cutting") << Edits{"hold; cut 0.5 1; cut 1 2; record r2.wav; release",
                                                              "cut r1 0.50 1.00 r1_1", "r2@-1", "r1 r2<", ""};
        // After an export the working files of earlier recordings go to the trash, and undo no
        // longer leads to them; the export (which replaces its target in one step) and the
        // user's files stay, whatever their names.
        QTest::newRow("tidy-up") << Edits{
            "cut 0.5 1; record r2.wav; older r1_7.wav; older a.mp3; export a.mp3; undo",
            "cut r1 0.50 1.00 r1_1; export r2 libmp3lame .a.part-1.mp3", "r1_1@500", "a.mp3 r1_7* r2< | trash: r1 r1_1",
            "Saved %1a.mp3. Earlier takes moved to the trash: r1.wav. | Cannot undo further: the earlier steps used "
            "the takes r1.wav, which were moved to the trash"};
        // A cancelled export deletes what it wrote and tidies nothing: undo still finds the
        // earlier recording.
        QTest::newRow("cancelled export")
            << Edits{"cut 0.5 1; record r2.wav; encoder hangs; older a.mp3; export a.mp3; cancel; undo",
                     "cut r1 0.50 1.00 r1_1; export r2 libmp3lame .a.part-1.mp3", "r1_1@500 r1@-1",
                     "a.mp3* r1< r1_1 r2", "Cancelled; the unfinished file was deleted."};
        // The suffix names the codec, case-sensitively; WAV is copied, unknown types are refused.
        QTest::newRow("exports") << Edits{
            "cut 0.5 1; export a.mp3; export a.aac; export a.wma; export a.flac; export a.ac3; export a.wav; "
            "export a.MP3; export a",
            "cut r1 0.50 1.00 r1_1; export r1_1 libmp3lame .a.part-1.mp3; export r1_1 aac .a.part-1.aac; "
            "export r1_1 wmav2 .a.part-1.wma; export r1_1 flac .a.part-1.flac; export r1_1 ac3 .a.part-1.ac3",
            "r1_1@500", "a.aac a.ac3 a.flac a.mp3 a= a.wma r1 r1_1<",
            "\"a\" has no file type. Save as one of: .mp3, .aac, .wma, .flac, .ac3, .wav."};
        // Whatever way an edit fails, the user's files stay byte for byte, with their permissions,
        // and the message names the cause. WAV needs no encoder.
        QTest::newRow("encoder fails, writes nothing, is missing")
            << Edits{"encoder fails; older a.wma; export a.wma; encoder silent; older a.aac; export a.aac; "
                     "encoder kbytes; older a.ac3; export a.ac3; encoder none; older a.flac; export a.flac; "
                     "older a.wav; export a.wav",
                     "export r1 wmav2 .a.part-1.wma; export r1 aac .a.part-1.aac; export r1 ac3 .a.part-1.ac3", "",
                     "a.aac* a.ac3* a.flac* a= a.wma* r1<",
                     "Could not save %1a.wma: ffmpeg failed (exit status 3): Unknown encoder wmav2 | "
                     "Could not save %1a.aac: ffmpeg wrote an incomplete file | "
                     "Could not save %1a.ac3: ffmpeg wrote 0.01 s of audio instead of 3.00 s | "
                     "ffmpeg was not found. Install the package \"ffmpeg\" | Saved %1a.wav"};
        QTest::newRow("full disk, cut short") << Edits{
            "encoder short; cut 0.5 1; encoder real; older a.mp3; older a.wav; full 65536; cut 0.5 1; full 0; "
            "export a.mp3; full 200000; export a.wav",
            "cut r1 0.50 1.00 r1_1; cut r1 0.50 1.00 r1_2; export r1 libmp3lame .a.part-1.mp3", "r1@-1 r1@-1",
            "a.mp3* a* r1<",
            "Could not cut: ffmpeg wrote an incomplete file. The recording is unchanged. | "
            "Could not cut: No space left on device. The recording is unchanged. | "
            "Could not save %1a.mp3: No space left on device | Could not save %1a.wav: No space left on device"};
        QTest::newRow("quit while encoding") << Edits{"encoder hangs; older a.ac3; export a.ac3; quit",
                                                      "export r1 ac3 .a.part-1.ac3", "", "a.ac3* r1", ""};
    }

    // A run killed during an export: its encoder ends with it, and the next start removes the
    // partial file it listed and keeps the user's older file. The run is this program's
    // "exportAndWait".
    void runThatDies()
    {
        StandInEncoder tools;
        QVERIFY(tools.setBody(StandInEncoder::hangs()));
        const QString target = m_dir.filePath("kept.mp3"), partial = RecordingEditor::partialPath(target);
        QVERIFY(writeFile(target, kOlderSong));
        QProcess run;
        run.start(QCoreApplication::applicationFilePath(), {"exportAndWait", m_source, target});
        QTRY_VERIFY(QFile::exists(partial) && tools.hangingRun(true));
        run.kill();
        QVERIFY(run.waitForFinished());
        QTRY_VERIFY(tools.hangingRun(false));
        QVERIFY(QFile::exists(partial));
        RecordingRecovery::run(); // what the panel's start does
        QVERIFY(!QFile::exists(partial));
        QCOMPARE(contents(target), kOlderSong);
    }

    void edits()
    {
        QFETCH(Edits, e);
        FullDisk disk(e.steps.contains(QLatin1String("full ")) ? 1024 * 1024 : 0);
        if (e.steps.contains(QLatin1String("full ")) && !disk.isMounted())
            QSKIP(qPrintable(disk.reason()));
        const QString folder = disk.path() + QLatin1Char('/');
        StandInEncoder tools;
        QVERIFY(QFile::link(QStandardPaths::findExecutable("ffprobe"), tools.filePath("ffprobe")));
        const QString hold = tools.filePath(QStringLiteral("hold"));
        QString encoder = QStringLiteral("real");
        auto editor = std::make_unique<RecordingEditor>();
        QStringList drawn, messages, older;
        connect(editor.get(), &RecordingEditor::workingFileChanged, this, [&](const QString &path, qint64 ms) {
            drawn.append(QStringLiteral("%1@%2").arg(QFileInfo(path).completeBaseName()).arg(ms));
        });
        connect(editor.get(), &RecordingEditor::message, this, [&](const QString &text) { messages.append(text); });
        int idleRuns = 0;
        for (const QString &step : ("encoder real; record r1.wav; " + e.steps).split(QStringLiteral("; "))) {
            const QString verb = step.section(' ', 0, 0), name = folder + step.section(' ', 1);
            // An edit that stops the running one: once that has started.
            if ((verb == "cancel" || verb == "record" || verb == "quit") && editor->isBusy())
                QTRY_VERIFY(runs(tools, folder).size() > idleRuns);
            if (verb == "cut") {
                editor->cut(step.section(' ', 1, 1).toDouble(), step.section(' ', 2, 2).toDouble());
            } else if (verb == "undo") {
                editor->undo();
            } else if (verb == "export") {
                editor->exportTo(name);
            } else if (verb == "record") {
                editor->beginRecording();
                QVERIFY(QFile::copy(m_source, name));
                editor->setRecording(name);
            } else if (verb == "delete") {
                QVERIFY(QFile::remove(name));
            } else if (verb == "older") {
                QVERIFY(writeFile(name, kOlderSong) && QFile::setPermissions(name, kOlderMode));
                older.append(name);
            } else if (verb == "encoder") {
                encoder = step.section(' ', 1);
                const QString script = "tools='%1'; ffmpeg='%2'; args=\"$*\"; for last; do :; done\n"
                                       "log() { echo \"$args\" >> \"$tools/calls.log\"; }\n%3";
                QVERIFY(encoder == "none"
                            ? tools.setBody(QString(), true)
                            : tools.setBody(script.arg(tools.folder(), m_ffmpeg, kEncoders.value(encoder))));
            } else if (verb == "full") {
                QVERIFY(disk.fill(step.section(' ', 1).toLongLong()));
            } else if (verb == "hold" || verb == "release") {
                QVERIFY(verb == "hold" ? writeFile(hold, "") : QFile::remove(hold));
            } else if (verb == "cancel") {
                editor->cancel();
            } else {
                QCOMPARE(verb, QStringLiteral("quit"));
                editor.reset();
                break;
            }
            if (!QFileInfo::exists(hold) && encoder != "hangs") {
                QVERIFY(QTest::qWaitFor([&] { return !editor->isBusy(); }, 60000));
                idleRuns = runs(tools, folder).size();
            }
        }
        QVERIFY(!editor || QTest::qWaitFor([&] { return !editor->isBusy(); }, 60000));
        QCOMPARE(runs(tools, folder).join(QStringLiteral("; ")), e.runs);
        QCOMPARE(drawn.join(QLatin1Char(' ')), e.shown);
        QCOMPARE(filesIn(folder, editor ? editor->workingFile() : QString()) + trashed(folder), e.files);
        QCOMPARE(QDir(PartialFileJournal::folder()).entryList(QDir::Files), QStringList()); // none left behind
        QStringList wanted = QString(e.messages).replace("%1", folder).split(" | ", Qt::SkipEmptyParts);
        const bool lastIsLast = wanted.isEmpty() || messages.value(messages.size() - 1).startsWith(wanted.last());
        for (const QString &text : messages) {
            if (!wanted.isEmpty() && text.startsWith(wanted.first()))
                wanted.removeFirst();
        }
        QVERIFY2(lastIsLast && wanted.isEmpty(), qPrintable(messages.join('\n')));
        QVERIFY(!QFile::exists(folder + "r1.wav") || contents(folder + "r1.wav") == contents(m_source));
        for (const QString &file : older)
            QCOMPARE(QFileInfo(file).permissions() & 0x7077, kOlderMode);
    }
};

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    // "exportAndWait SOURCE TARGET": an export that runs until the program is killed.
    if (argc == 4 && qstrcmp(argv[1], "exportAndWait") == 0) {
        RecordingEditor editor;
        editor.setRecording(QString::fromLocal8Bit(argv[2]));
        editor.exportTo(QString::fromLocal8Bit(argv[3]));
        return app.exec();
    }
    TestRecordingEditor test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_recordingeditor.moc"
