#include "record/RecordWidget.h"
#include "ui_RecordWidget.h"

#include "record/AudioInputResolver.h"
#include "record/BufferLevels.h"
#include "record/EncoderProcess.h"
#include "record/RecordingFolder.h"

#include <QAudioEncoderSettings>
#include <QAudioProbe>
#include <QAudioRecorder>
#include <QDebug>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QShortcut>
#include <QTimer>
#include <QToolButton>

#include <iterator>

namespace {

const char *const kIconRecord = ":/image/blackSkin/Button_Recording_Off.png";
const char *const kIconStop = ":/image/blackSkin/Button_Stop_On.png";
const char *const kIconPlay = ":/image/blackSkin/Button_Play_On.png";
const char *const kIconPause = ":/image/blackSkin/Button_Pause_Off.png";

const int kPlayTimerMs = 40;

enum Switch { Keep, Off, On };

// What each of the seven window states shows and switches; Keep (or no icon) leaves it as it is.
struct RecordStateLook
{
    Switch saveEnabled;
    const char *recordIcon;
    const char *pauseGoIcon;
    Switch clipEnabled;
    Switch playTimer;
};

const RecordStateLook kRecordStates[] = {
    {On, kIconRecord, kIconPlay, Keep, Keep},  // 0 nothing recorded yet
    {Off, kIconStop, kIconPause, Off, Keep},   // 1 recording
    {On, kIconRecord, kIconPlay, On, Off},     // 2 recording stopped, file ready
    {Keep, nullptr, kIconPlay, Keep, Keep},    // 3 recording paused
    {Keep, nullptr, kIconPause, Keep, Keep},   // 4 recording resumed
    {Keep, nullptr, kIconPause, Keep, On},     // 5 playing
    {Keep, nullptr, kIconPlay, Keep, Off},     // 6 playback paused or ended
};

// Export targets by suffix (compared case-sensitively): codec for the encoder, or an empty
// codec for WAV, which is copied as it is.
struct ExportFormat
{
    const char *suffix;
    const char *codec;
};

const ExportFormat kExportFormats[] = {
    {"mp3", "libmp3lame"}, {"aac", "aac"}, {"wma", "wmav2"},
    {"flac", "flac"},      {"ac3", "ac3"}, {"wav", ""},
};

const ExportFormat *exportFormat(const QString &suffix)
{
    for (const ExportFormat &format : kExportFormats) {
        if (suffix == QLatin1String(format.suffix))
            return &format;
    }
    return nullptr;
}

// 44.1 kHz stereo WAV at high quality. The codec name "Default" means the backend's own choice
// for the container; a backend that does not know that name is given an empty codec, which
// asks it for the same thing.
QAudioEncoderSettings recordingSettings(const QStringList &supportedCodecs)
{
    const QString codec = QStringLiteral("Default");
    QAudioEncoderSettings settings;
    settings.setCodec(supportedCodecs.contains(codec) ? codec : QString());
    settings.setSampleRate(44100);
    settings.setChannelCount(2);
    settings.setQuality(QMultimedia::HighQuality);
    settings.setEncodingMode(QMultimedia::ConstantQualityEncoding);
    return settings;
}

} // namespace

