#include "record/WaveformWidget.h"

#include <QDebug>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

// The design's sizes in pixels at 96 DPI.
constexpr int selectionBandHeight = 290;
constexpr int tickHeight = 6;
constexpr int numberBaseline = 16;
constexpr int fontPixels = 12;
constexpr int outlineWidth = 2;
constexpr int cursorWidth = 2;
const QColor selectionBandColour(235, 239, 255, 150);

} // namespace

WaveformWidget::WaveformWidget(QWidget *parent)
    : QWidget(parent)
{
    if (objectName().isEmpty())
        setObjectName(QStringLiteral("WaveformWidget"));
    resize(700, 316);
    setWindowTitle(tr("Form"));
    // Every paint covers its whole area, so Qt need not clear it first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_laneHeight = laneHeightFor(height(), m_channelCount);
}

int WaveformWidget::laneHeightFor(int height, int channelCount, int separatorHeight)
{
    return (height - (channelCount + 1) * separatorHeight) / std::max(1, channelCount);
}

void WaveformWidget::setScale(double scale)
{
    if (!(scale > 0.0) || qFuzzyCompare(scale, m_scale))
        return;
    const int oldMargin = m_margin;
    const double oldWidth = m_columnWidth;
    m_scale = scale;
    m_columnWidth = scale;
    m_columnStep = std::max(1, qRound(scale));
    m_tickHeight = scaled(tickHeight);
    m_margin = scaled(designMargin);
    m_rulerHeight = scaled(designRulerHeight);
    m_separatorHeight = scaled(designSeparatorHeight);
    m_drawX = columnX(columnCount());
    m_playX = rescaledX(m_playX, oldMargin, oldWidth);
    m_selStart = rescaledX(m_selStart, oldMargin, oldWidth);
    m_selEnd = rescaledX(m_selEnd, oldMargin, oldWidth);
    layOutLanes();
}

int WaveformWidget::rescaledX(int x, int oldMargin, double oldWidth) const
{
    return m_margin + int((x - oldMargin) * m_columnWidth / oldWidth);
}

QFont WaveformWidget::labelFont() const
{
    QFont labels = font();
    labels.setPixelSize(scaled(fontPixels));
    return labels;
}

int WaveformWidget::levelY(int lane, qreal v) const
{
    const int centre = m_rulerHeight + lane * (m_laneHeight + m_separatorHeight) + m_laneHeight / 2;
    const double y = centre - m_laneHeight * 0.98 * 0.5 * v;
    // Levels far outside -1 .. 1 (or not numbers at all) must not overflow the conversion.
    if (!std::isfinite(y))
        return centre;
    return static_cast<int>(std::clamp(y, -1e6, 1e6));
}

void WaveformWidget::appendColumn(QVector<qreal> &column)
{
    m_columnValues += column;
    m_columnEnds.append(m_columnValues.size());
    const int newX = m_drawX;
    const int oldPlayX = m_playX;
    m_drawX = columnX(columnCount());
    // While recording the cursor follows the newest column.
    m_playX = m_drawX;
    if (width() <= m_drawX)
        emit s_adjustWidth();
    updateStrip(std::min(newX, oldPlayX - m_columnStep), std::max(newX, m_playX - m_columnStep));
}

void WaveformWidget::clearColumns()
{
    startOver();
    update();
}

void WaveformWidget::startOver()
{
    forgetColumns();
    drawBackground();
    m_drawX = m_margin;
}

void WaveformWidget::setChannelCount(int n)
{
    if (n < 1) {
        qDebug() << "=====WaveformWidget channel count ignored=====" << n;
        return;
    }
    m_channelCount = n;
    layOutLanes();
}

void WaveformWidget::layOutLanes()
{
    m_laneHeight = laneHeightFor(height(), m_channelCount, m_separatorHeight);
    drawBackground();
    update();
}

void WaveformWidget::setPlayPosition(qint64 ms)
{
    const double x = ms / 1000.0 * m_pixelsPerSecond + m_margin;
    moveCursor(static_cast<int>(std::clamp(x, -1e9, 1e9)));
}

// The cursor is drawn one column step left of m_playX: repaint its old and new strips.
void WaveformWidget::moveCursor(int x)
{
    const int oldPlayX = m_playX;
    m_playX = x;
    updateStrip(oldPlayX - m_columnStep, oldPlayX - m_columnStep);
    updateStrip(m_playX - m_columnStep, m_playX - m_columnStep);
}

void WaveformWidget::setClipEnabled(bool enabled)
{
    m_clipEnabled = enabled;
}

