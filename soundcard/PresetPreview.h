#pragma once

#include <QStringList>
#include <QVariantList>
#include <QVariantMap>

struct SoundCardModel;

// What applying a preset changes, as the scene lists it: one row a change, in the order of the
// model's table, each {key, kind, from, to} and, for a sound mode, {fromDetail, toDetail}; a
// sound-effect button's name as {key: "bgmName", kind: "name", index, from, to}. The kind tells the
// scene how to word a value: "number", "switch" (1 on, 2 off), "level" (0 off), "vx01Mode" (the
// vx01's "model"), "vx02Mode" (group and choice), "name". Pure code.
class PresetPreview
{
public:
    static QVariantList rows(const SoundCardModel &model, const QVariantMap &device, const QVariantMap &preset,
                             const QStringList &deviceNames, const QStringList &presetNames);
};
