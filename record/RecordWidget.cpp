#include "record/RecordWidget.h"
#include "ui_RecordWidget.h"

#include "record/AudioCapture.h"
#include "record/AudioInputResolver.h"
#include "record/AudioPlayback.h"
#include "record/BufferLevels.h"
#include "record/ExportFileDialog.h"
#include "record/RecordingEditor.h"
#include "record/RecordingFolder.h"
#include "record/RecordingRecovery.h"
#include "record/VectorButton.h"
#include "record/WaveformWidget.h"

#include <QCoreApplication>
#include <QDebug>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QScrollBar>
#include <QShortcut>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <iterator>

namespace {

// The buttons' pictures with the names a screen reader gives them.
struct ButtonPicture
{
    const char *resource;
    const char *name;
};

const ButtonPicture kRecord{":/image/blackSkin/Button_Recording_Off.svg", QT_TRANSLATE_NOOP("RecordWidget", "录音")};
const ButtonPicture kStop{":/image/blackSkin/Button_Stop_On.svg", QT_TRANSLATE_NOOP("RecordWidget", "停止")};
const ButtonPicture kPlay{":/image/blackSkin/Button_Play_On.svg", QT_TRANSLATE_NOOP("RecordWidget", "播放")};
const ButtonPicture kPause{":/image/blackSkin/Button_Pause_Off.svg", QT_TRANSLATE_NOOP("RecordWidget", "暂停")};
const ButtonPicture kSave{":/image/blackSkin/Button_Save.svg", QT_TRANSLATE_NOOP("RecordWidget", "另存为…")};
const ButtonPicture *const kPictures[] = {&kRecord, &kStop, &kPlay, &kPause, &kSave};

// The panel's texts are in the scene's font family (mapped to Noto Sans CJK SC by fontconfig).
const char *const kFontFamily = "Microsoft YaHei";

// The buttons' pictures and the panel's spacing in the 96-DPI design.
const int kIconSize = 40;
const int kMargin = 11;
// Below the status line, which takes most of its height from the bottom margin.
const int kStatusMargin = 2;
const int kSpacing = 6;
const int kProgressWidth = 160;
const int kProgressHeight = 14;

const int kPlayTimerMs = 40;
// How long quitting waits for the recorder to complete its file.
const int kFinishWaitMs = 5000;

enum Switch { Keep, Off, On };

// What each of the seven window states shows and switches; Keep (or no picture) leaves it as it is.
struct RecordStateLook
{
    Switch saveEnabled;
    const ButtonPicture *recordPicture;
    const ButtonPicture *pauseGoPicture;
    Switch clipEnabled;
    Switch playTimer;
};

const RecordStateLook kRecordStates[] = {
    {On, &kRecord, &kPlay, Keep, Keep},   // 0 nothing recorded yet
    {Off, &kStop, &kPause, Off, Keep},    // 1 recording
    {On, &kRecord, &kPlay, On, Off},      // 2 recording stopped, file ready
    {Keep, nullptr, &kPlay, Keep, Keep},  // 3 recording paused
    {Keep, nullptr, &kPause, Keep, Keep}, // 4 recording resumed
    {Keep, nullptr, &kPause, Keep, On},   // 5 playing
    {Keep, nullptr, &kPlay, Keep, Off},   // 6 playback paused or ended
};

} // namespace

RecordWidget::RecordWidget(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::RecordWidget)
{
    ui->setupUi(this);
    QFont panelFont = font();
    panelFont.setFamily(QLatin1String(kFontFamily));
    setFont(panelFont);
    // The waveform frame's style sheet keeps the panel's font from reaching its canvas.
    ui->waveforFrame->canvas()->setFont(panelFont);
    buildStatusArea();
    ui->btnSave->setPicture(QLatin1String(kSave.resource));
    // The status line is read, not operated: selectable with the mouse, never in the Tab chain.
    m_status->setFocusPolicy(Qt::NoFocus);

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

    m_editor = new RecordingEditor(this);
    connect(m_editor, &RecordingEditor::message, this, &RecordWidget::showMessage);
    connect(m_editor, &RecordingEditor::progress, m_progress, &QProgressBar::setValue);
    connect(m_editor, &RecordingEditor::busyChanged, this, [this](bool busy) {
        m_progress->setVisible(busy);
        m_cancel->setVisible(busy);
    });
    connect(m_editor, &RecordingEditor::workingFileChanged, this, &RecordWidget::showEditedFile);
    connect(m_cancel, &QToolButton::clicked, m_editor, &RecordingEditor::cancel);

    m_saveDialog = &ExportFileDialog::ask;

    if (QCoreApplication::instance())
        connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, &RecordWidget::finishRecording);

    setRecordState(0);
    // What a session that ended early left is set right before anything reads it.
    showMessage(RecordingRecovery::run(), false);
}

