#include "record/WaveformFrame.h"
#include "record/WaveformWidget.h"
#include "support/RecordTestSupport.h"

#include <QApplication>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

using namespace RecordTestSupport;

namespace {

const QString waveColour = "#5e17cc";
const QString canvasColour = "#1e1f21";
const QString cursorColour = "#ff7a02";
const QString rulerTextColour = "#858585";
const QString rulerBandColour = "#1a1b1c";

// A frame inside a shown parent, the way the recording window holds it.
struct View
{
    QWidget parent;
    WaveformFrame *frame;
    WaveformWidget *canvas;

    explicit View(int width = 702, int height = 316, double scale = 1.0)
    {
        parent.resize(width, height);
        frame = new WaveformFrame(&parent);
        frame->setScale(scale);
        canvas = frame->canvas();
        parent.show();
        if (!QTest::qWaitForWindowExposed(&parent))
            qFatal("window not exposed");
    }

    QImage grab(const QRect &r = QRect(0, 0, -1, -1)) const { return canvas->grab(r).toImage(); }
    void append(QVector<qreal> column) { frame->onDrawWaveform(column); }
    void fill(int count, const QVector<qreal> &column)
    {
        for (int i = 0; i < count; ++i)
            append(column);
    }
};

QString colourAt(const QImage &img, int x, int y)
{
    return QColor(img.pixel(x, y)).name();
}

// Level v of lane c for a canvas of lane height h: centre - h * 0.98 * 0.5 * v, truncated.
int levelY(int h, int c, double v)
{
    const int centre = 20 + c * (h + 10) + h / 2;
    return int(centre - h * 0.98 * 0.5 * v);
}

// Whether anything (a glyph) is drawn in r on a ground of the given colour.
bool hasInk(const QImage &img, const QRect &area, const QString &ground)
{
    const QRect r = area.intersected(img.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (colourAt(img, x, y) != ground)
                return true;
    return false;
}

// The widest group of ruler ink in the rows fromY..toY, groups being apart by 3 blank columns
// or more: the widest number when the numbers stand apart.
int widestNumber(const QImage &img, int fromY, int toY)
{
    int widest = 0, start = -1, last = -10;
    for (int x = 0; x < img.width(); ++x) {
        if (!hasInk(img, QRect(x, fromY, 1, toY - fromY + 1), rulerBandColour))
            continue;
        start = x - last > 3 ? x : start;
        last = x;
        widest = qMax(widest, last - start + 1);
    }
    return widest;
}

int advance(const WaveformWidget *canvas, const QString &text)
{
    return QFontMetrics(canvas->labelFont()).horizontalAdvance(text);
}

// The runs of rows [first, last] in which some pixel of the columns fromX..toX differs from
// the ground: ticks of one column, or labels apart from each other.
QVector<QPair<int, int>> inkRuns(const QImage &img, int fromX, int toX, int fromY, int toY, const QString &ground)
{
    QVector<QPair<int, int>> runs;
    for (int y = fromY; y <= toY; ++y) {
        if (!hasInk(img, QRect(fromX, y, toX - fromX + 1, 1), ground))
            continue;
        if (!runs.isEmpty() && runs.last().second == y - 1)
            runs.last().second = y;
        else
            runs.append({y, y});
    }
    return runs;
}

// The middle of a run of pixel rows, pixel row y spanning y .. y + 1.
double middle(const QPair<int, int> &run)
{
    return (run.first + run.second + 1) / 2.0;
}

bool isBand(const QImage &img, int x, int y)
{
    // The band (235, 239, 255) at alpha 150 over the dark canvas lightens it strongly.
    return QColor(img.pixel(x, y)).red() > 140 && QColor(img.pixel(x, y)).blue() > 150;
}

} // namespace

using Column = QVector<qreal>;

class TestWaveformView : public QObject
{
    Q_OBJECT

private slots:
    void geometry_data()
    {
        QTest::addColumn<double>("scale");
        QTest::newRow("96 dpi") << 1.0;
        QTest::newRow("192 dpi") << 2.0;
    }

