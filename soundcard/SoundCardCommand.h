#pragma once

#include <QtGlobal>

#include <array>

// One command to the device: four command bytes and either no data or two data bytes.
struct SoundCardCommand
{
    std::array<quint8, 4> code{};
    bool hasData = false;
    std::array<quint8, 2> data{};

    int dataLength() const { return hasData ? 2 : 0; }
    bool operator==(const SoundCardCommand &other) const
    {
        return code == other.code && hasData == other.hasData && (!hasData || data == other.data);
    }
};