void RecordWidget::ensureMedia()
{
    if (m_capture)
        return;
    m_capture = new AudioCapture(this);
    connect(m_capture, &AudioCapture::bufferCaptured, this, &RecordWidget::processBuffer);
    connect(m_capture, &AudioCapture::durationChanged, this, [this](qint64 ms) {
        if (ms > 0)
            m_recorderMs = ms;
    });
    connect(m_capture, &AudioCapture::stateChanged, this, &RecordWidget::captureStateChanged);
    connect(m_capture, &AudioCapture::finished, this, [this] {
        if (m_reloadWhenFinal)
            showRecording();
    });
    connect(m_capture, &AudioCapture::failed, this, &RecordWidget::recordingFailed);

    m_player = new AudioPlayback(this);
    connect(m_player, &AudioPlayback::stopped, this, [this] {
        m_playTimer->stop();
        // A recording that stopped the player keeps its own icons.
        if (!isRecording()) {
            ui->btnPauseGo->setPicture(QLatin1String(kPlay.resource));
            nameControls();
        }
    });
}

bool RecordWidget::isRecording() const
{
    return m_capture && m_capture->state() != AudioCapture::Stopped;
}

void RecordWidget::captureStateChanged()
{
    const bool stopped = !isRecording();
    // The recorder's duration is gone once it has stopped. Once the finished recording has been
    // read, the label keeps the file's own length.
    if (stopped && !m_reloadWhenFinal && m_workingMs > 0)
        updateProgress(m_workingMs);
    else
        updateProgress(qMax(m_recorderMs, m_recordedMs));
    // The pipeline drains after Stop and its last buffers move the cursor along with the
    // waveform: once it has stopped, the cursor goes back to where playback starts.
    if (stopped && !m_recordUrl.isEmpty())
        ui->waveforFrame->setPlayPosition(m_player->position());
}

RecordWidget::~RecordWidget()
{
    finishRecording();
    // Their signals must not reach a half-destroyed window.
    delete m_player;
    delete m_capture;
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

// A line for messages under the waveform, as wide as it, and while the editor works its
// progress and a button to cancel it.
void RecordWidget::buildStatusArea()
{
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("lbStatus"));
    // One line that never widens the panel; a text longer than the line is whole in the tooltip.
    m_status->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    m_status->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("progressBar"));
    m_progress->setRange(0, 100);
    m_progress->setMaximumSize(kProgressWidth, kProgressHeight);
    m_progress->setTextVisible(false);
    m_cancel = new QToolButton(this);
    m_cancel->setObjectName(QStringLiteral("btnCancel"));
    auto *row = new QHBoxLayout;
    row->addWidget(m_status, 1);
    row->addWidget(m_progress);
    row->addWidget(m_cancel);
    auto *column = new QVBoxLayout;
    column->setSpacing(kStatusMargin);
    // The line takes most of its height from the bottom margin, little from the waveform.
    ui->horizontalLayout_2->setContentsMargins(kMargin, kMargin, kMargin, kStatusMargin);
    ui->horizontalLayout_2->removeWidget(ui->waveforFrame);
    column->addWidget(ui->waveforFrame, 1);
    column->addLayout(row);
    ui->horizontalLayout_2->insertLayout(0, column, 675);
    m_progress->hide();
    m_cancel->hide();
}

void RecordWidget::showMessage(const QString &text, bool failure)
{
    m_status->setStyleSheet(failure ? QStringLiteral("color: #FF7A02;") : QStringLiteral("color: rgb(132, 132, 132);"));
    m_status->setText(text);
    m_status->setToolTip(text);
    m_status->setAccessibleDescription(text);
}

void RecordWidget::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        nameControls();
    QWidget::changeEvent(event);
}

// The names a screen reader reads, in the language in use: again on every change of language
// and of a button's picture, which its name follows.
void RecordWidget::nameControls()
{
    for (VectorButton *button : {ui->btnRecord, ui->btnPauseGo, ui->btnSave}) {
        for (const ButtonPicture *picture : kPictures) {
            if (button->picture() == QLatin1String(picture->resource)) {
                button->setAccessibleName(tr(picture->name));
                button->setToolTip(tr(picture->name));
            }
        }
    }
    m_cancel->setText(tr("取消"));
    m_cancel->setAccessibleName(tr("取消"));
    m_status->setAccessibleName(tr("状态"));
    m_progress->setAccessibleName(tr("进度"));
    ui->waveforFrame->setAccessibleName(tr("波形"));
    ui->waveforFrame->canvas()->setAccessibleName(tr("波形"));
    ui->waveforFrame->horizontalScrollBar()->setAccessibleName(tr("波形位置"));
}

