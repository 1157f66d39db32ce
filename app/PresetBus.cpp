#include "app/PresetBus.h"

#include <QDBusMetaType>

namespace {

// Fixed: scripts tell the failures apart by these names.
struct ErrorName
{
    PresetOutcome::Status status;
    const char *name;
};

const ErrorName kErrorNames[] = {
    {PresetOutcome::BadName, "com.brindle.vorlet.Error.BadPresetName"},
    {PresetOutcome::Unknown, "com.brindle.vorlet.Error.UnknownPreset"},
    {PresetOutcome::OtherModel, "com.brindle.vorlet.Error.OtherModel"},
    {PresetOutcome::Damaged, "com.brindle.vorlet.Error.DamagedPreset"},
    {PresetOutcome::Exists, "com.brindle.vorlet.Error.PresetExists"},
    {PresetOutcome::NothingToUndo, "com.brindle.vorlet.Error.NothingToUndo"},
    {PresetOutcome::FileError, "com.brindle.vorlet.Error.FileError"},
    {PresetOutcome::NoDevice, "com.brindle.vorlet.Error.NoDevice"},
    {PresetOutcome::NoAnswer, "com.brindle.vorlet.Error.NoAnswer"},
};

} // namespace

QDBusArgument &operator<<(QDBusArgument &argument, const PresetChange &change)
{
    argument.beginStructure();
    argument << change.key << change.current << change.preset;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, PresetChange &change)
{
    argument.beginStructure();
    argument >> change.key >> change.current >> change.preset;
    argument.endStructure();
    return argument;
}

void registerPresetChangeList()
{
    qDBusRegisterMetaType<PresetChange>();
    qDBusRegisterMetaType<PresetChangeList>();
}

QString presetErrorName(PresetOutcome::Status status)
{
    for (const ErrorName &error : kErrorNames) {
        if (error.status == status)
            return QLatin1String(error.name);
    }
    return QLatin1String("com.brindle.vorlet.Error.NoAnswer");
}

PresetOutcome::Status presetStatusOf(const QString &errorName)
{
    for (const ErrorName &error : kErrorNames) {
        if (errorName == QLatin1String(error.name))
            return error.status;
    }
    return PresetOutcome::NoAnswer;
}