    // At scale s the view is the 96-DPI design with every length times s.
    void geometry()
    {
        QFETCH(double, scale);
        const auto S = [scale](int design) { return int(design * scale); };
        View v(S(702), S(316), scale);
        QCOMPARE(v.canvas->size(), QSize(S(702) - 2, S(291)));
        const int H = (S(291) - S(30)) / 2;
        QCOMPARE(v.frame->laneHeight(), H);
        QCOMPARE(v.canvas->laneHeight(), H);
        QVERIFY(v.frame->axisStrip()->mask().contains(
            QRect(QPoint(0, S(20)), QSize(S(40), S(271))).translated(-v.frame->axisStrip()->pos())));

        const QImage img = v.grab();
        const struct
        {
            int x, y;
            QString colour;
        } pixels[] = {
            {S(300), S(10), rulerBandColour},
            {S(300), S(100), canvasColour}, // ruler band, lane 0
            {S(300), S(25) + H, "#2b2c2e"},
            {S(20), S(25) + H, canvasColour}, // separator under lane 0, from the margin
            {S(65), S(5), rulerTextColour},
            {S(65) - 1, S(5), rulerBandColour}, // second 1, tick to y 6
            {S(52), S(2), rulerTextColour},
            {S(52), S(5), rulerBandColour},    // its half-second tick, to y 3
            {S(40) - 1, S(100), cursorColour}, // the cursor at the margin, one step left
        };
        for (const auto &p : pixels)
            QCOMPARE(colourAt(img, p.x, p.y), p.colour);
        // The numbers of seconds 1 and 2 stand centred on their ticks, above the baseline; all
        // stand apart.
        QVERIFY(hasInk(img, QRect(S(58), S(8), S(14), S(2)), rulerBandColour)); // as tall as the design
        QVERIFY(hasInk(img, QRect(S(83), S(7), S(14), S(10)), rulerBandColour));
        QVERIFY(!hasInk(img, QRect(S(71), S(7), S(10), S(10)), rulerBandColour));
        QVERIFY(widestNumber(img.copy(0, 0, img.width(), S(20)), S(8), S(17)) <= advance(v.canvas, "00"));

        // The axis strip: its line beside the lanes.
        QCOMPARE(colourAt(v.frame->grab().toImage(), S(40) - 1, S(100)), QString("#000000"));

        // A press places the cursor (never left of the margin) and seeks; a drag draws the band;
        // Delete cuts the selected seconds, and the view draws what it is then given from the
        // margin. Delete again cuts the same pixels of that; a cut never starts before 0 s.
        using Calls = QList<QList<QVariant>>;
        QSignalSpy cut(v.frame, &WaveformFrame::s_cutAudio);
        QSignalSpy seek(v.frame, &WaveformFrame::s_posChange);
        v.fill(400, {0.5, -0.5, 0.25, -0.25});
        mouse(v.canvas, QEvent::MouseButtonPress, S(20));
        QCOMPARE(v.canvas->playX(), S(40));
        QVERIFY(v.canvas->hasFocus());
        select(v.canvas, S(300), S(100));
        QCOMPARE(v.canvas->selectionBand(), QRect(S(100), 0, S(200), S(290)));
        QImage band = v.grab();
        QVERIFY(isBand(band, S(200), 0) && isBand(band, S(200), S(290) - 1) && !isBand(band, S(200), S(290)));
        QVERIFY(!isBand(band, S(100) - 2, S(100)) && isBand(band, S(100) + 1, S(100)));
        QVERIFY(isBand(band, S(300) - S(3), S(100)) && !isBand(band, S(300) + 1, S(100)));
        const auto reload = connect(v.frame, &WaveformFrame::s_cutAudio, v.frame, [&] {
            QCOMPARE(v.canvas->drawX(), S(40));
            v.fill(100, {0.1, -0.1, 0.1, -0.1});
        });
        QTest::keyClick(v.canvas, Qt::Key_Delete);
        QTest::keyClick(v.canvas, Qt::Key_Delete);
        QCOMPARE(v.canvas->columnCount(), 100);
        QCOMPARE(v.canvas->playX(), S(300));
        band = v.grab();
        const int centre = S(20) + H / 2;
        QCOMPARE(colourAt(band, S(300) - 1, S(100)), cursorColour);
        QCOMPARE(colourAt(band, S(40) + 1, centre), waveColour); // from the margin
        QCOMPARE(colourAt(band, S(40) + 100 * v.canvas->columnStep() + 1, centre), canvasColour);
        QCOMPARE(colourAt(band, S(200), centre - H / 8), canvasColour); // band and old columns gone
        select(v.canvas, S(20), S(90));
        QTest::keyClick(v.canvas, Qt::Key_Delete);
        QCOMPARE(Calls(seek), (Calls{{-800.0}, {10400.0}, {2400.0}, {2400.0}, {-800.0}, {0.0}}));
        QCOMPARE(Calls(cut), (Calls{{2.4, 10.4}, {2.4, 10.4}, {0.0, 2.0}}));
        disconnect(reload);

        // Resizing the frame resizes canvas, lanes and strip; the canvas is never narrower than
        // its columns need, and no wider when the frame narrows.
        v.frame->resize(S(800), S(400));
        QCOMPARE(v.canvas->size(), QSize(S(800) - 2, S(375)));
        QCOMPARE(v.frame->laneHeight(), (S(375) - S(30)) / 2);
        QCOMPARE(v.canvas->laneHeight(), v.frame->laneHeight());
        QCOMPARE(v.frame->axisStrip()->width(), S(40));
        QVERIFY(v.frame->axisStrip()->height() > S(355));
        v.fill(800, {0.5, -0.5, 0.5, -0.5});
        QVERIFY(v.canvas->width() > S(840));
        v.frame->resize(S(700), S(300));
        QCOMPARE(v.canvas->size(), QSize(S(40) + 901 * v.canvas->columnStep(), S(275)));
        // Playback pages the view every 26 s, not at 13 s.
        v.frame->horizontalScrollBar()->setValue(0);
        v.frame->setPlayPosition(13000);
        QCOMPARE(v.frame->horizontalScrollBar()->value(), 0);
    }