void RecordWidget::finishRecording()
{
    m_editor->stop();
    if (!isRecording() && !(m_capture && m_capture->isFinalizing()))
        return;
    qDebug() << "=== finishing the recording before quitting ===";
    m_capture->stop();
    // The backend writes the file's header from its own thread once the last buffer is
    // through, and tells us on the event loop.
    QEventLoop loop;
    QTimer::singleShot(kFinishWaitMs, &loop, &QEventLoop::quit);
    connect(m_capture, &AudioCapture::finished, &loop, &QEventLoop::quit);
    if (m_capture->isFinalizing())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (m_capture->isFinalizing())
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

void RecordWidget::setScale(double scale)
{
    const auto scaled = [scale](int designSize) { return int(designSize * scale); };
    const int margin = scaled(kMargin);
    ui->horizontalLayout_2->setContentsMargins(margin, margin, margin, scaled(kStatusMargin));
    for (QLayout *layout : std::initializer_list<QLayout *>{ui->horizontalLayout_2, ui->verticalLayout_2,
                                                            ui->horizontalLayout, ui->gridLayout})
        layout->setSpacing(scaled(kSpacing));
    if (QLayout *status = ui->horizontalLayout_2->itemAt(0)->layout())
        status->setSpacing(scaled(kStatusMargin));
    ui->waveforFrame->setScale(scale);
    ui->verticalLayout_2->setContentsMargins(0, scaled(kSpacing), 0, 0);
    m_progress->setMaximumSize(scaled(kProgressWidth), scaled(kProgressHeight));
    for (QToolButton *button : {ui->btnRecord, ui->btnPauseGo, ui->btnSave})
        button->setIconSize(QSize(scaled(kIconSize), scaled(kIconSize)));
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
    if (look.recordPicture)
        ui->btnRecord->setPicture(QLatin1String(look.recordPicture->resource));
    ui->btnPauseGo->setPicture(QLatin1String(look.pauseGoPicture->resource));
    nameControls();
    if (look.clipEnabled != Keep)
        ui->waveforFrame->setClipEnabled(look.clipEnabled == On);
    if (look.playTimer == On)
        startPlayTimer();
    else if (look.playTimer == Off)
        m_playTimer->stop();
}

void RecordWidget::on_btnRecord_clicked()
{
    ensureMedia();
    if (isRecording()) {
        stopRecording();
        return;
    }
    // Recordings go to the window's own folder, so the tidy-up never meets foreign files it
    // could mistake for ours; without it nothing is recorded, rather than somewhere unseen.
    QString problem;
    const QString folder = RecordingFolder::path(&problem);
    if (folder.isEmpty()) {
        showMessage(tr("无法创建录音文件夹 %1").arg(problem), true);
        return;
    }
    // Edits of the previous recording are abandoned: their results would land on the new one.
    m_editor->beginRecording();
    const QString input = AudioInputResolver::resolve(m_inputDevice, m_capture->inputs(), m_capture->defaultInput());
    qDebug() << "record from" << m_inputDevice << "->" << input;

    ui->waveforFrame->clearWaveform();
    m_recordedMs = 0;
    m_recorderMs = 0;
    m_reloadWhenFinal = false;
    m_workingMs = 0;
    m_liveColumns.reset();
    m_takeFailed = false;
    showMessage(QString(), false);
    // The player goes first: its stop handler would put the play icon over the recording
    // state's pause icon.
    if (!m_player->isStopped())
        m_player->stop();
    setRecordState(1);
    m_takeRunning = true;
    m_capture->record(input, RecordingFolder::nextRecordingPath(folder, &m_takeNumber));
}

void RecordWidget::stopRecording()
{
    m_takeRunning = false;
    m_capture->stop();
    setRecordState(2);
    const QString path = m_capture->outputPath();
    if (m_takeFailed) {
        // A take cut short keeps what it holds, with a header that says so; one that never
        // wrote anything leaves the working file as it was.
        if (!WaveFile::fixSizes(path)) {
            qWarning() << "=== the failed recording left no audio ===" << path;
            return;
        }
    }
    m_recordUrl = QUrl::fromLocalFile(path);
    m_editor->setRecording(path);
    qDebug() << "recorded" << path;
    m_player->setFile(path);
    ui->waveforFrame->setPlayPosition(m_player->position());
    // What was drawn live may miss buffers the probe never saw: once the file is complete the
    // view shows the file itself, so that cuts are made on what is really there. A failed
    // take is as complete as it gets.
    m_reloadWhenFinal = true;
    if (m_takeFailed || !m_capture->isFinalizing())
        showRecording();
}

// The recorder stops on an error, and its first message names the cause ("No space left on
// the resource."); the ones after it only say that the pipeline stopped. The take goes the way
// of a stopped one, with what it holds.
void RecordWidget::recordingFailed(const QString &cause)
{
    if (m_takeFailed)
        return;
    m_takeFailed = true;
    showMessage(tr("录音失败：%1").arg(cause), true);
    // Not from inside the backend's signal.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (m_takeRunning)
                stopRecording();
        },
        Qt::QueuedConnection);
}

