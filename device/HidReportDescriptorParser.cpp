#include "device/HidReportDescriptorParser.h"

#include <QMap>
#include <QVector>

namespace {

enum ItemType { Main = 0, Global = 1, Local = 2 };

enum MainTag { Input = 0x8, Output = 0x9, Collection = 0xA, Feature = 0xB, EndCollection = 0xC };

enum GlobalTag {
    UsagePage = 0x0,
    ReportSize = 0x7,
    ReportId = 0x8,
    ReportCount = 0x9,
    Push = 0xA,
    Pop = 0xB,
};

enum LocalTag { Usage = 0x0 };

constexpr quint8 kLongItemPrefix = 0xFE;
// Limits far above any real device; they only keep hostile input from growing without bound.
constexpr int kMaxGlobalStack = 32;
constexpr quint64 kMaxReportBits = 0xFFFFu * 8u;

struct GlobalState
{
    quint32 usagePage = 0;
    quint32 reportSize = 0;
    quint32 reportCount = 0;
    quint32 reportId = 0;
};

// Bits of each report (by id) of one kind inside the current top-level collection.
using ReportBits = QMap<quint32, quint64>;

quint32 lengthOf(const ReportBits &reports)
{
    quint64 longest = 0;
    for (quint64 bits : reports) {
        if (bits != 0) // main items without data fields declare no report
            longest = qMax(longest, (bits + 7) / 8 + 1);
    }
    return quint32(longest);
}

} // namespace

bool HidReportDescriptorParser::parse(const quint8 *data, std::size_t size, HidReportDescriptor *result)
{
    if (!result)
        return false;
    *result = HidReportDescriptor();
    if (!data && size != 0)
        return false;

    GlobalState global;
    QVector<GlobalState> stack;
    QVector<quint32> usages; // local usages since the last main item, page in the high half
    int depth = 0;
    HidTopLevelCollection current;
    ReportBits input;
    ReportBits output;
    ReportBits feature;
    HidReportDescriptor parsed;

    std::size_t pos = 0;
    while (pos < size) {
        const quint8 prefix = data[pos++];
        if (prefix == kLongItemPrefix) {
            // Long items carry no information the host needs; skip their data.
            if (size - pos < 2)
                return false;
            const std::size_t length = data[pos];
            pos += 2;
            if (size - pos < length)
                return false;
            pos += length;
            continue;
        }
        static const std::size_t kSizes[4] = {0, 1, 2, 4};
        const std::size_t length = kSizes[prefix & 0x3];
        const int type = (prefix >> 2) & 0x3;
        const int tag = prefix >> 4;
        if (size - pos < length)
            return false;
        quint32 value = 0;
        for (std::size_t i = 0; i < length; ++i)
            value |= quint32(data[pos + i]) << (8 * i);
        pos += length;

        switch (type) {
        case Main:
            switch (tag) {
            case Collection:
                if (depth == 0) {
                    current = HidTopLevelCollection();
                    const quint32 usage = usages.isEmpty() ? 0 : usages.first();
                    current.usagePage = quint16(usage >> 16);
                    current.usage = quint16(usage & 0xFFFF);
                    input.clear();
                    output.clear();
                    feature.clear();
                }
                ++depth;
                break;
            case EndCollection:
                if (depth == 0)
                    return false;
                if (--depth == 0) {
                    current.inputReportLength = lengthOf(input);
                    current.outputReportLength = lengthOf(output);
                    current.featureReportLength = lengthOf(feature);
                    parsed.collections << current;
                }
                break;
            case Input:
            case Output:
            case Feature: {
                // Reports declared outside any collection belong to none the host can open.
                if (depth == 0)
                    break;
                ReportBits &reports = tag == Input ? input : tag == Output ? output : feature;
                quint64 &bits = reports[global.reportId];
                bits += quint64(global.reportSize) * global.reportCount;
                if (bits > kMaxReportBits)
                    return false;
                break;
            }
            default: return false;
            }
            usages.clear();
            break;
        case Global:
            switch (tag) {
            case UsagePage: global.usagePage = value & 0xFFFF; break;
            case ReportSize: global.reportSize = value; break;
            case ReportCount: global.reportCount = value; break;
            case ReportId:
                if (value == 0 || value > 0xFF)
                    return false;
                global.reportId = value;
                parsed.usesReportIds = true;
                break;
            case Push:
                if (stack.size() >= kMaxGlobalStack)
                    return false;
                stack.push_back(global);
                break;
            case Pop:
                if (stack.isEmpty())
                    return false;
                global = stack.takeLast();
                break;
            default: break; // logical and physical ranges, units: not needed here
            }
            break;
        case Local:
            if (tag == Usage) {
                // A four-byte usage names its own page; a shorter one takes the current page.
                const quint32 usage = length == 4 ? value : (global.usagePage << 16) | (value & 0xFFFF);
                if (usages.size() < 256)
                    usages << usage;
            }
            break;
        default: return false; // reserved item type
        }
    }

    if (depth != 0 || parsed.collections.isEmpty())
        return false;
    *result = parsed;
    return true;
}
