#include "device/HidrawMonitor.h"

#include "device/HidrawNode.h"

#include <QDebug>
#include <QSocketNotifier>

#include <libudev.h>

HidrawMonitor::HidrawMonitor(QObject *parent) : QObject(parent)
{
    m_udev = udev_new();
    if (m_udev)
        m_monitor = udev_monitor_new_from_netlink(m_udev, "udev");
    if (m_monitor
        && (udev_monitor_filter_add_match_subsystem_devtype(m_monitor, "hidraw", nullptr) < 0
            || udev_monitor_enable_receiving(m_monitor) < 0)) {
        udev_monitor_unref(m_monitor);
        m_monitor = nullptr;
    }
    if (!m_monitor) {
        qDebug("hidraw: no udev event stream, device arrival and removal are not watched");
        return;
    }
    m_notifier = new QSocketNotifier(udev_monitor_get_fd(m_monitor), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &HidrawMonitor::onReadable);
}

HidrawMonitor::~HidrawMonitor()
{
    delete m_notifier;
    if (m_monitor)
        udev_monitor_unref(m_monitor);
    if (m_udev)
        udev_unref(m_udev);
}

bool HidrawMonitor::isWatching() const
{
    return m_monitor != nullptr;
}

void HidrawMonitor::remember(const QString &node, const QString &path)
{
    m_pathByNode.insert(node, path);
}

void HidrawMonitor::onReadable()
{
    udev_device *device = udev_monitor_receive_device(m_monitor);
    if (!device)
        return;
    const QString action = QString::fromLatin1(udev_device_get_action(device));
    const char *nodeText = udev_device_get_devnode(device);
    const QString node = nodeText ? QString::fromLocal8Bit(nodeText) : QString();
    if (action == QLatin1String("add")) {
        HidrawNode found;
        if (HidrawNode::fromUdev(device, &found)) {
            m_pathByNode.insert(found.node, found.path());
            emit arrived(found.path());
        }
    } else if (action == QLatin1String("remove") && !node.isEmpty()) {
        QString path = m_pathByNode.take(node);
        HidrawNode found;
        if (path.isEmpty() && HidrawNode::fromUdev(device, &found))
            path = found.path();
        emit removed(path.isEmpty() ? node : path);
    }
    udev_device_unref(device);
}
