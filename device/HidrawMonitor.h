#pragma once

#include <QHash>
#include <QMutex>
#include <QObject>
#include <QSet>
#include <QString>

class QFileSystemWatcher;
class QSocketNotifier;
struct udev;
struct udev_monitor;

// Watches hidraw nodes coming and going and reports them with their path text. udev's event
// stream is used where a udev daemon runs; elsewhere (containers, minimal systems) the device
// folder itself is watched, so plug and unplug are still seen.
class HidrawMonitor : public QObject
{
    Q_OBJECT
public:
    enum class Source { Udev, DeviceFolder, None };

    // `root` is the system's root folder ("" for "/"): sysfs, /dev and udev's run folder lie
    // below it. Only the real root is watched through udev.
    explicit HidrawMonitor(const QString &root = QString(), QObject *parent = nullptr);
    ~HidrawMonitor() override;

    Source source() const;
    // False when neither source works (no hot-plug then).
    bool isWatching() const;
    // Remembers the path text and unit of a node seen at enumeration: on removal the HID device
    // above the node is usually gone already and neither can be read any more. Any thread (a
    // device session opens its device on its own).
    void remember(const QString &node, const QString &path, const QString &unit);

signals:
    void arrived(const QString &path, const QString &unit);
    // A node never seen comes with the node as its path and no unit.
    void removed(const QString &path, const QString &unit);

private:
    bool watchUdev();
    bool watchDeviceFolder();
    void onUdevReadable();
    void onDeviceFolderChanged();
    void reportArrival(const QString &name);
    void reportRemoval(const QString &node);

    const QString m_root;
    Source m_source = Source::None;
    udev *m_udev = nullptr;
    udev_monitor *m_monitor = nullptr;
    QSocketNotifier *m_notifier = nullptr;
    QFileSystemWatcher *m_folderWatcher = nullptr;
    QSet<QString> m_namesInFolder;
    QMutex m_seenMutex;
    struct Seen
    {
        QString path;
        QString unit;
    };
    QHash<QString, Seen> m_seenByNode;
};
