#include "record/WaveformFrame.h"

#include "record/WaveformWidget.h"

#include <QEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>

#include <algorithm>

namespace {

// The design's sizes in pixels at 96 DPI.
constexpr int widenStep = 260;
// Playback pages the view whenever the cursor has moved this far from the margin: 26 s.
constexpr int pageWidth = 650;
constexpr int axisWidth = 40;
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
    m_axisStrip->move(0, m_canvas->rulerHeight());
    m_axisStrip->resize(axisWidth, m_canvas->height() - m_canvas->rulerHeight());
    m_laneHeight = WaveformWidget::laneHeightFor(m_canvas->height(), m_channelCount);
    m_canvas->setChannelCount(2);
}

int WaveformFrame::scaled(int designPixels) const
{
    return m_canvas->scaled(designPixels);
}

void WaveformFrame::setScale(double scale)
{
    m_canvas->setScale(scale);
    styleScrollBar();
    m_axisStrip->move(0, m_canvas->rulerHeight());
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
    const double seconds = double(ms / 1000);
    const int x = static_cast<int>(std::clamp(seconds * m_canvas->pixelsPerSecond(), -1e9, 1e9));
    m_canvas->setPlayPosition(ms);
    if (x % (pageWidth * m_canvas->columnStep()) == 0)
        horizontalScrollBar()->setSliderPosition(x);
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
    m_axisStrip->resize(scaled(axisWidth), m_canvas->height() - m_canvas->rulerHeight());
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
    const int h = m_axisStrip->height();
    const int width = scaled(axisWidth);
    const int inset = scaled(2);
    p.fillRect(QRect(0, 0, width, h).adjusted(inset, inset, -inset, -inset), m_axisBackgroundColour);
    p.setPen(QPen(Qt::black, scaled(2)));
    p.drawLine(width, 0, width, h);

    p.setPen(QPen(m_axisTextColour, scaled(1)));
    QFont font(QStringLiteral("Times"));
    font.setPixelSize(scaled(12));
    p.setFont(font);
    const int H = m_laneHeight;
    const int q = H / 4;
    // Per lane: label, tick offset from the centre in quarter lanes, text box top from the tick.
    const struct
    {
        const char *label;
        int quarters;
        int textTop;
    } marks[] = {{"0.0", 0, -10}, {"1.0", -2, -5}, {"-1.0", 2, -10}};
    for (int c = 0; c < m_channelCount; ++c) {
        const int centre = c * (H + scaled(WaveformWidget::designSeparatorHeight)) + H / 2;
        for (const auto &m : marks) {
            const int y = centre + m.quarters * q;
            p.drawLine(scaled(34), y, scaled(38), y);
            p.drawText(QRect(0, y + scaled(m.textTop), scaled(30), scaled(20)), Qt::AlignRight | Qt::AlignVCenter,
                       QLatin1String(m.label));
        }
    }
}
