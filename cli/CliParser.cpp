#include "cli/CliParser.h"

#include "app/HidBackendFactory.h"
#include "cli/CliCommandTable.h"

#include <QRegularExpression>

#include <limits>

namespace {

bool looksLikeInteger(const QString &text)
{
    static const QRegularExpression digits(QStringLiteral("^[+-]?[0-9]+$"));
    return digits.match(text).hasMatch();
}

// False with a message when `text` is no integer in min..max.
bool readInteger(const QString &text, qint64 min, qint64 max, int *value, QString *error)
{
    if (!looksLikeInteger(text)) {
        *error = QStringLiteral("argument '%1' is not an integer").arg(text);
        return false;
    }
    bool ok = false;
    const qint64 number = text.toLongLong(&ok);
    if (!ok || number < min || number > max) {
        *error = QStringLiteral("argument '%1' is out of range %2..%3").arg(text).arg(min).arg(max);
        return false;
    }
    *value = int(number);
    return true;
}

QString plural(int count)
{
    return count == 1 ? QStringLiteral("1 argument") : QStringLiteral("%1 arguments").arg(count);
}

QString expected(const CliCommand &command)
{
    if (command.minArgs == command.maxArgs)
        return command.maxArgs == 0 ? QStringLiteral("no arguments") : plural(command.maxArgs);
    return QStringLiteral("%1 or %2 arguments").arg(command.minArgs).arg(command.maxArgs);
}

} // namespace

bool CliParser::parse(const QStringList &arguments, CliOptions *options, QString *error)
{
    auto fail = [error](const QString &message) {
        *error = message;
        return false;
    };
    *options = CliOptions();
    CliInvocation *current = nullptr;
    QStringList pending; // arguments of the current command

    auto finish = [&]() -> bool {
        if (!current)
            return true;
        const CliCommand &command = *current->command;
        if (pending.size() < command.minArgs || pending.size() > command.maxArgs)
            return fail(QStringLiteral("%1 takes %2, got %3")
                            .arg(QLatin1String(command.name), expected(command))
                            .arg(pending.size()));
        if (command.arguments == CliCommand::Arguments::File) {
            current->file = pending.value(0);
        } else if (command.arguments == CliCommand::Arguments::OnOff) {
            current->word = pending.value(0);
            if (!current->word.isEmpty() && current->word != QLatin1String("on")
                && current->word != QLatin1String("off"))
                return fail(
                    QStringLiteral("%1: '%2' is neither on nor off").arg(QLatin1String(command.name), current->word));
        } else {
            if (command.arguments == CliCommand::Arguments::KeyValue)
                current->key = pending.takeFirst();
            // A knob turns a parameter byte; setter values are checked against the model's
            // ranges once the model is known.
            const bool byte = command.arguments == CliCommand::Arguments::KeyValue;
            for (const QString &argument : pending) {
                int value = 0;
                QString problem;
                if (!readInteger(argument, byte ? 0 : std::numeric_limits<int>::min(),
                                 byte ? 255 : std::numeric_limits<int>::max(), &value, &problem))
                    return fail(QStringLiteral("%1: %2").arg(QLatin1String(command.name), problem));
                current->integers << value;
            }
        }
        pending.clear();
        current = nullptr;
        return true;
    };

    for (int i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            options->help = true;
        } else if (argument == QLatin1String("--direct")) {
            options->direct = true;
        } else if (argument == QLatin1String("--trace")) {
            options->trace = true;
        } else if (argument == QLatin1String("--json")) {
            options->json = true;
        } else if (argument == QLatin1String("--version")) {
            options->version = true;
        } else if (argument == QLatin1String("--verbose")) {
            options->verbose = true;
        } else if (argument == QLatin1String("--emulate") || argument.startsWith(QLatin1String("--emulate="))) {
            QString model;
            if (argument.contains(QLatin1Char('='))) {
                model = argument.section(QLatin1Char('='), 1);
            } else {
                if (i + 1 >= arguments.size())
                    return fail(QStringLiteral("--emulate needs a model: vx01 or vx02"));
                model = arguments.at(++i);
            }
            if (model.isEmpty())
                return fail(QStringLiteral("--emulate needs a model: vx01 or vx02"));
            QString problem;
            if (!HidBackendFactory::emulatedModel({QStringLiteral("--emulate"), model}, &options->emulate, &problem))
                return fail(QStringLiteral("--emulate: ") + problem);
        } else if (argument.startsWith(QLatin1String("--"))) {
            return fail(QStringLiteral("unknown option '%1'").arg(argument));
        } else if (current
                   && (current->command->arguments == CliCommand::Arguments::File
                       || current->command->arguments == CliCommand::Arguments::KeyValue)
                   && pending.size() < current->command->maxArgs
                   && (current->command->arguments == CliCommand::Arguments::File || pending.isEmpty())) {
            // Where a file name or a key is expected, a word is that, even if a command has its name.
            pending << argument;
        } else if (const CliCommand *command = CliCommandTable::find(argument)) {
            if (!finish())
                return false;
            CliInvocation invocation;
            invocation.command = command;
            options->invocations.append(invocation);
            current = &options->invocations.last();
        } else if (current && pending.size() < current->command->maxArgs) {
            pending << argument;
        } else if (current && looksLikeInteger(argument)) {
            return fail(QStringLiteral("%1 takes %2, got more ('%3')")
                            .arg(QLatin1String(current->command->name), expected(*current->command), argument));
        } else {
            return fail(QStringLiteral("unknown command '%1'").arg(argument));
        }
    }
    if (!finish())
        return false;
    if (options->invocations.isEmpty() && !options->help && !options->version)
        return fail(QStringLiteral("no command given (vorletctl --help lists them)"));
    return true;
}

