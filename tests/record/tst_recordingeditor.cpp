// The recording panel's edits on real files, without a sound server: the installed ffmpeg
// behind a wrapper that logs its runs (and can be held back), stand-ins that fail the ways
// ffmpeg 5.1 does, and a real full disk (a small tmpfs).
#include "record/RecordingEditor.h"
#include "record/WaveFile.h"
#include "support/FullDisk.h"
#include "support/StandInEncoder.h"

#include <QDir>
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
    // ffmpeg 5.1 on a full disk: a part of the output, the error on its standard error, status 0.
    {"fills",
     "log; printf partial > \"$last\"\necho 'size=       0kB time=00:00:00.00 bitrate=N/A' >&2\n"
     "echo \"Error writing trailer of $last: No space left on device\" >&2\n"
     "echo \"Error closing file $last: No space left on device\" >&2"},
    // Writes a part of its output, tells how far it got, and waits.
    {"hangs", "printf partial > \"$last\"; log; printf 'size= 1kB time=00:00:01.00 bitrate=1\\r' >&2; exec sleep 60"},
    {"fails", "log; echo 'Unknown encoder wmav2' >&2; exit 3"},
    {"silent", "log"},
    {"short", "log; head -c 96044 \"$2\" > \"$last\""}, // half a second of the input
};

