#include "record/WaveformFrame.h"

#include "record/WaveformWidget.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace {

// The design's sizes in pixels at 96 DPI.
constexpr int widenStep = 260;
// Playback pages the view whenever the cursor has moved this far from the margin.
constexpr int pageSeconds = 26;
constexpr int axisWidth = 40;
// The amplitude labels end this far from the strip's left edge; their ticks run from 34 to 38.
constexpr int labelRight = 30;
constexpr int tickLeft = 34;
constexpr int tickRight = 38;
// The least room between two labels.
constexpr int labelGap = 3;
// What the frame's border and the scroll bar take from its height.
constexpr int canvasInset = 25;

// %1: the bar's height, %2: its right margin, %3: the corners' radius.
const char scrollBarStyle[] =
    "QScrollBar:horizontal { height: %1px; margin: 0px %2px 0 0px; border-radius: %3px;"
    "background: #1A1B1C ; } QScrollBar::handle:horizontal { border-radius: %3px; background: "
    "#2B2C2E;}QScrollBar::add-line:horizontal { width: 0px;}QScrollBar::sub-line:horizontal "
    "{width: 0px;}QScrollBar::add-page:horizontal, QScrollBar::sub-page:horizontal {background: "
    "none;}";

} // namespace

WaveformFrame::WaveformFrame(QWidget *parent)
    : QScrollArea(parent)
{
    if (parent)
        resize(parent->size());

    m_canvas = new WaveformWidget;
    setWidget(m_canvas);
    m_canvas->resize(width() - 2, height() - 125);
    connect(m_canvas, &WaveformWidget::s_adjustWidth, this, &WaveformFrame::widenCanvas);

    m_axisStrip = new QWidget(this);
    m_axisStrip->installEventFilter(this);

    connect(m_canvas, &WaveformWidget::s_cutAudio, this, &WaveformFrame::s_cutAudio);
    connect(m_canvas, &WaveformWidget::s_posChange, this, &WaveformFrame::s_posChange);

    styleScrollBar();
    m_laneHeight = WaveformWidget::laneHeightFor(m_canvas->height(), m_channelCount);
    m_canvas->setChannelCount(2);
    layOutAxisStrip();
}

int WaveformFrame::scaled(int designPixels) const
{
    return m_canvas->scaled(designPixels);
}

void WaveformFrame::setScale(double scale)
{
    m_canvas->setScale(scale);
    styleScrollBar();
    layOut();
    m_axisStrip->update();
}

void WaveformFrame::styleScrollBar()
{
    horizontalScrollBar()->setStyleSheet(
        QString::fromLatin1(scrollBarStyle).arg(scaled(15)).arg(scaled(axisWidth)).arg(scaled(7)));
}

void WaveformFrame::onDrawWaveform(QVector<qreal> &data)
{
    m_canvas->appendColumn(data);
}

void WaveformFrame::clearWaveform()
{
    m_canvas->clearColumns();
    m_canvas->resize(width() - 2, height() - scaled(canvasInset));
}

void WaveformFrame::setPlayPosition(qint64 ms)
{
    const qint64 seconds = ms / 1000;
    m_canvas->setPlayPosition(ms);
    if (seconds % pageSeconds == 0)
        horizontalScrollBar()->setSliderPosition(
            static_cast<int>(std::clamp(double(seconds) * m_canvas->pixelsPerSecond(), -1e9, 1e9)));
}

void WaveformFrame::setClipEnabled(bool enabled)
{
    m_canvas->setClipEnabled(enabled);
}

// The next column would not fit: grow by a step and follow the newest column.
void WaveformFrame::widenCanvas()
{
    m_canvas->resize(m_canvas->width() + scaled(widenStep), m_canvas->height());
    horizontalScrollBar()->setSliderPosition(m_canvas->width());
}

void WaveformFrame::resizeEvent(QResizeEvent *event)
{
    QScrollArea::resizeEvent(event);
    layOut();
}

