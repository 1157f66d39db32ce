#pragma once

#include <QString>
#include <QVariantMap>
#include <QVector>

struct SoundCardModel;

// One setting a preset would change: its key, the device's value and the preset's.
struct PresetChange
{
    QString key;
    int current = 0;
    int preset = 0;

    bool operator==(const PresetChange &other) const
    {
        return key == other.key && current == other.current && preset == other.preset;
    }
};

// What applying a preset changes. Pure code.
class PresetDiff
{
public:
    // The keys of `preset` that the device shows otherwise, in the order of the model's table.
    // Keys the device only reports are left out: no setter changes them. A key the device does
    // not report counts as -1.
    static QVector<PresetChange> between(const SoundCardModel &model, const QVariantMap &device,
                                         const QVariantMap &preset);
    // The values of `parameters` a setter brings the device to: what the device reports back
    // once it took them.
    static QVariantMap settable(const SoundCardModel &model, const QVariantMap &parameters);
};
