#pragma once

#include "soundcard/ModelParameter.h"

#include <QVariantMap>
#include <QVector>

#include <array>

// The parameter bytes of the last report that was taken over, and the change test that decides
// whether a new report is taken over. Pure code.
class ParameterSnapshot
{
public:
    static constexpr int kSize = 512;

    // Compares the bytes of the model's keys in `report` (offsets 16 on, one after the other)
    // with the first bytes of the snapshot. Equal: false, nothing touched. Different: copies
    // them into the snapshot, sets every key in `map` to its byte's unsigned value and returns
    // true. Rows without a key are passed over.
    bool takeOver(const quint8 *report, const QVector<ModelParameter> &layout, QVariantMap &map);

    const std::array<quint8, kSize> &bytes() const { return m_bytes; }

private:
    std::array<quint8, kSize> m_bytes{};
};
