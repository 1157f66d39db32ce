#include "record/WaveFile.h"

#include "record/DurableFile.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

// About 480 KiB per read: large enough that the system call cost vanishes, small enough to
// stay in the cache while the samples are scanned.
constexpr qint64 readBlockBytes = 64 * WaveFile::framesPerColumn * 4;

// Reads up to size bytes, retrying short reads; returns what was read (less only at the end).
qint64 readFully(QFile &file, char *data, qint64 size)
{
    qint64 done = 0;
    while (done < size) {
        const qint64 n = file.read(data + done, size - done);
        if (n <= 0)
            break;
        done += n;
    }
    return done;
}

// Folds count interleaved samples (whole frames of `channels` samples, starting on a frame)
// into each channel's maximum and minimum.
void scanSamples(const qint16 *s, qint64 count, int channels, qint16 *maxima, qint16 *minima)
{
    qint64 i = 0;
#ifdef __SSE2__
    // With 1, 2, 4 or 8 channels every 16-byte vector starts on a frame, so lane j always
    // holds channel j % channels and eight independent lanes keep the loop branch-free.
    if (8 % channels == 0 && count >= 8) {
        __m128i mx0 = _mm_set1_epi16(-32768), mx1 = mx0, mx2 = mx0, mx3 = mx0;
        __m128i mn0 = _mm_set1_epi16(32767), mn1 = mn0, mn2 = mn0, mn3 = mn0;
        const auto *v = reinterpret_cast<const __m128i *>(s);
        for (; i + 32 <= count; i += 32, v += 4) {
            const __m128i a = _mm_loadu_si128(v), b = _mm_loadu_si128(v + 1);
            const __m128i c = _mm_loadu_si128(v + 2), d = _mm_loadu_si128(v + 3);
            mx0 = _mm_max_epi16(mx0, a);
            mn0 = _mm_min_epi16(mn0, a);
            mx1 = _mm_max_epi16(mx1, b);
            mn1 = _mm_min_epi16(mn1, b);
            mx2 = _mm_max_epi16(mx2, c);
            mn2 = _mm_min_epi16(mn2, c);
            mx3 = _mm_max_epi16(mx3, d);
            mn3 = _mm_min_epi16(mn3, d);
        }
        for (; i + 8 <= count; i += 8, ++v) {
            const __m128i a = _mm_loadu_si128(v);
            mx0 = _mm_max_epi16(mx0, a);
            mn0 = _mm_min_epi16(mn0, a);
        }
        mx0 = _mm_max_epi16(_mm_max_epi16(mx0, mx1), _mm_max_epi16(mx2, mx3));
        mn0 = _mm_min_epi16(_mm_min_epi16(mn0, mn1), _mm_min_epi16(mn2, mn3));
        alignas(16) qint16 laneMax[8];
        alignas(16) qint16 laneMin[8];
        _mm_store_si128(reinterpret_cast<__m128i *>(laneMax), mx0);
        _mm_store_si128(reinterpret_cast<__m128i *>(laneMin), mn0);
        for (int lane = 0; lane < 8; ++lane) {
            const int c = lane % channels;
            maxima[c] = std::max(maxima[c], laneMax[lane]);
            minima[c] = std::min(minima[c], laneMin[lane]);
        }
    }
#endif
    // Remaining samples (and channel counts that do not divide a vector) one by one.
    int c = static_cast<int>(i % channels);
    for (; i < count; ++i) {
        maxima[c] = std::max(maxima[c], s[i]);
        minima[c] = std::min(minima[c], s[i]);
        if (++c == channels)
            c = 0;
    }
}

} // namespace

WaveFile::WaveFile(QObject *parent)
    : QObject(parent)
{
}

