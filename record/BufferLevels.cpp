#include "record/BufferLevels.h"

#include <QtMath>

namespace {

const char *const kPcmCodec = "audio/pcm";

// Full scale of every measurable sample type and size. Float is measured only as 32 bits;
// its full scale sits just above 1.0 so a full-scale float sample stays below the top.
struct FullScale
{
    QAudioFormat::SampleType type;
    int bits;
    qreal value;
};

const FullScale kFullScales[] = {
    {QAudioFormat::SignedInt, 8, 127.0},         {QAudioFormat::SignedInt, 16, 32767.0},
    {QAudioFormat::SignedInt, 32, 2147483647.0}, {QAudioFormat::UnSignedInt, 8, 255.0},
    {QAudioFormat::UnSignedInt, 16, 65535.0},    {QAudioFormat::UnSignedInt, 32, 4294967295.0},
    {QAudioFormat::Float, 32, 1.00003},
};

bool measurable(const QAudioFormat &format)
{
    return format.isValid() && format.byteOrder() == QAudioFormat::LittleEndian
        && format.codec() == QLatin1String(kPcmCodec);
}

template<typename T>
QVector<qreal> scan(const QAudioBuffer &buffer)
{
    return BufferLevels::columnScan(buffer.constData<T>(), buffer.frameCount(), buffer.format().channelCount());
}

// Scans with the 8-, 16- or 32-bit type of the buffer's sample size; empty for other sizes.
template<typename T8, typename T16, typename T32>
QVector<qreal> scanBySize(const QAudioBuffer &buffer)
{
    switch (buffer.format().sampleSize()) {
    case 8: return scan<T8>(buffer);
    case 16: return scan<T16>(buffer);
    case 32: return scan<T32>(buffer);
    }
    return {};
}

// Scans the buffer with the sample type of its format; empty for types without a scanner.
QVector<qreal> scanBuffer(const QAudioBuffer &buffer)
{
    const QAudioFormat format = buffer.format();
    switch (format.sampleType()) {
    case QAudioFormat::SignedInt: return scanBySize<qint8, qint16, qint32>(buffer);
    case QAudioFormat::UnSignedInt: return scanBySize<quint8, quint16, quint32>(buffer);
    case QAudioFormat::Float:
        if (format.sampleSize() == 32)
            return scan<float>(buffer);
        break;
    case QAudioFormat::Unknown: break;
    }
    return {};
}

} // namespace

qreal BufferLevels::fullScaleValue(const QAudioFormat &format)
{
    if (!measurable(format))
        return 0.0;
    for (const FullScale &row : kFullScales) {
        if (row.type == format.sampleType() && row.bits == format.sampleSize())
            return row.value;
    }
    return 0.0;
}

QVector<qreal> BufferLevels::sampleLevels(const QAudioBuffer &buffer)
{
    const QAudioFormat format = buffer.format();
    if (!measurable(format))
        return {};
    QVector<qreal> column(format.channelCount() * 2, 0.0);
    const qreal fullScale = fullScaleValue(format);
    if (qFuzzyIsNull(fullScale))
        return column;
    const QVector<qreal> scanned = scanBuffer(buffer);
    if (scanned.size() != column.size())
        return column;
    column = scanned;

    // Unsigned samples are centred on half the full scale.
    const bool centred =
        format.sampleType() == QAudioFormat::UnSignedInt || format.sampleType() == QAudioFormat::Unknown;
    const qreal half = fullScale / 2.0;
    for (qreal &v : column)
        v = centred ? qAbs(v - half) / half : v / fullScale;
    return column;
}
