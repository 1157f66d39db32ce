#pragma once

#include "soundcard/PresetOutcome.h"

#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <QVector>

struct Preset;

// The states that applying a preset replaced, newest last and at most kLimit of them: what undo
// puts back. One small file beside the presets, read and written whole at every change, so that
// the panel and vorletctl (each of which applies presets) undo the same states.
class PresetHistory
{
public:
    struct Entry
    {
        QString devType;
        QString preset; // the preset in effect before, if any
        QVariantMap parameters;
        QStringList bgmNames;
    };

    static constexpr int kLimit = 10;

    explicit PresetHistory(const QString &path = defaultPath());
    // $XDG_CONFIG_HOME/Brindle/vorlet/preset-history.json
    static QString defaultPath();

    // Oldest first. A file that cannot be read counts as an empty history (logged).
    QVector<Entry> entries() const;
    // Keeps `entry` as the newest, dropping the oldest beyond kLimit.
    PresetOutcome push(const Entry &entry) const;
    // The newest entry of the model, checked as a preset is; NothingToUndo when there is none.
    PresetOutcome last(const QString &devType, Entry *entry, Preset *state) const;
    // Forgets the newest entry of the model (once it was put back).
    PresetOutcome dropLast(const QString &devType) const;

private:
    PresetOutcome save(const QVector<Entry> &entries) const;

    QString m_path;
};