RecordWidget::RecordWidget(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::RecordWidget)
{
    ui->setupUi(this);

    m_recorder = new QAudioRecorder(this);
    m_probe = new QAudioProbe(this);
    connect(m_probe, &QAudioProbe::audioBufferProbed, this, &RecordWidget::processBuffer);
    m_probe->setSource(m_recorder);

    connect(m_recorder, &QAudioRecorder::durationChanged, this, [this](qint64 ms) {
        if (ms > 0)
            m_recorderMs = ms;
    });
    connect(m_recorder, &QAudioRecorder::stateChanged, this, [this](QMediaRecorder::State state) {
        const qint64 duration = m_recorder->duration();
        updateProgress(duration > 0 ? duration : qMax(m_recorderMs, m_recordedMs));
        // The pipeline drains after Stop and its last buffers move the cursor along with the
        // waveform: once it has stopped, the cursor goes back to where playback starts.
        if (state == QMediaRecorder::StoppedState && !m_recordUrl.isEmpty())
            ui->waveforFrame->setPlayPosition(m_player->position());
    });

    m_player = new QMediaPlayer;
    connect(m_player, &QMediaPlayer::stateChanged, this, [this](QMediaPlayer::State state) {
        if (state != QMediaPlayer::StoppedState)
            return;
        m_playTimer->stop();
        // A recording that stopped the player keeps its own icons.
        if (m_recorder->state() == QMediaRecorder::StoppedState)
            setButtonIcon(ui->btnPauseGo, QLatin1String(kIconPlay));
    });

    m_playTimer = new QTimer(this);
    m_playTimer->setObjectName(QStringLiteral("playTimer"));
    connect(m_playTimer, &QTimer::timeout, this,
            [this] { ui->waveforFrame->setPlayPosition(m_player->position()); });

    connect(ui->waveforFrame, &WaveformFrame::s_cutAudio, this, &RecordWidget::cutAudio);
    connect(ui->waveforFrame, &WaveformFrame::s_posChange, this, [this](double playPos) {
        // Truncated to 32 bits as the view's positions are; out-of-range values are clamped
        // first, since converting them would be undefined.
        m_player->setPosition(qint64(qint32(qBound(-2147483648.0, playPos, 2147483647.0))));
    });

    connect(&m_waveFile, &WaveFile::s_waveformData, this, &RecordWidget::on_waveformData);

    auto *play = new QShortcut(QKeySequence(Qt::Key_Space), this);
    play->setContext(Qt::WindowShortcut);
    connect(play, &QShortcut::activated, m_player, &QMediaPlayer::play);
    auto *undoKey = new QShortcut(QKeySequence(QStringLiteral("Ctrl+z")), this);
    undoKey->setContext(Qt::WindowShortcut);
    connect(undoKey, &QShortcut::activated, this, &RecordWidget::undo);

    m_saveDialog = [](const QString &caption, const QString &filter) {
        return QFileDialog::getSaveFileName(nullptr, caption, QString(), filter);
    };

    setRecordState(0);
}

RecordWidget::~RecordWidget()
{
    // The player has no parent; its signals must not reach a half-destroyed window.
    m_player->disconnect(this);
    delete m_player;
    delete ui;
}

void RecordWidget::setInputDevice(QString name)
{
    m_inputDevice = name;
}

QString RecordWidget::inputDevice() const
{
    return m_inputDevice;
}

void RecordWidget::setSaveDialog(SaveDialog dialog)
{
    m_saveDialog = std::move(dialog);
}

QString RecordWidget::progressText(qint64 ms)
{
    const qint64 rest = ms % 86400000;
    const qint64 hours = rest / 3600000;
    const qint64 minutes = rest % 3600000 / 60000;
    const qint64 seconds = rest % 60000 / 1000;
    const qint64 millis = rest % 1000;
    return QStringLiteral("%1:%2:%3:%4")
        .arg(hours, 2, 10, QLatin1Char('0'))
        .arg(minutes, 2, 10, QLatin1Char('0'))
        .arg(seconds, 2, 10, QLatin1Char('0'))
        .arg(millis, 3, 10, QLatin1Char('0'));
}

QString RecordWidget::cutCopyPath(const QString &recordPath, int index)
{
    const QFileInfo record(recordPath);
    return record.path() + QLatin1Char('/') + record.baseName()
           + QStringLiteral("_%1.").arg(index) + record.suffix();
}

void RecordWidget::setButtonIcon(QToolButton *button, const QString &resource)
{
    button->setIcon(QIcon(QPixmap(resource)));
}

void RecordWidget::startPlayTimer()
{
    m_playTimer->start(kPlayTimerMs);
}

