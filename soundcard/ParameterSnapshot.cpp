#include "soundcard/ParameterSnapshot.h"

#include <cstring>

bool ParameterSnapshot::takeOver(const quint8 *report, const QVector<ModelParameter> &layout, QVariantMap &map)
{
    int first = -1;
    int count = 0;
    for (const ModelParameter &parameter : layout) {
        if (!parameter.hasKey())
            continue;
        if (first < 0)
            first = parameter.offset;
        ++count;
    }
    if (count == 0)
        return false;
    if (std::memcmp(report + first, m_bytes.data(), size_t(count)) == 0)
        return false;
    std::memcpy(m_bytes.data(), report + first, size_t(count));
    for (const ModelParameter &parameter : layout) {
        if (parameter.hasKey())
            map.insert(QString::fromLatin1(parameter.key), int(report[parameter.offset]));
    }
    return true;
}
