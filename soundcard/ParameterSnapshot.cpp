#include "soundcard/ParameterSnapshot.h"

#include <cstring>

bool ParameterSnapshot::takeOver(const quint8 *report, const QVector<ParameterByte> &layout, QVariantMap &map)
{
    if (layout.isEmpty())
        return false;
    const int first = layout.first().offset;
    const int count = layout.size();
    if (std::memcmp(report + first, m_bytes.data(), size_t(count)) == 0)
        return false;
    std::memcpy(m_bytes.data(), report + first, size_t(count));
    for (const ParameterByte &parameter : layout)
        map.insert(QString::fromLatin1(parameter.key), int(report[parameter.offset]));
    return true;
}
