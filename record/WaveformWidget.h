#pragma once

#include "record/RecordingFormat.h"

#include <QColor>
#include <QRect>
#include <QVector>
#include <QWidget>

// The waveform canvas: a time ruler on top, one lane per channel, one vertical line per lane
// for every column, the selection band and the play cursor. It grows to the right as columns
// arrive (the frame widens it) and may become far wider than any pixmap, so nothing is kept
// as an image: each paint draws the exposed part from the stored columns. Its sizes are those
// of the 96-DPI design times the panel's scale, the time scale included: a column is `scale`
// pixels wide (columns fall on whole pixels, so at 1.5 they are 1 and 2 pixels in turn), and a
// view of the same design width shows the same seconds at every scale.
class WaveformWidget : public QWidget
{
    Q_OBJECT

public:
    // The 96-DPI design.
    static constexpr int designMargin = 40;
    static constexpr int designRulerHeight = 20;
    static constexpr int designSeparatorHeight = 10;

    explicit WaveformWidget(QWidget *parent = nullptr);

    // Draws everything at scale times the design's sizes; the columns, the cursor and the
    // selection keep their times.
    void setScale(double scale);
    // A design size in pixels at the current scale.
    int scaled(int designPixels) const { return qRound(designPixels * m_scale); }

    // Stores one column (per channel its maximum then minimum, -1.0 .. 1.0) and draws it.
    void appendColumn(QVector<qreal> &column);
    void clearColumns();
    void setChannelCount(int n);
    void setPlayPosition(qint64 ms);
    void setClipEnabled(bool enabled);

    int playX() const { return m_playX; }
    int drawX() const { return m_drawX; }
    int selStart() const { return m_selStart; }
    int selEnd() const { return m_selEnd; }
    int laneHeight() const { return m_laneHeight; }
    int channelCount() const { return m_channelCount; }
    int columnCount() const { return m_columnEnds.size(); }
    double pixelsPerSecond() const { return m_pixelsPerSecond; }
    // x of time 0.
    int leftMargin() const { return m_margin; }
    int rulerHeight() const { return m_rulerHeight; }
    // The whole pixels the cursor stands right of the newest column: the column width rounded.
    int columnStep() const { return m_columnStep; }
    // x of column i's left edge.
    int columnX(int i) const { return m_margin + int(i * m_columnWidth); }
    // The ruler's numbers and the amplitude labels: the panel's font at the design's size.
    QFont labelFont() const;
    bool clipEnabled() const { return m_clipEnabled; }
    // The selection band as drawn, empty when there is none.
    QRect selectionBand() const { return m_selectionBand; }

    // Lane geometry shared with the frame's axis strip.
    static int laneHeightFor(int height, int channelCount, int separatorHeight = designSeparatorHeight);
    // y of level v (1.0 full scale, upwards) in lane `lane`.
    int levelY(int lane, qreal v) const;

signals:
    void s_adjustWidth();
    void s_cutAudio(double cutStartTime, double cutEndTime);
    void s_posChange(double playPos);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void drawBackground();
    void drawSelection(int a, int b);
    void clearSelection();
    void forgetColumns();
    // Forgets the columns and the band; the next column goes to the left margin.
    void startOver();
    void moveCursor(int x);
    // Lane height from the canvas height and channel count, then a fresh background.
    void layOutLanes();
    void updateStrip(int fromX, int toX);
    void paintBackground(class QPainter &p, const QRect &area);
    void paintRuler(QPainter &p, const QRect &area);
    void paintColumns(QPainter &p, const QRect &area);
    void paintCursor(QPainter &p);
    // Whether the ruler shows the number of second t.
    bool numbered(qint64 t, const class QFontMetrics &metrics) const;
    // x of a point drawn at x before the scale changed from the old column width.
    int rescaledX(int x, int oldMargin, double oldWidth) const;

    const int m_sampleRate = RecordingFormat::sampleRate;
    const double m_framesPerColumn = RecordingFormat::framesPerColumn;
    double m_scale = 1.0;
    double m_columnWidth = 1.0;
    int m_columnStep = 1;
    int m_tickHeight = 6;
    int m_margin = designMargin;
    int m_rulerHeight = designRulerHeight;
    int m_separatorHeight = designSeparatorHeight;
    int m_drawX = designMargin;
    int m_playX = designMargin;
    // sample rate / frames per column × column width; set again whenever the ruler is drawn.
    double m_pixelsPerSecond = 25.0;
    const QColor m_waveColour{"#5E17CC"};
    const QColor m_canvasColour{"#1E1F21"};
    const QColor m_outlineColour{"#1A1B1C"};
    const QColor m_separatorColour{"#2B2C2E"};
    const QColor m_cursorColour{"#FF7A02"};
    const QColor m_rulerBandColour{"#1A1B1C"};
    const QColor m_rulerTextColour{"#858585"};
    int m_laneHeight = 0;
    int m_channelCount = 2;
    // Every column since the last clear, packed: column i holds the values from
    // m_columnEnds[i - 1] (0 for the first) up to m_columnEnds[i].
    QVector<qreal> m_columnValues;
    QVector<int> m_columnEnds;
    int m_selStart = 0;
    int m_selEnd = 0;
    bool m_clipEnabled = true;
    QRect m_selectionBand;
};
