#pragma once

#include "record/EncoderProcess.h"
#include "record/PartialFileJournal.h"
#include "record/RecordingTidier.h"

#include <QObject>
#include <QQueue>
#include <QString>
#include <QStringList>
#include <QVector>

// The recording panel's work on files: cuts out of the working file (with undo) and exports of
// it, run through the encoder in the background one after the other, in the order asked for.
// No file is lost to a failure: an export is written to a hidden file beside its target and
// replaces the target only once it is complete (its length measured, on the disk), and a cut
// becomes the working file only once its copy is complete. The files being written are listed
// in a journal, so that a start after a crash removes what was left half done. After an export
// the working files of earlier takes go to the trash. Every outcome is told through message().
class RecordingEditor : public QObject
{
    Q_OBJECT

public:
    explicit RecordingEditor(QObject *parent = nullptr);
    ~RecordingEditor() override;

    // A new recording starts: queued and running edits are abandoned (their results would land
    // on the new one), and its cut copies are numbered from 1.
    void beginRecording();
    // The finished recording at path becomes the working file; the undo history stays.
    void setRecording(const QString &path);

    QString recordingPath() const { return m_recordPath; }
    // What plays, what a cut starts from, what an export converts.
    QString workingFile() const { return m_playPath; }
    bool isBusy() const { return m_encoder->isRunning(); }

    // Path of the cut copy number index of the recording at recordPath: take.wav -> take_1.wav.
    static QString cutCopyPath(const QString &recordPath, int index);
    // Where an export to target is written until it is complete: a hidden file beside it with
    // the same suffix, from which the encoder takes the format (song.mp3 -> .song.part-1.mp3).
    static QString partialPath(const QString &target);

public slots:
    // Cuts startTime..endTime (seconds from the start of the working file) out of it.
    void cut(double startTime, double endTime);
    // Returns to the working file before the last cut, once the edits asked for before are done.
    void undo();
    // Exports the working file to target as the type its suffix names.
    void exportTo(const QString &target);
    // Stops the running edit and drops the queued ones.
    void cancel();
    // The same, finished before it returns: the encoder has ended and what it wrote is removed.
    // For the end of the session.
    void stop();

signals:
    // A line for the panel; empty clears it.
    void message(const QString &text, bool failure);
    void busyChanged(bool busy);
    void progress(int percent);
    // The working file to draw and play: after a cut, an undo, and a cut that failed or
    // removed nothing (the view cleared itself for it). cursorMs: where the removed range
    // began; -1 leaves the cursor where it is.
    void workingFileChanged(const QString &path, qint64 cursorMs);

private:
    struct EditJob
    {
        enum Kind { Cut, Undo, Export } kind = Cut;
        double start = 0.0; // Cut: seconds
        double end = 0.0;
        qint64 expectedMs = 0; // the length the cut copy or the export must have
        qint64 frameMs = 0;    // Export: the codec's frame
        QString target;        // Export: the chosen file; Cut: the cut copy
        QString partial;       // Export: where it is written first
        QString codec;         // Export: empty for WAV, which is copied
    };

    void runJobs();
    bool startCut(EditJob &job);
    bool startExport(EditJob &job);
    void copyExport(const EditJob &job);
    void encoderFinished(EncoderProcess::Result result);
    void finishCut(const EditJob &job, EncoderProcess::Result result);
    void finishExport(const EditJob &job, EncoderProcess::Result result);
    void endExport(const EditJob &job, const QString &problem, bool bare = false);
    bool replaceTarget(const EditJob &job, QString *cause);
    QString failureText(EncoderProcess::Result result, qint64 expectedMs) const;
    void undoNow();
    void setBusy(bool busy);
    // Returns the takes whose working files went to the trash.
    QStringList tidyRecordingFolder(const QString &exported);

    EncoderProcess *m_encoder = nullptr;
    QString m_recordPath;
    QString m_playPath;
    QVector<QString> m_pathHistory;
    int m_cutIndex = 1;
    // Every working file written here: the tidy-up after an export touches only these.
    RecordingTidier m_tidier;
    // Takes whose files went to the trash with undo steps that led to them.
    QStringList m_trashedTakes;
    PartialFileJournal m_journal;
    QQueue<EditJob> m_jobs;
    EditJob m_runningJob;
    bool m_busy = false;
};
