#pragma once

#include <QColor>
#include <QScrollArea>
#include <QVector>

class WaveformWidget;

// The scrolled waveform view of the recording window: the canvas inside a horizontal scroll
// area with a styled scroll bar, and the amplitude axis strip fixed at its left edge; all at the
// panel's scale of the 96-DPI design.
class WaveformFrame : public QScrollArea
{
    Q_OBJECT

public:
    explicit WaveformFrame(QWidget *parent = nullptr);

    void clearWaveform();
    void setPlayPosition(qint64 ms);
    void setClipEnabled(bool enabled);
    void setScale(double scale);

    WaveformWidget *canvas() const { return m_canvas; }
    QWidget *axisStrip() const { return m_axisStrip; }
    int laneHeight() const { return m_laneHeight; }

public slots:
    void onDrawWaveform(QVector<qreal> &data);

signals:
    void s_cutAudio(double cutStartTime, double cutEndTime);
    void s_posChange(double playPos);

protected:
    bool eventFilter(QObject *object, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void widenCanvas();
    void paintAxisStrip();
    // Canvas height, lane height and axis strip from the frame's size.
    void layOut();
    // The strip beside the lanes, reaching out for the labels of the outermost ticks.
    void layOutAxisStrip();
    void styleScrollBar();
    int scaled(int designPixels) const;

    const QColor m_axisBackgroundColour{"#1A1B1C"};
    const QColor m_axisTextColour{"#858585"};
    int m_laneHeight = 0;
    int m_channelCount = 2;
    // How far the axis strip reaches above the lanes and below the canvas for its labels.
    int m_labelReach = 0;
    // The ruler's font, made smaller where the lanes leave the labels no room.
    QFont m_labelFont;
    WaveformWidget *m_canvas = nullptr;
    QWidget *m_axisStrip = nullptr;
};
