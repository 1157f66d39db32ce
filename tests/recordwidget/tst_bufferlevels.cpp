#include "record/BufferLevels.h"

#include <QtTest>

#include <cstring>

namespace {

QAudioFormat pcmFormat(QAudioFormat::SampleType type, int bits, int channels = 2)
{
    QAudioFormat format;
    format.setSampleRate(48000);
    format.setChannelCount(channels);
    format.setSampleSize(bits);
    format.setSampleType(type);
    format.setByteOrder(QAudioFormat::LittleEndian);
    format.setCodec(QStringLiteral("audio/pcm"));
    return format;
}

template <typename T>
QByteArray bytesOf(const QVector<T> &samples)
{
    QByteArray bytes(samples.size() * int(sizeof(T)), '\0');
    std::memcpy(bytes.data(), samples.constData(), size_t(bytes.size()));
    return bytes;
}

// Level of raw value v the way the panel draws it: signed and float types around 0, unsigned
// types around half their full scale.
qreal signedLevel(qreal v, qreal full) { return v / full; }
qreal unsignedLevel(qreal v, qreal full) { return qAbs(v - full / 2) / (full / 2); }

} // namespace


class TestBufferLevels : public QObject
{
    Q_OBJECT

private slots:
    void fullScale_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("bits");
        QTest::addColumn<qreal>("expected");
        QTest::newRow("s8") << int(QAudioFormat::SignedInt) << 8 << 127.0;
        QTest::newRow("s16") << int(QAudioFormat::SignedInt) << 16 << 32767.0;
        QTest::newRow("s32") << int(QAudioFormat::SignedInt) << 32 << 2147483647.0;
        QTest::newRow("u8") << int(QAudioFormat::UnSignedInt) << 8 << 255.0;
        QTest::newRow("u16") << int(QAudioFormat::UnSignedInt) << 16 << 65535.0;
        QTest::newRow("u32") << int(QAudioFormat::UnSignedInt) << 32 << 4294967295.0;
        QTest::newRow("f32") << int(QAudioFormat::Float) << 32 << 1.00003;
        QTest::newRow("f8") << int(QAudioFormat::Float) << 8 << 0.0;
        QTest::newRow("f16") << int(QAudioFormat::Float) << 16 << 0.0;
        QTest::newRow("unknown8") << int(QAudioFormat::Unknown) << 8 << 0.0;
        QTest::newRow("unknown16") << int(QAudioFormat::Unknown) << 16 << 0.0;
        QTest::newRow("unknown32") << int(QAudioFormat::Unknown) << 32 << 0.0;
        QTest::newRow("s24") << int(QAudioFormat::SignedInt) << 24 << 0.0;
        QTest::newRow("f64") << int(QAudioFormat::Float) << 64 << 0.0;
    }

    void fullScale()
    {
        QFETCH(int, type);
        QFETCH(int, bits);
        QFETCH(qreal, expected);
        QCOMPARE(BufferLevels::fullScaleValue(pcmFormat(QAudioFormat::SampleType(type), bits)),
                 expected);
    }

    void unmeasurableFormats_data()
    {
        QTest::addColumn<QAudioFormat>("format");
        QTest::newRow("invalid") << QAudioFormat();
        QAudioFormat big = pcmFormat(QAudioFormat::SignedInt, 16);
        big.setByteOrder(QAudioFormat::BigEndian);
        QTest::newRow("big-endian") << big;
        QAudioFormat raw = pcmFormat(QAudioFormat::SignedInt, 16);
        raw.setCodec(QStringLiteral("audio/x-raw"));
        QTest::newRow("not pcm") << raw;
    }

    void unmeasurableFormats()
    {
        QFETCH(QAudioFormat, format);
        QCOMPARE(BufferLevels::fullScaleValue(format), 0.0);
        const QAudioBuffer buffer(QByteArray(64, '\x10'), format);
        QVERIFY(BufferLevels::sampleLevels(buffer).isEmpty());
    }

    void levels_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("bits");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QVector<qreal>>("expected");

        // Two stereo frames each: (left, right), (left, right).
        QTest::newRow("s8") << int(QAudioFormat::SignedInt) << 8
                            << bytesOf(QVector<qint8>{10, -20, 127, -128})
                            << QVector<qreal>{signedLevel(127, 127), signedLevel(10, 127),
                                              signedLevel(-20, 127), signedLevel(-128, 127)};
        QTest::newRow("s16") << int(QAudioFormat::SignedInt) << 16
                             << bytesOf(QVector<qint16>{1000, -32767, -500, 32767})
                             << QVector<qreal>{signedLevel(1000, 32767), signedLevel(-500, 32767),
                                               signedLevel(32767, 32767),
                                               signedLevel(-32767, 32767)};
        QTest::newRow("s32") << int(QAudioFormat::SignedInt) << 32
                             << bytesOf(QVector<qint32>{2147483647, 0, -1000, -2147483647})
                             << QVector<qreal>{1.0, signedLevel(-1000, 2147483647.0),
                                               0.0, signedLevel(-2147483647.0, 2147483647.0)};
        QTest::newRow("u8 silence") << int(QAudioFormat::UnSignedInt) << 8
                                    << bytesOf(QVector<quint8>{128, 128, 128, 128})
                                    << QVector<qreal>(4, qAbs(128 - 127.5) / 127.5);
        QTest::newRow("u8") << int(QAudioFormat::UnSignedInt) << 8
                            << bytesOf(QVector<quint8>{0, 200, 255, 100})
                            << QVector<qreal>{1.0, 1.0, unsignedLevel(200, 255),
                                              unsignedLevel(100, 255)};
        QTest::newRow("u16") << int(QAudioFormat::UnSignedInt) << 16
                             << bytesOf(QVector<quint16>{0, 65535, 40000, 100})
                             << QVector<qreal>{unsignedLevel(40000, 65535), 1.0, 1.0,
                                               unsignedLevel(100, 65535)};
        // Values above 2^31 must stay positive: they are unsigned.
        QTest::newRow("u32") << int(QAudioFormat::UnSignedInt) << 32
                             << bytesOf(QVector<quint32>{4294967295u, 1, 5, 3000000000u})
                             << QVector<qreal>{1.0, unsignedLevel(5, 4294967295.0),
                                               unsignedLevel(3000000000.0, 4294967295.0),
                                               unsignedLevel(1, 4294967295.0)};
        QTest::newRow("f32 half") << int(QAudioFormat::Float) << 32
                                  << bytesOf(QVector<float>{0.5f, -0.25f, -0.5f, 0.125f})
                                  << QVector<qreal>{0.5 / 1.00003, -0.5 / 1.00003,
                                                    0.125 / 1.00003, -0.25 / 1.00003};
        QTest::newRow("f16 zeros") << int(QAudioFormat::Float) << 16
                                   << QByteArray(8, '\x7f') << QVector<qreal>(4, 0.0);
        // Qt counts a format of unknown sample type as invalid: nothing to measure.
        QTest::newRow("unknown8 empty") << int(QAudioFormat::Unknown) << 8
                                        << QByteArray(8, '\x7f') << QVector<qreal>();
        QTest::newRow("unknown16 empty") << int(QAudioFormat::Unknown) << 16
                                         << QByteArray(8, '\x7f') << QVector<qreal>();
        QTest::newRow("unknown32 empty") << int(QAudioFormat::Unknown) << 32
                                         << QByteArray(8, '\x7f') << QVector<qreal>();
        QTest::newRow("f8 zeros") << int(QAudioFormat::Float) << 8
                                  << QByteArray(8, '\x7f') << QVector<qreal>(4, 0.0);
        QTest::newRow("s24 zeros") << int(QAudioFormat::SignedInt) << 24
                                   << QByteArray(12, '\x7f') << QVector<qreal>(4, 0.0);
    }

    void levels()
    {
        QFETCH(int, type);
        QFETCH(int, bits);
        QFETCH(QByteArray, data);
        QFETCH(QVector<qreal>, expected);
        const QAudioBuffer buffer(data, pcmFormat(QAudioFormat::SampleType(type), bits));
        const QVector<qreal> column = BufferLevels::sampleLevels(buffer);
        QCOMPARE(column.size(), expected.size());
        for (int i = 0; i < column.size(); ++i) {
            if (!qFuzzyCompare(column[i] + 1.0, expected[i] + 1.0))
                QFAIL(qPrintable(QStringLiteral("value %1: %2, expected %3")
                                     .arg(i).arg(column[i], 0, 'g', 12)
                                     .arg(expected[i], 0, 'g', 12)));
        }
    }

    void monoColumnHasTwoValues()
    {
        const QAudioBuffer buffer(bytesOf(QVector<qint16>{-300, 600, 100}),
                                  pcmFormat(QAudioFormat::SignedInt, 16, 1));
        QCOMPARE(BufferLevels::sampleLevels(buffer),
                 (QVector<qreal>{600 / 32767.0, -300 / 32767.0}));
    }

    void columnScanStartsFromExtremes()
    {
        const QVector<qreal> none = BufferLevels::columnScan<qint16>(nullptr, 0, 2);
        QCOMPARE(none, (QVector<qreal>{-2147483648.0, 2147483647.0, -2147483648.0, 2147483647.0}));
        const qint16 frames[] = {5, -7, 9, -1, -3, 2};
        QCOMPARE(BufferLevels::columnScan(frames, 3, 2), (QVector<qreal>{9, -3, 2, -7}));
    }

    void bufferDuration_data()
    {
        QTest::addColumn<qint64>("frames");
        QTest::addColumn<qint64>("rate");
        QTest::addColumn<qint64>("ms");
        QTest::newRow("48k 1920") << qint64(1920) << qint64(48000) << qint64(40);
        QTest::newRow("44.1k 441") << qint64(441) << qint64(44100) << qint64(10);
        QTest::newRow("two seconds") << qint64(96000) << qint64(48000) << qint64(2000);
        QTest::newRow("long buffer") << qint64(44100) * 60 * 60 << qint64(44100)
                                     << qint64(3600000);
        QTest::newRow("no rate") << qint64(1920) << qint64(0) << qint64(0);
    }

    void bufferDuration()
    {
        QFETCH(qint64, frames);
        QFETCH(qint64, rate);
        QFETCH(qint64, ms);
        QCOMPARE(BufferLevels::bufferDurationMs(frames, rate), ms);
    }
};

QTEST_APPLESS_MAIN(TestBufferLevels)
#include "tst_bufferlevels.moc"
