#pragma once

#include "record/ColumnAccumulator.h"
#include "record/WaveFile.h"

#include <QAudioBuffer>
#include <QQueue>
#include <QSet>
#include <QString>
#include <QUrl>
#include <QVector>
#include <QWidget>

#include <functional>

class EncoderProcess;
class QAudioProbe;
class QAudioRecorder;
class QLabel;
class QMediaPlayer;
class QProgressBar;
class QTimer;
class QToolButton;

namespace Ui {
class RecordWidget;
}

// The recording panel: records the sound card's input into a WAV file, draws the level of
// every captured buffer, shows the elapsed time, plays the recording back with a moving cursor,
// cuts ranges out of it (with undo) and exports it through the encoder. The encoder runs in the
// background, one job after the other in the order asked for, with its progress, a cancel
// button and every failure shown in the panel.
class RecordWidget : public QWidget
{
    Q_OBJECT

public:
    // Asks the user for an export target: (caption, filter) -> chosen path, empty on cancel.
    using SaveDialog = std::function<QString(const QString &caption, const QString &filter)>;

    explicit RecordWidget(QWidget *parent = nullptr);
    ~RecordWidget() override;

    // The audio input to record from, as the sound card names it; used at the next recording.
    void setInputDevice(QString name);
    QString inputDevice() const;

    // Replaces the file dialog that asks for the export target.
    void setSaveDialog(SaveDialog dialog);
    // The file dialog: proposes WAV, lists the six types, replaces only after asking.
    static QString askSaveFile(const QString &caption, const QString &filter);

    // Text of the time label for ms milliseconds: "hh:mm:ss:zzz", days dropped.
    static QString progressText(qint64 ms);

    // Path of the cut copy number index of the recording at recordPath: take.wav -> take_1.wav.
    static QString cutCopyPath(const QString &recordPath, int index);

    // Stops a running recording and waits (at most a few seconds) until the file is complete.
    // Runs when the application quits and when the window goes.
    void finishRecording();

signals:
    void s_recordDateLevels(QVector<qreal> &levels);

private slots:
    void on_btnRecord_clicked();
    void on_btnPauseGo_clicked();
    void processBuffer(const QAudioBuffer &buffer);
    void updateProgress(qlonglong ms);
    void cutAudio(double startTime, double endTime);
    void on_waveformData(QVector<qreal> &data);
    void undo();
    void on_btnSave_clicked();

private:
    // Work on files, run one after the other.
    struct EditJob
    {
        enum Kind { Cut, Undo, Export } kind = Cut;
        double start = 0.0; // Cut: seconds
        double end = 0.0;
        QString target; // Export: the chosen file; Cut: the cut copy once named
        QString codec;  // Export: empty for WAV, which is copied
    };

    Q_INVOKABLE void setRecordState(int state);
    void setButtonIcon(QToolButton *button, const QString &resource);
    void startPlayTimer();
    void buildStatusArea();
    // Makes the recorder, its probe and the player, once: Qt Multimedia starts slowly.
    void ensureMedia();
    QString askSaveTarget();
    void showWorkingFile();
    void showRecording();
    void runJobs();
    bool startCut(EditJob &job);
    bool startExport(EditJob &job);
    void copyExport(const EditJob &job);
    void encoderFinished(int result);
    void cancelJobs();
    void undoNow();
    void showMessage(const QString &text, bool failure);
    void rememberOwnFile(const QString &path);
    void tidyRecordingFolder(const QString &exported);

    Ui::RecordWidget *ui;
    QUrl m_recordUrl;
    QString m_playPath;
    QVector<QString> m_pathHistory;
    QAudioRecorder *m_recorder = nullptr;
    QAudioProbe *m_probe = nullptr;
    QMediaPlayer *m_player = nullptr;
    WaveFile m_waveFile;
    int m_cutIndex = 1;
    QTimer *m_playTimer = nullptr;
    qint64 m_recordedMs = 0;
    QString m_inputDevice = QStringLiteral("Default");
    // Every working file this window wrote: the tidy-up after an export deletes only these.
    QSet<QString> m_ownFiles;
    // Live columns of 40 ms, whatever the length of the probed buffers.
    ColumnAccumulator m_liveColumns;
    // The recorder's last reported duration: this backend reports 0 once it has stopped.
    qint64 m_recorderMs = 0;
    SaveDialog m_saveDialog;
    EncoderProcess *m_encoder = nullptr;
    QQueue<EditJob> m_jobs;
    EditJob m_runningJob;
    // Length of the working file as read for the view: the total for the encoder's progress.
    qint64 m_workingMs = 0;
    // Numbers of the takes made in this run; a number is never given twice, since the undo
    // history may still name a take whose file the tidy-up removed.
    int m_takeNumber = 0;
    // The recorder stopped and its file is still being completed: read it once it is.
    bool m_reloadWhenFinal = false;
    QLabel *m_status = nullptr;
    QProgressBar *m_progress = nullptr;
    QToolButton *m_cancel = nullptr;
};
