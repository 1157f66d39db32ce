#pragma once

#include <QtGlobal>

// An opened HID collection. Moves raw reports, report id first; knows nothing of their meaning.
// Every call is synchronous.
class HidHandle
{
public:
    virtual ~HidHandle() = default;

    // Control pipe: ask the device for its current input report. buffer[0] holds the report id
    // on entry; `length` bytes are filled on success.
    virtual bool getInputReport(quint8 *buffer, quint32 length) = 0;
    // Control pipe: hand the device one output report of `length` bytes.
    virtual bool setOutputReport(const quint8 *buffer, quint32 length) = 0;
    // Interrupt pipe: the next input report, waiting at most `timeoutMs`. Returns the bytes
    // read (report id included), 0 on failure or time-out.
    virtual int read(quint8 *buffer, quint32 size, int timeoutMs) = 0;
    // Interrupt pipe: write one output report. Returns the bytes written, 0 on failure.
    virtual int write(const quint8 *buffer, quint32 length) = 0;
};