void RecordWidget::setRecordState(int state)
{
    if (state < 0 || state >= int(std::size(kRecordStates))) {
        qWarning() << "=== unknown record state ===" << state;
        return;
    }
    const RecordStateLook &look = kRecordStates[state];
    if (look.saveEnabled != Keep)
        ui->btnSave->setEnabled(look.saveEnabled == On);
    if (look.recordIcon)
        setButtonIcon(ui->btnRecord, QLatin1String(look.recordIcon));
    setButtonIcon(ui->btnPauseGo, QLatin1String(look.pauseGoIcon));
    if (look.clipEnabled != Keep)
        ui->waveforFrame->setClipEnabled(look.clipEnabled == On);
    if (look.playTimer == On)
        startPlayTimer();
    else if (look.playTimer == Off)
        m_playTimer->stop();
    // A new recording numbers its cut copies from 1 again.
    if (state == 1)
        m_cutIndex = 1;
}

void RecordWidget::on_btnRecord_clicked()
{
    if (m_recorder->state() == QMediaRecorder::StoppedState) {
        QVector<AudioInputResolver::Input> inputs;
        const QStringList names = m_recorder->audioInputs();
        for (const QString &name : names)
            inputs.append({name, m_recorder->audioInputDescription(name)});
        const QString input = AudioInputResolver::resolve(m_inputDevice, inputs,
                                                          m_recorder->defaultAudioInput());
        qDebug() << "record from" << m_inputDevice << "->" << input;
        m_recorder->setAudioInput(input);
        m_recorder->setEncodingSettings(recordingSettings(m_recorder->supportedAudioCodecs()),
                                        QVideoEncoderSettings(), QStringLiteral("audio/x-wav"));
        // Recordings go to the window's own folder, so the tidy-up never meets foreign files
        // it could mistake for ours.
        const QString folder = RecordingFolder::path();
        if (!folder.isEmpty())
            m_recorder->setOutputLocation(QUrl::fromLocalFile(RecordingFolder::nextRecordingPath(folder)));

        ui->waveforFrame->clearWaveform();
        m_recordedMs = 0;
        m_recorderMs = 0;
        m_liveColumns.reset();
        // The player goes first: its stop handler would put the play icon over the
        // recording state's pause icon.
        if (m_player->state() != QMediaPlayer::StoppedState)
            m_player->stop();
        setRecordState(1);
        m_recorder->record();
        return;
    }

    m_recorder->stop();
    setRecordState(2);
    m_recordUrl = m_recorder->actualLocation();
    if (m_recordUrl.isEmpty())
        m_recordUrl = m_recorder->outputLocation();
    m_playPath = RecordingFolder::localPath(m_recordUrl);
    rememberOwnFile(m_playPath);
    qDebug() << "recorded" << m_playPath;
    m_player->setMedia(QUrl::fromLocalFile(m_playPath));
    ui->waveforFrame->setPlayPosition(m_player->position());
}

void RecordWidget::on_btnPauseGo_clicked()
{
    if (m_recorder->state() == QMediaRecorder::RecordingState) {
        m_recorder->pause();
        setRecordState(3);
    } else if (m_recorder->state() == QMediaRecorder::PausedState) {
        m_recorder->record();
        setRecordState(4);
    } else if (m_player->state() == QMediaPlayer::PlayingState) {
        m_player->pause();
        setRecordState(6);
    } else if (!m_recordUrl.isEmpty()) {
        m_player->play();
        setRecordState(5);
    }
}

void RecordWidget::processBuffer(const QAudioBuffer &buffer)
{
    const int sampleRate = buffer.format().sampleRate();
    m_recordedMs += BufferLevels::bufferDurationMs(buffer.frameCount(), sampleRate);
    updateProgress(m_recordedMs);
    const QVector<qreal> levels = BufferLevels::sampleLevels(buffer);
    QVector<QVector<qreal>> columns = m_liveColumns.add(levels, buffer.frameCount(), sampleRate);
    for (QVector<qreal> &column : columns)
        ui->waveforFrame->onDrawWaveform(column);
}

void RecordWidget::updateProgress(qlonglong ms)
{
    if (m_recorder->error() != QMediaRecorder::NoError)
        return;
    ui->lbTime->setText(progressText(ms));
}

