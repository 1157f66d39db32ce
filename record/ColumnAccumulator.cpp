#include "record/ColumnAccumulator.h"

#include <QtGlobal>

QVector<QVector<qreal>> ColumnAccumulator::add(const QVector<qreal> &column, qint64 frameCount,
                                               int sampleRate)
{
    if (column.isEmpty() || sampleRate <= 0)
        return {column};
    QVector<QVector<qreal>> done;
    if (m_column.size() != column.size()) {
        // Another channel count: the pending column cannot be joined with this one.
        if (!m_column.isEmpty())
            done.append(m_column);
        m_column = column;
        m_units = 0;
    } else {
        for (int i = 0; i + 1 < column.size(); i += 2) {
            m_column[i] = qMax(m_column[i], column[i]);
            m_column[i + 1] = qMin(m_column[i + 1], column[i + 1]);
        }
    }
    m_units += qMax<qint64>(frameCount, 0) * kColumnsPerSecond;
    while (m_units >= sampleRate) {
        done.append(m_column);
        m_units -= sampleRate;
    }
    if (m_units == 0)
        m_column.clear();
    return done;
}

void ColumnAccumulator::reset()
{
    m_column.clear();
    m_units = 0;
}