    void scales_data()
    {
        QTest::addColumn<double>("scale");
        QTest::addColumn<int>("seconds");
        QTest::newRow("96 dpi") << 1.0 << 24;
        QTest::newRow("120 dpi") << 1.25 << 24;
        QTest::newRow("144 dpi") << 1.5 << 24;
        QTest::newRow("192 dpi") << 2.0 << 24;
    }

    // The panel of the design's size shows the same seconds at every scale, and a second of
    // columns ends on the ruler's tick of second 1.
    void scales()
    {
        QFETCH(double, scale);
        QFETCH(int, seconds);
        const auto S = [scale](int design) { return qRound(design * scale); };
        RecordWidget w;
        w.setScale(scale);
        w.resize(S(802), S(150));
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        WaveformFrame *frame = view(w);
        WaveformWidget *canvas = frame->canvas();
        // The whole-second ticks, in the row where they reach below the half-second ones.
        canvas->setPlayPosition(2500); // the cursor out of the way
        const QImage ruler = canvas->grab(QRect(0, S(5) - 1, canvas->width(), 1)).toImage();
        QVector<QPair<int, int>> ticks;
        for (int x = 0; x < ruler.width(); ++x) {
            if (colourAt(ruler, x, 0) != rulerTextColour)
                continue;
            if (!ticks.isEmpty() && ticks.last().second == x - 1)
                ticks.last().second = x;
            else
                ticks.append({x, x});
        }
        QCOMPARE(ticks.size() - 1, seconds);
        QCOMPARE(ticks.first().first, S(40));
        QVector<qreal> column{0.5, -0.5, 0.5, -0.5};
        for (int i = 0; i < 25; ++i)
            frame->onDrawWaveform(column);
        QVERIFY2(qAbs(canvas->drawX() - ticks.at(1).first) <= 1, qPrintable(QString::number(canvas->drawX())));

        // The amplitude labels: one per tick, each centred on it, apart from the others and
        // whole inside the strip, which lies inside the viewport.
        QWidget *strip = frame->axisStrip();
        const QImage shown = frame->grab().toImage();
        const int top = strip->y(), bottom = strip->geometry().bottom();
        const QVector<QPair<int, int>> marks = inkRuns(shown, S(36), S(36), S(20), bottom, rulerBandColour);
        const QVector<QPair<int, int>> labels = inkRuns(shown, S(2), S(32), top, bottom, rulerBandColour);
        QCOMPARE(marks.size(), 6);
        QCOMPARE(labels.size(), marks.size());
        for (int i = 0; i < marks.size(); ++i)
            QVERIFY2(qAbs(middle(labels[i]) - middle(marks[i])) <= 1.0,
                     qPrintable(QStringLiteral("label %1 at %2, its tick at %3")
                                    .arg(i)
                                    .arg(middle(labels[i]))
                                    .arg(middle(marks[i]))));
        QVERIFY(labels.first().first > top && labels.last().second < bottom);
        QVERIFY(bottom < frame->viewport()->geometry().bottom());
        QVERIFY(strip->mask().contains(QPoint(S(20), labels.first().first - top)));
    }

