#pragma once

#include <QtGlobal>

// The checksum the sound cards put behind every frame: CRC-16/X-25 (reflected polynomial
// 0x1021, start 0xFFFF, final XOR 0xFFFF), worked bit by bit as a small firmware does it.
class DeviceCrc
{
public:
    static quint16 x25(const quint8 *data, int size);
};
