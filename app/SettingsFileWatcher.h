#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QStringList>
#include <QTimer>

// Tells when files that hold the program's options were written, created or removed, by this
// process or another (vorletctl, the desktop removing the autostart entry), so that the objects
// that own the options read them again; what they read decides whether anything changed.
// A file replaced by a rename (as QSettings and QSaveFile write) loses its own watch, and its
// folder may not exist yet: each file is watched with its folder, or the nearest folder above
// that exists, and the watches are set again after every event. The events of one write (lock
// file, new file, rename) are told once.
class SettingsFileWatcher : public QObject
{
    Q_OBJECT
public:
    explicit SettingsFileWatcher(const QStringList &files, QObject *parent = nullptr);

signals:
    void changed();

private:
    void onEvent();
    void arm();

    const QStringList m_files;
    QFileSystemWatcher m_watcher;
    QTimer m_settle;
};
