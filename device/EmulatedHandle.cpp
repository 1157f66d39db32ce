#include "device/EmulatedHandle.h"

#include "device/EmulatedDevice.h"

EmulatedHandle::EmulatedHandle(std::shared_ptr<EmulatedDevice> device,
                               const EmulatedInterface &collection)
    : m_device(std::move(device)), m_collection(collection)
{
}

bool EmulatedHandle::usable() const
{
    return m_device && m_device->isPlugged() && m_collection.carriesTraffic;
}

bool EmulatedHandle::getInputReport(quint8 *buffer, quint32 length)
{
    if (!usable() || !buffer || length != m_collection.inputReportLength)
        return false;
    return m_device->getInputReport(buffer, length);
}

bool EmulatedHandle::setOutputReport(const quint8 *buffer, quint32 length)
{
    if (!usable() || !buffer || length == 0 || length != m_collection.outputReportLength)
        return false;
    return m_device->setOutputReport(buffer, length);
}

int EmulatedHandle::read(quint8 *buffer, quint32 size, int timeoutMs)
{
    if (!usable() || !buffer || size == 0)
        return 0;
    return m_device->read(buffer, size, timeoutMs);
}

int EmulatedHandle::write(const quint8 *buffer, quint32 length)
{
    if (!usable() || !buffer || length == 0 || length != m_collection.outputReportLength)
        return 0;
    return m_device->write(buffer, length);
}
