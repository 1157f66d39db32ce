#pragma once

#include "cli/TraceSink.h"
#include "device/HidHandle.h"

#include <memory>

// Wraps an opened collection: writes every report it moves to the sink (when there is one):
// "> " for reports handed to the device, "< " for reports the device returned.
class TracingHidHandle : public HidHandle
{
public:
    TracingHidHandle(std::unique_ptr<HidHandle> inner, TraceSink sink);

    bool getInputReport(quint8 *buffer, quint32 length) override;
    bool setOutputReport(const quint8 *buffer, quint32 length) override;
    int read(quint8 *buffer, quint32 size, int timeoutMs) override;
    int write(const quint8 *buffer, quint32 length) override;

private:
    void trace(char direction, const quint8 *bytes, int count) const;

    std::unique_ptr<HidHandle> m_inner;
    TraceSink m_sink;
};
