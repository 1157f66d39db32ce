#include "record/BufferLevels.h"
#include "support/RecordTestSupport.h"

#include <QtTest>

#include <cstring>

using RecordTestSupport::pcmFormat;

namespace {

template<typename T>
QByteArray bytesOf(const QVector<T> &samples)
{
    QByteArray bytes(samples.size() * int(sizeof(T)), '\0');
    std::memcpy(bytes.data(), samples.constData(), size_t(bytes.size()));
    return bytes;
}

// Unsigned samples are measured around half their full scale.
qreal u(qreal v, qreal full)
{
    return qAbs(v - full / 2) / (full / 2);
}

} // namespace

using Levels = QVector<qreal>;

class TestBufferLevels : public QObject
{
    Q_OBJECT

private slots:
    // Two stereo frames (left, right, left, right) per row, unless the format says otherwise.
    void levels_data()
    {
        QTest::addColumn<QAudioFormat>("format");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<Levels>("expected");
        using T = QAudioFormat;
        QTest::newRow("s8") << pcmFormat(T::SignedInt, 8) << bytesOf(QVector<qint8>{10, -20, 127, -128})
                            << Levels{1.0, 10 / 127.0, -20 / 127.0, -128 / 127.0};
        QTest::newRow("s16") << pcmFormat(T::SignedInt, 16) << bytesOf(QVector<qint16>{1000, -32767, -500, 32767})
                             << Levels{1000 / 32767.0, -500 / 32767.0, 1.0, -1.0};
        QTest::newRow("s32") << pcmFormat(T::SignedInt, 32)
                             << bytesOf(QVector<qint32>{2147483647, 0, -1000, -2147483647})
                             << Levels{1.0, -1000 / 2147483647.0, 0.0, -1.0};
        QTest::newRow("s16 mono") << pcmFormat(T::SignedInt, 16, 1) << bytesOf(QVector<qint16>{-300, 600, 100})
                                  << Levels{600 / 32767.0, -300 / 32767.0};
        QTest::newRow("u8 silence") << pcmFormat(T::UnSignedInt, 8) << bytesOf(QVector<quint8>{128, 128, 128, 128})
                                    << Levels(4, 0.5 / 127.5);
        QTest::newRow("u8") << pcmFormat(T::UnSignedInt, 8) << bytesOf(QVector<quint8>{0, 200, 255, 100})
                            << Levels{1.0, 1.0, u(200, 255), u(100, 255)};
        QTest::newRow("u16") << pcmFormat(T::UnSignedInt, 16) << bytesOf(QVector<quint16>{0, 65535, 40000, 100})
                             << Levels{u(40000, 65535), 1.0, 1.0, u(100, 65535)};
        // Values above 2^31 must stay positive: they are unsigned.
        QTest::newRow("u32") << pcmFormat(T::UnSignedInt, 32)
                             << bytesOf(QVector<quint32>{4294967295u, 1, 5, 3000000000u})
                             << Levels{1.0, u(5, 4294967295.0), u(3000000000.0, 4294967295.0), u(1, 4294967295.0)};
        QTest::newRow("f32") << pcmFormat(T::Float, 32) << bytesOf(QVector<float>{0.5f, -0.25f, -0.5f, 0.125f})
                             << Levels{0.5 / 1.00003, -0.5 / 1.00003, 0.125 / 1.00003, -0.25 / 1.00003};
        // No full scale: zeros.
        for (const auto &row :
             {qMakePair(T::Float, 8), qMakePair(T::Float, 16), qMakePair(T::Float, 64), qMakePair(T::SignedInt, 24)})
            QTest::addRow("type %d, %d bits", int(row.first), row.second)
                << pcmFormat(row.first, row.second) << QByteArray(16, '\x7f') << Levels(4, 0.0);
        // Not measurable at all: no column (Qt counts an unknown sample type as invalid).
        for (int bits : {8, 16, 32})
            QTest::addRow("unknown, %d bits", bits) << pcmFormat(T::Unknown, bits) << QByteArray(8, '\x7f') << Levels();
        QAudioFormat raw = pcmFormat(T::SignedInt, 16);
        raw.setCodec(QStringLiteral("audio/x-raw"));
        QTest::newRow("big-endian") << pcmFormat(T::SignedInt, 16, 2, T::BigEndian) << QByteArray(8, '\x10')
                                    << Levels();
        QTest::newRow("not pcm") << raw << QByteArray(8, '\x10') << Levels();
        QTest::newRow("invalid") << QAudioFormat() << QByteArray(8, '\x10') << Levels();
    }

    void levels()
    {
        QFETCH(QAudioFormat, format);
        QFETCH(QByteArray, data);
        QFETCH(Levels, expected);
        QCOMPARE(BufferLevels::sampleLevels(QAudioBuffer(data, format)), expected);
    }
};

QTEST_APPLESS_MAIN(TestBufferLevels)
#include "tst_bufferlevels.moc"
