#pragma once

#include <QtGlobal>

// CRC-16/X-25: reflected polynomial 0x1021 (table constant 0x8408), initial value 0xFFFF,
// final XOR 0xFFFF. The checksum of every command frame.
class Crc16X25
{
public:
    static quint16 compute(const quint8 *data, int size);
};
