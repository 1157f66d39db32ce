#include "record/AudioInputResolver.h"

#include <QtTest>

using Inputs = QVector<AudioInputResolver::Input>;
Q_DECLARE_METATYPE(Inputs)

class TestAudioInputResolver : public QObject
{
    Q_OBJECT

private slots:
    // The card's Windows-style input name becomes the backend input whose description (or
    // name) holds the product name in its last parentheses; otherwise the default input.
    void resolve_data()
    {
        const Inputs inputs{
            {"default:", "System default device"},
            {"alsa:hw:CARD=Stage20,DEV=0", "Vorlet Stage 20, USB Audio"},
            {"alsa:hw:CARD=Cantor10,DEV=0", "Vorlet Cantor 10, USB Audio"},
            {"alsa:hw:CARD=Mic,DEV=0", "Mic () USB"},
        };
        QTest::addColumn<QString>("device");
        QTest::addColumn<Inputs>("inputs");
        QTest::addColumn<QString>("expected");
        QTest::newRow("vx02") << "麦克风 (Vorlet Stage 20)" << inputs << "alsa:hw:CARD=Stage20,DEV=0";
        QTest::newRow("vx01") << "Microphone (Vorlet Cantor 10)" << inputs << "alsa:hw:CARD=Cantor10,DEV=0";
        QTest::newRow("bare product") << "Vorlet Cantor 10" << inputs << "alsa:hw:CARD=Cantor10,DEV=0";
        QTest::newRow("empty parentheses: whole name") << "Mic ()" << inputs << "alsa:hw:CARD=Mic,DEV=0";
        QTest::newRow("Default") << "Default" << inputs << "default:";
        QTest::newRow("empty") << "" << inputs << "default:";
        QTest::newRow("card absent") << "麦克风 (Vorlet Stage 20)" << Inputs{inputs[0], inputs[2]} << "default:";
        QTest::newRow("no inputs") << "麦克风 (Vorlet Stage 20)" << Inputs{} << "default:";
        QTest::newRow("by name, any case")
            << "(vorlet stage 20)" << Inputs{{"x:Vorlet Stage 20", ""}} << "x:Vorlet Stage 20";
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