bool WaveFile::loadFile(const QString &path)
{
    m_framesRead = 0;
    // Opening a FIFO waits for a writer, and a device or pipe has no end to stop at: working
    // files are always plain files, so anything else is refused before it is opened.
    if (!QFileInfo(path).isFile()) {
        qDebug() << "=====WaveFile not a plain file=====" << path;
        return false;
    }
    QFile file(path);
    // Unbuffered: the blocks go straight from the system into our buffer, without a copy.
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        qDebug() << "=====WaveFile open failed=====" << path << file.errorString();
        return false;
    }
    if (file.isSequential()) {
        qDebug() << "=====WaveFile not a plain file=====" << path;
        return false;
    }
    if (!readHeader(file)) {
        qDebug() << "=====WaveFile no frame size in header=====" << path;
        return false;
    }
    readSamples(file);
    return true;
}

bool WaveFile::readHeader(QFile &file)
{
    m_header = WaveHeader{};
    m_dataSize = 0;

    uchar raw[headerSize] = {};
    readFully(file, reinterpret_cast<char *>(raw), headerSize);
    std::memcpy(m_header.chunkId, raw, 4);
    m_header.chunkSize = qFromLittleEndian<quint32>(raw + 4);
    std::memcpy(m_header.format, raw + 8, 4);
    std::memcpy(m_header.subChunkId, raw + 12, 4);
    m_header.subChunkSize = qFromLittleEndian<quint32>(raw + 16);
    m_header.audioFormat = qFromLittleEndian<quint16>(raw + 20);
    m_header.channelCount = qFromLittleEndian<quint16>(raw + 22);
    m_header.sampleRate = qFromLittleEndian<quint32>(raw + 24);
    m_header.byteRate = qFromLittleEndian<quint32>(raw + 28);
    m_header.blockAlign = qFromLittleEndian<quint16>(raw + 32);
    m_header.bitsPerSample = qFromLittleEndian<quint16>(raw + 34);

    // Encoders such as ffmpeg put one small LIST chunk (34 bytes with the data chunk's id)
    // between the format chunk and the data chunk.
    char id[4] = {};
    readFully(file, id, 4);
    if (std::memcmp(id, "data", 4) != 0) {
        char extra[extraChunkSize];
        readFully(file, extra, extraChunkSize);
    }
    uchar size[4] = {};
    readFully(file, reinterpret_cast<char *>(size), 4);
    m_dataSize = qFromLittleEndian<quint32>(size);

    // Without a frame size there is no frame count, and without channels no column.
    return m_header.blockAlign != 0 && m_header.channelCount != 0;
}

void WaveFile::readSamples(QFile &file)
{
    const int channels = m_header.channelCount;
    // Samples are always read as 16-bit, one per channel and frame.
    const qint64 frameBytes = qint64(channels) * 2;
    const qint64 frameCount = m_dataSize / m_header.blockAlign;
    // No larger than the frames the file can still hold: short files get a small buffer.
    const qint64 fileFrames = std::max<qint64>(0, file.size() - file.pos()) / frameBytes;
    const qint64 fullBlock = std::max<qint64>(1, readBlockBytes / frameBytes);
    const qint64 blockFrames = std::clamp<qint64>(fileFrames, 1, fullBlock);

    std::vector<qint16> buffer(static_cast<size_t>(blockFrames * channels));
    std::vector<qint16> maxima(channels, -32768);
    std::vector<qint16> minima(channels, 32767);
    QVector<qreal> column;
    qint64 framesDone = 0;
    qint64 inColumn = 0;

    // The loop ends with the frames the header promises or with the file, whichever comes
    // first; a partial frame at the end of the file is dropped.
    while (framesDone < frameCount) {
        const qint64 wanted = std::min(blockFrames, frameCount - framesDone);
        const qint64 bytes = readFully(file, reinterpret_cast<char *>(buffer.data()), wanted * frameBytes);
        const qint64 got = bytes / frameBytes;
#if Q_BYTE_ORDER == Q_BIG_ENDIAN
        for (qint64 k = 0; k < got * channels; ++k)
            buffer[k] = qFromLittleEndian(buffer[k]);
#endif
        qint64 at = 0;
        while (at < got) {
            const qint64 run = std::min(got - at, framesPerColumn - inColumn);
            scanSamples(buffer.data() + at * channels, run * channels, channels, maxima.data(), minima.data());
            at += run;
            inColumn += run;
            if (inColumn == framesPerColumn) {
                column.resize(2 * channels);
                for (int c = 0; c < channels; ++c) {
                    column[2 * c] = maxima[c];
                    column[2 * c + 1] = minima[c];
                }
                emit s_waveformData(column);
                std::fill(maxima.begin(), maxima.end(), qint16(-32768));
                std::fill(minima.begin(), minima.end(), qint16(32767));
                inColumn = 0;
            }
        }
        framesDone += got;
        if (got < wanted)
            break;
    }
    m_framesRead = framesDone;
}

