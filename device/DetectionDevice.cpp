#include "device/DetectionDevice.h"

#include "device/DeviceScan.h"
#include "device/HidBackend.h"
#include "device/PowerEventWatcher.h"

#include <QDebug>

DetectionDevice::DetectionDevice(HidBackend *backend, QWidget *parent)
    : QWidget(parent), m_backend(backend), m_powerEvents(new PowerEventWatcher(this))
{
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
    return DeviceScan::devTypeFromPath(path);
}

void DetectionDevice::scanDevices()
{
    if (!m_backend || !DeviceScan::scan(*m_backend, [this](const QString &type) { reportArrival(type); }))
        qDebug("NO hid device");
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
