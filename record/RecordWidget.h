#pragma once

#include "record/ColumnAccumulator.h"
#include "record/WaveFile.h"

#include <QAudioBuffer>
#include <QSet>
#include <QString>
#include <QUrl>
#include <QVector>
#include <QWidget>

#include <functional>

class QAudioProbe;
class QAudioRecorder;
class QMediaPlayer;
class QTimer;

namespace Ui {
class RecordWidget;
}

// The recording panel: records the sound card's input into a WAV file, draws the level of
// every captured buffer, shows the elapsed time, plays the recording back with a moving cursor,
// cuts ranges out of it (with undo) and exports it through the encoder.
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

    // Text of the time label for ms milliseconds: "hh:mm:ss:zzz", days dropped.
    static QString progressText(qint64 ms);

    // Path of the cut copy number index of the recording at recordPath: take.wav -> take_1.wav.
    static QString cutCopyPath(const QString &recordPath, int index);

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
    void setButtonIcon(class QToolButton *button, const QString &resource);
    void startPlayTimer();
    void openWorkingFile(const QString &path);
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
};
