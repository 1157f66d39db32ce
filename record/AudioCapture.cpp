#include "record/AudioCapture.h"

#include "record/RecordingFolder.h"
#include "record/RecordingFormat.h"

#include <QDebug>
#include <QUrl>

#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
#include <QAudioDevice>
#include <QAudioInput>
#include <QAudioSource>
#include <QMediaCaptureSession>
#include <QMediaDevices>
#include <QMediaFormat>
#include <QMediaRecorder>
#else
#include <QAudioEncoderSettings>
#include <QAudioProbe>
#include <QAudioRecorder>
#endif

AudioCapture::AudioCapture(QObject *parent)
    : QObject(parent)
{
    createBackend();
}

AudioCapture::~AudioCapture() = default;

void AudioCapture::setState(State state)
{
    if (state == m_state)
        return;
    m_state = state;
    emit stateChanged(state);
}

// The first message names the cause ("No space left on the resource."); the ones after it
// only say that the pipeline stopped.
void AudioCapture::backendFailed(const QString &message)
{
    qCritical() << "=== recording failed ===" << message;
    if (!m_error.isEmpty())
        return;
    m_error = message;
    emit failed(message);
}

void AudioCapture::pause()
{
    if (m_state != Recording)
        return;
    setState(Paused);
    m_recorder->pause();
}

void AudioCapture::resume()
{
    if (m_state != Paused)
        return;
    setState(Recording);
    m_recorder->record();
}

QString AudioCapture::outputPath() const
{
    const QUrl actual = m_recorder->actualLocation();
    return actual.isEmpty() ? m_path : RecordingFolder::localPath(actual);
}

void AudioCapture::stop()
{
    if (m_state == Stopped)
        return;
    const QString path = outputPath();
    setState(Stopped);
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    m_finalizing = m_recorder->recorderState() != QMediaRecorder::StoppedState;
    if (m_levels)
        m_levels->stop();
#endif
    m_recorder->stop();
    if (!m_error.isEmpty()) {
        // A backend that failed stays stuck finishing its file: the next take gets a new one,
        // and what this one holds is as complete as it gets.
        m_path = path;
        createBackend();
        m_error.clear();
    }
}

#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)

namespace {

QAudioDevice inputDevice(const QString &name)
{
    const QList<QAudioDevice> devices = QMediaDevices::audioInputs();
    for (const QAudioDevice &device : devices) {
        if (QString::fromUtf8(device.id()) == name)
            return device;
    }
    return QMediaDevices::defaultAudioInput();
}

} // namespace

void AudioCapture::createBackend()
{
    delete m_levels;
    m_levels = nullptr;
    m_levelStream = nullptr;
    delete m_recorder;
    delete m_session;
    delete m_audioInput;
    m_session = new QMediaCaptureSession(this);
    m_audioInput = new QAudioInput(this);
    m_session->setAudioInput(m_audioInput);
    m_recorder = new QMediaRecorder(this);
    m_session->setRecorder(m_recorder);
    m_finalizing = false;

    connect(m_recorder, &QMediaRecorder::durationChanged, this, &AudioCapture::durationChanged);
    connect(m_recorder, &QMediaRecorder::errorOccurred, this,
            [this](QMediaRecorder::Error, const QString &message) { backendFailed(message); });
    // The recorder reports Stopped once the file's header is written.
    connect(m_recorder, &QMediaRecorder::recorderStateChanged, this, [this](QMediaRecorder::RecorderState state) {
        if (state == QMediaRecorder::StoppedState)
            backendStopped();
    });
}

// A take the backend stopped by itself failed: its owner stops it on failed().
void AudioCapture::backendStopped()
{
    if (m_state != Stopped || !m_finalizing)
        return;
    m_finalizing = false;
    emit finished();
}

QVector<AudioInputResolver::Input> AudioCapture::inputs() const
{
    QVector<AudioInputResolver::Input> inputs;
    const QList<QAudioDevice> devices = QMediaDevices::audioInputs();
    for (const QAudioDevice &device : devices)
        inputs.append({QString::fromUtf8(device.id()), device.description()});
    return inputs;
}

QString AudioCapture::defaultInput() const
{
    return QString::fromUtf8(QMediaDevices::defaultAudioInput().id());
}

