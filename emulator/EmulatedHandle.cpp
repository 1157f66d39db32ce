#include "emulator/EmulatedHandle.h"

#include "emulator/EmulatedDevice.h"

EmulatedHandle::EmulatedHandle(std::shared_ptr<EmulatedDevice> device, bool carriesTraffic)
    : m_device(std::move(device))
    , m_carriesTraffic(carriesTraffic)
{
}

bool EmulatedHandle::usable() const
{
    return m_device && m_device->isPlugged() && m_carriesTraffic;
}

bool EmulatedHandle::getInputReport(quint8 *buffer, quint32 length)
{
    if (!usable() || !buffer || length != m_device->inputReportLength())
        return false;
    return m_device->getInputReport(buffer, length);
}

bool EmulatedHandle::setOutputReport(const quint8 *buffer, quint32 length)
{
    if (!usable() || !buffer || length != m_device->outputReportLength())
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
    if (!usable() || !buffer || length != m_device->outputReportLength())
        return 0;
    return m_device->write(buffer, length);
}
