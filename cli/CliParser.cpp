#include "cli/CliParser.h"

#include "app/HidBackendFactory.h"
#include "cli/CliCommandTable.h"
#include "soundcard/SetterSlot.h"
#include "soundcard/SoundCardFactory.h"
#include "soundcard/SoundCardModel.h"

#include <QRegularExpression>

#include <algorithm>
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

// The preset actions that take a NAME, and those that take none.
const QStringList kPresetNamed{QStringLiteral("save"), QStringLiteral("apply"), QStringLiteral("diff"),
                               QStringLiteral("delete")};
const QStringList kPresetBare{QStringLiteral("list"), QStringLiteral("undo")};

// Whether the preset command, with `pending` given so far, takes the next word (its action or NAME).
bool presetTakes(const QStringList &pending)
{
    return pending.isEmpty() || (pending.size() == 1 && kPresetNamed.contains(pending.first()));
}

bool presetArguments(const QStringList &pending, CliInvocation *invocation, QString *error)
{
    const QString action = pending.value(0);
    if (!kPresetNamed.contains(action) && !kPresetBare.contains(action)) {
        *error = QStringLiteral("preset: ACTION is one of list, save, apply, diff, delete, undo");
        return false;
    }
    if (kPresetNamed.contains(action) && pending.size() < 2) {
        *error = QStringLiteral("preset %1 takes a NAME").arg(action);
        return false;
    }
    invocation->word = action;
    invocation->name = pending.value(1);
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

// `head` and the items after it, separated by "; ", in lines of at most kWidth columns; every
// further line is indented to `indent` columns.
QString wrapped(const QString &head, const QStringList &items, int indent)
{
    constexpr int kWidth = 96;
    QString text;
    QString line = head;
    for (int i = 0; i < items.size(); ++i) {
        const QString item = items.at(i) + (i + 1 < items.size() ? QStringLiteral(";") : QString());
        if (i > 0 && line.size() + 1 + item.size() > kWidth) {
            text += line + QLatin1Char('\n');
            line = QString(indent - 1, QLatin1Char(' '));
        }
        line += QLatin1Char(' ') + item;
    }
    return text + line + QLatin1Char('\n');
}

QString rangeText(const ModelParameter &row)
{
    return row.min == row.max ? QString::number(row.min) : QStringLiteral("%1-%2").arg(row.min).arg(row.max);
}

bool sameRange(const QVector<const ModelParameter *> &rows)
{
    return std::all_of(rows.cbegin(), rows.cend(), [&rows](const ModelParameter *row) {
        return row->min == rows.first()->min && row->max == rows.first()->max;
    });
}

// The keys a setter's rows set together (a sound mode): "vx01 (model)".
QString modelName(const SoundCardModel &model, SetterOp setter)
{
    QStringList keys;
    for (const ModelParameter &row : model.parameters) {
        if (row.hasKey() && !row.isSetterRange() && row.kind != ModelParameter::Kind::ReportedOnly
            && row.setter == setter)
            keys << QLatin1String(row.key);
    }
    const QString devType = QLatin1String(model.devType);
    return keys.isEmpty() ? devType : QStringLiteral("%1 (%2)").arg(devType, keys.join(QLatin1String(", ")));
}

// One setter's codes and values on each model, from the models' tables.
QString setterCodes(const CliCommand &command)
{
    const SetterSlot &slot = SetterSlot::of(command.setter);
    const QString usage =
        QStringLiteral("  %1 %2").arg(QLatin1String(command.name), QLatin1String(command.argumentHelp));
    QVector<const ModelParameter *> all;
    QStringList single; // a setter without selector: "vx01 1-16 (dodgeSpeed)"
    QString perModel;
    for (const QString &devType : SoundCardFactory::devTypes()) {
        const SoundCardModel &model = *SoundCardFactory::model(devType);
        const QVector<const ModelParameter *> rows = model.setterRanges(command.setter);
        all += rows;
        QStringList items;
        for (const ModelParameter *row : rows) {
            const QString what =
                row->hasKey() ? QStringLiteral("(%1)").arg(QLatin1String(row->key)) : QLatin1String(row->label);
            if (slot.selector < 0) {
                single << QStringLiteral("%1 %2 %3").arg(devType, rangeText(*row), what);
                continue;
            }
            QString item = QString::number(row->code);
            if (!sameRange(rows))
                item += QLatin1Char(' ') + rangeText(*row);
            if (row->hasKey())
                item += QLatin1Char(' ') + QLatin1String(row->label);
            items << item + QLatin1Char(' ') + what;
        }
        if (!items.isEmpty())
            perModel += wrapped(QStringLiteral("    %1:").arg(modelName(model, command.setter)), items, 10);
    }
    if (all.isEmpty())
        return QString();
    if (slot.selector < 0)
        return wrapped(usage + QLatin1Char(':'), single, 6);
    QString head = usage;
    if (sameRange(all)) {
        QString argumentHelp = QLatin1String(command.argumentHelp);
        const QStringList names =
            argumentHelp.remove(QLatin1Char('[')).remove(QLatin1Char(']')).split(QLatin1Char(' '));
        head += QStringLiteral(" (%1 %2)").arg(names.value(slot.value), rangeText(*all.first()));
    }
    return head + QLatin1Char('\n') + perModel;
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
        if (command.arguments == CliCommand::Arguments::Preset) {
            QString problem;
            if (!presetArguments(pending, current, &problem))
                return fail(problem);
            pending.clear();
            current = nullptr;
            return true;
        }
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
        } else if (current && current->command->arguments == CliCommand::Arguments::Preset && presetTakes(pending)) {
            // A preset may be called as a command is.
            pending << argument;
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
    text += QStringLiteral("\n"
                           "Codes per model, with the getAllPara key each one sets:\n");
    for (const CliCommand &command : CliCommandTable::commands()) {
        if (command.action == CliCommand::Action::Setter)
            text += setterCodes(command);
    }
    text += QStringLiteral(
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
        "it hidden at login ($XDG_CONFIG_HOME/autostart/com.brindle.vorlet.desktop): the vorlet\n"
        "found on the PATH, else the one beside vorletctl (a build folder; with a warning).\n"
        "\n"
        "preset keeps named settings of the model (with the vx02's BGM button names) in\n"
        "$XDG_CONFIG_HOME/Brindle/vorlet/presets/NAME.json, the format of save: list, save NAME (the\n"
        "device's settings now, replacing a preset of that name), apply NAME (checked whole first),\n"
        "diff NAME (\"key: current -> preset\"; --json: {\"key\": {\"current\": C, \"preset\": P}}),\n"
        "delete NAME, undo (puts back what the last apply replaced; the last ten are kept in\n"
        "$XDG_CONFIG_HOME/Brindle/vorlet/preset-history.json, shared with the panel).\n"
        "\n"
        "Exit status:\n"
        "  0  success\n"
        "  1  no device found, or it could not be opened; nothing remembered to restore\n"
        "  2  usage error: unknown command or model, wrong argument count, argument not an\n"
        "     integer or outside the model's values, bad profile, bad, unknown or damaged preset\n"
        "     or one of the other model, nothing to undo, knob or unplug without\n"
        "     --emulate; nothing is sent then (a profile that an earlier save of the session\n"
        "     writes is checked when its load runs)\n"
        "  3  the device did not take a command or answer a query (device gone), or answered\n"
        "     with something that cannot be saved or remembered\n"
        "  4  the profile or preset file, the undo history, the settings file or the autostart\n"
        "     entry cannot be written (the old file is kept), or there is no vorlet to start at login\n");
    return text;
}
