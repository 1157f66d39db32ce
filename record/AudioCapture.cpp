#include "record/AudioCapture.h"

#include "record/RecordingFolder.h"
#include "record/RecordingFormat.h"

#include <QDebug>
#include <QUrl>

#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
#include "record/DurableFile.h"

#include <QAudioDevice>
#include <QAudioSource>
#include <QMediaDevices>
#include <QtEndian>
#else
#include <QAudioEncoderSettings>
#include <QAudioProbe>
#include <QAudioRecorder>
#endif

AudioCapture::AudioCapture(QObject *parent)
    : QObject(parent)
{
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    createBackend();
#endif
}

AudioCapture::~AudioCapture()
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    closeTake();
#endif
}

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

#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)

namespace {

const int kHeaderSize = 44;

// Qt 6 lists no monitor sources; an unknown name records from the default input.
QAudioDevice inputDevice(const QString &name)
{
    const QList<QAudioDevice> devices = QMediaDevices::audioInputs();
    for (const QAudioDevice &device : devices) {
        if (QString::fromUtf8(device.id()) == name)
            return device;
    }
    return QMediaDevices::defaultAudioInput();
}

// A canonical 44-byte header whose sizes are placeholders (0) until the take stops: a take cut
// short is repaired by WaveFile::fixSizes like one of Qt 5's recorder.
QByteArray waveHeader(const QAudioFormat &format)
{
    const quint16 channels = quint16(format.channelCount());
    const quint16 blockAlign = quint16(format.bytesPerFrame());
    QByteArray header;
    header.reserve(kHeaderSize);
    const auto add16 = [&header](quint16 v) { header.append(char(v & 0xFF)).append(char(v >> 8)); };
    const auto add32 = [&add16](quint32 v) {
        add16(quint16(v & 0xFFFF));
        add16(quint16(v >> 16));
    };
    header.append("RIFF");
    add32(0);
    header.append("WAVEfmt ");
    add32(16);
    add16(1); // linear PCM
    add16(channels);
    add32(quint32(format.sampleRate()));
    add32(quint32(format.sampleRate()) * blockAlign);
    add16(blockAlign);
    add16(quint16(format.bytesPerSample() * 8));
    header.append("data");
    add32(0);
    return header;
}

} // namespace

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
    closeTake();
    m_input = input;
    m_path = path;
    m_error.clear();
    m_frames = 0;
    setState(Recording);
    const QAudioDevice device = inputDevice(input);
    QAudioFormat format;
    format.setSampleRate(RecordingFormat::sampleRate);
    format.setChannelCount(2);
    format.setSampleFormat(QAudioFormat::Int16);
    // The causes are in the back end's words, as Qt 5's recorder gives them.
    if (device.isNull()) {
        backendFailed(QStringLiteral("No audio input."));
        return;
    }
    m_file.setFileName(path);
    QString cause;
    // Unbuffered: every buffer reaches the system, and a full disk fails with its own cause.
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)
        || !DurableFile::write(m_file, waveHeader(format), &cause)) {
        backendFailed(cause.isEmpty() ? m_file.errorString() : cause);
        return;
    }
    // The sound server converts the input to the take's format.
    m_source = new QAudioSource(device, format, this);
    m_stream = m_source->start();
    if (!m_stream) {
        backendFailed(QStringLiteral("The audio input %1 cannot be opened.").arg(device.description()));
        return;
    }
    connect(m_stream, &QIODevice::readyRead, this, &AudioCapture::readInput);
}

void AudioCapture::pause()
{
    if (m_state == Recording)
        setState(Paused);
}

void AudioCapture::resume()
{
    if (m_state == Paused)
        setState(Recording);
}

void AudioCapture::stop()
{
    if (m_state == Stopped)
        return;
    // The last buffers go into the take before it stops.
    closeTake();
    setState(Stopped);
    m_error.clear();
    emit finished();
}

bool AudioCapture::isFinalizing() const
{
    // The file is complete once stop() returns.
    return false;
}

QString AudioCapture::outputPath() const
{
    return m_path;
}

