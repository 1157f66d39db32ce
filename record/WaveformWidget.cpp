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

constexpr int selectionBandHeight = 290;
const QColor selectionBandColour(235, 239, 255, 150);

QFont rulerFont()
{
    QFont font(QStringLiteral("Times"));
    font.setPixelSize(12);
    return font;
}

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

int WaveformWidget::laneHeightFor(int height, int channelCount)
{
    return (height - (channelCount + 1) * separatorHeight) / std::max(1, channelCount);
}

int WaveformWidget::levelY(int lane, qreal v) const
{
    const int centre = rulerHeight + lane * (m_laneHeight + separatorHeight) + m_laneHeight / 2;
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
    const int columnX = m_drawX;
    const int oldPlayX = m_playX;
    m_drawX += m_columnStep;
    // While recording the cursor follows the newest column.
    m_playX = m_drawX;
    if (width() <= m_drawX)
        emit s_adjustWidth();
    updateStrip(std::min(columnX, oldPlayX - m_columnStep), std::max(columnX, m_playX - m_columnStep));
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
    m_drawX = leftMargin;
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
    m_laneHeight = laneHeightFor(height(), m_channelCount);
    drawBackground();
    update();
}

void WaveformWidget::setPlayPosition(qint64 ms)
{
    const double x = ms / 1000.0 * m_pixelsPerSecond + leftMargin;
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
    m_pixelsPerSecond = m_sampleRate / m_framesPerColumn * m_columnStep;
    clearSelection();
}

void WaveformWidget::drawSelection(int a, int b)
{
    const int x0 = std::max(a, leftMargin);
    const int x1 = std::max(b, leftMargin);
    const QRect old = m_selectionBand;
    m_selectionBand = QRect(std::min(x0, x1), 0, std::abs(x1 - x0), selectionBandHeight);
    update(old.united(m_selectionBand));
}

void WaveformWidget::clearSelection()
{
    if (!m_selectionBand.isEmpty())
        update(m_selectionBand);
    m_selectionBand = QRect();
}

// Schedules a repaint of the full-height strip between two x, wide enough for a column and
// the 2-px cursor drawn at either end.
void WaveformWidget::updateStrip(int fromX, int toX)
{
    update(QRect(QPoint(fromX - 2, 0), QPoint(toX + 2, height() - 1)));
}

void WaveformWidget::mousePressEvent(QMouseEvent *event)
{
    const int x = event->pos().x();
    clearSelection();
    moveCursor(x < leftMargin ? leftMargin : x);
    m_selStart = x;
    const double ms = (m_selStart - leftMargin) / m_pixelsPerSecond * 1000;
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
    const int a = std::max(std::min(m_selStart, m_selEnd), leftMargin);
    const int b = std::max(m_selStart, m_selEnd);
    if (b <= a) {
        clearSelection();
        return;
    }
    const double start = (a - leftMargin) / m_pixelsPerSecond;
    const double end = (b - leftMargin) / m_pixelsPerSecond;
    startOver();
    // The recording window cuts and reloads right away, drawing the new columns from x 40.
    emit s_cutAudio(start, end);
    m_playX = std::max(m_selStart, leftMargin);
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
    const int x0 = std::max(0, area.left() - 4);
    const int x1 = std::min(width(), area.right() + 4);
    p.setPen(QPen(m_outlineColour, 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(x0, 0, x1 - x0, height());

    p.setPen(QPen(m_outlineColour, 1));
    p.setBrush(m_separatorColour);
    const int bandX = std::max(leftMargin, x0);
    const int bandRight = x1 < width() ? x1 : leftMargin + width();
    for (int i = 1; i <= m_channelCount; ++i)
        p.drawRect(bandX, rulerHeight + i * m_laneHeight + (i - 1) * separatorHeight,
                   bandRight - bandX, separatorHeight);
    p.setBrush(m_rulerBandColour);
    p.drawRect(x0, 0, x1 - x0, rulerHeight);
}

void WaveformWidget::paintRuler(QPainter &p, const QRect &area)
{
    m_pixelsPerSecond = m_sampleRate / m_framesPerColumn * m_columnStep;
    if (area.top() > rulerHeight)
        return;
    p.setPen(m_rulerTextColour);
    p.setFont(rulerFont());
    const QFontMetrics metrics = p.fontMetrics();
    // A second's number reaches less than a second to either side of its tick.
    const qint64 firstSecond =
        std::max<qint64>(0, qint64(std::floor((area.left() - leftMargin) / m_pixelsPerSecond)) - 1);
    for (qint64 t = firstSecond;; ++t) {
        const double x = leftMargin + t * m_pixelsPerSecond;
        if (!(width() > x) || x > area.right() + m_pixelsPerSecond)
            break;
        const int X = qRound(x);
        const int halfX = X + static_cast<int>(m_pixelsPerSecond / 2);
        p.drawLine(halfX, 0, halfX, static_cast<int>(m_tickHeight * 0.6));
        p.drawLine(X, 0, X, m_tickHeight);
        const QString number = QString::number(double(t), 'g', 6);
        p.drawText(X - metrics.horizontalAdvance(number) / 2, m_tickHeight + 10, number);
    }
}

void WaveformWidget::paintColumns(QPainter &p, const QRect &area)
{
    const int count = m_columnEnds.size();
    const int first = std::max(0, (area.left() - leftMargin) / m_columnStep - 1);
    const int last = std::min(count - 1, (area.right() - leftMargin) / m_columnStep + 1);
    if (first > last)
        return;
    // Each line is a 1-px vertical line including both ends; filled as a 1-px-wide rectangle
    // it covers the same pixels many times faster than a stroked line.
    QVector<QRect> lines;
    lines.reserve((last - first + 1) * m_channelCount);
    for (int i = first; i <= last; ++i) {
        const int begin = i ? m_columnEnds[i - 1] : 0;
        // A short column (a mono buffer, an unmeasurable one) draws only the lanes it covers.
        const int lanes = std::min((m_columnEnds[i] - begin) / 2, m_channelCount);
        const int x = leftMargin + i * m_columnStep;
        for (int c = 0; c < lanes; ++c) {
            const int y0 = levelY(c, m_columnValues[begin + 2 * c]);
            const int y1 = levelY(c, m_columnValues[begin + 2 * c + 1]);
            lines.append(QRect(QPoint(x, std::min(y0, y1)), QPoint(x, std::max(y0, y1))));
        }
    }
    p.setPen(Qt::NoPen);
    p.setBrush(m_waveColour);
    p.drawRects(lines);
}

void WaveformWidget::paintCursor(QPainter &p)
{
    p.setPen(QPen(m_cursorColour, 2, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    const int x = m_playX - m_columnStep;
    p.drawLine(x, 0, x, height());
}
