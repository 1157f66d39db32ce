#include "record/RecordWidget.h"
#include "ui_RecordWidget.h"

#include "record/AudioInputResolver.h"
#include "record/BufferLevels.h"
#include "record/EncoderProcess.h"
#include "record/RecordingFolder.h"

#include <QAudioEncoderSettings>
#include <QAudioProbe>
#include <QAudioRecorder>
#include <QCoreApplication>
#include <QDebug>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMediaPlayer>
#include <QProgressBar>
#include <QShortcut>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <iterator>

namespace {

const char *const kIconRecord = ":/image/blackSkin/Button_Recording_Off.png";
const char *const kIconStop = ":/image/blackSkin/Button_Stop_On.png";
const char *const kIconPlay = ":/image/blackSkin/Button_Play_On.png";
const char *const kIconPause = ":/image/blackSkin/Button_Pause_Off.png";

const int kPlayTimerMs = 40;
// How long quitting waits for the recorder to complete its file.
const int kFinishWaitMs = 5000;

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

QString knownSuffixes()
{
    QStringList suffixes;
    for (const ExportFormat &format : kExportFormats)
        suffixes.append(QLatin1Char('.') + QLatin1String(format.suffix));
    return suffixes.join(QLatin1String(", "));
}

// Stereo WAV at high quality, at the rate the view's time scale is built on. The codec name
// "Default" means the backend's own choice for the container; a backend that does not know
// that name is given an empty codec, which asks it for the same thing.
QAudioEncoderSettings recordingSettings(const QStringList &supportedCodecs)
{
    const QString codec = QStringLiteral("Default");
    QAudioEncoderSettings settings;
    settings.setCodec(supportedCodecs.contains(codec) ? codec : QString());
    settings.setSampleRate(RecordingFormat::sampleRate);
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
    buildStatusArea();

    // Qt Multimedia's back end starts slowly (GStreamer's registry, the sound server): it is
    // set up once the window is on screen, or when something needs it first.
    QTimer::singleShot(0, this, &RecordWidget::ensureMedia);

    m_playTimer = new QTimer(this);
    m_playTimer->setObjectName(QStringLiteral("playTimer"));
    connect(m_playTimer, &QTimer::timeout, this,
            [this] { ui->waveforFrame->setPlayPosition(m_player ? m_player->position() : 0); });

    connect(ui->waveforFrame, &WaveformFrame::s_cutAudio, this, &RecordWidget::cutAudio);
    connect(ui->waveforFrame, &WaveformFrame::s_posChange, this, [this](double playPos) {
        // Truncated to 32 bits as the view's positions are; out-of-range values are clamped
        // first, since converting them would be undefined.
        ensureMedia();
        m_player->setPosition(qint64(qint32(qBound(-2147483648.0, playPos, 2147483647.0))));
    });

    connect(&m_waveFile, &WaveFile::s_waveformData, this, &RecordWidget::on_waveformData);

    auto *play = new QShortcut(QKeySequence(Qt::Key_Space), this);
    play->setContext(Qt::WindowShortcut);
    connect(play, &QShortcut::activated, this, [this] {
        ensureMedia();
        m_player->play();
    });
    auto *undoKey = new QShortcut(QKeySequence(QStringLiteral("Ctrl+z")), this);
    undoKey->setContext(Qt::WindowShortcut);
    connect(undoKey, &QShortcut::activated, this, &RecordWidget::undo);

    m_encoder = new EncoderProcess(this);
    connect(m_encoder, &EncoderProcess::progress, m_progress, &QProgressBar::setValue);
    connect(m_encoder, &EncoderProcess::finished, this,
            [this](EncoderProcess::Result result) { encoderFinished(result); });

    m_saveDialog = &RecordWidget::askSaveFile;

    if (QCoreApplication::instance())
        connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, &RecordWidget::finishRecording);

    setRecordState(0);
}