    // While cutting is disabled Delete only takes the band away; other keys and a press
    // without a drag never cut; a new press and a resize take the band away.
    void noCut()
    {
        View v;
        v.fill(300, {0.5, -0.5, 0.5, -0.5});
        QSignalSpy cut(v.frame, &WaveformFrame::s_cutAudio);
        v.frame->setClipEnabled(false);
        select(v.canvas, 50, 120);
        QVERIFY(isBand(v.grab(), 80, 100));
        QTest::ignoreMessage(QtDebugMsg, "no SupportClip");
        QTest::keyClick(v.canvas, Qt::Key_Delete);
        QVERIFY(!isBand(v.grab(), 80, 100));
        QCOMPARE(colourAt(v.grab(), 80, levelY(130, 0, 0.3)), waveColour);
        v.frame->setClipEnabled(true);
        QTest::keyClick(v.canvas, Qt::Key_Delete); // now the same selection is cut
        QCOMPARE(cut.count(), 1);

        select(v.canvas, 100, 200);
        QTest::keyClick(v.canvas, Qt::Key_Backspace);
        QTest::keyClick(v.canvas, Qt::Key_X);
        QVERIFY(isBand(v.grab(), 150, 100));
        mouse(v.canvas, QEvent::MouseButtonPress, 250);
        QVERIFY(v.canvas->selectionBand().isEmpty());
        QVERIFY(!isBand(v.grab(), 150, 100));
        mouse(v.canvas, QEvent::MouseButtonRelease, 250);
        QTest::keyClick(v.canvas, Qt::Key_Delete);
        mouse(v.canvas, QEvent::MouseMove, 150);
        QVERIFY(isBand(v.grab(), 200, 100));
        v.frame->resize(702, 390);
        QVERIFY(!isBand(v.grab(), 200, 100));
        // A selection inside the margin holds no audio.
        select(v.canvas, 10, 35);
        QTest::keyClick(v.canvas, Qt::Key_Delete);
        QCOMPARE(cut.count(), 1);
    }

    // One column drawn at x 40: a line per lane the column covers, from maximum to minimum.
    void columnPixels_data()
    {
        QTest::addColumn<int>("channels");
        QTest::addColumn<Column>("column");
        QTest::addColumn<int>("drawnLanes");
        QTest::newRow("stereo") << 2 << Column{0.5, -0.5, 0.9, -1.0} << 2;
        QTest::newRow("flat lines are points") << 2 << Column{0.0, 0.0, 0.25, 0.25} << 2;
        QTest::newRow("odd count") << 2 << Column{0.5, -0.5, 0.5} << 1;
        QTest::newRow("more lanes than shown") << 2 << Column{0.5, -0.5, 0.5, -0.5, 0.9, -0.9} << 2;
        QTest::newRow("single lane") << 1 << Column{1.0, -1.0} << 1;
    }

    void columnPixels()
    {
        QFETCH(int, channels);
        QFETCH(Column, column);
        QFETCH(int, drawnLanes);
        View v;
        v.canvas->setChannelCount(channels);
        const int h = v.canvas->laneHeight();
        QCOMPARE(h, channels == 1 ? 271 : 130);
        v.append(column);
        QCOMPARE(v.canvas->drawX(), 41);
        QCOMPARE(v.canvas->playX(), 41);
        QCOMPARE(colourAt(v.grab(), 40, 100), cursorColour); // the cursor covers the newest column
        v.canvas->setPlayPosition(2000);
        const QImage img = v.grab(QRect(0, 0, 100, 291));
        for (int c = 0; c < channels; ++c) {
            if (c >= drawnLanes) {
                QCOMPARE(colourAt(img, 40, levelY(h, c, 0.0)), canvasColour);
                continue;
            }
            const int top = levelY(h, c, column[2 * c]), bottom = levelY(h, c, column[2 * c + 1]);
            for (int y = top; y <= bottom; ++y)
                QCOMPARE(colourAt(img, 40, y), waveColour);
            QCOMPARE(colourAt(img, 40, top - 1), canvasColour);
            QCOMPARE(colourAt(img, 40, bottom + 1), canvasColour);
            QCOMPARE(colourAt(img, 41, levelY(h, c, 0.0)), canvasColour);
        }
    }

