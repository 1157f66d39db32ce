#include "device/EmulatedDevice.h"

#include <QThread>

#include <algorithm>
#include <cstring>

EmulatedDevice::EmulatedDevice(const EmulatedModel &model, std::unique_ptr<EmulatedFirmware> firmware)
    : m_model(model), m_firmware(std::move(firmware))
{
}

const EmulatedModel &EmulatedDevice::model() const
{
    return m_model;
}

EmulatedFirmware *EmulatedDevice::firmware() const
{
    return m_firmware.get();
}

bool EmulatedDevice::isPlugged() const
{
    return m_plugged;
}

void EmulatedDevice::unplug()
{
    m_plugged = false;
    m_pending.clear();
}

void EmulatedDevice::setFailure(EmulatedFailure failure)
{
    m_failure = failure;
    if (failure != EmulatedFailure::None)
        m_pending.clear();
}

bool EmulatedDevice::getInputReport(quint8 *buffer, quint32 length)
{
    if (!m_plugged || !m_firmware || m_failure == EmulatedFailure::Silent)
        return false;
    const QByteArray report = answer(m_firmware->inputReport());
    std::memset(buffer, 0, length);
    std::memcpy(buffer, report.constData(), std::min<size_t>(report.size(), length));
    return true;
}

bool EmulatedDevice::setOutputReport(const quint8 *buffer, quint32 length)
{
    return deliver(buffer, length);
}

void EmulatedDevice::setReadWaitLimitMs(int limitMs)
{
    m_readWaitLimitMs = limitMs;
}

int EmulatedDevice::read(quint8 *buffer, quint32 size, int timeoutMs)
{
    if (!m_plugged)
        return 0;
    if (m_pending.isEmpty()) {
        // Nothing can arrive while the caller waits: the device answers only when written to.
        const int waitMs = m_readWaitLimitMs < 0 ? timeoutMs : std::min(timeoutMs, m_readWaitLimitMs);
        if (waitMs > 0)
            QThread::msleep(static_cast<unsigned long>(waitMs));
        return 0;
    }
    const QByteArray report = m_pending.dequeue();
    const quint32 count = std::min<quint32>(quint32(report.size()), size);
    std::memcpy(buffer, report.constData(), count);
    return int(count);
}

int EmulatedDevice::write(const quint8 *buffer, quint32 length)
{
    return deliver(buffer, length) ? int(length) : 0;
}

bool EmulatedDevice::deliver(const quint8 *buffer, quint32 length)
{
    if (!m_plugged)
        return false;
    if (m_failure == EmulatedFailure::Silent || !m_firmware)
        return true;
    const QList<QByteArray> answers =
        m_firmware->receive(QByteArray(reinterpret_cast<const char *>(buffer), int(length)));
    for (const QByteArray &report : answers)
        m_pending.enqueue(answer(report));
    return true;
}

QByteArray EmulatedDevice::answer(const QByteArray &report)
{
    if (m_failure != EmulatedFailure::Garbage)
        return report;
    // A fixed pseudo-random sequence keeps failing tests reproducible.
    QByteArray noise(report.size(), '\0');
    for (char &byte : noise) {
        m_noise ^= m_noise << 13;
        m_noise ^= m_noise >> 17;
        m_noise ^= m_noise << 5;
        byte = char(m_noise & 0xFF);
    }
    return noise;
}