// Every buffer goes to the file and to the levels, stamped with its place in the take;
// what comes in while paused goes nowhere.
void AudioCapture::readInput()
{
    if (!m_stream)
        return;
    const QByteArray data = m_stream->readAll();
    if (m_state != Recording || data.isEmpty() || !m_error.isEmpty())
        return;
    QString cause;
    if (!DurableFile::write(m_file, data, &cause)) {
        backendFailed(cause);
        return;
    }
    const QAudioFormat format = m_source->format();
    const QAudioBuffer buffer(data, format, m_frames * 1000000 / format.sampleRate());
    m_frames += buffer.frameCount();
    emit bufferCaptured(buffer);
    emit durationChanged(m_frames * 1000 / format.sampleRate());
}

// Ends the stream and puts the true sizes into the header. A take whose writes failed is left
// as it is: its owner sets the sizes to the whole frames it holds (WaveFile::fixSizes).
void AudioCapture::closeTake()
{
    if (m_source) {
        if (m_state != Stopped)
            readInput();
        m_source->stop();
        m_source->deleteLater();
        m_source = nullptr;
        m_stream = nullptr;
    }
    if (!m_file.isOpen())
        return;
    const quint32 dataSize = quint32(m_file.size() - kHeaderSize);
    uchar riffSize[4], dataSizeField[4];
    qToLittleEndian<quint32>(dataSize + kHeaderSize - 8, riffSize);
    qToLittleEndian<quint32>(dataSize, dataSizeField);
    QString cause;
    const bool complete = !m_error.isEmpty()
        || (m_file.seek(4) && DurableFile::write(m_file, QByteArray(reinterpret_cast<char *>(riffSize), 4), &cause)
            && m_file.seek(kHeaderSize - 4)
            && DurableFile::write(m_file, QByteArray(reinterpret_cast<char *>(dataSizeField), 4), &cause)
            && DurableFile::sync(m_file, &cause));
    if (!complete)
        backendFailed(cause);
    m_file.close();
}

#else

void AudioCapture::createBackend()
{
    delete m_probe;
    delete m_recorder;
    m_recorder = new QAudioRecorder(this);
    m_probe = new QAudioProbe(this);
    connect(m_probe, &QAudioProbe::audioBufferProbed, this, &AudioCapture::bufferCaptured);
    m_probe->setSource(m_recorder);

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
    QVector<AudioInputResolver::Input> inputs;
    const QStringList names = m_recorder->audioInputs();
    for (const QString &name : names)
        inputs.append({name, m_recorder->audioInputDescription(name)});
    return inputs;
}

QString AudioCapture::defaultInput() const
{
    return m_recorder->defaultAudioInput();
}

// Stereo WAV at high quality. The codec name "Default" means the backend's own choice for the
// container; a backend that does not know that name is given an empty codec, which asks it for
// the same thing.
void AudioCapture::record(const QString &input, const QString &path)
{
    m_input = input;
    m_path = path;
    m_error.clear();
    m_recorder->setAudioInput(input);
    const QString codec = QStringLiteral("Default");
    QAudioEncoderSettings settings;
    settings.setCodec(m_recorder->supportedAudioCodecs().contains(codec) ? codec : QString());
    settings.setSampleRate(RecordingFormat::sampleRate);
    settings.setChannelCount(2);
    settings.setQuality(QMultimedia::HighQuality);
    settings.setEncodingMode(QMultimedia::ConstantQualityEncoding);
    m_recorder->setEncodingSettings(settings, QVideoEncoderSettings(), QStringLiteral("audio/x-wav"));
    m_recorder->setOutputLocation(QUrl::fromLocalFile(path));
    setState(Recording);
    m_recorder->record();
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

void AudioCapture::stop()
{
    if (m_state == Stopped)
        return;
    const QString path = outputPath();
    setState(Stopped);
    m_recorder->stop();
    if (!m_error.isEmpty()) {
        // A recorder that failed stays stuck finishing its file and records nothing more: the
        // next take gets a new one, and what this one holds is as complete as it gets.
        m_path = path;
        createBackend();
        m_error.clear();
    }
}

bool AudioCapture::isFinalizing() const
{
    return m_recorder->status() == QMediaRecorder::FinalizingStatus;
}

QString AudioCapture::outputPath() const
{
    const QUrl actual = m_recorder->actualLocation();
    return actual.isEmpty() ? m_path : RecordingFolder::localPath(actual);
}

#endif