    void widensScrollsAndPages()
    {
        View v(302, 316);
        QCOMPARE(v.canvas->width(), 300);
        QScrollBar *bar = v.frame->horizontalScrollBar();
        v.fill(259, {0.5, -0.5, 0.5, -0.5});
        QCOMPARE(v.canvas->width(), 300);
        v.append({0.5, -0.5, 0.5, -0.5});
        QCOMPARE(v.canvas->drawX(), 300);
        QCOMPARE(v.canvas->size(), QSize(560, 291));
        QCOMPARE(bar->maximum(), 560 - v.frame->viewport()->width());
        QCOMPARE(bar->value(), bar->maximum());

        // Playback pages the view every 26 s so that the cursor stands at the margin.
        v.fill(3000, {0.5, -0.5, 0.5, -0.5});
        const struct
        {
            qint64 ms;
            int playX;
            int scroll;
        } steps[] = {
            {0, 40, 0},        {40, 41, 0},        {999, 64, 0},        {25999, 689, 0},
            {26000, 690, 650}, {51999, 1339, 650}, {52000, 1340, 1300}, {0, 40, 0},
        };
        bar->setValue(123);
        for (const auto &s : steps) {
            v.frame->setPlayPosition(s.ms);
            QCOMPARE(v.canvas->playX(), s.playX);
            QCOMPARE(bar->value(), s.scroll);
        }
        // Within a page the view stays where the user put it.
        bar->setValue(500);
        v.frame->setPlayPosition(53000);
        QCOMPARE(bar->value(), 500);

        v.frame->clearWaveform();
        QCOMPARE(v.canvas->width(), 300);
        QCOMPARE(v.canvas->columnCount(), 0);
        QCOMPARE(v.canvas->drawX(), 40);
        QCOMPARE(bar->value(), 0);
    }

    // Two hours of columns: far wider than any single pixmap could be.
    void twoHourRecording()
    {
        View v(962, 363);
        const int columns = 2 * 60 * 60 * 25;
        for (int i = 0; i < columns; ++i) {
            const double a = (i % 100) / 100.0;
            v.append({a, -a, a / 2, -a / 2});
        }
        QApplication::processEvents();
        QScrollBar *bar = v.frame->horizontalScrollBar();
        QCOMPARE(v.canvas->columnCount(), columns);
        QCOMPARE(v.canvas->drawX(), 40 + columns);
        QVERIFY(v.canvas->width() > 40 + columns && v.canvas->width() <= 40 + columns + 260);
        QCOMPARE(bar->value(), bar->maximum());

        const int h = v.canvas->laneHeight(), centre0 = levelY(h, 0, 0.0);
        v.frame->setPlayPosition(0);
        // The newest column (level 0.99) is drawn in full; the ruler shows second 7196 at x 40 + 179900.
        QImage img = v.grab(QRect(40 + 179900, 0, 100, v.canvas->height()));
        QCOMPARE(colourAt(img, 99, levelY(h, 0, 0.99)), waveColour);
        QCOMPARE(colourAt(img, 99, levelY(h, 0, -0.99)), waveColour);
        QCOMPARE(colourAt(img, 99, levelY(h, 0, 0.99) - 1), canvasColour);
        QCOMPARE(colourAt(img, 0, 5), rulerTextColour);
        QCOMPARE(colourAt(img, 1, 5), rulerBandColour);
        // Numbers of four digits, wider than a second, are shown apart.
        const int widest = widestNumber(v.grab(QRect(40 + 179000, 0, 400, 20)), 8, 17);
        QVERIFY(widest > advance(v.canvas, "000") && widest <= advance(v.canvas, "0000"));

        // Scrolled anywhere, every visible column is drawn: each crosses its lane's centre.
        for (int value : {0, 1, 4321, 77777, 123456, bar->maximum() / 2, bar->maximum()}) {
            bar->setValue(value);
            const QImage vp = v.frame->viewport()->grab().toImage();
            for (int x = qMax(0, 40 - value); x < vp.width() && value + x - 40 < columns; ++x)
                QCOMPARE(colourAt(vp, x, centre0), waveColour);
        }
    }
};

QTEST_MAIN(TestWaveformView)
#include "tst_waveformview.moc"
