#include "device/HidrawMonitor.h"

#include "device/HidrawNode.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileSystemWatcher>
#include <QSocketNotifier>

#include <libudev.h>

HidrawMonitor::HidrawMonitor(const QString &root, QObject *parent)
    : QObject(parent)
    , m_root(root)
{
    if (watchUdev()) {
        m_source = Source::Udev;
        return;
    }
    // Told in the words the program uses when notifications cannot be registered.
    qDebug("register UDisk notification fail, error:");
    if (watchDeviceFolder()) {
        m_source = Source::DeviceFolder;
        qDebug().noquote() << "hidraw: no udev event stream, watching" << m_root + QStringLiteral("/dev")
                           << "for hidraw nodes instead";
    }
}

HidrawMonitor::~HidrawMonitor()
{
    delete m_notifier;
    if (m_monitor)
        udev_monitor_unref(m_monitor);
    if (m_udev)
        udev_unref(m_udev);
}

bool HidrawMonitor::watchUdev()
{
    // Without a running udev daemon a netlink monitor is created but never hears anything;
    // libudev itself takes the daemon's control socket as the sign that it runs.
    if (!m_root.isEmpty() || !QFile::exists(QStringLiteral("/run/udev/control")))
        return false;
    m_udev = udev_new();
    if (m_udev)
        m_monitor = udev_monitor_new_from_netlink(m_udev, "udev");
    if (m_monitor
        && (udev_monitor_filter_add_match_subsystem_devtype(m_monitor, "hidraw", nullptr) < 0
            || udev_monitor_enable_receiving(m_monitor) < 0)) {
        udev_monitor_unref(m_monitor);
        m_monitor = nullptr;
    }
    if (!m_monitor)
        return false;
    m_notifier = new QSocketNotifier(udev_monitor_get_fd(m_monitor), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &HidrawMonitor::onUdevReadable);
    return true;
}

bool HidrawMonitor::watchDeviceFolder()
{
    const QString folder = m_root + QStringLiteral("/dev");
    m_folderWatcher = new QFileSystemWatcher(this);
    if (!m_folderWatcher->addPath(folder)) {
        delete m_folderWatcher;
        m_folderWatcher = nullptr;
        return false;
    }
    const QStringList names = QDir(folder).entryList({QStringLiteral("hidraw*")}, QDir::System | QDir::Files);
    for (const QString &name : names) {
        if (HidrawNode::isNodeName(name))
            m_namesInFolder.insert(name);
    }
    connect(m_folderWatcher, &QFileSystemWatcher::directoryChanged, this, &HidrawMonitor::onDeviceFolderChanged);
    return true;
}

HidrawMonitor::Source HidrawMonitor::source() const
{
    return m_source;
}

bool HidrawMonitor::isWatching() const
{
    return m_source != Source::None;
}

void HidrawMonitor::remember(const QString &node, const QString &path, const QString &unit)
{
    const QMutexLocker lock(&m_seenMutex);
    m_seenByNode.insert(node, {path, unit});
}

void HidrawMonitor::reportArrival(const QString &name)
{
    HidrawNode found;
    if (!HidrawNode::fromSysfs(m_root + QStringLiteral("/sys"), m_root + QStringLiteral("/dev"), name, &found))
        return;
    remember(found.node, found.path(), found.unit);
    emit arrived(found.path(), found.unit);
}

void HidrawMonitor::reportRemoval(const QString &node)
{
    Seen seen;
    {
        const QMutexLocker lock(&m_seenMutex);
        seen = m_seenByNode.take(node);
    }
    emit removed(seen.path.isEmpty() ? node : seen.path, seen.unit);
}

void HidrawMonitor::onUdevReadable()
{
    udev_device *device = udev_monitor_receive_device(m_monitor);
    if (!device)
        return;
    const char *action = udev_device_get_action(device);
    const char *name = udev_device_get_sysname(device);
    if (action && name) {
        if (qstrcmp(action, "add") == 0)
            reportArrival(QString::fromLocal8Bit(name));
        else if (qstrcmp(action, "remove") == 0)
            reportRemoval(m_root + QStringLiteral("/dev/") + QString::fromLocal8Bit(name));
    }
    udev_device_unref(device);
}

void HidrawMonitor::onDeviceFolderChanged()
{
    QSet<QString> now;
    const QStringList names =
        QDir(m_root + QStringLiteral("/dev")).entryList({QStringLiteral("hidraw*")}, QDir::System | QDir::Files);
    for (const QString &name : names) {
        if (HidrawNode::isNodeName(name))
            now.insert(name);
    }
    // Sorted, so that several nodes of one device are reported in their order.
    QStringList gone = (m_namesInFolder - now).values();
    QStringList added = (now - m_namesInFolder).values();
    std::sort(gone.begin(), gone.end());
    std::sort(added.begin(), added.end());
    m_namesInFolder = now;
    for (const QString &name : qAsConst(gone))
        reportRemoval(m_root + QStringLiteral("/dev/") + name);
    for (const QString &name : qAsConst(added))
        reportArrival(name);
}
