// Feeds arbitrary bytes to the report descriptor parser: it must neither crash nor read past
// the input, and what it accepts must be consistent.
#include "device/HidReportDescriptorParser.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    HidReportDescriptor result;
    const bool ok = HidReportDescriptorParser::parse(data, size, &result);
    if (ok == result.collections.isEmpty())
        std::abort();
    for (const HidTopLevelCollection &collection : result.collections) {
        if (collection.inputReportLength == 1 || collection.outputReportLength == 1)
            std::abort(); // a report has a payload or is absent
    }
    return 0;
}
