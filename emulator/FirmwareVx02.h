#pragma once

#include "emulator/FirmwareBase.h"

// Emulated firmware of model vx02. Listens on the interrupt pipe and answers the parameter,
// version and serial-number requests with one input report each there; the 16 parameter
// bytes stand at offsets 16 to 31.
class FirmwareVx02 : public FirmwareBase
{
public:
    // `serial`: the unit's serial number; empty: the model's.
    explicit FirmwareVx02(const QByteArray &serial = QByteArray());

    static const FirmwareModel &model();
};
