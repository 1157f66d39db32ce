#pragma once

#include "device/HidReportDescriptor.h"

#include <cstddef>

// Reads a HID report descriptor (the bytes a device reports about its reports) into its top-level
// collections. Pure: no I/O. A truncated or inconsistent descriptor is rejected as a whole.
class HidReportDescriptorParser
{
public:
    // False (and `result` emptied) when the descriptor is malformed or has no top-level collection.
    static bool parse(const quint8 *data, std::size_t size, HidReportDescriptor *result);
};
