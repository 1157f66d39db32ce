#include "app/SettingsFileWatcher.h"

#include <QFileInfo>

namespace {
// The events of one write come within milliseconds; an option shows well within a second.
constexpr int kSettleMs = 100;
} // namespace

SettingsFileWatcher::SettingsFileWatcher(const QStringList &files, QObject *parent)
    : QObject(parent)
    , m_files(files)
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleMs);
    connect(&m_settle, &QTimer::timeout, this, &SettingsFileWatcher::changed);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &SettingsFileWatcher::onEvent);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &SettingsFileWatcher::onEvent);
    arm();
}

void SettingsFileWatcher::onEvent()
{
    arm();
    // Not restarted by later events: a stream of writes is still told every interval.
    if (!m_settle.isActive())
        m_settle.start();
}

void SettingsFileWatcher::arm()
{
    QStringList wanted;
    for (const QString &file : m_files) {
        const QFileInfo info(file);
        if (info.exists())
            wanted << info.absoluteFilePath();
        QString folder = info.absolutePath();
        while (!QFileInfo(folder).isDir() && QFileInfo(folder).absolutePath() != folder)
            folder = QFileInfo(folder).absolutePath();
        wanted << folder;
    }
    wanted.removeDuplicates();
    // A folder above that was watched until the file's own folder came is let go.
    const QStringList watched = m_watcher.files() + m_watcher.directories();
    QStringList stale = watched;
    QStringList missing = wanted;
    for (const QString &path : qAsConst(wanted))
        stale.removeAll(path);
    for (const QString &path : watched)
        missing.removeAll(path);
    if (!stale.isEmpty())
        m_watcher.removePaths(stale);
    if (missing.isEmpty())
        return;
    for (const QString &path : m_watcher.addPaths(missing))
        qWarning("settings watch: cannot watch %s; options switched by another program show after a restart",
                 qPrintable(path));
}
