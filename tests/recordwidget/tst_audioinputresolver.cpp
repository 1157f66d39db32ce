#include "record/AudioInputResolver.h"

#include <QtTest>

using Inputs = QVector<AudioInputResolver::Input>;
Q_DECLARE_METATYPE(Inputs)

class TestAudioInputResolver : public QObject
{
    Q_OBJECT

private slots:
    void productName_data()
    {
        QTest::addColumn<QString>("device");
        QTest::addColumn<QString>("product");
        QTest::newRow("vx02") << QStringLiteral("麦克风 (Vorlet Stage 20)")
                              << QStringLiteral("Vorlet Stage 20");
        QTest::newRow("vx01") << QStringLiteral("Microphone (Vorlet Cantor 10)")
                              << QStringLiteral("Vorlet Cantor 10");
        QTest::newRow("bare") << QStringLiteral("Vorlet Cantor 10")
                              << QStringLiteral("Vorlet Cantor 10");
        QTest::newRow("default") << QStringLiteral("Default") << QString();
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("empty parens") << QStringLiteral("Mic ()") << QStringLiteral("Mic ()");
    }

    void productName()
    {
        QFETCH(QString, device);
        QFETCH(QString, product);
        QCOMPARE(AudioInputResolver::productName(device), product);
    }

    void resolve_data()
    {
        const Inputs inputs{
            {QStringLiteral("default:"), QStringLiteral("System default device")},
            {QStringLiteral("alsa:hw:CARD=Stage20,DEV=0"),
             QStringLiteral("Vorlet Stage 20, USB Audio")},
            {QStringLiteral("alsa:hw:CARD=Cantor10,DEV=0"),
             QStringLiteral("Vorlet Cantor 10, USB Audio")},
            {QStringLiteral("pulseaudio:"), QStringLiteral("PulseAudio device.")},
        };
        QTest::addColumn<QString>("device");
        QTest::addColumn<Inputs>("inputs");
        QTest::addColumn<QString>("expected");
        QTest::newRow("vx02 card") << QStringLiteral("麦克风 (Vorlet Stage 20)") << inputs
                                   << QStringLiteral("alsa:hw:CARD=Stage20,DEV=0");
        QTest::newRow("vx01 card") << QStringLiteral("麦克风 (Vorlet Cantor 10)") << inputs
                                   << QStringLiteral("alsa:hw:CARD=Cantor10,DEV=0");
        QTest::newRow("default") << QStringLiteral("Default") << inputs
                                 << QStringLiteral("default:");
        QTest::newRow("card absent") << QStringLiteral("麦克风 (Vorlet Stage 20)")
                                     << Inputs{inputs[0], inputs[3]} << QStringLiteral("default:");
        QTest::newRow("no inputs") << QStringLiteral("麦克风 (Vorlet Stage 20)") << Inputs{}
                                   << QStringLiteral("default:");
        QTest::newRow("match by name") << QStringLiteral("(vorlet stage 20)")
                                       << Inputs{{QStringLiteral("x:Vorlet Stage 20"), QString()}}
                                       << QStringLiteral("x:Vorlet Stage 20");
    }

    void resolve()
    {
        QFETCH(QString, device);
        QFETCH(Inputs, inputs);
        QFETCH(QString, expected);
        QCOMPARE(AudioInputResolver::resolve(device, inputs, QStringLiteral("default:")), expected);
    }
};

QTEST_APPLESS_MAIN(TestAudioInputResolver)
#include "tst_audioinputresolver.moc"