// The finished recording, read from its file: waveform, length and player.
void RecordWidget::showRecording()
{
    ensureMedia();
    m_reloadWhenFinal = false;
    showWorkingFile(m_editor->workingFile());
    if (m_workingMs > 0 && m_waveFile.header().sampleRate != quint32(RecordingFormat::sampleRate))
        qWarning() << "=== the recording's sample rate differs from the view's ===" << m_waveFile.header().sampleRate;
    updateProgress(m_workingMs);
    ui->waveforFrame->setPlayPosition(m_player->position());
}

void RecordWidget::on_btnPauseGo_clicked()
{
    ensureMedia();
    if (m_capture->state() == AudioCapture::Recording) {
        m_capture->pause();
        setRecordState(3);
    } else if (m_capture->state() == AudioCapture::Paused) {
        m_capture->resume();
        setRecordState(4);
    } else if (m_player->isPlaying()) {
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
    if (!m_recordUrl.isEmpty() && !isRecording())
        return;
    const int sampleRate = buffer.format().sampleRate();
    const qint64 frames = buffer.frameCount();
    // The buffer's place in the recording (pauses excluded); a buffer without one follows
    // the last.
    const qint64 startUs = buffer.startTime() >= 0 ? buffer.startTime() : m_recordedMs * 1000;
    // A buffer without a rate has no length to count.
    const qint64 endMs = (startUs + (sampleRate > 0 ? frames * 1000000 / sampleRate : 0)) / 1000;
    m_recordedMs = qMax(m_recordedMs, endMs);
    updateProgress(m_recordedMs);
    // A buffer without audio (no frames, no format) has no place in the view.
    if (frames <= 0 || sampleRate <= 0)
        return;
    const QVector<qreal> levels = BufferLevels::sampleLevels(buffer);
    QVector<QVector<qreal>> columns = m_liveColumns.add(levels, startUs, frames, sampleRate);
    for (QVector<qreal> &column : columns)
        ui->waveforFrame->onDrawWaveform(column);
}

void RecordWidget::updateProgress(qlonglong ms)
{
    ensureMedia();
    if (m_capture->hasFailed())
        return;
    ui->lbTime->setText(progressText(ms));
}

void RecordWidget::cutAudio(double startTime, double endTime)
{
    m_editor->cut(startTime, endTime);
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
    if (!isRecording())
        m_editor->undo();
}

// An edit changed the working file, or the view cleared itself for one that did not.
void RecordWidget::showEditedFile(const QString &path, qint64 cursorMs)
{
    ensureMedia();
    // The view shows the recording being made.
    if (isRecording())
        return;
    showWorkingFile(path);
    if (cursorMs >= 0) {
        m_player->setPosition(cursorMs);
        ui->waveforFrame->setPlayPosition(cursorMs);
    }
}

// Draws the working file's waveform from the left margin and gives it to the player.
void RecordWidget::showWorkingFile(const QString &path)
{
    ensureMedia();
    ui->waveforFrame->clearWaveform();
    m_workingMs = 0;
    if (path.isEmpty())
        return;
    if (!m_waveFile.loadFile(path)) // the reader logs why
        showMessage(tr("无法读取 %1").arg(path), true);
    m_workingMs = m_waveFile.durationMs();
    m_player->setFile(path);
}

QString RecordWidget::askSaveTarget()
{
    return m_saveDialog
        ? m_saveDialog(tr("保存文件"), QStringLiteral("*.mp3 ;; *.wav ;; *.aac ;; *.wma ;; *.flac ;; *.ac3"))
        : QString();
}

void RecordWidget::on_btnSave_clicked()
{
    if (m_editor->workingFile().isEmpty())
        return;
    const QString filePath = askSaveTarget();
    qDebug() << "filePath" << filePath;
    m_editor->exportTo(filePath);
}
