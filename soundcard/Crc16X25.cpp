#include "soundcard/Crc16X25.h"

#include <array>

namespace {

std::array<quint16, 256> makeTable()
{
    std::array<quint16, 256> table{};
    for (int i = 0; i < 256; ++i) {
        quint16 crc = quint16(i);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? quint16((crc >> 1) ^ 0x8408) : quint16(crc >> 1);
        table[size_t(i)] = crc;
    }
    return table;
}

} // namespace

quint16 Crc16X25::compute(const quint8 *data, int size)
{
    static const std::array<quint16, 256> table = makeTable();
    quint16 crc = 0xFFFF;
    for (int i = 0; i < size; ++i)
        crc = quint16((crc >> 8) ^ table[(crc ^ data[i]) & 0xFF]);
    return quint16(crc ^ 0xFFFF);
}