void AudioCapture::record(const QString &input, const QString &path)
{
    m_input = input;
    m_path = path;
    m_error.clear();
    m_audioInput->setDevice(inputDevice(input));
    QMediaFormat format(QMediaFormat::Wave);
    format.setAudioCodec(QMediaFormat::AudioCodec::Wave);
    m_recorder->setMediaFormat(format);
    m_recorder->setAudioSampleRate(RecordingFormat::sampleRate);
    m_recorder->setAudioChannelCount(2);
    m_recorder->setQuality(QMediaRecorder::HighQuality);
    m_recorder->setEncodingMode(QMediaRecorder::ConstantQualityEncoding);
    m_recorder->setOutputLocation(QUrl::fromLocalFile(path));
    m_finalizing = false;
    setState(Recording);
    m_recorder->record();
    startLevels();
}

bool AudioCapture::isFinalizing() const
{
    return m_finalizing;
}

// A second stream from the same device, in the recording's own format where the device
// takes it, for the levels.
void AudioCapture::startLevels()
{
    delete m_levels;
    m_levelFrames = 0;
    const QAudioDevice device = inputDevice(m_input);
    QAudioFormat format;
    format.setSampleRate(RecordingFormat::sampleRate);
    format.setChannelCount(2);
    format.setSampleFormat(QAudioFormat::Int16);
    if (!device.isFormatSupported(format))
        format = device.preferredFormat();
    m_levels = new QAudioSource(device, format, this);
    m_levelStream = m_levels->start();
    if (m_levelStream)
        connect(m_levelStream, &QIODevice::readyRead, this, &AudioCapture::readLevels);
    else
        qWarning() << "=== no levels from the input ===" << m_levels->error();
}

void AudioCapture::readLevels()
{
    const QByteArray data = m_levelStream->readAll();
    // What came in while paused is not in the file either.
    if (m_state != Recording || data.isEmpty())
        return;
    const QAudioFormat format = m_levels->format();
    const QAudioBuffer buffer(data, format, m_levelFrames * 1000000 / format.sampleRate());
    m_levelFrames += buffer.frameCount();
    emit bufferCaptured(buffer);
}

#else

void AudioCapture::createBackend()
{
    delete m_probe;
    delete m_recorder;
    auto *recorder = new QAudioRecorder(this);
    m_recorder = recorder;
    m_probe = new QAudioProbe(this);
    connect(m_probe, &QAudioProbe::audioBufferProbed, this, &AudioCapture::bufferCaptured);
    m_probe->setSource(recorder);

    connect(m_recorder, &QMediaRecorder::durationChanged, this, &AudioCapture::durationChanged);
    connect(m_recorder, QOverload<QMediaRecorder::Error>::of(&QMediaRecorder::error), this,
            [this] { backendFailed(m_recorder->errorString()); });
    // The file is complete (its header written) only when the recorder leaves Finalizing.
    connect(m_recorder, &QMediaRecorder::statusChanged, this, [this](QMediaRecorder::Status status) {
        if (m_state == Stopped && status != QMediaRecorder::FinalizingStatus
            && m_recorder->state() == QMediaRecorder::StoppedState)
            emit finished();
    });
}

QVector<AudioInputResolver::Input> AudioCapture::inputs() const
{
    auto *recorder = static_cast<QAudioRecorder *>(m_recorder);
    QVector<AudioInputResolver::Input> inputs;
    const QStringList names = recorder->audioInputs();
    for (const QString &name : names)
        inputs.append({name, recorder->audioInputDescription(name)});
    return inputs;
}

QString AudioCapture::defaultInput() const
{
    return static_cast<QAudioRecorder *>(m_recorder)->defaultAudioInput();
}

// Stereo WAV at high quality. The codec name "Default" means the backend's own choice for the
// container; a backend that does not know that name is given an empty codec, which asks it for
// the same thing.
void AudioCapture::record(const QString &input, const QString &path)
{
    auto *recorder = static_cast<QAudioRecorder *>(m_recorder);
    m_input = input;
    m_path = path;
    m_error.clear();
    recorder->setAudioInput(input);
    const QString codec = QStringLiteral("Default");
    QAudioEncoderSettings settings;
    settings.setCodec(recorder->supportedAudioCodecs().contains(codec) ? codec : QString());
    settings.setSampleRate(RecordingFormat::sampleRate);
    settings.setChannelCount(2);
    settings.setQuality(QMultimedia::HighQuality);
    settings.setEncodingMode(QMultimedia::ConstantQualityEncoding);
    recorder->setEncodingSettings(settings, QVideoEncoderSettings(), QStringLiteral("audio/x-wav"));
    recorder->setOutputLocation(QUrl::fromLocalFile(path));
    setState(Recording);
    recorder->record();
}

bool AudioCapture::isFinalizing() const
{
    return m_recorder->status() == QMediaRecorder::FinalizingStatus;
}

#endif
