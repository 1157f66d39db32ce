#include "device/DetectionDevice.h"

#include "device/HidBackend.h"
#include "device/HidHandle.h"
#include "device/HidPathText.h"
#include "device/PowerEventWatcher.h"

#include <QDebug>
#include <QSet>
#include <QThread>

namespace {
// Pause between interfaces of the scan, as between rejected collections when opening.
constexpr unsigned long kScanPauseMs = 5;
}

DetectionDevice::DetectionDevice(HidBackend *backend, QWidget *parent)
    : QWidget(parent), m_backend(backend), m_powerEvents(new PowerEventWatcher(this))
{
    m_deviceTable.insert(QStringLiteral("vx01"), QStringLiteral("VID_1235&PID_0003"));
    m_deviceTable.insert(QStringLiteral("vx02"), QStringLiteral("VID_1234&PID_4321"));
    registerNotification();
}

void DetectionDevice::registerNotification()
{
    if (!m_backend || !m_backend->watchesHotplug()) {
        qDebug("register UDisk notification fail, error:");
        if (!m_backend)
            return;
    }
    connect(m_backend, &HidBackend::interfaceArrived, this, &DetectionDevice::onInterfaceArrived);
    connect(m_backend, &HidBackend::interfaceRemoved, this, &DetectionDevice::onInterfaceRemoved);
}

QString DetectionDevice::devTypeFromPath(const QString &path) const
{
    for (auto it = m_deviceTable.constBegin(); it != m_deviceTable.constEnd(); ++it) {
        if (path.contains(it.value(), Qt::CaseInsensitive))
            return it.key();
    }
    return QString();
}

void DetectionDevice::scanDevices()
{
    if (!m_backend) {
        qDebug("NO hid device");
        return;
    }
    const HidEnumeration found = m_backend->enumerateWithStatus();
    if (found.status == HidEnumeration::Status::NoDeviceSet) {
        qDebug("NO hid device");
        return;
    }
    // An unreadable entry ends the list the backend gives: the scan ends there too. The
    // collections of one interface share its path; each interface is opened once.
    QSet<QString> seen;
    for (const HidCollectionInfo &collection : found.collections) {
        if (seen.contains(collection.path))
            continue;
        seen.insert(collection.path);
        std::unique_ptr<HidHandle> handle = m_backend->open(collection);
        if (!handle)
            continue;
        reportArrival(devTypeFromPath(HidPathText::vendorProduct(collection.vendorId, collection.productId)));
        handle.reset();
        QThread::msleep(kScanPauseMs);
    }
}

bool DetectionDevice::isConnected() const
{
    return m_connected;
}

PowerEventWatcher *DetectionDevice::powerEvents() const
{
    return m_powerEvents;
}

void DetectionDevice::onInterfaceArrived(const QString &path)
{
    reportArrival(devTypeFromPath(path));
}

void DetectionDevice::reportArrival(const QString &type)
{
    if (!m_connected && !type.isEmpty()) {
        m_connected = true;
        emit s_devTypeAndState(type, true);
    }
}

void DetectionDevice::onInterfaceRemoved(const QString &path)
{
    const QString type = devTypeFromPath(path);
    if (m_connected && !type.isEmpty()) {
        m_connected = false;
        emit s_devTypeAndState(type, false);
    }
}