void RecordWidget::ensureMedia()
{
    if (m_recorder)
        return;
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
        // Once the finished recording has been read, the label keeps the file's own length.
        if (state == QMediaRecorder::StoppedState && !m_reloadWhenFinal && m_workingMs > 0)
            updateProgress(m_workingMs);
        else
            updateProgress(duration > 0 ? duration : qMax(m_recorderMs, m_recordedMs));
        // The pipeline drains after Stop and its last buffers move the cursor along with the
        // waveform: once it has stopped, the cursor goes back to where playback starts.
        if (state == QMediaRecorder::StoppedState && !m_recordUrl.isEmpty())
            ui->waveforFrame->setPlayPosition(m_player->position());
    });
    // The file is complete (its header written) only when the recorder leaves Finalizing.
    connect(m_recorder, &QAudioRecorder::statusChanged, this, [this](QMediaRecorder::Status status) {
        if (m_reloadWhenFinal && status != QMediaRecorder::FinalizingStatus
            && m_recorder->state() == QMediaRecorder::StoppedState)
            showRecording();
    });
    connect(m_recorder, QOverload<QMediaRecorder::Error>::of(&QMediaRecorder::error), this,
            [this](QMediaRecorder::Error) {
                qCritical() << "=== recording failed ===" << m_recorder->errorString();
                showMessage(tr("录音失败：%1").arg(m_recorder->errorString()), true);
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
}

RecordWidget::~RecordWidget()
{
    finishRecording();
    // The player has no parent; its signals must not reach a half-destroyed window.
    if (m_player)
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

QString RecordWidget::askSaveFile(const QString &caption, const QString &filter)
{
    QFileDialog dialog(nullptr, caption, QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // WAV is proposed; a name typed without a suffix gets the one of the chosen type.
    for (const QString &nameFilter : dialog.nameFilters()) {
        if (nameFilter.trimmed() == QLatin1String("*.wav"))
            dialog.selectNameFilter(nameFilter);
    }
    dialog.setDefaultSuffix(QStringLiteral("wav"));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog](const QString &chosen) { dialog.setDefaultSuffix(chosen.trimmed().mid(2)); });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

// A line for messages under the buttons, and while the encoder runs its progress and a button
// to cancel it.
void RecordWidget::buildStatusArea()
{
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("lbStatus"));
    m_status->setWordWrap(true);
    m_status->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_status->setStyleSheet(QStringLiteral("color: rgb(132, 132, 132);"));
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("progressBar"));
    m_progress->setRange(0, 100);
    m_progress->setMaximumHeight(14);
    m_progress->setTextVisible(false);
    m_cancel = new QToolButton(this);
    m_cancel->setObjectName(QStringLiteral("btnCancel"));
    m_cancel->setText(tr("取消"));
    m_cancel->setAccessibleName(tr("取消"));
    connect(m_cancel, &QToolButton::clicked, this, &RecordWidget::cancelJobs);
    auto *row = new QHBoxLayout;
    row->addWidget(m_progress, 1);
    row->addWidget(m_cancel);
    ui->verticalLayout_2->addWidget(m_status, 3);
    ui->verticalLayout_2->addLayout(row);
    m_progress->hide();
    m_cancel->hide();
}

void RecordWidget::showMessage(const QString &text, bool failure)
{
    m_status->setStyleSheet(failure ? QStringLiteral("color: #FF7A02;") : QStringLiteral("color: rgb(132, 132, 132);"));
    m_status->setText(text);
}

