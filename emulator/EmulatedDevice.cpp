#include "emulator/EmulatedDevice.h"

#include <QDeadlineTimer>

#include <algorithm>
#include <cstring>

EmulatedDevice::EmulatedDevice(const EmulatedModel &model, std::unique_ptr<EmulatedFirmware> firmware)
    : m_model(model)
    , m_firmware(std::move(firmware))
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

std::unique_lock<QMutex> EmulatedDevice::hold() const
{
    return std::unique_lock<QMutex>(m_mutex);
}

bool EmulatedDevice::isPlugged() const
{
    const auto lock = hold();
    return m_plugged;
}

void EmulatedDevice::unplug()
{
    const auto lock = hold();
    m_plugged = false;
    m_pending.clear();
    m_unplugged.wakeAll();
}

EmulatedFailure EmulatedDevice::failure() const
{
    const auto lock = hold();
    return m_failure;
}

void EmulatedDevice::setFailure(EmulatedFailure failure)
{
    const auto lock = hold();
    m_failure = failure;
    if (failure != EmulatedFailure::None)
        m_pending.clear();
}

void EmulatedDevice::setReadWaitLimitMs(int limitMs)
{
    const auto lock = hold();
    m_readWaitLimitMs = limitMs;
}

quint32 EmulatedDevice::inputReportLength() const
{
    const auto lock = hold();
    return declaredInputLength();
}

quint32 EmulatedDevice::outputReportLength() const
{
    const auto lock = hold();
    return m_failure == EmulatedFailure::ShortReports ? m_model.shortReportLength
                                                      : m_model.trafficInterface().outputReportLength;
}

quint32 EmulatedDevice::declaredInputLength() const
{
    return m_failure == EmulatedFailure::ShortReports ? m_model.shortReportLength
                                                      : m_model.trafficInterface().inputReportLength;
}

bool EmulatedDevice::getInputReport(quint8 *buffer, quint32 length)
{
    const auto lock = hold();
    if (!m_plugged || !m_firmware || m_failure == EmulatedFailure::Silent || m_model.pipe != EmulatedPipe::Control)
        return false;
    const QByteArray report = outgoing(m_firmware->inputReport());
    std::memset(buffer, 0, length);
    std::memcpy(buffer, report.constData(), std::min<size_t>(size_t(report.size()), length));
    return true;
}

bool EmulatedDevice::setOutputReport(const quint8 *buffer, quint32 length)
{
    const auto lock = hold();
    if (!m_plugged)
        return false;
    deliver(EmulatedPipe::Control, buffer, length);
    return true;
}

int EmulatedDevice::read(quint8 *buffer, quint32 size, int timeoutMs)
{
    auto lock = hold();
    if (!m_plugged)
        return 0;
    if (m_pending.isEmpty())
        return waitForNothing(lock, timeoutMs);
    const QByteArray report = m_pending.dequeue();
    const quint32 count = std::min<quint32>(quint32(report.size()), size);
    std::memcpy(buffer, report.constData(), count);
    return int(count);
}

int EmulatedDevice::write(const quint8 *buffer, quint32 length)
{
    const auto lock = hold();
    if (!m_plugged)
        return 0;
    deliver(EmulatedPipe::Interrupt, buffer, length);
    return int(length);
}

// Nothing can arrive while the caller waits: the device answers only when written to, and the
// one host thread that could write is the one waiting. Unplugging ends the wait.
int EmulatedDevice::waitForNothing(std::unique_lock<QMutex> &lock, int timeoutMs)
{
    const int waitMs = m_readWaitLimitMs < 0 ? timeoutMs : std::min(timeoutMs, m_readWaitLimitMs);
    QDeadlineTimer deadline(std::max(waitMs, 0));
    while (m_plugged && !deadline.hasExpired())
        m_unplugged.wait(lock.mutex(), deadline);
    return 0;
}

void EmulatedDevice::deliver(EmulatedPipe pipe, const quint8 *buffer, quint32 length)
{
    // The transfer itself succeeds; a device that does not listen there just never sees it.
    if (pipe != m_model.pipe || m_failure == EmulatedFailure::Silent || !m_firmware)
        return;
    const QList<QByteArray> answers =
        m_firmware->receive(QByteArray(reinterpret_cast<const char *>(buffer), int(length)));
    if (m_model.pipe != EmulatedPipe::Interrupt)
        return;
    for (const QByteArray &report : answers)
        m_pending.enqueue(outgoing(report));
}

QByteArray EmulatedDevice::outgoing(const QByteArray &report)
{
    const int length = int(declaredInputLength());
    QByteArray result = report.left(length);
    result.append(QByteArray(length - result.size(), '\0'));
    if (m_failure != EmulatedFailure::Garbage)
        return result;
    // A fixed pseudo-random sequence keeps failing tests reproducible.
    for (char &byte : result) {
        m_noise ^= m_noise << 13;
        m_noise ^= m_noise >> 17;
        m_noise ^= m_noise << 5;
        byte = char(m_noise & 0xFF);
    }
    return result;
}
