#include "device/DetectionDevice.h"

#include "device/DeviceScan.h"
#include "device/HidBackend.h"
#include "device/PowerEventWatcher.h"

#include <QDebug>
#include <QThread>

#include <memory>
#include <utility>

DetectionDevice::DetectionDevice(HidBackend *backend, const QVector<HidModelId> &models, QWidget *parent)
    : QWidget(parent)
    , m_backend(backend)
    , m_models(models)
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
    return DeviceScan::devTypeFromPath(m_models, path);
}

void DetectionDevice::scanDevices()
{
    const auto found = [this](const QString &type, const QString &unit) { reportArrival(type, unit); };
    if (!m_backend || !DeviceScan::scan(*m_backend, m_models, found))
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
    const QVector<HidModelId> models = m_models;
    auto found = std::make_shared<QVector<DetectedUnit>>();
    auto listed = std::make_shared<bool>(false);
    m_scan = QThread::create([backend, models, found, listed] {
        *listed = DeviceScan::scan(*backend, models, [found](const QString &type, const QString &unit) {
            found->append({type, unit});
        });
    });
    m_scan->setObjectName(QStringLiteral("device scan"));
    m_scan->setParent(this);
    QThread *scan = m_scan;
    connect(scan, &QThread::finished, this, [this, scan, found, listed] {
        scan->deleteLater();
        if (!*listed)
            qDebug("NO hid device");
        for (const DetectedUnit &unit : qAsConst(*found))
            reportArrival(unit.devType, unit.unit);
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
    return !m_reported.devType.isEmpty();
}

QVector<DetectedUnit> DetectionDevice::presentUnits() const
{
    return m_present;
}

PowerEventWatcher *DetectionDevice::powerEvents() const
{
    return m_powerEvents;
}

void DetectionDevice::onInterfaceArrived(const QString &path, const QString &unit)
{
    reportArrival(devTypeFromPath(path), unit);
}

void DetectionDevice::reportArrival(const QString &type, const QString &unit)
{
    if (type.isEmpty() || indexOfUnit(unit) >= 0)
        return;
    m_present.append({type, unit});
    emit s_devUnitAndState(type, true, unit);
    followFirstUnit();
}

void DetectionDevice::onInterfaceRemoved(const QString &path, const QString &unit)
{
    if (devTypeFromPath(path).isEmpty())
        return;
    const int index = indexOfUnit(unit);
    if (index < 0) {
        // Another interface of a unit already gone, or a unit that was never told.
        qDebug().noquote() << "device detection:" << path << "left, its unit" << unit << "is not present";
        return;
    }
    const DetectedUnit gone = m_present.takeAt(index);
    emit s_devUnitAndState(gone.devType, false, gone.unit);
    followFirstUnit();
}

void DetectionDevice::followFirstUnit()
{
    const DetectedUnit first = m_present.value(0);
    if (first == m_reported)
        return;
    const DetectedUnit left = std::exchange(m_reported, first);
    if (!left.devType.isEmpty())
        emit s_devTypeAndState(left.devType, false);
    if (!first.devType.isEmpty())
        emit s_devTypeAndState(first.devType, true);
}

int DetectionDevice::indexOfUnit(const QString &unit) const
{
    for (int i = 0; i < m_present.size(); ++i) {
        if (m_present.at(i).unit == unit)
            return i;
    }
    return -1;
}
