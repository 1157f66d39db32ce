#include "record/ColumnAccumulator.h"

#include <QtGlobal>

namespace {
// Time in "column units": one column is a million of them, so microseconds × columns per
// second count them exactly.
constexpr qint64 kUnitsPerColumn = 1000000;
// Start times come in whole microseconds: a buffer ending within one of a column's end fills it.
constexpr qint64 kSlack = ColumnAccumulator::kColumnsPerSecond;
} // namespace

QVector<QVector<qreal>> ColumnAccumulator::add(const QVector<qreal> &column, qint64 startUs, qint64 frameCount,
                                               int sampleRate)
{
    if (sampleRate <= 0)
        return {column};
    const qint64 begin = qMax<qint64>(startUs, 0) * kColumnsPerSecond;
    const qint64 end = begin + qMax<qint64>(frameCount, 0) * kColumnsPerSecond * kUnitsPerColumn / sampleRate;
    // A buffer that starts inside a column already drawn (out of order) joins the open one.
    const qint64 first = qMax(begin / kUnitsPerColumn, m_index);

    QVector<QVector<qreal>> done;
    if (first > m_index) {
        done.append(m_column);
        for (qint64 i = m_index + 1; i < first; ++i)
            done.append(QVector<qreal>());
        m_column.clear();
        m_index = first;
    }
    join(m_column, column);
    // Columns the buffer fills to their end are complete.
    while (end + kSlack >= (m_index + 1) * kUnitsPerColumn) {
        done.append(m_column);
        ++m_index;
        // What is left of the buffer lies in the next column alone.
        m_column.clear();
        if (end > m_index * kUnitsPerColumn + kSlack)
            join(m_column, column);
    }
    return done;
}

void ColumnAccumulator::join(QVector<qreal> &into, const QVector<qreal> &column)
{
    if (column.isEmpty())
        return;
    // Another channel count: the buffers cannot be joined, the newer one wins.
    if (into.size() != column.size()) {
        into = column;
        return;
    }
    for (int i = 0; i + 1 < column.size(); i += 2) {
        into[i] = qMax(into[i], column[i]);
        into[i + 1] = qMin(into[i + 1], column[i + 1]);
    }
}

void ColumnAccumulator::reset()
{
    m_column.clear();
    m_index = 0;
}