void WaveformWidget::forgetColumns()
{
    m_columnValues.clear();
    m_columnEnds.clear();
}

// The background itself is painted from the geometry on every paint; what a rebuilt
// background resets is the scale and the selection band lying on it.
void WaveformWidget::drawBackground()
{
    m_pixelsPerSecond = m_sampleRate / m_framesPerColumn * m_columnWidth;
    clearSelection();
}

void WaveformWidget::drawSelection(int a, int b)
{
    const int x0 = std::max(a, m_margin);
    const int x1 = std::max(b, m_margin);
    const QRect old = m_selectionBand;
    m_selectionBand = QRect(std::min(x0, x1), 0, std::abs(x1 - x0), scaled(selectionBandHeight));
    update(old.united(m_selectionBand));
}

void WaveformWidget::clearSelection()
{
    if (!m_selectionBand.isEmpty())
        update(m_selectionBand);
    m_selectionBand = QRect();
}

// Schedules a repaint of the full-height strip between two x, wide enough for a column and
// the cursor drawn at either end.
void WaveformWidget::updateStrip(int fromX, int toX)
{
    const int cursor = scaled(cursorWidth);
    update(QRect(QPoint(fromX - cursor, 0), QPoint(toX + m_columnStep + cursor, height() - 1)));
}

void WaveformWidget::mousePressEvent(QMouseEvent *event)
{
    const int x = event->pos().x();
    clearSelection();
    moveCursor(x < m_margin ? m_margin : x);
    m_selStart = x;
    const double ms = (m_selStart - m_margin) / m_pixelsPerSecond * 1000;
    emit s_posChange(static_cast<double>(static_cast<qint64>(ms)));
    setFocus();
}

void WaveformWidget::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() == Qt::NoButton)
        return;
    drawSelection(m_selStart, event->pos().x());
}

void WaveformWidget::mouseReleaseEvent(QMouseEvent *event)
{
    m_selEnd = event->pos().x();
}

void WaveformWidget::keyPressEvent(QKeyEvent *event)
{
    if (event->key() != Qt::Key_Delete || m_selEnd == m_selStart) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (!m_clipEnabled) {
        qDebug() << "no SupportClip";
        clearSelection();
        return;
    }
    // The audio starts at the margin: a selection reaching into it starts at 0 s.
    const int a = std::max(std::min(m_selStart, m_selEnd), m_margin);
    const int b = std::max(m_selStart, m_selEnd);
    if (b <= a) {
        clearSelection();
        return;
    }
    const double start = (a - m_margin) / m_pixelsPerSecond;
    const double end = (b - m_margin) / m_pixelsPerSecond;
    startOver();
    // The recording window cuts and reloads right away, drawing the new columns from the margin.
    emit s_cutAudio(start, end);
    m_playX = std::max(m_selStart, m_margin);
    update();
    emit s_posChange(start * 1000);
}

void WaveformWidget::resizeEvent(QResizeEvent *)
{
    layOutLanes();
}

void WaveformWidget::paintEvent(QPaintEvent *event)
{
    const QRect area = event->rect();
    QPainter p(this);
    paintBackground(p, area);
    paintRuler(p, area);
    paintColumns(p, area);
    if (!m_selectionBand.isEmpty())
        p.fillRect(m_selectionBand, selectionBandColour);
    paintCursor(p);
}

void WaveformWidget::paintBackground(QPainter &p, const QRect &area)
{
    p.fillRect(area, m_canvasColour);
    // The rectangles reach across the whole canvas, which may be hours wide; they are drawn
    // cut to the exposed part. A cut edge lies a few pixels outside it, so every pixel inside
    // comes out as with the whole rectangle.
    const int reach = 2 * scaled(outlineWidth);
    const int x0 = std::max(0, area.left() - reach);
    const int x1 = std::min(width(), area.right() + reach);
    p.setPen(QPen(m_outlineColour, scaled(outlineWidth)));
    p.setBrush(Qt::NoBrush);
    p.drawRect(x0, 0, x1 - x0, height());

    p.setPen(QPen(m_outlineColour, scaled(1)));
    p.setBrush(m_separatorColour);
    const int bandX = std::max(m_margin, x0);
    const int bandRight = x1 < width() ? x1 : m_margin + width();
    for (int i = 1; i <= m_channelCount; ++i)
        p.drawRect(bandX, m_rulerHeight + i * m_laneHeight + (i - 1) * m_separatorHeight, bandRight - bandX,
                   m_separatorHeight);
    p.setBrush(m_rulerBandColour);
    p.drawRect(x0, 0, x1 - x0, m_rulerHeight);
}

