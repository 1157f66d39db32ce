#pragma once

#include "soundcard/PresetDiff.h"
#include "soundcard/PresetHistory.h"
#include "soundcard/PresetOutcome.h"
#include "soundcard/PresetStore.h"

#include <QString>
#include <QStringList>

#include <functional>

class SoundCardBase;
class SoundCardProxy;

// vorletctl's preset command. While the panel runs it goes through the panel's D-Bus interface,
// so that the window, the tray and the undo history follow; otherwise it does the same here on
// the device opened by vorletctl, with the same files. Either way it prints the same.
class PresetCommand
{
public:
    using Line = std::function<void(const QString &text)>;

    // `panel`: the running panel, or null; `card` and `devType`: the device opened here (null
    // and empty while the command needs none).
    PresetCommand(SoundCardProxy *panel, SoundCardBase *card, const QString &devType, Line line);

    // `action` is list, save, apply, diff, delete or undo.
    PresetOutcome run(const QString &action, const QString &name, bool json);
    // The exit status of an outcome, as for the other commands.
    static int exitCode(PresetOutcome::Status status);

private:
    PresetOutcome throughPanel(const QString &action, const QString &name, bool json);
    PresetOutcome direct(const QString &action, const QString &name, bool json);
    // Polls the card; false (with the outcome) when no parameter report came.
    bool poll(PresetOutcome *outcome);
    // Sends the setters and names of `preset`; the outcome says whether the card took them.
    PresetOutcome send(const Preset &preset, const QString &refusal);
    QStringList bgmNames() const;
    void printNames(const QStringList &names, bool json);
    void printChanges(const QVector<PresetChange> &changes, bool json);

    SoundCardProxy *m_panel;
    SoundCardBase *m_card;
    QString m_devType;
    Line m_line;
    PresetStore m_store;
    PresetHistory m_history;
};
