#pragma once

#include <QByteArray>
#include <QLoggingCategory>
#include <QString>
#include <QVariant>

#include <memory>

class QSettings;

// What the user must see of the settings file, also where the program's other lines are hidden
// (vorletctl).
Q_DECLARE_LOGGING_CATEGORY(lcSettingsFile)

// What the program keeps of the sound cards between runs, in the user's settings of the program
// ($XDG_CONFIG_HOME/Brindle/vorlet.conf, shared with its other settings and with vorletctl):
// whether the last settings are brought back, and per serial number the last parameter map
// seen, as profile text (the format of vorletctl's save and load).
//
// A file that cannot be read whole (edited by hand, cut short) is told once, by name, and kept
// as it was beside it (vorlet.conf.damaged): what can be read is used, the rest is left out at
// the next write, and that write is not taken for a failure. A write that fails is told with its
// cause. Each write replaces the file by a rename once the new content is on disk (QSettings'
// save file syncs it), and the folder is synced after the rename: a power cut leaves the old
// file or the new one. Every call takes the file as it is on disk now.
class ParameterMemory
{
public:
    // Off until the user switches it on.
    bool restoreEnabled() const;
    // False when the settings file could not be written.
    bool setRestoreEnabled(bool on);

    // `profile`: the text ParameterProfile::toJson makes. Written at once; false when the
    // settings file could not be written.
    bool remember(const QString &serial, const QByteArray &profile);
    // The profile text remembered for `serial`; empty when none.
    QByteArray recall(const QString &serial) const;

    // Why this process's last write of the settings file failed ("FILE cannot be written:
    // CAUSE"); empty when it succeeded. For vorletctl, whose sessions write through the restorer.
    static QString lastWriteError();

private:
    static QString keyOf(const QString &serial);
    // A settings object for one call: QSettings keeps the first error it meets for the object's
    // life, so a long-lived one would report every later write as failed.
    static std::unique_ptr<QSettings> open();
    static bool write(const QString &key, const QVariant &value);
};