// A row of edits_data().
struct Edits
{
    QString steps, runs, shown, files, working, message;
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
    // an export (any file but the recordings r*) with the bytes of the working file.
    static QString filesIn(const QString &folder, const QString &working)
    {
        QStringList files = QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
        files.removeAll(QStringLiteral(".filler"));
        for (QString &file : files) {
            const QByteArray bytes = contents(folder + file);
            file += bytes == kOlderSong ? "*" : !file.startsWith('r') && bytes == contents(working) ? "=" : "";
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
        QProcess ffmpeg;
        ffmpeg.start(QStringLiteral("ffmpeg"),
                     {"-v", "error", "-f", "lavfi", "-i", "sine=frequency=440:duration=3", "-ac", "2", "-ar", "48000",
                      m_source});
        QVERIFY2(ffmpeg.waitForFinished(60000) && ffmpeg.exitCode() == 0,
                 "ffmpeg is not installed (scripts/install-deps)");
        QCOMPARE(WaveFile::lengthMs(m_source), qint64(3000));
    }

    // Edits asked for one after the other: what the encoder was asked to do, in order, what the
    // view was given to draw (file@cursor ms), the files left in the recording folder, the
    // working file at the end ("-": the editor went) and how the last message starts (%1: the
    // folder). The recording r1 is set first. Steps: cut START END, undo, export NAME, record NAME
    // (a new recording), user NAME (a file of the user's), older NAME (the user's older song),
    // encoder NAME (what runs as ffmpeg; "none": no ffmpeg), hold/release (the encoder waits),
    // cancel, quit (the editor goes), full SPARE (the folder's disk is full but for SPARE bytes).
    void edits_data()
    {
        QTest::addColumn<Edits>("e");
        // A second cut waits for the first and reads its copy, but is named from the recording.
        QTest::newRow("two cuts, two undos") << Edits{"cut 0.5 1; cut 0.25 0.5; undo; undo",
                                                      "cut r1 0.50 1.00 r1_1; cut r1_1 0.25 0.50 r1_2",
                                                      "r1_1@500 r1_2@250 r1_1@-1 r1@-1",
                                                      "r1 r1_1 r1_2",
                                                      "r1",
                                                      ""};
        QTest::newRow("undo waits for the cut before it")
            << Edits{"hold; cut 2 3.5; undo; release", "cut r1 2.00 3.50 r1_1", "r1_1@2000 r1@-1", "r1 r1_1", "r1", ""};
        QTest::newRow("nothing to undo") << Edits{"undo", "", "", "r1", "r1", ""};
        // Nothing selected: the view, cleared for the cut, draws the working file again.
        QTest::newRow("empty selections")
            << Edits{"cut 1 1; cut 2 1; cut -1 -0.5", "", "r1@-1 r1@-1 r1@-1", "r1", "r1", ""};
        // Nothing before the range: only what follows it is kept (a duration of 0 is no limit).
        QTest::newRow("from before the start")
            << Edits{"cut -0.4 0.5", "cut r1 - 0.50 r1_1", "r1_1@0", "r1 r1_1", "r1_1", ""};
        QTest::newRow("a name taken by the user")
            << Edits{"user r1_1.wav; cut 1 2", "cut r1 1.00 2.00 r1_2", "r1_2@1000", "r1 r1_1 r1_2", "r1_2", ""};
        QTest::newRow("cancel drops the queue")
            << Edits{"hold; cut 0.5 1; cut 1 2; export a.mp3; undo; cancel; release",
                     "cut r1 0.50 1.00 r1_1",
                     "r1@-1",
                     "r1",
                     "r1",
                     "Cancelled"};
        // A new recording numbers its cuts from 1, named from the recording up to its first dot;
        // the history still leads to the earlier one.
        QTest::newRow("new recording") << Edits{"cut 0.5 1; record r2.x.wav; cut 1 1.5; undo; undo",
                                                "cut r1 0.50 1.00 r1_1; cut r2.x 1.00 1.50 r2_1",
                                                "r1_1@500 r2_1@1000 r2.x@-1 r1@-1",
                                                "r1 r1_1 r2.x r2_1",
                                                "r1",
                                                ""};
        // A new recording drops the edits still queued for the one before.
        QTest::newRow("new recording while cutting") << Edits{
            "hold; cut 0.5 1; cut 1 2; record r2.wav; release", "cut r1 0.50 1.00 r1_1", "r2@-1", "r1 r2", "r2", ""};
        // After an export the working files of earlier recordings go; the export (which replaces
        // its target in one step) and the user's files stay, whatever their names.
        QTest::newRow("tidy-up") << Edits{"cut 0.5 1; record r2.wav; user r1_7.wav; older a.mp3; export a.mp3",
                                          "cut r1 0.50 1.00 r1_1; export r2 libmp3lame .a.part-1.mp3",
                                          "r1_1@500",
                                          "a.mp3 r1_7 r2",
                                          "r2",
                                          "Saved %1a.mp3"};
        // A cancelled export tidies nothing: undo still finds the earlier recording.
        QTest::newRow("cancelled export")
            << Edits{"cut 0.5 1; record r2.wav; hold; export a.mp3; cancel; release; undo",
                     "cut r1 0.50 1.00 r1_1; export r2 libmp3lame .a.part-1.mp3",
                     "r1_1@500 r1@-1",
                     "r1 r1_1 r2",
                     "r1",
                     "Cancelled; the unfinished file was deleted."};
        // The suffix names the codec, case-sensitively; WAV is copied, unknown types are refused.
        QTest::newRow("exports") << Edits{
            "cut 0.5 1; export a.mp3; export a.aac; export a.wma; export a.flac; export a.ac3; export a.wav; "
            "export a.MP3; export a",
            "cut r1 0.50 1.00 r1_1; export r1_1 libmp3lame .a.part-1.mp3; export r1_1 aac .a.part-1.aac; "
            "export r1_1 wmav2 .a.part-1.wma; export r1_1 flac .a.part-1.flac; export r1_1 ac3 .a.part-1.ac3",
            "r1_1@500",
            "a.aac a.ac3 a.flac a.mp3 a= a.wma r1 r1_1",
            "r1_1",
            "\"a\" has no file type. Save as one of: .mp3, .aac, .wma, .flac, .ac3, .wav."};
        // Whatever way an edit fails, the user's files stay byte for byte, with their permissions,
        // and the message names the cause.
        QTest::newRow("wav replaces") << Edits{
            "encoder none; older a.wav; export a.wav", "", "", "a= r1", "r1", "Saved %1a.wav"};
        QTest::newRow("export, disk fills, status 0") << Edits{"encoder fills; older a.mp3; export a.mp3",
                                                               "export r1 libmp3lame .a.part-1.mp3",
                                                               "",
                                                               "a.mp3* r1",
                                                               "r1",
                                                               "Could not save %1a.mp3: No space left on device"};
        QTest::newRow("export on a full disk") << Edits{"older a.mp3; full 0; export a.mp3",
                                                        "export r1 libmp3lame .a.part-1.mp3",
                                                        "",
                                                        "a.mp3* r1",
                                                        "r1",
                                                        "Could not save %1a.mp3: No space left on device"};
        QTest::newRow("wav on a full disk") << Edits{"older a.wav; full 0; export a.wav",
                                                     "",
                                                     "",
                                                     "a* r1",
                                                     "r1",
                                                     "Could not save %1a.wav: No space left on device"};
        QTest::newRow("encoder fails") << Edits{
            "encoder fails; older a.wma; export a.wma",
            "export r1 wmav2 .a.part-1.wma",
            "",
            "a.wma* r1",
            "r1",
            "Could not save %1a.wma: ffmpeg failed (exit status 3): Unknown encoder wmav2"};
        QTest::newRow("encoder missing") << Edits{
            "encoder none; older a.flac; export a.flac",           "", "", "a.flac* r1", "r1",
            "ffmpeg was not found. Install the package \"ffmpeg\""};
        QTest::newRow("nothing written, status 0") << Edits{"encoder silent; older a.aac; export a.aac",
                                                            "export r1 aac .a.part-1.aac",
                                                            "",
                                                            "a.aac* r1",
                                                            "r1",
                                                            "Could not save %1a.aac: ffmpeg wrote an incomplete file"};
        QTest::newRow("export cancelled") << Edits{"encoder hangs; older a.mp3; export a.mp3; cancel",
                                                   "export r1 libmp3lame .a.part-1.mp3",
                                                   "",
                                                   "a.mp3* r1",
                                                   "r1",
                                                   "Cancelled; the unfinished file was deleted."};
        QTest::newRow("quit while encoding") << Edits{
            "encoder hangs; older a.ac3; export a.ac3; quit", "export r1 ac3 .a.part-1.ac3", "", "a.ac3* r1", "-", ""};
        QTest::newRow("cut, disk fills, status 0")
            << Edits{"encoder fills; cut 0.5 1",
                     "cut r1 0.50 1.00 r1_1",
                     "r1@-1",
                     "r1",
                     "r1",
                     "Could not cut: No space left on device. The recording is unchanged."};
        QTest::newRow("cut on a full disk")
            << Edits{"full 65536; cut 0.5 1",
                     "cut r1 0.50 1.00 r1_1",
                     "r1@-1",
                     "r1",
                     "r1",
                     "Could not cut: No space left on device. The recording is unchanged."};
        QTest::newRow("cut short, status 0")
            << Edits{"encoder short; cut 0.5 1",
                     "cut r1 0.50 1.00 r1_1",
                     "r1@-1",
                     "r1",
                     "r1",
                     "Could not cut: ffmpeg wrote an incomplete file. The recording is unchanged."};
    }

    void edits()
    {
        QFETCH(Edits, e);
        FullDisk disk(e.steps.contains(QLatin1String("full ")) ? 1024 * 1024 : 0);
        if (e.steps.contains(QLatin1String("full ")) && !disk.isMounted())
            QSKIP(qPrintable(disk.reason()));
        const QString folder = disk.path() + QLatin1Char('/');
        StandInEncoder tools;
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
            } else if (verb == "user" || verb == "older") {
                QVERIFY(writeFile(name, verb == "user" ? QByteArray("the user's own file") : kOlderSong));
                if (verb == "older") {
                    QVERIFY(QFile::setPermissions(name, kOlderMode));
                    older.append(name);
                }
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
        const QString workingFile = editor ? editor->workingFile() : QString();
        QCOMPARE(filesIn(folder, workingFile), e.files);
        QCOMPARE(editor ? QFileInfo(workingFile).completeBaseName() : QStringLiteral("-"), e.working);
        QVERIFY2(e.message.isEmpty()
                     || messages.value(messages.size() - 1).startsWith(QString(e.message).replace("%1", folder)),
                 qPrintable(messages.join('\n')));
        QVERIFY(!QFile::exists(folder + "r1.wav") || contents(folder + "r1.wav") == contents(m_source));
        for (const QString &file : older)
            QCOMPARE(QFileInfo(file).permissions() & 0x7077, kOlderMode);
        // A cut copy is its source without the range.
        for (const QString &run : runs(tools, folder)) {
            const QStringList a = run.split(QLatin1Char(' '));
            const QString from = folder + a.value(1) + ".wav", to = folder + a.value(4) + ".wav";
            if (a[0] == QLatin1String("cut") && QFile::exists(from) && QFile::exists(to)) {
                const qint64 length = WaveFile::lengthMs(from);
                const qint64 removed = qMin(length, qint64(a[3].toDouble() * 1000)) - qint64(a[2].toDouble() * 1000);
                QVERIFY2(qAbs(WaveFile::lengthMs(to) - (length - removed)) <= 20, qPrintable(run));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestRecordingEditor)
#include "tst_recordingeditor.moc"
