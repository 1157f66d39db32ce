#include "record/BufferLevels.h"

#include <QtMath>

namespace {

// The sample's kind and size: Qt 5 describes them apart, Qt 6 as one sample format of four,
// always in the machine's own byte order.
enum class Kind { Signed, Unsigned, Float, Unknown };

struct Sample
{
    Kind kind;
    int bits;
};

#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)

Sample sampleOf(const QAudioFormat &format)
{
    switch (format.sampleFormat()) {
    case QAudioFormat::UInt8: return {Kind::Unsigned, 8};
    case QAudioFormat::Int16: return {Kind::Signed, 16};
    case QAudioFormat::Int32: return {Kind::Signed, 32};
    case QAudioFormat::Float: return {Kind::Float, 32};
    case QAudioFormat::Unknown:
    case QAudioFormat::NSampleFormats: break;
    }
    return {Kind::Unknown, 0};
}

bool measurable(const QAudioFormat &format)
{
    return format.isValid();
}

#else

const char *const kPcmCodec = "audio/pcm";

Sample sampleOf(const QAudioFormat &format)
{
    switch (format.sampleType()) {
    case QAudioFormat::SignedInt: return {Kind::Signed, format.sampleSize()};
    case QAudioFormat::UnSignedInt: return {Kind::Unsigned, format.sampleSize()};
    case QAudioFormat::Float: return {Kind::Float, format.sampleSize()};
    case QAudioFormat::Unknown: break;
    }
    return {Kind::Unknown, format.sampleSize()};
}

bool measurable(const QAudioFormat &format)
{
    return format.isValid() && format.byteOrder() == QAudioFormat::LittleEndian
        && format.codec() == QLatin1String(kPcmCodec);
}

#endif

// Full scale of every measurable sample kind and size. Float is measured only as 32 bits;
// its full scale sits just above 1.0 so a full-scale float sample stays below the top.
struct FullScale
{
    Kind kind;
    int bits;
    qreal value;
};

const FullScale kFullScales[] = {
    {Kind::Signed, 8, 127.0},   {Kind::Signed, 16, 32767.0},   {Kind::Signed, 32, 2147483647.0},
    {Kind::Unsigned, 8, 255.0}, {Kind::Unsigned, 16, 65535.0}, {Kind::Unsigned, 32, 4294967295.0},
    {Kind::Float, 32, 1.00003},
};

template<typename T>
QVector<qreal> scan(const QAudioBuffer &buffer)
{
    return BufferLevels::columnScan(buffer.constData<T>(), buffer.frameCount(), buffer.format().channelCount());
}

// Scans with the 8-, 16- or 32-bit type of the sample's size; empty for other sizes.
template<typename T8, typename T16, typename T32>
QVector<qreal> scanBySize(const QAudioBuffer &buffer, int bits)
{
    switch (bits) {
    case 8: return scan<T8>(buffer);
    case 16: return scan<T16>(buffer);
    case 32: return scan<T32>(buffer);
    }
    return {};
}

// Scans the buffer with the sample type of its format; empty for types without a scanner.
QVector<qreal> scanBuffer(const QAudioBuffer &buffer)
{
    const Sample sample = sampleOf(buffer.format());
    switch (sample.kind) {
    case Kind::Signed: return scanBySize<qint8, qint16, qint32>(buffer, sample.bits);
    case Kind::Unsigned: return scanBySize<quint8, quint16, quint32>(buffer, sample.bits);
    case Kind::Float:
        if (sample.bits == 32)
            return scan<float>(buffer);
        break;
    case Kind::Unknown: break;
    }
    return {};
}

} // namespace

qreal BufferLevels::fullScaleValue(const QAudioFormat &format)
{
    if (!measurable(format))
        return 0.0;
    const Sample sample = sampleOf(format);
    for (const FullScale &row : kFullScales) {
        if (row.kind == sample.kind && row.bits == sample.bits)
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
    const Kind kind = sampleOf(format).kind;
    const bool centred = kind == Kind::Unsigned || kind == Kind::Unknown;
    const qreal half = fullScale / 2.0;
    for (qreal &v : column)
        v = centred ? qAbs(v - half) / half : v / fullScale;
    return column;
}
