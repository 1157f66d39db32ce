#include "cli/CliCommandTable.h"
#include "cli/CliParser.h"
#include "soundcard/SoundCardBase.h"

#include <QtTest>

namespace {

// "name:arg,arg name" – the invocations in a compact text form.
QString describe(const CliOptions &options)
{
    QStringList parts;
    for (const CliInvocation &invocation : options.invocations) {
        QStringList args;
        for (int value : invocation.integers)
            args << QString::number(value);
        if (!invocation.file.isEmpty())
            args << invocation.file;
        if (!invocation.key.isEmpty())
            args.prepend(invocation.key);
        parts << QString::fromLatin1(invocation.command->name)
                + (args.isEmpty() ? QString() : QLatin1Char(':') + args.join(QLatin1Char(',')));
    }
    return parts.join(QLatin1Char(' '));
}

} // namespace

class TestCliParser : public QObject
{
    Q_OBJECT
private slots:
    void accepts_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("invocations");
        QTest::addColumn<QString>("emulate");
        QTest::addColumn<bool>("trace");
        QTest::addColumn<bool>("json");
        QTest::newRow("one setter") << QStringList{"setVolume", "2", "10"} << "setVolume:2,10"
                                    << "" << false << false;
        QTest::newRow("options first") << QStringList{"--emulate", "vx02", "--trace", "--json", "getAllPara"}
                                       << "getAllPara"
                                       << "vx02" << true << true;
        QTest::newRow("--emulate=vx01") << QStringList{"--emulate=vx01", "getDevType"} << "getDevType"
                                        << "vx01" << false << false;
        QTest::newRow("reverb with one argument, then another command")
            << QStringList{"setMicReverberation", "5", "setVolume", "2", "10"} << "setMicReverberation:5 setVolume:2,10"
            << "" << false << false;
        QTest::newRow("reverb with two arguments")
            << QStringList{"setMicReverberation", "5", "2", "getAllPara"} << "setMicReverberation:5,2 getAllPara"
            << "" << false << false;
        QTest::newRow("negative and large values")
            << QStringList{"setVolume", "1", "300", "setSpecialEffectSound", "-1"}
            << "setVolume:1,300 setSpecialEffectSound:-1"
            << "" << false << false;
        QTest::newRow("every query")
            << QStringList{"getFirmwareVer",  "getSNCode",  "getDevType", "getInputDevName",
                           "getParaIsChange", "getAllPara", "list"}
            << "getFirmwareVer getSNCode getDevType getInputDevName getParaIsChange getAllPara list"
            << "" << false << false;
        QTest::newRow("files") << QStringList{"save", "a.json", "load", "b.json"} << "save:a.json load:b.json"
                               << "" << false << false;
        QTest::newRow("knob") << QStringList{"knob", "volumeBGM", "3", "getParaIsChange"}
                              << "knob:volumeBGM,3 getParaIsChange"
                              << "" << false << false;
        QTest::newRow("option after a command") << QStringList{"getAllPara", "--json"} << "getAllPara"
                                                << "" << false << true;
        QTest::newRow("model in any case") << QStringList{"--emulate", "VX02", "getDevType"} << "getDevType"
                                           << "vx02" << false << false;
        QTest::newRow("file named like a command")
            << QStringList{"save", "getAllPara", "load", "list", "getDevType"} << "save:getAllPara load:list getDevType"
            << "" << false << false;
        QTest::newRow("knob at the byte's ends")
            << QStringList{"knob", "volumeBGM", "0", "knob", "btnMute", "255"} << "knob:volumeBGM,0 knob:btnMute,255"
            << "" << false << false;
    }
    void accepts()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, invocations);
        QFETCH(QString, emulate);
        QFETCH(bool, trace);
        QFETCH(bool, json);
        CliOptions options;
        QString error;
        QVERIFY2(CliParser::parse(arguments, &options, &error), qPrintable(error));
        QCOMPARE(describe(options), invocations);
        QCOMPARE(options.emulate, emulate);
        QCOMPARE(options.trace, trace);
        QCOMPARE(options.json, json);
    }

    void rejects_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("only options") << QStringList{"--trace"} << "no command given";
        QTest::newRow("unknown command") << QStringList{"setVolumes", "1", "2"} << "unknown command 'setVolumes'";
        QTest::newRow("too few before next command")
            << QStringList{"setSwitch", "7", "getAllPara"} << "setSwitch takes 2 arguments, got 1";
        QTest::newRow("too many") << QStringList{"setDodgeSpeed", "3", "4"}
                                  << "setDodgeSpeed takes 1 argument, got more ('4')";
        QTest::newRow("reverb with three") << QStringList{"setMicReverberation", "1", "2", "3"}
                                           << "setMicReverberation takes 1 or 2 arguments, got more ('3')";
        QTest::newRow("argument to a query")
            << QStringList{"getSNCode", "5"} << "getSNCode takes no arguments, got more ('5')";
        QTest::newRow("fraction") << QStringList{"setDenoise", "1.5"} << "setDenoise: argument '1.5' is not an integer";
        QTest::newRow("save without file") << QStringList{"save"} << "save takes 1 argument, got 0";
        QTest::newRow("knob without value") << QStringList{"knob", "volumeBGM"} << "knob takes 2 arguments, got 1";
        QTest::newRow("knob value not an integer")
            << QStringList{"knob", "volumeBGM", "max"} << "knob: argument 'max' is not an integer";
        QTest::newRow("unknown option") << QStringList{"--fast", "getAllPara"} << "unknown option '--fast'";
        QTest::newRow("unknown model") << QStringList{"--emulate", "Foo", "getAllPara"}
                                       << "--emulate: unknown model 'Foo', expected vx01 or vx02";
        QTest::newRow("out of range") << QStringList{"setVolume", "2", "99999999999"}
                                      << "setVolume: argument '99999999999' is out of range -2147483648..2147483647";
        QTest::newRow("knob above a byte")
            << QStringList{"knob", "volumeBGM", "256"} << "knob: argument '256' is out of range 0..255";
        QTest::newRow("knob below a byte")
            << QStringList{"knob", "volumeBGM", "-1"} << "knob: argument '-1' is out of range 0..255";
        QTest::newRow("too many, out of range")
            << QStringList{"setDenoise", "1", "99999999999"} << "setDenoise takes 1 argument, got more ('99999999999')";
        QTest::newRow("emulate without model") << QStringList{"--emulate"} << "--emulate needs a model";
    }
    void rejects()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        CliOptions options;
        QString error;
        QVERIFY(!CliParser::parse(arguments, &options, &error));
        QVERIFY2(error.startsWith(message), qPrintable(error));
        QVERIFY(!error.contains(QLatin1Char('\n')));
    }

    // Every setter and text query of the table is a slot of the sound card that takes as many
    // ints as the command takes arguments.
    void commandsAreSlots()
    {
        const QMetaObject &card = SoundCardBase::staticMetaObject;
        int checked = 0;
        for (const CliCommand &command : CliCommandTable::commands()) {
            if (command.action != CliCommand::Action::Setter && command.action != CliCommand::Action::TextQuery)
                continue;
            for (int count = command.minArgs; count <= command.maxArgs; ++count) {
                QStringList ints;
                for (int i = 0; i < count; ++i)
                    ints << QStringLiteral("int");
                const QByteArray signature = QByteArray(command.name) + '(' + ints.join(',').toLatin1() + ')';
                const int index = card.indexOfSlot(signature.constData());
                QVERIFY2(index >= 0, signature.constData());
                if (command.action == CliCommand::Action::TextQuery)
                    QCOMPARE(card.method(index).returnType(), int(QMetaType::QString));
                ++checked;
            }
        }
        QCOMPARE(checked, 16);
    }
};

QTEST_GUILESS_MAIN(TestCliParser)
#include "tst_cliparser.moc"
