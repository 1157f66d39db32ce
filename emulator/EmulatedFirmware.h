#pragma once

#include <QByteArray>
#include <QList>

// The device side of an emulated sound card: what the firmware does with the reports it
// receives and what it answers. The emulated device moves the bytes over the model's own pipe;
// this decides their meaning.
class EmulatedFirmware
{
public:
    virtual ~EmulatedFirmware() = default;

    // One output report as it reached the device on the model's command pipe, report id first,
    // the declared output report length. Returns the input reports the device queues in answer
    // on the interrupt pipe, in order; may be empty.
    virtual QList<QByteArray> receive(const QByteArray &report) = 0;

    // The input report the device offers on the control pipe right now (get-input-report),
    // report id first.
    virtual QByteArray inputReport() = 0;
};
