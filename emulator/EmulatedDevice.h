#pragma once

#include "emulator/EmulatedFailure.h"
#include "emulator/EmulatedFirmware.h"
#include "emulator/EmulatedModel.h"

#include <QByteArray>
#include <QMutex>
#include <QQueue>
#include <QWaitCondition>

#include <memory>
#include <mutex>

// One emulated sound card while it is on the bus: moves reports between the host's handles and
// the firmware on the model's own pipe only, as the real device does. On the other pipe a
// command is dropped, a get-input-report fails and an interrupt read finds nothing. Shared by
// the bus and the open handles; after unplugging every call fails. The host may call from any
// thread: one call at a time reaches the firmware, and a read waiting on an empty pipe ends as
// soon as the device is unplugged.
class EmulatedDevice
{
public:
    EmulatedDevice(const EmulatedModel &model, std::unique_ptr<EmulatedFirmware> firmware);

    const EmulatedModel &model() const;
    EmulatedFirmware *firmware() const;
    // Keeps the host's calls out while the device side works on the firmware (a knob turned,
    // the reports it kept read).
    std::unique_lock<QMutex> hold() const;

    bool isPlugged() const;
    void unplug();
    EmulatedFailure failure() const;
    void setFailure(EmulatedFailure failure);
    // Longest wait of a read on an empty pipe; negative: the caller's whole time-out.
    void setReadWaitLimitMs(int limitMs);

    // The report lengths the traffic collection declares now (report id included).
    quint32 inputReportLength() const;
    quint32 outputReportLength() const;

    // Control pipe.
    bool getInputReport(quint8 *buffer, quint32 length);
    bool setOutputReport(const quint8 *buffer, quint32 length);
    // Interrupt pipe.
    int read(quint8 *buffer, quint32 size, int timeoutMs);
    int write(const quint8 *buffer, quint32 length);

private:
    // Hands a report that came in on `pipe` to the firmware, if that is the model's pipe.
    void deliver(EmulatedPipe pipe, const quint8 *buffer, quint32 length);
    // What leaves the device: garbled when it answers garbage, cut or padded to the declared
    // input report length.
    QByteArray outgoing(const QByteArray &report);
    quint32 declaredInputLength() const;
    int waitForNothing(std::unique_lock<QMutex> &lock, int timeoutMs);

    mutable QMutex m_mutex;
    QWaitCondition m_unplugged;
    const EmulatedModel &m_model;
    std::unique_ptr<EmulatedFirmware> m_firmware;
    QQueue<QByteArray> m_pending;
    EmulatedFailure m_failure = EmulatedFailure::None;
    bool m_plugged = true;
    int m_readWaitLimitMs = -1;
    quint32 m_noise = 0x9E3779B9u;
};
