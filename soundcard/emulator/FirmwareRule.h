#pragma once

#include <QtGlobal>

// How the emulated firmware applies a plain setter: command group c3 of 03 01 01 c3 with
// sub-code d0 writes d1 into the parameter `key`.
struct FirmwareRule
{
    quint8 group;
    quint8 subCode;
    const char *key;
};
