#include "emulator/EmulatedBus.h"

#include "device/HidHandle.h"
#include "emulator/EmulatedDevice.h"
#include "emulator/EmulatedHandle.h"
#include "emulator/EmulatedModel.h"
#include "emulator/RecordingFirmware.h"

#include <QDebug>

#include <algorithm>

namespace {

// Device paths carry the ids as the system writes them, so that detection tells the model
// from the path alone.
QString devicePath(int node, const EmulatedInterface &iface)
{
    const auto hex4 = [](quint16 value) { return QStringLiteral("%1").arg(value, 4, 16, QLatin1Char('0')).toUpper(); };
    return QStringLiteral("/dev/emulated/hidraw%1#VID_%2&PID_%3")
        .arg(node)
        .arg(hex4(iface.vendorId), hex4(iface.productId));
}

} // namespace

EmulatedBus::EmulatedBus(QObject *parent)
    : HidBackend(parent)
{
}

EmulatedBus::~EmulatedBus()
{
    // Handles may outlive the bus; they must see their device gone.
    for (Attached &attached : m_attached)
        attached.device->unplug();
}

QStringList EmulatedBus::models()
{
    return EmulatedModel::names();
}

QString EmulatedBus::plugUnit(const QString &model, std::unique_ptr<EmulatedFirmware> firmware)
{
    const EmulatedModel *description = EmulatedModel::find(model);
    if (!description) {
        qWarning() << "emulated bus: unknown model" << model;
        return QString();
    }
    if (!firmware) {
        const EmulatedInterface &traffic = description->trafficInterface();
        firmware = std::make_unique<RecordingFirmware>(int(traffic.inputReportLength));
    }

    Attached attached;
    attached.unit = QStringLiteral("%1-unit%2").arg(description->name).arg(++m_nextUnit);
    attached.device = std::make_shared<EmulatedDevice>(*description, std::move(firmware));
    attached.device->setReadWaitLimitMs(m_readWaitLimitMs);
    for (const EmulatedInterface &iface : description->interfaces) {
        attached.collections << HidCollectionInfo{
            devicePath(m_nextNode++, iface), iface.vendorId,           iface.productId, iface.usagePage, iface.usage,
            iface.inputReportLength,         iface.outputReportLength, attached.unit};
    }
    {
        const QMutexLocker lock(&m_mutex);
        m_attached << attached;
    }
    for (const HidCollectionInfo &info : qAsConst(attached.collections))
        emit interfaceArrived(info.path, info.unit);
    return attached.unit;
}

bool EmulatedBus::plug(const QString &model, std::unique_ptr<EmulatedFirmware> firmware)
{
    return !plugUnit(model, std::move(firmware)).isEmpty();
}

QString EmulatedBus::unitOf(const QString &model) const
{
    const QMutexLocker lock(&m_mutex);
    for (const Attached &attached : m_attached) {
        if (attached.device->model().name.compare(model, Qt::CaseInsensitive) == 0)
            return attached.unit;
    }
    return QString();
}

bool EmulatedBus::unplugUnit(const QString &unit)
{
    Attached attached;
    {
        const QMutexLocker lock(&m_mutex);
        const auto found = std::find_if(m_attached.begin(), m_attached.end(),
                                        [&unit](const Attached &candidate) { return candidate.unit == unit; });
        if (found == m_attached.end()) {
            qWarning() << "emulated bus: no unit" << unit;
            return false;
        }
        attached = *found;
        m_attached.erase(found);
    }
    attached.device->unplug();
    for (const HidCollectionInfo &info : qAsConst(attached.collections))
        emit interfaceRemoved(info.path, info.unit);
    return true;
}

bool EmulatedBus::unplug(const QString &model)
{
    const QString unit = unitOf(model);
    return !unit.isEmpty() && unplugUnit(unit);
}

bool EmulatedBus::isPlugged(const QString &model) const
{
    return !unitOf(model).isEmpty();
}

EmulatedFirmware *EmulatedBus::unitFirmware(const QString &unit) const
{
    const std::shared_ptr<EmulatedDevice> device = deviceOf(unit);
    return device ? device->firmware() : nullptr;
}

EmulatedFirmware *EmulatedBus::firmware(const QString &model) const
{
    const QString unit = unitOf(model);
    return unit.isEmpty() ? nullptr : unitFirmware(unit);
}

EmulatedBus::HeldFirmware EmulatedBus::holdUnitFirmware(const QString &unit) const
{
    const std::shared_ptr<EmulatedDevice> device = deviceOf(unit);
    if (!device)
        return {};
    // The bus owns the device while it is plugged; only the bus's own thread unplugs it.
    return {device->hold(), device->firmware()};
}

EmulatedBus::HeldFirmware EmulatedBus::holdFirmware(const QString &model) const
{
    const QString unit = unitOf(model);
    return unit.isEmpty() ? HeldFirmware() : holdUnitFirmware(unit);
}

bool EmulatedBus::setUnitFailure(const QString &unit, EmulatedFailure failure)
{
    const std::shared_ptr<EmulatedDevice> device = deviceOf(unit);
    if (device)
        device->setFailure(failure);
    return device != nullptr;
}

bool EmulatedBus::setFailure(const QString &model, EmulatedFailure failure)
{
    const QString unit = unitOf(model);
    return !unit.isEmpty() && setUnitFailure(unit, failure);
}

void EmulatedBus::setReadWaitLimitMs(int limitMs)
{
    const QMutexLocker lock(&m_mutex);
    m_readWaitLimitMs = limitMs;
    for (Attached &attached : m_attached)
        attached.device->setReadWaitLimitMs(limitMs);
}

QList<HidCollectionInfo> EmulatedBus::enumerate()
{
    const QMutexLocker lock(&m_mutex);
    QList<HidCollectionInfo> result;
    for (const Attached &attached : qAsConst(m_attached))
        result << declared(attached);
    return result;
}

QList<HidCollectionInfo> EmulatedBus::declared(const Attached &attached) const
{
    QList<HidCollectionInfo> result = attached.collections;
    const QList<EmulatedInterface> &interfaces = attached.device->model().interfaces;
    for (int i = 0; i < result.size(); ++i) {
        if (!interfaces.at(i).carriesTraffic)
            continue;
        result[i].inputReportLength = attached.device->inputReportLength();
        result[i].outputReportLength = attached.device->outputReportLength();
    }
    return result;
}

std::unique_ptr<HidHandle> EmulatedBus::open(const HidCollectionInfo &collection)
{
    const QMutexLocker lock(&m_mutex);
    for (const Attached &attached : qAsConst(m_attached)) {
        for (int i = 0; i < attached.collections.size(); ++i) {
            if (attached.collections.at(i).path != collection.path)
                continue;
            return std::make_unique<EmulatedHandle>(attached.device,
                                                    attached.device->model().interfaces.at(i).carriesTraffic);
        }
    }
    return nullptr;
}

std::shared_ptr<EmulatedDevice> EmulatedBus::deviceOf(const QString &unit) const
{
    const QMutexLocker lock(&m_mutex);
    for (const Attached &attached : m_attached) {
        if (attached.unit == unit)
            return attached.device;
    }
    qWarning() << "emulated bus: no unit" << unit;
    return nullptr;
}