void WaveformWidget::paintRuler(QPainter &p, const QRect &area)
{
    m_pixelsPerSecond = m_sampleRate / m_framesPerColumn * m_columnWidth;
    if (area.top() > m_rulerHeight)
        return;
    p.setPen(QPen(m_rulerTextColour, scaled(1)));
    p.setFont(labelFont());
    const QFontMetrics metrics = p.fontMetrics();
    // Numbers reach half their width to either side of their ticks.
    const int lastSecond = int((width() - m_margin) / m_pixelsPerSecond) + 1;
    const int reach = metrics.horizontalAdvance(QString::number(lastSecond)) / 2 + 1;
    const qint64 firstSecond =
        std::max<qint64>(0, qint64(std::floor((area.left() - reach - m_margin) / m_pixelsPerSecond)));
    const int numberY = scaled(numberBaseline);
    for (qint64 t = firstSecond;; ++t) {
        const double x = m_margin + t * m_pixelsPerSecond;
        if (!(width() > x) || x > area.right() + reach + m_pixelsPerSecond)
            break;
        // A line w pixels wide covers the w pixels from the design's pixel on.
        const int X = qRound(x) + scaled(1) / 2;
        const int halfX = static_cast<int>(x + m_pixelsPerSecond / 2);
        p.drawLine(halfX, 0, halfX, static_cast<int>(m_tickHeight * 0.6));
        p.drawLine(X, 0, X, m_tickHeight);
        if (!numbered(t, metrics))
            continue;
        const QString number = QString::number(double(t), 'g', 6);
        p.drawText(X - metrics.horizontalAdvance(number) / 2, numberY, number);
    }
}

// Every second is numbered while the numbers fit between their ticks, otherwise every 2, 5,
// 10, 20, ... seconds, by the width of the number's digits; the last number before a power of
// ten gives way to the longer one there when they would touch. The choice depends on t alone,
// so every part of the ruler, painted at any time, numbers the same seconds.
bool WaveformWidget::numbered(qint64 t, const QFontMetrics &metrics) const
{
    int digits = 1;
    qint64 nextPower = 10;
    for (; nextPower <= t; nextPower *= 10)
        ++digits;
    const int gap = std::max(1, scaled(fontPixels) / 8);
    const int width = metrics.horizontalAdvance(QString(digits, QLatin1Char('0')));
    // 1, 2, 5, 10, 20, 50, ... seconds: the first that leaves room for the number.
    qint64 step = 1;
    for (qint64 decade = 1; step * m_pixelsPerSecond < width + gap;)
        step = step == decade ? 2 * decade : step == 2 * decade ? 5 * decade : (decade *= 10);
    if (t % step != 0)
        return false;
    const int longer = metrics.horizontalAdvance(QString(digits + 1, QLatin1Char('0')));
    return t + step != nextPower || (width + longer) / 2 + gap <= step * m_pixelsPerSecond;
}

void WaveformWidget::paintColumns(QPainter &p, const QRect &area)
{
    const int count = m_columnEnds.size();
    const int first = std::max(0, int((area.left() - m_margin) / m_columnWidth) - 1);
    const int last = std::min(count - 1, int((area.right() - m_margin) / m_columnWidth) + 1);
    if (first > last)
        return;
    // Each line is a vertical line one column wide including both ends; filled as a
    // rectangle it covers the same pixels many times faster than a stroked line.
    QVector<QRect> lines;
    lines.reserve((last - first + 1) * m_channelCount);
    for (int i = first; i <= last; ++i) {
        const int begin = i ? m_columnEnds[i - 1] : 0;
        // A short column (a mono buffer, an unmeasurable one) draws only the lanes it covers.
        const int lanes = std::min((m_columnEnds[i] - begin) / 2, m_channelCount);
        const int x = columnX(i);
        const int right = std::max(x, columnX(i + 1) - 1);
        for (int c = 0; c < lanes; ++c) {
            const int y0 = levelY(c, m_columnValues[begin + 2 * c]);
            const int y1 = levelY(c, m_columnValues[begin + 2 * c + 1]);
            lines.append(QRect(QPoint(x, std::min(y0, y1)), QPoint(right, std::max(y0, y1))));
        }
    }
    p.setPen(Qt::NoPen);
    p.setBrush(m_waveColour);
    p.drawRects(lines);
}

void WaveformWidget::paintCursor(QPainter &p)
{
    p.setPen(QPen(m_cursorColour, scaled(cursorWidth), Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    const int x = m_playX - m_columnStep;
    p.drawLine(x, 0, x, height());
}