WaveFile::DataChunk WaveFile::findData(QFile &file)
{
    DataChunk chunk;
    const QByteArray head = file.read(4096);
    if (head.size() < 12 || !head.startsWith("RIFF") || head.mid(8, 4) != "WAVE")
        return chunk;
    chunk.riffSize = qFromLittleEndian<quint32>(head.constData() + 4);
    for (int at = 12; at + 8 <= head.size();) {
        const quint32 size = qFromLittleEndian<quint32>(head.constData() + at + 4);
        if (head.mid(at, 4) == "fmt " && at + 22 <= head.size()) {
            chunk.byteRate = qFromLittleEndian<quint32>(head.constData() + at + 16);
            chunk.blockAlign = qFromLittleEndian<quint16>(head.constData() + at + 20);
        }
        if (head.mid(at, 4) == "data") {
            chunk.sizeField = at + 4;
            chunk.size = size;
            chunk.available = file.size() - (at + 8);
            return chunk;
        }
        if (size > quint32(head.size()))
            break;
        at += 8 + int(size) + int(size & 1);
    }
    return chunk;
}

qint64 WaveFile::lengthMs(const QString &path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return -1;
    const DataChunk data = findData(file);
    if (data.sizeField < 0 || data.byteRate == 0)
        return -1;
    return qMin<qint64>(data.size, data.available) * 1000 / data.byteRate;
}

bool WaveFile::fixSizes(const QString &path, bool *repaired)
{
    if (repaired)
        *repaired = false;
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        return false;
    const DataChunk data = findData(file);
    if (data.sizeField < 0 || data.blockAlign == 0)
        return false;
    // The writer puts a placeholder into the header (0, or nearly 2 GiB) and the true sizes only
    // once it stops: a take it never stopped still has the placeholder. A header that claims no
    // more than the file holds is right: chunks may follow the data.
    const qint64 dataStart = data.sizeField + 4;
    const qint64 whole = data.available - data.available % data.blockAlign;
    if (data.size <= data.available && (data.size > 0 || whole == 0) && data.riffSize <= quint64(file.size() - 8))
        return true;
    uchar riffSize[4], dataSize[4];
    qToLittleEndian<quint32>(quint32(dataStart + whole - 8), riffSize);
    qToLittleEndian<quint32>(quint32(whole), dataSize);
    // A frame the writer did not finish is no audio.
    QString cause;
    const bool fixed = file.resize(dataStart + whole) && file.seek(4)
        && DurableFile::write(file, QByteArray::fromRawData(reinterpret_cast<char *>(riffSize), 4), &cause)
        && file.seek(data.sizeField)
        && DurableFile::write(file, QByteArray::fromRawData(reinterpret_cast<char *>(dataSize), 4), &cause)
        && DurableFile::sync(file, &cause);
    qDebug() << "=====WaveFile sizes set to what the file holds=====" << path << whole
             << (fixed                 ? QStringLiteral("repaired")
                     : cause.isEmpty() ? file.errorString()
                                       : cause);
    if (repaired)
        *repaired = fixed;
    return fixed;
}

qint64 WaveFile::durationMs() const
{
    return m_header.sampleRate ? m_framesRead * 1000 / m_header.sampleRate : 0;
}
