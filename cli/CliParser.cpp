#include "cli/CliParser.h"

#include "cli/CliCommandTable.h"

namespace {

bool isInteger(const QString &text)
{
    bool ok = false;
    text.toInt(&ok);
    return ok;
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
    QStringList pending;   // arguments of the current command

    auto finish = [&]() -> bool {
        if (!current)
            return true;
        const CliCommand &command = *current->command;
        if (pending.size() < command.minArgs || pending.size() > command.maxArgs)
            return fail(QStringLiteral("%1 takes %2, got %3").arg(QLatin1String(command.name), expected(command)).arg(pending.size()));
        if (command.arguments == CliCommand::Arguments::File) {
            current->file = pending.value(0);
        } else if (command.arguments == CliCommand::Arguments::OnOff) {
            current->word = pending.value(0);
            if (!current->word.isEmpty() && current->word != QLatin1String("on") && current->word != QLatin1String("off"))
                return fail(QStringLiteral("%1: '%2' is neither on nor off").arg(QLatin1String(command.name), current->word));
        } else {
            if (command.arguments == CliCommand::Arguments::KeyValue)
                current->key = pending.takeFirst();
            for (const QString &argument : pending) {
                bool ok = false;
                const int value = argument.toInt(&ok);
                if (!ok)
                    return fail(QStringLiteral("%1: argument '%2' is not an integer").arg(QLatin1String(command.name), argument));
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
        } else if (argument == QLatin1String("--trace")) {
            options->trace = true;
        } else if (argument == QLatin1String("--json")) {
            options->json = true;
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
            if (model != QLatin1String("vx01") && model != QLatin1String("vx02"))
                return fail(QStringLiteral("--emulate: unknown model '%1' (vx01 or vx02)").arg(model));
            options->emulate = model;
        } else if (argument.startsWith(QLatin1String("--"))) {
            return fail(QStringLiteral("unknown option '%1'").arg(argument));
        } else if (const CliCommand *command = CliCommandTable::find(argument)) {
            if (!finish())
                return false;
            CliInvocation invocation;
            invocation.command = command;
            options->invocations.append(invocation);
            current = &options->invocations.last();
        } else if (current && pending.size() < current->command->maxArgs) {
            pending << argument;
        } else if (current && isInteger(argument)) {
            return fail(QStringLiteral("%1 takes %2, got more ('%3')")
                            .arg(QLatin1String(current->command->name), expected(*current->command), argument));
        } else {
            return fail(QStringLiteral("unknown command '%1'").arg(argument));
        }
    }
    if (!finish())
        return false;
    if (options->invocations.isEmpty() && !options->help)
        return fail(QStringLiteral("no command given (vorletctl --help lists them)"));
    return true;
}

QString CliParser::helpText()
{
    QString text = QStringLiteral(
        "Usage: vorletctl [--emulate vx01|vx02] [--trace] [--json] [--verbose] COMMAND [ARG...] [COMMAND [ARG...]]...\n"
        "\n"
        "Talks to the attached Vorlet sound card (vx01 or vx02) the way the control panel does:\n"
        "finds the device, opens it, then runs the commands in order in one session.\n"
        "\n"
        "Options:\n"
        "  --emulate vx01|vx02  use an emulated device of that model instead of the real ones\n"
        "                       (also: environment variable VORLET_EMULATE)\n"
        "  --trace              write every report to stderr: \"> \" sent, \"< \" received, then the\n"
        "                       report as the transport moves it, report id first, in hex\n"
        "  --json               getAllPara prints one JSON object, list a JSON array\n"
        "  --verbose            show the program's log lines on stderr\n"
        "  --help               this text\n"
        "\n"
        "Commands (integer arguments; setters cut each value to its low 8 bits):\n");
    for (const CliCommand &command : CliCommandTable::commands()) {
        const QString usage = QStringLiteral("%1 %2").arg(QLatin1String(command.name), QLatin1String(command.argumentHelp)).trimmed();
        text += QStringLiteral("  %1  %2\n").arg(usage, -34).arg(QLatin1String(command.help));
    }
    text += QStringLiteral(
        "\n"
        "Results go to stdout, one line per command that returns something. A profile written by\n"
        "save can be given to load; keys the device only reports (vx01 toneColourHigh,\n"
        "toneColourLow, btnMute) are accepted and not sent. knob plays the user at the emulated\n"
        "device: `--emulate vx01 getAllPara knob volumeMonitor 3 getParaIsChange` prints true.\n"
        "\n"
        "While lastSettings is on, the panel and vorletctl remember each device's settings by its\n"
        "serial number (in the format of save) and the panel sends them again when the device\n"
        "arrives or the computer wakes; a vorletctl session remembers the state it leaves.\n"
        "\n"
        "Exit status: 0 success, 1 no device found or it could not be opened (or nothing could\n"
        "be read to save, or nothing remembered to restore), 2 usage error (unknown command, wrong argument count, non-integer\n"
        "argument, bad profile); on a usage error no report is sent.\n");
    return text;
}
