#include "record/WaveformFrame.h"
#include "record/WaveformWidget.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

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

    explicit View(int width = 702, int height = 316)
    {
        parent.resize(width, height);
        frame = new WaveformFrame(&parent);
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

void mouse(QWidget *w, QEvent::Type type, int x, Qt::MouseButton button, Qt::MouseButtons held)
{
    const QPoint pos(x, 100);
    QMouseEvent e(type, pos, w->mapToGlobal(pos), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

void press(QWidget *w, int x) { mouse(w, QEvent::MouseButtonPress, x, Qt::LeftButton, Qt::LeftButton); }
void drag(QWidget *w, int x) { mouse(w, QEvent::MouseMove, x, Qt::NoButton, Qt::LeftButton); }
void release(QWidget *w, int x) { mouse(w, QEvent::MouseButtonRelease, x, Qt::LeftButton, Qt::NoButton); }

void select(QWidget *w, int from, int to)
{
    press(w, from);
    drag(w, (from + to) / 2);
    drag(w, to);
    release(w, to);
}

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
bool hasInk(const QImage &img, const QRect &r, const QString &ground)
{
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (colourAt(img, x, y) != ground)
                return true;
    return false;
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
    void geometry()
    {
        View v;
        QCOMPARE(v.canvas->size(), QSize(700, 291));
        QCOMPARE(v.frame->laneHeight(), 130);
        QCOMPARE(v.canvas->laneHeight(), 130);
        QCOMPARE(v.frame->axisStrip()->geometry(), QRect(0, 20, 40, 271));

        const QImage img = v.grab();
        const struct { int x, y; QString colour; } pixels[] = {
            {300, 10, rulerBandColour}, {300, 100, canvasColour}, // ruler band, lane 0
            {300, 155, "#2b2c2e"}, {20, 155, canvasColour},       // separator under lane 0, from x 40
            {65, 5, rulerTextColour}, {64, 5, rulerBandColour},   // second 1 at x 65, tick to y 6
            {52, 2, rulerTextColour}, {52, 5, rulerBandColour},   // its half-second tick, to y 3
            {39, 100, cursorColour},                              // the cursor at x 40, one step left
        };
        for (const auto &p : pixels)
            QCOMPARE(colourAt(img, p.x, p.y), p.colour);
        // The numbers of seconds 1 and 2 stand centred on their ticks, above y 16.
        QVERIFY(hasInk(img, QRect(58, 7, 14, 10), rulerBandColour));
        QVERIFY(hasInk(img, QRect(83, 7, 14, 10), rulerBandColour));
        QVERIFY(!hasInk(img, QRect(71, 7, 10, 10), rulerBandColour));

        // The axis strip: per lane ticks at 1.0, 0.0 and -1.0, each with its label at the left.
        const QImage axis = v.frame->axisStrip()->grab().toImage();
        for (int centre : {65, 205}) {
            for (int y : {centre - 64, centre, centre + 64}) {
                QCOMPARE(colourAt(axis, 36, y), rulerTextColour);
                QVERIFY(hasInk(axis, QRect(5, y - 6, 25, 12), rulerBandColour));
            }
            QCOMPARE(colourAt(axis, 36, centre + 5), rulerBandColour);
            QVERIFY(!hasInk(axis, QRect(10, centre - 64 + 12, 20, 8), rulerBandColour));
        }
        QCOMPARE(colourAt(axis, 39, 100), QString("#000000"));

        // Resizing the frame resizes canvas, lanes and strip; a canvas wider than it stays wide.
        v.frame->resize(800, 400);
        QCOMPARE(v.canvas->size(), QSize(798, 375));
        QCOMPARE(v.frame->laneHeight(), (375 - 30) / 2);
        QCOMPARE(v.canvas->laneHeight(), v.frame->laneHeight());
        QCOMPARE(v.frame->axisStrip()->size(), QSize(40, 355));
        v.fill(800, {0.5, -0.5, 0.5, -0.5});
        const int wide = v.canvas->width();
        QVERIFY(wide > 840);
        v.frame->resize(700, 300);
        QCOMPARE(v.canvas->size(), QSize(wide, 275));
    }

    // A press places the cursor (not left of the margin) and seeks; a drag draws the band;
    // Delete cuts the selected seconds, clears the view and seeks to the cut.
    void pressSelectAndCut_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<double>("seekMs");
        QTest::addColumn<double>("start");
        QTest::addColumn<double>("end");
        QTest::newRow("dragged back") << 300 << 100 << 300 << 10400.0 << 2.4 << 10.4;
        QTest::newRow("dragged forward") << 140 << 300 << 140 << 4000.0 << 4.0 << 10.4;
        // The audio starts at the margin: the cut starts at 0 s, never before.
        QTest::newRow("from the margin") << 20 << 90 << 40 << -800.0 << 0.0 << 2.0;
    }

    void pressSelectAndCut()
    {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(int, cursor);
        QFETCH(double, seekMs);
        QFETCH(double, start);
        QFETCH(double, end);
        View v;
        v.fill(400, {0.5, -0.5, 0.25, -0.25});
        QSignalSpy cut(v.frame, &WaveformFrame::s_cutAudio);
        QSignalSpy seek(v.frame, &WaveformFrame::s_posChange);
        press(v.canvas, from);
        QCOMPARE(v.canvas->playX(), cursor);
        QCOMPARE(seek.count(), 1);
        QCOMPARE(seek.at(0).at(0).toDouble(), seekMs);
        QVERIFY(v.canvas->hasFocus());
        QImage img = v.grab();
        QCOMPARE(colourAt(img, cursor - 1, 250), cursorColour);
        QVERIFY(colourAt(img, cursor + 3, 250) != cursorColour);

        select(v.canvas, from, to);
        const int lo = qMax(40, qMin(from, to)), hi = qMax(from, to), mid = (lo + hi) / 2;
        QCOMPARE(v.canvas->selectionBand(), QRect(lo, 0, hi - lo, 290));
        img = v.grab();
        QVERIFY(isBand(img, mid, 0));
        QVERIFY(isBand(img, mid, 289));
        QVERIFY(!isBand(img, mid, 290));
        QVERIFY(!isBand(img, lo - 2, 100));
        QVERIFY(isBand(img, lo + 1, 100));
        QVERIFY(isBand(img, hi - 3, 100));
        QVERIFY(!isBand(img, hi + 1, 100));

        // The recording window cuts and reloads while s_cutAudio is delivered.
        connect(v.frame, &WaveformFrame::s_cutAudio, v.frame, [&v] {
            QCOMPARE(v.canvas->drawX(), 40);
            v.fill(100, {0.1, -0.1, 0.1, -0.1});
        });
        QTest::keyClick(v.canvas, Qt::Key_Delete);
        QCOMPARE(cut.count(), 1);
        QCOMPARE(cut.at(0).at(0).toDouble(), start);
        QCOMPARE(cut.at(0).at(1).toDouble(), end);
        QCOMPARE(seek.count(), 3); // two presses, then the cut start
        QCOMPARE(seek.at(2).at(0).toDouble(), start * 1000);
        QCOMPARE(v.canvas->columnCount(), 100);
        QCOMPARE(v.canvas->drawX(), 140);
        QCOMPARE(v.canvas->playX(), cursor);
        img = v.grab();
        QCOMPARE(colourAt(img, cursor - 1, 100), cursorColour);
        QCOMPARE(colourAt(img, mid, levelY(130, 0, 0.3)), canvasColour); // band, old columns gone
        QCOMPARE(colourAt(img, 41, levelY(130, 0, 0.0)), waveColour);     // reloaded from x 40
        QCOMPARE(colourAt(img, 141, levelY(130, 0, 0.0)), canvasColour);
        // Delete again cuts the same pixels out of the reloaded file.
        QTest::keyClick(v.canvas, Qt::Key_Delete);
        QCOMPARE(cut.count(), 2);
        QCOMPARE(cut.at(1), cut.at(0));
        QCOMPARE(v.canvas->columnCount(), 100);
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
        press(v.canvas, 250);
        QVERIFY(v.canvas->selectionBand().isEmpty());
        QVERIFY(!isBand(v.grab(), 150, 100));
        release(v.canvas, 250);
        QTest::keyClick(v.canvas, Qt::Key_Delete);
        drag(v.canvas, 150);
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
        QTest::newRow("one lane's values") << 2 << Column{0.5, -0.5} << 1;
        QTest::newRow("odd count") << 2 << Column{0.5, -0.5, 0.5} << 1;
        QTest::newRow("empty") << 2 << Column{} << 0;
        QTest::newRow("more lanes than shown") << 2 << Column{0.5, -0.5, 0.5, -0.5, 0.9, -0.9} << 2;
        QTest::newRow("single lane") << 1 << Column{1.0, -1.0} << 1;
    }

    void columnPixels()
    {
        QFETCH(int, channels);
        QFETCH(Column, column);
        QFETCH(int, drawnLanes);
        QCOMPARE(levelY(130, 0, 0.5), 53); // 85 - 31.85
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
        QVERIFY(bar->maximum() > 0);
        QCOMPARE(bar->maximum(), 560 - v.frame->viewport()->width());
        QCOMPARE(bar->value(), bar->maximum());
        // All columns are still drawn after the widening, and the ruler goes on.
        v.canvas->setPlayPosition(20000);
        const QImage img = v.grab();
        const int y = levelY(v.canvas->laneHeight(), 1, 0.0);
        QCOMPARE(colourAt(img, 40, y), waveColour);
        QCOMPARE(colourAt(img, 299, y), waveColour);
        QCOMPARE(colourAt(img, 300, y), canvasColour);
        QCOMPARE(colourAt(img, 40 + 20 * 25, 5), rulerTextColour);

        // Playback pages the view every 26 s so that the cursor stands at the margin.
        v.fill(3000, {0.5, -0.5, 0.5, -0.5});
        const struct { qint64 ms; int playX; int scroll; } steps[] = {
            {0, 40, 0},         {40, 41, 0},         {999, 64, 0},         {25999, 689, 0},
            {26000, 690, 650},  {26040, 691, 650},   {51999, 1339, 650},   {52000, 1340, 1300},
            {52999, 1364, 1300}, {0, 40, 0},
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
        v.frame->setPlayPosition(0);
        QCOMPARE(colourAt(v.grab(QRect(0, 0, 100, 291)), 39, 150), cursorColour);

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

        // Scrolled anywhere, every visible column is drawn: each crosses its lane's centre.
        for (int value : {0, 1, 4321, 77777, 123456, bar->maximum() / 2, bar->maximum()}) {
            bar->setValue(value);
            const QImage vp = v.frame->viewport()->grab().toImage();
            for (int x = qMax(0, 40 - value); x < vp.width() && value + x - 40 < columns; ++x)
                QCOMPARE(colourAt(vp, x, centre0), waveColour);
        }

        // Select from 1:53:20 to 1:56:40 and cut it out.
        QSignalSpy cut(v.frame, &WaveformFrame::s_cutAudio);
        QSignalSpy seek(v.frame, &WaveformFrame::s_posChange);
        select(v.canvas, 40 + 170000, 40 + 175000);
        const QRect around(40 + 169900, 0, 5200, v.canvas->height());
        img = v.grab(around);
        QVERIFY(!isBand(img, 99, 100) && isBand(img, 100, 100));
        QVERIFY(isBand(img, 5099, 100) && !isBand(img, 5100, 100));
        connect(v.frame, &WaveformFrame::s_cutAudio, v.frame,
                [&](double from, double to) { v.fill(columns - int((to - from) * 25), {0.5, -0.5, 0.5, -0.5}); });
        QTest::keyClick(v.canvas, Qt::Key_Delete);
        QCOMPARE(cut.count(), 1);
        QCOMPARE(cut.at(0), (QList<QVariant>{6800.0, 7000.0}));
        QCOMPARE(seek.last().at(0).toDouble(), 6800000.0);
        QCOMPARE(v.canvas->columnCount(), columns - 5000);
        QCOMPARE(v.canvas->playX(), 40 + 170000);
        img = v.grab(around);
        QCOMPARE(colourAt(img, 99, 150), cursorColour);
        QVERIFY(!isBand(img, 2000, 100));
        QCOMPARE(colourAt(img, 2000, levelY(h, 0, 0.5)), waveColour);
        QCOMPARE(colourAt(img, 2000, levelY(h, 0, 0.99)), canvasColour);

        // Playback near the end pages the view there.
        v.frame->setPlayPosition(qint64(6786) * 1000); // 6786 s = 261 pages of 26 s
        QCOMPARE(bar->value(), 6786 * 25);
    }
};

QTEST_MAIN(TestWaveformView)
#include "tst_waveformview.moc"
