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

bool EmulatedBus::plug(const QString &model, std::unique_ptr<EmulatedFirmware> firmware)
{
    const EmulatedModel *description = EmulatedModel::find(model);
    if (!description) {
        qWarning() << "emulated bus: unknown model" << model;
        return false;
    }
    if (indexOf(model) >= 0) {
        qWarning() << "emulated bus: a" << model << "is already plugged";
        return false;
    }
    if (!firmware) {
        const EmulatedInterface &traffic = description->trafficInterface();
        firmware = std::make_unique<RecordingFirmware>(int(traffic.inputReportLength));
    }

    Attached attached;
    attached.device = std::make_shared<EmulatedDevice>(*description, std::move(firmware));
    attached.device->setReadWaitLimitMs(m_readWaitLimitMs);
    for (const EmulatedInterface &iface : description->interfaces) {
        attached.collections << HidCollectionInfo{
            devicePath(m_nextNode++, iface), iface.vendorId,          iface.productId, iface.usagePage, iface.usage,
            iface.inputReportLength,         iface.outputReportLength};
    }
    {
        const QMutexLocker lock(&m_mutex);
        m_attached << attached;
    }
    for (const HidCollectionInfo &info : qAsConst(attached.collections))
        emit interfaceArrived(info.path);
    return true;
}

bool EmulatedBus::unplug(const QString &model)
{
    Attached attached;
    {
        const QMutexLocker lock(&m_mutex);
        const int index = indexOf(model);
        if (index < 0)
            return false;
        attached = m_attached.takeAt(index);
    }
    attached.device->unplug();
    for (const HidCollectionInfo &info : attached.collections)
        emit interfaceRemoved(info.path);
    return true;
}

bool EmulatedBus::isPlugged(const QString &model) const
{
    const QMutexLocker lock(&m_mutex);
    return indexOf(model) >= 0;
}

EmulatedFirmware *EmulatedBus::firmware(const QString &model) const
{
    const QMutexLocker lock(&m_mutex);
    const int index = indexOf(model);
    return index < 0 ? nullptr : m_attached.at(index).device->firmware();
}

EmulatedBus::HeldFirmware EmulatedBus::holdFirmware(const QString &model) const
{
    std::shared_ptr<EmulatedDevice> device;
    {
        const QMutexLocker lock(&m_mutex);
        const int index = indexOf(model);
        if (index < 0)
            return {};
        device = m_attached.at(index).device;
    }
    // The bus owns the device while it is plugged; only the bus's own thread unplugs it.
    return {device->hold(), device->firmware()};
}

bool EmulatedBus::setFailure(const QString &model, EmulatedFailure failure)
{
    const QMutexLocker lock(&m_mutex);
    const int index = indexOf(model);
    if (index < 0)
        return false;
    m_attached.at(index).device->setFailure(failure);
    return true;
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

int EmulatedBus::indexOf(const QString &model) const
{
    for (int i = 0; i < m_attached.size(); ++i) {
        if (m_attached.at(i).device->model().name.compare(model, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}
