#pragma once

#include "soundcard/PresetOutcome.h"
#include "soundcard/SetterCall.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <QVector>

// A preset as read and checked whole, before anything of it is sent.
struct Preset
{
    QString devType;
    QVariantMap parameters;      // every value checked against the model
    QVector<SetterCall> setters; // what brings the device to them, in the model's order
    QStringList bgmNames;        // the sound-effect buttons' names; empty: the preset has none
};

// The user's presets: a file a preset, NAME.json in a folder of its own, in the format of
// vorletctl's save (the model inside) with, for a model that has sound-effect buttons, their
// names under "bgmNames". Files are written whole or not at all. The panel and vorletctl use the
// same folder; nothing is cached, so each sees what the other wrote.
class PresetStore
{
public:
    enum class NameProblem { None, Blank, Edges, Separator, Dot, Control, TooLong };
    // A name and ".json" fit a file name of 255 bytes in any script.
    static constexpr int kMaxNameLength = 48;

    explicit PresetStore(const QString &folder = defaultFolder());
    // $XDG_CONFIG_HOME/Brindle/vorlet/presets
    static QString defaultFolder();
    QString pathOf(const QString &name) const;

    static NameProblem checkName(const QString &name);
    // "preset name "a/b" has a path separator"; empty for NameProblem::None.
    static QString nameMessage(NameProblem problem, const QString &name);

    // The presets of `devType`, and files that are no preset of any model (so that the user sees
    // and can delete them), in the user's alphabetical order.
    QStringList names(const QString &devType) const;
    bool exists(const QString &name) const;

    PresetOutcome read(const QString &name, const QString &devType, Preset *preset) const;
    // The checks of read() on a text; `origin` names it in the messages ("preset FILE").
    static PresetOutcome parse(const QByteArray &json, const QString &origin, const QString &devType, Preset *preset);
    static QByteArray toJson(const QString &devType, const QVariantMap &parameters, const QStringList &bgmNames);

    // Writes (or replaces) the preset `name`; the folder is made when missing.
    PresetOutcome write(const QString &name, const QString &devType, const QVariantMap &parameters,
                        const QStringList &bgmNames) const;
    PresetOutcome rename(const QString &from, const QString &to) const;
    PresetOutcome remove(const QString &name) const;
    // Takes a preset file of `devType` in under its file's name, or "NAME 2", "NAME 3" … when
    // that is taken; *name is the name it got.
    PresetOutcome importFile(const QString &path, const QString &devType, QString *name) const;
    PresetOutcome exportTo(const QString &name, const QString &devType, const QString &path) const;

private:
    PresetOutcome checked(const QString &name) const;
    // The model written in a file, or empty when it is no preset of a known model.
    QString modelOf(const QString &path) const;

    QString m_folder;
};
