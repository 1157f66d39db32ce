#pragma once

#include "record/RecordingFormat.h"

#include <QVector>

// Places the level columns of captured buffers on the view's time scale: one column per 40 ms
// of recording, at the position the buffer's start time gives. The backend delivers buffers of
// any length (10 ms from the sound server here) and its probe may skip some of them; counting
// the buffers that arrive would shift everything after a skipped one and put cuts in the wrong
// place, while placing by time leaves a gap where the skipped audio lies in the file.
class ColumnAccumulator
{
public:
    static constexpr int kColumnsPerSecond = RecordingFormat::columnsPerSecond;

    // Adds the column of one buffer of frameCount frames at sampleRate that starts startUs
    // microseconds into the recording, and returns the columns completed since the last call,
    // in order from the next x of the view: each holds per channel the largest maximum and the
    // smallest minimum of the buffers in its 40 ms; a column no buffer reached is empty (the
    // view leaves its place blank). A buffer longer than 40 ms fills every column it covers.
    // Without a sample rate the buffer cannot be placed: its column is returned as it is.
    QVector<QVector<qreal>> add(const QVector<qreal> &column, qint64 startUs, qint64 frameCount, int sampleRate);

    // Forgets everything: a new recording starts at column 0.
    void reset();

private:
    static void join(QVector<qreal> &into, const QVector<qreal> &column);

    QVector<qreal> m_column; // levels of the open column so far; empty: no buffer yet
    qint64 m_index = 0;      // index of the open column
};