void RecordWidget::cutAudio(double startTime, double endTime)
{
    if (m_playPath.isEmpty())
        return;
    const QString recordPath = RecordingFolder::localPath(m_recordUrl);
    QString cutPath = cutCopyPath(recordPath, m_cutIndex);
    // A file already there is not ours to overwrite: take the next free number.
    while (QFileInfo::exists(cutPath)) {
        qWarning() << "=== cut copy name taken, skipping ===" << cutPath;
        cutPath = cutCopyPath(recordPath, ++m_cutIndex);
    }
    ++m_cutIndex;

    const QString graph =
        QStringLiteral("[0]atrim=duration=%1[a];[0]atrim=start=%2[b];[a][b]concat=n=2:v=0:a=1")
            .arg(QString::number(startTime, 'f', 2), QString::number(endTime, 'f', 2));
    EncoderProcess::run({QStringLiteral("-i"), m_playPath, QStringLiteral("-filter_complex"), graph,
                         cutPath});
    if (QFileInfo::exists(cutPath))
        rememberOwnFile(cutPath);

    openWorkingFile(cutPath);
    m_pathHistory.append(m_playPath);
    m_playPath = cutPath;
    qDebug() << "m_playPath" << m_playPath;
}

void RecordWidget::on_waveformData(QVector<qreal> &data)
{
    if (!data.isEmpty()) {
        for (qreal &v : data)
            v /= 32767.0;
    }
    ui->waveforFrame->onDrawWaveform(data);
}

void RecordWidget::undo()
{
    if (m_pathHistory.isEmpty())
        return;
    m_playPath = m_pathHistory.takeLast();
    ui->waveforFrame->clearWaveform();
    openWorkingFile(m_playPath);
}

// Draws the file's waveform and gives it to the player.
void RecordWidget::openWorkingFile(const QString &path)
{
    m_waveFile.loadFile(path);
    m_player->setMedia(QUrl::fromLocalFile(path));
}

void RecordWidget::on_btnSave_clicked()
{
    if (m_playPath.isEmpty())
        return;
    const QString filePath = m_saveDialog
        ? m_saveDialog(tr("保存文件"),
                       QStringLiteral("*.mp3 ;; *.wav ;; *.aac ;; *.wma ;; *.flac ;; *.ac3"))
        : QString();
    qDebug() << "filePath" << filePath;
    if (filePath.isEmpty())
        return;

    const ExportFormat *format = exportFormat(QFileInfo(filePath).suffix());
    if (!format) {
        qWarning() << "=== no export format for this file name ===" << filePath;
        return;
    }
    if (QLatin1String(format->codec).isEmpty()) {
        if (!QFile::copy(m_playPath, filePath))
            qWarning() << "=== copying the recording failed ===" << filePath;
    } else {
        EncoderProcess::run({QStringLiteral("-y"), QStringLiteral("-i"), m_playPath,
                             QStringLiteral("-acodec"), QLatin1String(format->codec), filePath});
    }
    tidyRecordingFolder(filePath);
}

void RecordWidget::rememberOwnFile(const QString &path)
{
    if (!path.isEmpty())
        m_ownFiles.insert(QFileInfo(path).absoluteFilePath());
}

void RecordWidget::tidyRecordingFolder(const QString &exported)
{
    const QFileInfo record(RecordingFolder::localPath(m_recordUrl));
    const QString folder = record.absolutePath();
    const QString kept = record.baseName();
    const QString exportedPath = QFileInfo(exported).absoluteFilePath();
    // The exported file is the user's now, even where a working file of ours stood.
    m_ownFiles.remove(exportedPath);

    const QList<QString> own = m_ownFiles.values();
    for (const QString &path : own) {
        const QFileInfo file(path);
        if (file.absolutePath() != folder || file.baseName().contains(kept, Qt::CaseInsensitive))
            continue;
        QFile::remove(path);
        m_ownFiles.remove(path);
    }
}
