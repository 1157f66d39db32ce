#pragma once

#include <QVector>

// Joins the level columns of captured buffers into columns of 40 ms of audio, the time one
// column of the waveform view stands for (25 per second). The backend delivers buffers of any
// length (10 ms from the sound server here); drawing one column per buffer would stretch the
// live waveform against the view's time scale and put cuts in the wrong place.
class ColumnAccumulator
{
public:
    static constexpr int kColumnsPerSecond = 25;

    // Adds the column of one buffer of frameCount frames at sampleRate and returns the columns
    // completed by it (none, one, or several for a buffer longer than 40 ms). Each column holds
    // per channel the largest maximum and the smallest minimum of the buffers it joins. An
    // empty column (a buffer that could not be measured) is returned as it is.
    QVector<QVector<qreal>> add(const QVector<qreal> &column, qint64 frameCount, int sampleRate);

    // Drops a partly filled column (a new recording starts).
    void reset();

private:
    QVector<qreal> m_column;
    qint64 m_units = 0; // frames × columns per second, so that one column is sampleRate units
};
