#pragma once

#include "record/ColumnAccumulator.h"
#include "record/WaveFile.h"

#include <QAudioBuffer>
#include <QString>
#include <QUrl>
#include <QVector>
#include <QWidget>

#include <functional>

class AudioCapture;
class AudioPlayback;
class QLabel;
class QProgressBar;
class QTimer;
class RecordingEditor;
class QToolButton;

namespace Ui {
class RecordWidget;
}

// The recording panel: records the sound card's input into a WAV file, draws the level of
// every captured buffer, shows the elapsed time, plays the recording back with a moving cursor,
// and hands cuts (with undo) and exports to its editor, whose progress, cancel button and
// messages it shows. A recording that fails stops with the first message that names the cause
// and keeps what it holds.
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

    // Replaces the file dialog that asks for the export target (ExportFileDialog::ask).
    void setSaveDialog(SaveDialog dialog);

    // Text of the time label for ms milliseconds: "hh:mm:ss:zzz", days dropped.
    static QString progressText(qint64 ms);

    // The scale of the 96-DPI design the panel is shown at: button pictures, margins, spacings
    // and the waveform view with its ruler grow with it (the texts set in points follow the
    // screen's DPI by themselves).
    void setScale(double scale);

    // Ends the session's work before the program goes: the running edit stops (the encoder
    // ends, its partial file is removed), and a running recording is stopped and waited for (at
    // most a few seconds) until its file is complete. Runs when the application quits and when
    // the window goes; the application calls it on every other way out (SIGTERM, the end of the
    // desktop session) before it leaves.
    void finishRecording();

protected:
    void changeEvent(QEvent *event) override;

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
    Q_INVOKABLE void setRecordState(int state);
    void nameControls();
    void startPlayTimer();
    void buildStatusArea();
    // Makes the recorder and the player, once: Qt Multimedia starts slowly.
    void ensureMedia();
    QString askSaveTarget();
    void captureStateChanged();
    bool isRecording() const;
    void stopRecording();
    void recordingFailed(const QString &cause);
    void showWorkingFile(const QString &path);
    void showEditedFile(const QString &path, qint64 cursorMs);
    void showRecording();
    void showMessage(const QString &text, bool failure);

    Ui::RecordWidget *ui;
    QUrl m_recordUrl;
    AudioCapture *m_capture = nullptr;
    AudioPlayback *m_player = nullptr;
    WaveFile m_waveFile;
    QTimer *m_playTimer = nullptr;
    qint64 m_recordedMs = 0;
    QString m_inputDevice = QStringLiteral("Default");
    // The working file (m_playPath), its undo history, the cut copies and the exports.
    RecordingEditor *m_editor = nullptr;
    // Live columns of 40 ms, whatever the length of the probed buffers.
    ColumnAccumulator m_liveColumns;
    // The recorder's last reported duration: this backend reports 0 once it has stopped.
    qint64 m_recorderMs = 0;
    SaveDialog m_saveDialog;
    // Length of the working file as read for the view.
    qint64 m_workingMs = 0;
    // Numbers of the takes made in this run; a number is never given twice, since the undo
    // history may still name a take whose file the tidy-up removed.
    int m_takeNumber = 0;
    // The recorder stopped and its file is still being completed: read it once it is.
    bool m_reloadWhenFinal = false;
    // A take is being recorded (the window shows state 1, 3 or 4).
    bool m_takeRunning = false;
    // The take being recorded failed; its first message stays.
    bool m_takeFailed = false;
    QLabel *m_status = nullptr;
    QProgressBar *m_progress = nullptr;
    QToolButton *m_cancel = nullptr;
};
