#include "soundcard/PresetDiff.h"

#include "soundcard/SoundCardModel.h"

QVector<PresetChange> PresetDiff::between(const SoundCardModel &model, const QVariantMap &device,
                                          const QVariantMap &preset)
{
    QVector<PresetChange> changes;
    for (const ModelParameter &row : model.parameters) {
        const QString key = QLatin1String(row.key);
        if (!row.hasKey() || row.kind == ModelParameter::Kind::ReportedOnly || !preset.contains(key))
            continue;
        const int current = device.value(key, -1).toInt();
        const int wanted = preset.value(key).toInt();
        if (current != wanted)
            changes.append({key, current, wanted});
    }
    return changes;
}

QVariantMap PresetDiff::settable(const SoundCardModel &model, const QVariantMap &parameters)
{
    QVariantMap values;
    for (const ModelParameter &row : model.parameters) {
        const QString key = QLatin1String(row.key);
        if (row.hasKey() && row.kind != ModelParameter::Kind::ReportedOnly && parameters.contains(key))
            values.insert(key, parameters.value(key).toInt());
    }
    return values;
}
