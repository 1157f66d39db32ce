#include "device/DetectionDevice.h"

#include "device/DeviceScan.h"
#include "device/HidBackend.h"
#include "device/PowerEventWatcher.h"

#include <QDebug>
#include <QStringList>
#include <QThread>

#include <memory>

DetectionDevice::DetectionDevice(HidBackend *backend, QWidget *parent)
    : QWidget(parent)
    , m_backend(backend)
    , m_powerEvents(new PowerEventWatcher(this))
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

void DetectionDevice::scanDevicesInBackground()
{
    if (!m_backend || m_scan) {
        if (!m_backend)
            qDebug("NO hid device");
        return;
    }
    HidBackend *backend = m_backend;
    auto found = std::make_shared<QStringList>();
    auto listed = std::make_shared<bool>(false);
    m_scan = QThread::create([backend, found, listed] {
        *listed = DeviceScan::scan(*backend, [found](const QString &type) { found->append(type); });
    });
    m_scan->setObjectName(QStringLiteral("device scan"));
    m_scan->setParent(this);
    QThread *scan = m_scan;
    connect(scan, &QThread::finished, this, [this, scan, found, listed] {
        scan->deleteLater();
        if (!*listed)
            qDebug("NO hid device");
        for (const QString &type : qAsConst(*found))
            reportArrival(type);
    });
    scan->start();
}

DetectionDevice::~DetectionDevice()
{
    if (m_scan)
        m_scan->wait();
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
