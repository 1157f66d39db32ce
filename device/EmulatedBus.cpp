#include "device/EmulatedBus.h"

#include "device/EmulatedDevice.h"
#include "device/EmulatedHandle.h"
#include "device/EmulatedModel.h"
#include "device/HidHandle.h"
#include "device/HidPathText.h"
#include "device/RecordingFirmware.h"

#include <QDebug>

#include <algorithm>

EmulatedBus::EmulatedBus(QObject *parent) : HidBackend(parent)
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
        const QString node = QStringLiteral("/dev/emulated/hidraw%1").arg(m_nextNode++);
        attached.collections << HidCollectionInfo{HidPathText::make(node, iface.vendorId, iface.productId),
                                                  iface.vendorId, iface.productId, iface.usagePage, iface.usage,
                                                  iface.inputReportLength, iface.outputReportLength};
    }
    m_attached << attached;
    for (const HidCollectionInfo &info : qAsConst(m_attached.last().collections))
        emit interfaceArrived(info.path);
    return true;
}

bool EmulatedBus::unplug(const QString &model)
{
    const int index = indexOf(model);
    if (index < 0)
        return false;
    const Attached attached = m_attached.takeAt(index);
    attached.device->unplug();
    for (const HidCollectionInfo &info : attached.collections)
        emit interfaceRemoved(info.path);
    return true;
}

bool EmulatedBus::isPlugged(const QString &model) const
{
    return indexOf(model) >= 0;
}

EmulatedFirmware *EmulatedBus::firmware(const QString &model) const
{
    const int index = indexOf(model);
    return index < 0 ? nullptr : m_attached.at(index).device->firmware();
}

bool EmulatedBus::setFailure(const QString &model, EmulatedFailure failure)
{
    const int index = indexOf(model);
    if (index < 0)
        return false;
    m_attached.at(index).device->setFailure(failure);
    return true;
}

void EmulatedBus::setReadWaitLimitMs(int limitMs)
{
    m_readWaitLimitMs = limitMs;
    for (Attached &attached : m_attached)
        attached.device->setReadWaitLimitMs(limitMs);
}

QList<HidCollectionInfo> EmulatedBus::enumerate()
{
    QList<HidCollectionInfo> result;
    for (const Attached &attached : qAsConst(m_attached))
        result << attached.collections;
    return result;
}

std::unique_ptr<HidHandle> EmulatedBus::open(const HidCollectionInfo &collection)
{
    for (const Attached &attached : qAsConst(m_attached)) {
        for (int i = 0; i < attached.collections.size(); ++i) {
            if (attached.collections.at(i).path != collection.path)
                continue;
            return std::make_unique<EmulatedHandle>(attached.device,
                                                    attached.device->model().interfaces.at(i));
        }
    }
    return nullptr;
}

int EmulatedBus::indexOf(const QString &model) const
{
    for (int i = 0; i < m_attached.size(); ++i) {
        if (m_attached.at(i).device->model().name == model)
            return i;
    }
    return -1;
}