void RecordWidget::finishRecording()
{
    if (!m_recorder)
        return;
    if (m_recorder->state() == QMediaRecorder::StoppedState
        && m_recorder->status() != QMediaRecorder::FinalizingStatus)
        return;
    qDebug() << "=== finishing the recording before quitting ===";
    if (m_recorder->state() != QMediaRecorder::StoppedState)
        m_recorder->stop();
    // The backend writes the file's header from its own thread once the last buffer is
    // through, and tells us on the event loop.
    QEventLoop loop;
    QTimer::singleShot(kFinishWaitMs, &loop, &QEventLoop::quit);
    connect(m_recorder, &QAudioRecorder::statusChanged, &loop, [&loop](QMediaRecorder::Status status) {
        if (status != QMediaRecorder::FinalizingStatus)
            loop.quit();
    });
    if (m_recorder->status() == QMediaRecorder::FinalizingStatus
        || m_recorder->status() == QMediaRecorder::RecordingStatus
        || m_recorder->status() == QMediaRecorder::PausedStatus)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (m_recorder->status() == QMediaRecorder::FinalizingStatus)
        qCritical() << "=== the recording was not completed in time ===";
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
    ensureMedia();
    if (m_recorder->state() == QMediaRecorder::StoppedState) {
        // Edits of the previous recording are abandoned: their results would land on the new one.
        cancelJobs();
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
            m_recorder->setOutputLocation(
                QUrl::fromLocalFile(RecordingFolder::nextRecordingPath(folder, &m_takeNumber)));

        ui->waveforFrame->clearWaveform();
        m_recordedMs = 0;
        m_recorderMs = 0;
        m_reloadWhenFinal = false;
        m_workingMs = 0;
        m_liveColumns.reset();
        showMessage(QString(), false);
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
    // What was drawn live may miss buffers the probe never saw: once the file is complete the
    // view shows the file itself, so that cuts are made on what is really there.
    m_reloadWhenFinal = true;
    if (m_recorder->status() != QMediaRecorder::FinalizingStatus)
        showRecording();
}

// The finished recording, read from its file: waveform, length and player.
void RecordWidget::showRecording()
{
    ensureMedia();
    m_reloadWhenFinal = false;
    showWorkingFile();
    if (m_workingMs > 0 && m_waveFile.header().sampleRate != quint32(RecordingFormat::sampleRate))
        qWarning() << "=== the recording's sample rate differs from the view's ==="
                   << m_waveFile.header().sampleRate;
    updateProgress(m_workingMs);
    ui->waveforFrame->setPlayPosition(m_player->position());
}

void RecordWidget::on_btnPauseGo_clicked()
{
    ensureMedia();
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
    // The pipeline drains after Stop; the view shows the finished file by then.
    if (!m_recordUrl.isEmpty() && m_recorder->state() == QMediaRecorder::StoppedState)
        return;
    const int sampleRate = buffer.format().sampleRate();
    const qint64 frames = buffer.frameCount();
    // The buffer's place in the recording (pauses excluded); a buffer without one follows
    // the last.
    const qint64 startUs = buffer.startTime() >= 0 ? buffer.startTime() : m_recordedMs * 1000;
    const qint64 endMs = sampleRate > 0 ? (startUs + frames * 1000000 / sampleRate) / 1000
                                        : startUs / 1000 + BufferLevels::bufferDurationMs(frames, sampleRate);
    m_recordedMs = qMax(m_recordedMs, endMs);
    updateProgress(m_recordedMs);
    const QVector<qreal> levels = BufferLevels::sampleLevels(buffer);
    QVector<QVector<qreal>> columns = m_liveColumns.add(levels, startUs, frames, sampleRate);
    for (QVector<qreal> &column : columns)
        ui->waveforFrame->onDrawWaveform(column);
}

void RecordWidget::updateProgress(qlonglong ms)
{
    ensureMedia();
    if (m_recorder->error() != QMediaRecorder::NoError)
        return;
    ui->lbTime->setText(progressText(ms));
}

void RecordWidget::cutAudio(double startTime, double endTime)
{
    if (m_playPath.isEmpty())
        return;
    // Nothing lies before the start of the file: a range reaching into the margin starts at 0.
    startTime = qMax(startTime, 0.0);
    endTime = qMax(endTime, 0.0);
    if (!(endTime > startTime)) {
        // The view has already cleared itself for the new file.
        showWorkingFile();
        return;
    }
    EditJob job;
    job.kind = EditJob::Cut;
    job.start = startTime;
    job.end = endTime;
    m_jobs.enqueue(job);
    runJobs();
}

// Starts the next jobs until one has to wait for the encoder.
void RecordWidget::runJobs()
{
    while (!m_encoder->isRunning() && !m_jobs.isEmpty()) {
        m_runningJob = m_jobs.dequeue();
        bool started = false;
        switch (m_runningJob.kind) {
        case EditJob::Cut:
            started = startCut(m_runningJob);
            break;
        case EditJob::Undo:
            undoNow();
            break;
        case EditJob::Export:
            started = startExport(m_runningJob);
            break;
        }
        if (started) {
            m_progress->setValue(0);
            m_progress->show();
            m_cancel->show();
        }
    }
}

bool RecordWidget::startCut(EditJob &job)
{
    if (m_playPath.isEmpty())
        return false;
    const QString recordPath = RecordingFolder::localPath(m_recordUrl);
    QString cutPath = cutCopyPath(recordPath, m_cutIndex);
    // A file already there is not ours to overwrite: take the next free number.
    while (QFileInfo::exists(cutPath)) {
        qWarning() << "=== cut copy name taken, skipping ===" << cutPath;
        cutPath = cutCopyPath(recordPath, ++m_cutIndex);
    }
    ++m_cutIndex;
    job.target = cutPath;

    const QString graph =
        QStringLiteral("[0]atrim=duration=%1[a];[0]atrim=start=%2[b];[a][b]concat=n=2:v=0:a=1")
            .arg(QString::number(job.start, 'f', 2), QString::number(job.end, 'f', 2));
    const qint64 totalMs = qMax<qint64>(1, m_workingMs - qint64((job.end - job.start) * 1000));
    showMessage(tr("正在剪切 %1 秒到 %2 秒……").arg(job.start, 0, 'f', 2).arg(job.end, 0, 'f', 2), false);
    return m_encoder->start({QStringLiteral("-i"), m_playPath, QStringLiteral("-filter_complex"),
                             graph, cutPath},
                            cutPath, totalMs);
}

bool RecordWidget::startExport(EditJob &job)
{
    if (m_playPath.isEmpty())
        return false;
    if (job.codec.isEmpty()) {
        copyExport(job);
        return false;
    }
    showMessage(tr("正在保存 %1……").arg(QFileInfo(job.target).fileName()), false);
    return m_encoder->start({QStringLiteral("-y"), QStringLiteral("-i"), m_playPath,
                             QStringLiteral("-acodec"), job.codec, job.target},
                            job.target, m_workingMs);
}

// A WAV target is the working file itself, copied.
void RecordWidget::copyExport(const EditJob &job)
{
    const QFileInfo target(job.target);
    if (target.exists() && target.canonicalFilePath() == QFileInfo(m_playPath).canonicalFilePath()) {
        showMessage(tr("已保存 %1").arg(job.target), false);
        return;
    }
    // The dialog has asked whether to replace the file; QFile::copy never replaces one.
    QFile old(job.target);
    if (old.exists() && !old.remove()) {
        qWarning() << "=== cannot replace the export target ===" << job.target << old.errorString();
        showMessage(tr("无法替换 %1：%2").arg(job.target, old.errorString()), true);
        return;
    }
    QFile source(m_playPath);
    const bool copied = source.copy(job.target);
    qDebug() << "=== WAV export ===" << job.target << (copied ? "saved" : source.errorString());
    if (!copied)
        showMessage(tr("无法保存 %1：%2").arg(job.target, source.errorString()), true);
    else
        showMessage(tr("已保存 %1").arg(job.target), false);
    tidyRecordingFolder(job.target);
}

void RecordWidget::encoderFinished(int result)
{
    ensureMedia();
    m_progress->hide();
    m_cancel->hide();
    const EditJob job = m_runningJob;
    const bool recording = m_recorder->state() != QMediaRecorder::StoppedState;
    switch (result) {
    case EncoderProcess::Succeeded:
        if (job.kind == EditJob::Cut) {
            showMessage(QString(), false);
            rememberOwnFile(job.target);
            m_pathHistory.append(m_playPath);
            m_playPath = job.target;
            qDebug() << "m_playPath" << m_playPath;
        } else {
            qDebug() << "=== export saved ===" << job.target;
            showMessage(tr("已保存 %1").arg(job.target), false);
        }
        break;
    case EncoderProcess::Missing:
        showMessage(tr("未找到 ffmpeg。请安装软件包“ffmpeg”（sudo apt install ffmpeg）后重试。"),
                    true);
        break;
    case EncoderProcess::Failed:
        showMessage(tr("ffmpeg 失败（退出状态 %1）：%2").arg(m_encoder->exitCode()).arg(m_encoder->lastLine()),
                    true);
        break;
    case EncoderProcess::Cancelled:
        // The encoder has logged the run's end and the removal of its output.
        showMessage(tr("已取消；未完成的文件已删除。"), false);
        break;
    }
    if (job.kind == EditJob::Cut && !recording) {
        // The view cleared itself for the cut: it shows the working file, cut or not, with the
        // cursor where the removed range began.
        showWorkingFile();
        if (result == EncoderProcess::Succeeded) {
            const qint64 ms = qint64(job.start * 1000);
            m_player->setPosition(ms);
            ui->waveforFrame->setPlayPosition(ms);
        }
    }
    if (job.kind == EditJob::Export && result != EncoderProcess::Cancelled)
        tidyRecordingFolder(job.target);
    runJobs();
}

void RecordWidget::cancelJobs()
{
    // Queued jobs go first: the run that ends next must not start them.
    m_jobs.clear();
    m_encoder->cancel();
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
    ensureMedia();
    // The view shows the recording being made; there is nothing to undo in it.
    if (m_recorder->state() != QMediaRecorder::StoppedState)
        return;
    // After the cuts asked for before it.
    if (m_encoder->isRunning() || !m_jobs.isEmpty()) {
        EditJob job;
        job.kind = EditJob::Undo;
        m_jobs.enqueue(job);
        return;
    }
    undoNow();
}

void RecordWidget::undoNow()
{
    if (m_pathHistory.isEmpty())
        return;
    m_playPath = m_pathHistory.takeLast();
    showWorkingFile();
}

// Draws the working file's waveform from the left margin and gives it to the player.
void RecordWidget::showWorkingFile()
{
    ensureMedia();
    ui->waveforFrame->clearWaveform();
    m_workingMs = 0;
    if (m_playPath.isEmpty())
        return;
    if (!m_waveFile.loadFile(m_playPath)) // the reader logs why
        showMessage(tr("无法读取 %1").arg(m_playPath), true);
    m_workingMs = m_waveFile.durationMs();
    m_player->setMedia(QUrl::fromLocalFile(m_playPath));
}

QString RecordWidget::askSaveTarget()
{
    return m_saveDialog ? m_saveDialog(tr("保存文件"),
                                       QStringLiteral("*.mp3 ;; *.wav ;; *.aac ;; *.wma ;; *.flac ;; *.ac3"))
                        : QString();
}

void RecordWidget::on_btnSave_clicked()
{
    if (m_playPath.isEmpty())
        return;
    const QString filePath = askSaveTarget();
    qDebug() << "filePath" << filePath;
    if (filePath.isEmpty())
        return;

    const QString suffix = QFileInfo(filePath).suffix();
    const ExportFormat *format = exportFormat(suffix);
    if (!format) {
        qWarning() << "=== no export format for this file name ===" << filePath;
        showMessage(suffix.isEmpty()
                        ? tr("“%1”没有文件类型。请另存为以下类型之一：%2。").arg(QFileInfo(filePath).fileName(), knownSuffixes())
                        : tr("“%1”不是已知的文件类型。请另存为以下类型之一：%2。").arg(QLatin1Char('.') + suffix, knownSuffixes()),
                    true);
        return;
    }
    EditJob job;
    job.kind = EditJob::Export;
    job.target = filePath;
    job.codec = QLatin1String(format->codec);
    m_jobs.enqueue(job);
    runJobs();
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
