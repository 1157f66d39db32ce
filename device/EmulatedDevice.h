#pragma once

#include "device/EmulatedFailure.h"
#include "device/EmulatedFirmware.h"
#include "device/EmulatedModel.h"

#include <QByteArray>
#include <QQueue>

#include <memory>

// One emulated sound card while it is on the bus: moves reports between the host's handles and
// the firmware. Shared by the bus and the open handles; after unplugging every call fails.
class EmulatedDevice
{
public:
    EmulatedDevice(const EmulatedModel &model, std::unique_ptr<EmulatedFirmware> firmware);

    const EmulatedModel &model() const;
    EmulatedFirmware *firmware() const;

    bool isPlugged() const;
    void unplug();
    void setFailure(EmulatedFailure failure);
    // Longest wait of a read on an empty pipe; negative: the caller's whole time-out.
    void setReadWaitLimitMs(int limitMs);

    // Control pipe.
    bool getInputReport(quint8 *buffer, quint32 length);
    bool setOutputReport(const quint8 *buffer, quint32 length);
    // Interrupt pipe.
    int read(quint8 *buffer, quint32 size, int timeoutMs);
    int write(const quint8 *buffer, quint32 length);

private:
    bool deliver(const quint8 *buffer, quint32 length);
    QByteArray answer(const QByteArray &report);

    const EmulatedModel &m_model;
    std::unique_ptr<EmulatedFirmware> m_firmware;
    QQueue<QByteArray> m_pending;
    EmulatedFailure m_failure = EmulatedFailure::None;
    bool m_plugged = true;
    int m_readWaitLimitMs = -1;
    quint32 m_noise = 0x9E3779B9u;
};
