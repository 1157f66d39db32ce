#pragma once

#include "soundcard/DeviceSession.h"
#include "soundcard/PresetDiff.h"
#include "soundcard/PresetHistory.h"
#include "soundcard/PresetOutcome.h"
#include "soundcard/PresetStore.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QVariantList>

#include <functional>

class BgmNames;
class DeviceManager;

// The presets of the attached model in the panel: the scene (MainLogic.presets), the tray and
// the D-Bus interface all go through this one object. Applying reads the device's own map first,
// checks the preset whole, keeps the state before in the undo history, then sends the setters
// through the session and confirms them with a poll (SessionRestore); nothing is sent when any
// step before fails. The preset applied or saved last stays `current` while the device shows
// its settings. Lives on the GUI thread; nothing here waits for the device.
class PresetController : public QObject
{
    Q_OBJECT
    // The attached model's presets by name; empty while no device is attached.
    Q_PROPERTY(QStringList names READ names NOTIFY namesChanged)
    Q_PROPERTY(QString current READ current NOTIFY currentChanged)
    // The preset the user looks at, and what applying it would change (PresetPreview's rows).
    Q_PROPERTY(QString selected READ selected NOTIFY selectedChanged)
    Q_PROPERTY(QVariantList changes READ changes NOTIFY changesChanged)
    Q_PROPERTY(bool canUndo READ canUndo NOTIFY canUndoChanged)
    // A preset is being applied, saved or undone.
    Q_PROPERTY(bool busy READ isBusy NOTIFY busyChanged)
    // Why the last operation failed, for the user; empty after a success.
    Q_PROPERTY(QString message READ message NOTIFY messageChanged)
public:
    using Done = std::function<void(const PresetOutcome &outcome)>;
    using DiffDone = std::function<void(const PresetOutcome &outcome, const QVector<PresetChange> &changes)>;
    // (save?, suggested file name) -> the chosen path, empty when the user cancels.
    using FileChooser = std::function<QString(bool save, const QString &suggested)>;

    PresetController(DeviceManager *devices, BgmNames *bgmNames, QObject *parent = nullptr);

    QStringList names() const { return m_names; }
    QString current() const { return m_current; }
    QString selected() const { return m_selected; }
    QVariantList changes() const { return m_changes; }
    bool canUndo() const;
    bool isBusy() const { return m_busy; }
    QString message() const { return m_message; }

    // Each tells `done` (may be empty) how it ended, once the device answered.
    void apply(const QString &name, const Done &done);
    void save(const QString &name, const Done &done);
    void undo(const Done &done);
    void diff(const QString &name, const DiffDone &done);
    PresetOutcome rename(const QString &from, const QString &to);
    PresetOutcome remove(const QString &name);
    // Replaces the file dialog of import and export (PresetFileDialog::ask).
    void setFileChooser(FileChooser chooser);

signals:
    void namesChanged();
    void currentChanged();
    void selectedChanged();
    void changesChanged();
    void canUndoChanged();
    void busyChanged();
    void messageChanged();
    // A preset was applied and the device reports its settings.
    void presetApplied(const QString &name);

public slots:
    // For the scene and the tray: how they end shows in `message`.
    void applyPreset(const QString &name);
    void savePreset(const QString &name);
    void undoPreset();
    void renamePreset(const QString &from, const QString &to);
    void deletePreset(const QString &name);
    void importPreset();
    void exportPreset(const QString &name);
    void select(const QString &name);
    // "" when a new preset may take `name`; otherwise "blank", "separator", "dot", "control",
    // "long" or "exists".
    QString nameProblem(const QString &name) const;
    // Reads the folder and the history again (vorletctl may have changed them).
    void refresh();

private:
    void onSoundCardChanged();
    void onDeviceChanged();
    // The session and model, or a NoDevice outcome; with `idle`, also Busy while one runs.
    PresetOutcome ready(bool idle) const;
    // Sends `preset`, then polls until the device shows it (or gives up).
    void send(const Preset &preset, std::function<void(bool taken)> done);
    void finish(const Done &done, const PresetOutcome &outcome, bool wasBusy = true);
    void markCurrent(const QString &name, const Preset &preset);
    void setCurrent(const QString &name);
    void setBusy(bool busy);
    void setMessage(const QString &message);
    void updateNames();
    void updateChanges();
    QStringList bgmNamesOf(const QString &devType) const;

    DeviceManager *m_devices;
    BgmNames *m_bgmNames;
    QPointer<DeviceSession> m_session;
    PresetStore m_store;
    PresetHistory m_history;
    FileChooser m_chooser;
    QStringList m_names;
    QString m_current;
    // What the device shows while `current` is in effect.
    Preset m_currentPreset;
    QString m_selected;
    QVariantList m_changes;
    bool m_busy = false;
    QString m_message;
};
