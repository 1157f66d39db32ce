#include "record/WaveformFrame.h"

#include "record/WaveformWidget.h"

#include <QEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>

#include <algorithm>

namespace {

constexpr int widenStep = 260;
// Playback pages the view whenever the cursor has moved this far from the margin.
constexpr int pageWidth = 650;
constexpr int axisWidth = 40;

const char scrollBarStyle[] =
    "QScrollBar:horizontal { height: 15px; margin: 0px 40px 0 0px; border-radius: 7px;"
    "background: #1A1B1C ; } QScrollBar::handle:horizontal { border-radius: 7px; background: "
    "#2B2C2E;}QScrollBar::add-line:horizontal { width: 0px;}QScrollBar::sub-line:horizontal "
    "{width: 0px;}QScrollBar::add-page:horizontal, QScrollBar::sub-page:horizontal {background: "
    "none;}";

} // namespace

WaveformFrame::WaveformFrame(QWidget *parent)
    : QScrollArea(parent)
{
    horizontalScrollBar()->setStyleSheet(QString::fromLatin1(scrollBarStyle));
    if (parent)
        resize(parent->size());

    m_canvas = new WaveformWidget;
    setWidget(m_canvas);
    m_canvas->resize(width() - 2, height() - 125);
    connect(m_canvas, &WaveformWidget::s_adjustWidth, this, &WaveformFrame::widenCanvas);

    m_axisStrip = new QWidget(this);
    m_axisStrip->move(0, 20);
    m_axisStrip->resize(axisWidth, m_canvas->height() - 20);
    m_axisStrip->installEventFilter(this);

    connect(m_canvas, &WaveformWidget::s_cutAudio, this, &WaveformFrame::s_cutAudio);
    connect(m_canvas, &WaveformWidget::s_posChange, this, &WaveformFrame::s_posChange);

    m_laneHeight = WaveformWidget::laneHeightFor(m_canvas->height(), m_channelCount);
    m_canvas->setChannelCount(2);
}

void WaveformFrame::onDrawWaveform(QVector<qreal> &data)
{
    m_canvas->appendColumn(data);
}

void WaveformFrame::clearWaveform()
{
    m_canvas->clearColumns();
    m_canvas->resize(width() - 2, height() - 25);
}

void WaveformFrame::setPlayPosition(qint64 ms)
{
    const double seconds = double(ms / 1000);
    const int x = static_cast<int>(std::clamp(seconds * m_canvas->pixelsPerSecond(), -1e9, 1e9));
    m_canvas->setPlayPosition(ms);
    if (x % pageWidth == 0)
        horizontalScrollBar()->setSliderPosition(x);
}

void WaveformFrame::setClipEnabled(bool enabled)
{
    m_canvas->setClipEnabled(enabled);
}

// The next column would not fit: grow by a step and follow the newest column.
void WaveformFrame::widenCanvas()
{
    m_canvas->resize(m_canvas->width() + widenStep, m_canvas->height());
    horizontalScrollBar()->setSliderPosition(m_canvas->width());
}

void WaveformFrame::resizeEvent(QResizeEvent *event)
{
    QScrollArea::resizeEvent(event);
    const int canvasWidth = m_canvas->width() > width() ? m_canvas->width() : width() - 2;
    m_canvas->resize(canvasWidth, height() - 25);
    m_laneHeight = WaveformWidget::laneHeightFor(m_canvas->height(), m_channelCount);
    m_axisStrip->resize(axisWidth, m_canvas->height() - 20);
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
    p.fillRect(QRect(0, 0, axisWidth, h).adjusted(2, 2, -2, -2), m_axisBackgroundColour);
    p.setPen(QPen(Qt::black, 2));
    p.drawLine(axisWidth, 0, axisWidth, h);

    p.setPen(QPen(m_axisTextColour, 1));
    QFont font(QStringLiteral("Times"));
    font.setPixelSize(12);
    p.setFont(font);
    const int H = m_laneHeight;
    const int q = H / 4;
    // Per lane: label, tick offset from the centre in quarter lanes, text box top from the tick.
    const struct { const char *label; int quarters; int textTop; } marks[] = {
        {"0.0", 0, -10}, {"1.0", -2, -5}, {"-1.0", 2, -10}};
    for (int c = 0; c < m_channelCount; ++c) {
        const int centre = c * (H + 10) + H / 2;
        for (const auto &m : marks) {
            const int y = centre + m.quarters * q;
            p.drawLine(34, y, 38, y);
            p.drawText(QRect(0, y + m.textTop, 30, 20), Qt::AlignRight | Qt::AlignVCenter,
                       QLatin1String(m.label));
        }
    }
}
