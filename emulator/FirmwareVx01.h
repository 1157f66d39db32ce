#pragma once

#include "emulator/FirmwareBase.h"

// Emulated firmware of model vx01. Everything goes over the control pipe: a query's answer is
// offered by the next get-input-report, every other one offers the 19 parameter bytes at
// offsets 16 to 34.
class FirmwareVx01 : public FirmwareBase
{
public:
    // `serial`: the unit's serial number; empty: the model's.
    explicit FirmwareVx01(const QByteArray &serial = QByteArray());

    static const FirmwareModel &model();
};
