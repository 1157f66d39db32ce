#include "cli/CliCommandTable.h"
#include "cli/CliParser.h"
#include "soundcard/SetterSlot.h"

#include <QtTest>

namespace {

// The options that are set, then the invocations: "emulate=vx02 trace json name:arg,arg name".
QString describe(const CliOptions &options)
{
    QStringList parts;
    if (!options.emulate.isEmpty())
        parts << QStringLiteral("emulate=") + options.emulate;
    if (options.trace)
        parts << QStringLiteral("trace");
    if (options.json)
        parts << QStringLiteral("json");
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
        QTest::addColumn<QString>("options");
        QTest::newRow("options first") << QStringList{"--emulate", "vx02", "--trace", "--json", "getAllPara"}
                                       << "emulate=vx02 trace json getAllPara";
        QTest::newRow("--emulate=vx01") << QStringList{"--emulate=vx01", "getDevType"} << "emulate=vx01 getDevType";
        QTest::newRow("model in any case")
            << QStringList{"--emulate", "VX02", "getDevType"} << "emulate=vx02 getDevType";
        QTest::newRow("option after a command") << QStringList{"getAllPara", "--json"} << "json getAllPara";
        QTest::newRow("reverb with one argument, then another command")
            << QStringList{"setMicReverberation", "5", "setVolume", "2", "10"}
            << "setMicReverberation:5 setVolume:2,10";
        QTest::newRow("reverb with two arguments")
            << QStringList{"setMicReverberation", "5", "2", "getAllPara"} << "setMicReverberation:5,2 getAllPara";
        QTest::newRow("negative and large values")
            << QStringList{"setVolume", "1", "300", "setSpecialEffectSound", "-1"}
            << "setVolume:1,300 setSpecialEffectSound:-1";
        QTest::newRow("files") << QStringList{"save", "a.json", "load", "b.json"} << "save:a.json load:b.json";
        QTest::newRow("file named like a command") << QStringList{"save", "getAllPara", "load", "list", "getDevType"}
                                                   << "save:getAllPara load:list getDevType";
        QTest::newRow("knob") << QStringList{"knob", "volumeBGM", "3", "getParaIsChange"}
                              << "knob:volumeBGM,3 getParaIsChange";
        QTest::newRow("knob at the byte's ends")
            << QStringList{"knob", "volumeBGM", "0", "knob", "btnMute", "255"} << "knob:volumeBGM,0 knob:btnMute,255";
    }
    void accepts()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, options);
        CliOptions parsed;
        QString error;
        QVERIFY2(CliParser::parse(arguments, &parsed, &error), qPrintable(error));
        QCOMPARE(describe(parsed), options);
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

    // Every setter has its command, named after it and taking its arguments.
    void everySetterHasItsCommand()
    {
        for (const SetterSlot &slot : SetterSlot::all()) {
            const CliCommand *command = CliCommandTable::find(QLatin1String(slot.name));
            QVERIFY2(command && command->action == CliCommand::Action::Setter, slot.name);
            QCOMPARE(SetterSlot::of(command->setter).name, slot.name);
            QCOMPARE(command->maxArgs, slot.selector < 0 ? 1 : 2);
        }
    }
};

QTEST_GUILESS_MAIN(TestCliParser)
#include "tst_cliparser.moc"