QString CliParser::helpText()
{
    QString text =
        QStringLiteral("Usage: vorletctl [--emulate vx01|vx02] [--direct] [--trace] [--json] [--verbose] COMMAND "
                       "[ARG...] [COMMAND [ARG...]]...\n"
                       "       vorletctl --help | --version\n"
                       "\n"
                       "Talks to the attached Vorlet sound card (vx01 or vx02) the way the control panel does:\n"
                       "finds the device, opens it, then runs the commands in order in one session. Needs no\n"
                       "display. While the panel runs in the same session (it owns com.brindle.vorlet on the\n"
                       "session bus), the commands go through the panel instead, which owns the device; the\n"
                       "output and exit status are the same.\n"
                       "\n"
                       "Options:\n"
                       "  --emulate vx01|vx02  use an emulated device of that model instead of the real ones\n"
                       "                       (also: environment variable VORLET_EMULATE; any case)\n"
                       "  --direct             open the device here even while the panel runs\n"
                       "  --trace              write every report to stderr: \"> \" sent, \"< \" received, then the\n"
                       "                       report as the transport moves it, report id first, in hex (not\n"
                       "                       through the panel: its frames cannot be seen from here)\n"
                       "  --json               every result as one JSON document per line: getAllPara an object\n"
                       "                       of the parameters, list an array, the other queries an object\n"
                       "                       {\"COMMAND\": result}\n"
                       "  --verbose            show the program's log lines on stderr\n"
                       "  --version            the version of vorletctl\n"
                       "  --help               this text\n"
                       "\n"
                       "Commands (integer arguments; every setter argument is checked against the attached\n"
                       "model's values below before anything is sent):\n");
    for (const CliCommand &command : CliCommandTable::commands()) {
        const QString usage =
            QStringLiteral("%1 %2").arg(QLatin1String(command.name), QLatin1String(command.argumentHelp)).trimmed();
        text += QStringLiteral("  %1  %2\n").arg(usage, -34).arg(QLatin1String(command.help));
    }
    text += QStringLiteral(
        "\n"
        "Codes per model, with the getAllPara key each one sets:\n"
        "  setVolume TYPE VALUE (VALUE 0-16)\n"
        "    vx01: 1 monitor (volumeMonitor), 2 record (volumeRecording),\n"
        "          3 music (volumeMusicVolume), 4 mic (volumeMic)\n"
        "    vx02: 1 monitor (volumeMonitor), 2 record (volumeRecording), 3 music (volumeBluetooth),\n"
        "          4 live broadcast (volumeBroadcast), 5 background music (volumeBGM)\n"
        "  setSwitch TYPE VALUE (VALUE 1 on, 2 off)\n"
        "    vx01: 1 Bluetooth (btnBluetooth), 2 noise reduction (btnDenoise),\n"
        "          3 internal playback (btnInPower), 4 vocal cut (btnDisVoice), 7 ducking (btnDodge)\n"
        "    vx02: 1 internal playback (btnInPower), 2 ducking (btnDodge),\n"
        "          3 monitor wet, record dry (btnMixDry)\n"
        "  setSoundMode MODETYPE DETAIL\n"
        "    vx01 (model): 1 0 music (1); 2 1|2|3 singing with large, medium, small reverberation\n"
        "          (2, 3, 4); 3 0 chat (7)\n"
        "    vx02 (soundMode, modelDetail): 1 1-5 reverberation effect: live, shout, sing, chat, host\n"
        "          2 1-6 voice change: boy, girl, child, robot, telephone, monster\n"
        "          3 1-12 electronic key: F, E, Eb, D, Db, c, Gb, G, Ab, A, Bb, B\n"
        "\n"
        "Results go to stdout, one line per command that returns something. A profile written by\n"
        "save can be given to load, which reads it when it runs (so after an earlier save of the\n"
        "same session); only regular files up to 1 MiB are read. Keys the device only reports\n"
        "(vx01 toneColourHigh, toneColourLow, btnMute) are accepted and not sent. knob plays the user at the emulated\n"
        "device: `--emulate vx01 getAllPara knob volumeMonitor 3 getParaIsChange` prints true.\n"
        "\n"
        "While lastSettings is on, the panel and vorletctl remember each device's settings by its\n"
        "serial number (in the format of save) and the panel sends them again when the device\n"
        "arrives or the computer wakes; a vorletctl session remembers the state it leaves. The\n"
        "panel does this after its window is closed only with background on; autostart on starts\n"
        "it hidden at login ($XDG_CONFIG_HOME/autostart/com.brindle.vorlet.desktop).\n"
        "\n"
        "Exit status:\n"
        "  0  success\n"
        "  1  no device found, or it could not be opened; nothing remembered to restore\n"
        "  2  usage error: unknown command or model, wrong argument count, argument not an\n"
        "     integer or outside the model's values, bad profile, knob or unplug without\n"
        "     --emulate; nothing is sent then (a profile that an earlier save of the session\n"
        "     writes is checked when its load runs)\n"
        "  3  the device did not take a command or answer a query (device gone), or answered\n"
        "     with something that cannot be saved or remembered\n"
        "  4  the profile file or the autostart entry cannot be written (the old file is kept)\n");
    return text;
}
