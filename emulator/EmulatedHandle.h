#pragma once

#include "device/HidHandle.h"

#include <memory>

class EmulatedDevice;

// An open collection of an emulated device. Report sizes are checked as the system checks them:
// a control request or a write must carry exactly the report length the device declares. Only
// the collection that carries the device's traffic moves reports.
class EmulatedHandle : public HidHandle
{
public:
    EmulatedHandle(std::shared_ptr<EmulatedDevice> device, bool carriesTraffic);

    bool getInputReport(quint8 *buffer, quint32 length) override;
    bool setOutputReport(const quint8 *buffer, quint32 length) override;
    int read(quint8 *buffer, quint32 size, int timeoutMs) override;
    int write(const quint8 *buffer, quint32 length) override;

private:
    bool usable() const;

    std::shared_ptr<EmulatedDevice> m_device;
    bool m_carriesTraffic;
};