void WaveformFrame::layOut()
{
    // As wide as the frame, or as the columns drawn need: an empty view has no scroll bar.
    const int canvasWidth = std::max(width() - 2, m_canvas->drawX() + m_canvas->columnStep());
    m_canvas->resize(canvasWidth, height() - scaled(canvasInset));
    m_laneHeight = WaveformWidget::laneHeightFor(m_canvas->height(), m_channelCount,
                                                 scaled(WaveformWidget::designSeparatorHeight));
    layOutAxisStrip();
}

void WaveformFrame::layOutAxisStrip()
{
    // In short lanes the labels get smaller, to keep a gap between the nearest two.
    m_labelFont = m_canvas->labelFont();
    const int q = m_laneHeight / 4;
    const int nearest = std::min(2 * q, m_laneHeight + scaled(WaveformWidget::designSeparatorHeight) - 4 * q);
    const double room = nearest - scaled(labelGap);
    QRectF label = QFontMetricsF(m_labelFont).tightBoundingRect(QStringLiteral("-1.0"));
    if (label.height() > room && room > 0) {
        m_labelFont.setPixelSize(std::max(1, int(m_labelFont.pixelSize() * room / label.height())));
        label = QFontMetricsF(m_labelFont).tightBoundingRect(QStringLiteral("-1.0"));
    }
    // The labels of the outermost ticks stand half above the lanes and half below the canvas:
    // the strip reaches that far beyond them, and only the labels' corner shows there.
    m_labelReach = int(std::ceil(label.height() / 2)) + scaled(1);
    const int body = m_canvas->height() - m_canvas->rulerHeight();
    m_axisStrip->setGeometry(0, m_canvas->rulerHeight() - m_labelReach, scaled(axisWidth), body + 2 * m_labelReach);
    QRegion shown(0, m_labelReach, scaled(axisWidth), body);
    shown += QRect(0, 0, scaled(labelRight), m_labelReach);
    shown += QRect(0, m_labelReach + body, scaled(labelRight), m_labelReach);
    m_axisStrip->setMask(shown);
}

bool WaveformFrame::eventFilter(QObject *object, QEvent *event)
{
    if (object == m_axisStrip && event->type() == QEvent::Paint) {
        paintAxisStrip();
        return true;
    }
    return QScrollArea::eventFilter(object, event);
}

void WaveformFrame::paintAxisStrip()
{
    QPainter p(m_axisStrip);
    const int top = m_labelReach;
    const int h = m_axisStrip->height() - 2 * m_labelReach;
    const int width = scaled(axisWidth);
    p.fillRect(m_axisStrip->rect(), m_axisBackgroundColour);
    p.setPen(QPen(Qt::black, scaled(2)));
    p.drawLine(width, top, width, top + h);

    const int pen = scaled(1);
    p.setPen(QPen(m_axisTextColour, pen));
    p.setFont(m_labelFont);
    const QFontMetricsF metrics(p.font());
    // A line of odd width is centred on the middle of its pixel row, one of even width on its edge.
    const double penCentre = pen % 2 * 0.5;
    const int H = m_laneHeight;
    const int q = H / 4;
    // Per lane: label and tick offset from the centre in quarter lanes.
    const struct
    {
        const char *label;
        int quarters;
    } marks[] = {{"1.0", -2}, {"0.0", 0}, {"-1.0", 2}};
    for (int c = 0; c < m_channelCount; ++c) {
        const int centre = top + c * (H + scaled(WaveformWidget::designSeparatorHeight)) + H / 2;
        for (const auto &m : marks) {
            const int y = centre + m.quarters * q;
            p.drawLine(scaled(tickLeft), y, scaled(tickRight), y);
            // The label's ink, not its line box, is centred on the tick.
            const QString label = QLatin1String(m.label);
            const QRectF ink = metrics.tightBoundingRect(label);
            const double baseline = y + penCentre - (ink.top() + ink.bottom()) / 2;
            p.drawText(QPointF(scaled(labelRight) - metrics.horizontalAdvance(label), baseline), label);
        }
    }
}
