#include "record/WaveformFrame.h"
#include "record/WaveformWidget.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

#include <cmath>
#include <memory>

namespace {

const QString waveColour = "#5e17cc";
const QString canvasColour = "#1e1f21";
const QString cursorColour = "#ff7a02";
const QString rulerTextColour = "#858585";
const QString rulerBandColour = "#1a1b1c";
const QString separatorColour = "#2b2c2e";

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

    QImage grab(const QRect &r) const { return canvas->grab(r).toImage(); }
    QImage grab() const { return canvas->grab().toImage(); }

    void append(QVector<qreal> column) { frame->onDrawWaveform(column); }
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

class WaveformViewTest : public QObject
{
    Q_OBJECT

private slots:
    void geometry()
    {
        View v;
        QCOMPARE(v.frame->size(), QSize(702, 316));
        QCOMPARE(v.canvas->size(), QSize(700, 291));
        QCOMPARE(v.canvas->laneHeight(), (291 - 30) / 2);
        QCOMPARE(v.frame->laneHeight(), 130);
        QCOMPARE(v.frame->axisStrip()->geometry(), QRect(0, 20, 40, 271));
        QCOMPARE(v.canvas->pixelsPerSecond(), 25.0);
        QCOMPARE(v.canvas->objectName(), QString("WaveformWidget"));

        const QImage img = v.grab();
        QCOMPARE(colourAt(img, 300, 10), rulerBandColour);
        QCOMPARE(colourAt(img, 300, 100), canvasColour);
        // Separator band under lane 0: y 20 + 130 .. + 10, from x 40.
        QCOMPARE(colourAt(img, 300, 155), separatorColour);
        QCOMPARE(colourAt(img, 20, 155), canvasColour);
        // Ruler: second 1 at x 65 (tick to y 6), its half-second tick at x 52 (to y 3).
        QCOMPARE(colourAt(img, 65, 5), rulerTextColour);
        QCOMPARE(colourAt(img, 52, 2), rulerTextColour);
        QCOMPARE(colourAt(img, 52, 5), rulerBandColour);
        QCOMPARE(colourAt(img, 64, 5), rulerBandColour);
        // Initial cursor at x 40 - 1.
        QCOMPARE(colourAt(img, 39, 100), cursorColour);
        // The numbers of seconds 1 and 2 stand centred on their ticks, above y 16.
        QVERIFY(hasInk(img, QRect(58, 7, 14, 10), rulerBandColour));
        QVERIFY(hasInk(img, QRect(83, 7, 14, 10), rulerBandColour));
        QVERIFY(!hasInk(img, QRect(71, 7, 10, 10), rulerBandColour));

        QCOMPARE(v.frame->horizontalScrollBar()->styleSheet(),
                 QString("QScrollBar:horizontal { height: 15px; margin: 0px 40px 0 0px; "
                         "border-radius: 7px;background: #1A1B1C ; } QScrollBar::handle:horizontal "
                         "{ border-radius: 7px; background: #2B2C2E;}QScrollBar::add-line:horizontal "
                         "{ width: 0px;}QScrollBar::sub-line:horizontal {width: 0px;}"
                         "QScrollBar::add-page:horizontal, QScrollBar::sub-page:horizontal "
                         "{background: none;}"));
    }

    void axisStrip()
    {
        View v;
        const QImage img = v.frame->axisStrip()->grab().toImage();
        const int h = v.frame->laneHeight();
        for (int c = 0; c < 2; ++c) {
            const int centre = c * (h + 10) + h / 2;
            QCOMPARE(colourAt(img, 36, centre), rulerTextColour);
            QCOMPARE(colourAt(img, 36, centre - 2 * (h / 4)), rulerTextColour);
            QCOMPARE(colourAt(img, 36, centre + 2 * (h / 4)), rulerTextColour);
            QCOMPARE(colourAt(img, 36, centre + 5), rulerBandColour);
            // The labels, right-aligned in 30-px boxes left of the ticks.
            QVERIFY(hasInk(img, QRect(10, centre - 6, 20, 12), rulerBandColour));
            QVERIFY(hasInk(img, QRect(10, centre - 2 * (h / 4) - 1, 20, 12), rulerBandColour));
            QVERIFY(hasInk(img, QRect(5, centre + 2 * (h / 4) - 6, 25, 12), rulerBandColour));
            QVERIFY(!hasInk(img, QRect(10, centre - 2 * (h / 4) + 12, 20, 8), rulerBandColour));
        }
        QCOMPARE(colourAt(img, 39, 100), QString("#000000"));
    }

    void pressPlacesCursor_data()
    {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<double>("seekMs");
        QTest::newRow("inside") << 140 << 140 << 4000.0;
        QTest::newRow("in the margin") << 20 << 40 << -800.0;
        QTest::newRow("one step") << 41 << 41 << 40.0;
        QTest::newRow("truncated toward zero") << 39 << 40 << -40.0;
    }

    void pressPlacesCursor()
    {
        QFETCH(int, x);
        QFETCH(int, cursor);
        QFETCH(double, seekMs);
        View v;
        QSignalSpy seek(v.frame, &WaveformFrame::s_posChange);
        press(v.canvas, x);
        QCOMPARE(v.canvas->playX(), cursor);
        QCOMPARE(seek.count(), 1);
        QCOMPARE(seek.at(0).at(0).toDouble(), seekMs);
        QCOMPARE(v.canvas->selStart(), x);
        QVERIFY(v.canvas->hasFocus());
        const QImage img = v.grab();
        QCOMPARE(colourAt(img, cursor - 1, 100), cursorColour);
        QCOMPARE(colourAt(img, cursor - 1, 250), cursorColour);
        QVERIFY(colourAt(img, cursor + 3, 100) != cursorColour);
    }

    void dragDrawsBandAndDeleteCuts()
    {
        View v;
        for (int i = 0; i < 400; ++i)
            v.append({0.5, -0.5, 0.25, -0.25});
        QSignalSpy cut(v.frame, &WaveformFrame::s_cutAudio);
        QSignalSpy seek(v.frame, &WaveformFrame::s_posChange);
        select(v.canvas, 300, 100);
        QCOMPARE(v.canvas->selStart(), 300);
        QCOMPARE(v.canvas->selEnd(), 100);
        QImage img = v.grab(QRect(0, 0, 400, 291));
        QVERIFY(isBand(img, 150, 100));
        QVERIFY(isBand(img, 100, 30));
        QVERIFY(isBand(img, 297, 100));
        QCOMPARE(colourAt(img, 299, 100), cursorColour); // the cursor lies on the band
        QVERIFY(!isBand(img, 99, 100));
        QVERIFY(!isBand(img, 301, 100));

        QTest::keyClick(v.canvas, Qt::Key_Delete);
        QCOMPARE(cut.count(), 1);
        QCOMPARE(cut.at(0).at(0).toDouble(), 2.4);
        QCOMPARE(cut.at(0).at(1).toDouble(), 10.4);
        QCOMPARE(seek.count(), 2); // the press, then the cut start
        QCOMPARE(seek.at(1).at(0).toDouble(), 2400.0);
        QCOMPARE(v.canvas->columnCount(), 0);
        QCOMPARE(v.canvas->drawX(), 40);
        QCOMPARE(v.canvas->playX(), 300);
        img = v.grab(QRect(0, 0, 400, 291));
        QCOMPARE(colourAt(img, 299, 100), cursorColour);
        QVERIFY(!isBand(img, 150, 100));
        QCOMPARE(colourAt(img, 150, 100), canvasColour); // the old columns are gone
    }

    void bandExtentAndNewPress()
    {
        View v(702, 400);
        for (int i = 0; i < 300; ++i)
            v.append({0.5, -0.5, 0.25, -0.25});
        select(v.canvas, 100, 200);
        QCOMPARE(v.canvas->selectionBand(), QRect(100, 0, 100, 290));
        QImage img = v.grab();
        QVERIFY(isBand(img, 150, 0));
        QVERIFY(isBand(img, 150, 289));
        QVERIFY(!isBand(img, 150, 290));
        // A new press takes the band away; a resize rebuilds the background without it.
        press(v.canvas, 250);
        QVERIFY(v.canvas->selectionBand().isEmpty());
        QVERIFY(!isBand(v.grab(), 150, 100));
        drag(v.canvas, 150);
        QVERIFY(isBand(v.grab(), 200, 100));
        v.frame->resize(702, 390);
        QVERIFY(!isBand(v.grab(), 200, 100));
    }

    // The recording window reloads the cut file while s_cutAudio is delivered.
    void deleteAgainCutsSamePixels()
    {
        View v;
        for (int i = 0; i < 500; ++i)
            v.append({0.1, -0.1, 0.1, -0.1});
        int reloads = 0;
        connect(v.frame, &WaveformFrame::s_cutAudio, v.frame, [&](double, double) {
            QCOMPARE(v.canvas->drawX(), 40);
            ++reloads;
            for (int i = 0; i < 300 - 50 * reloads; ++i)
                v.append({0.8, -0.8, 0.1, -0.1});
        });
        QSignalSpy cut(v.frame, &WaveformFrame::s_cutAudio);
        select(v.canvas, 100, 300);
        QTest::keyClick(v.canvas, Qt::Key_Delete);
        QCOMPARE(v.canvas->columnCount(), 250);
        QCOMPARE(v.canvas->playX(), 100);
        QTest::keyClick(v.canvas, Qt::Key_Delete);
        QCOMPARE(cut.count(), 2);
        QCOMPARE(cut.at(1), cut.at(0));
        QCOMPARE(cut.at(0).at(0).toDouble(), 2.4);
        QCOMPARE(cut.at(0).at(1).toDouble(), 10.4);
        QCOMPARE(v.canvas->columnCount(), 200);
        QCOMPARE(v.canvas->drawX(), 240);

        // The reloaded columns are drawn from x 40; nothing is left beyond them.
        const QImage img = v.grab(QRect(0, 0, 400, 291));
        const int h = v.canvas->laneHeight();
        QCOMPARE(colourAt(img, 40, levelY(h, 0, 0.7)), waveColour);
        QCOMPARE(colourAt(img, 239, levelY(h, 0, 0.7)), waveColour);
        QCOMPARE(colourAt(img, 241, levelY(h, 0, 0.7)), canvasColour);
    }

    void selectionFromMarginGivesNegativeStart()
    {
        View v;
        QSignalSpy cut(v.frame, &WaveformFrame::s_cutAudio);
        select(v.canvas, 20, 90);
        const QImage img = v.grab(QRect(0, 0, 200, 291));
        QVERIFY(!isBand(img, 38, 100));
        QVERIFY(isBand(img, 41, 100));
        QVERIFY(isBand(img, 89, 100));
        QTest::keyClick(v.canvas, Qt::Key_Delete);
        QCOMPARE(cut.count(), 1);
        QCOMPARE(cut.at(0).at(0).toDouble(), -0.8);
        QCOMPARE(cut.at(0).at(1).toDouble(), 2.0);
    }

    void deleteWhileCuttingDisabled()
    {
        View v;
        for (int i = 0; i < 100; ++i)
            v.append({0.5, -0.5, 0.5, -0.5});
        v.frame->setClipEnabled(false);
        QSignalSpy cut(v.frame, &WaveformFrame::s_cutAudio);
        select(v.canvas, 50, 120);
        QVERIFY(isBand(v.grab(), 80, 100));
        QTest::ignoreMessage(QtDebugMsg, "no SupportClip");
        QTest::keyClick(v.canvas, Qt::Key_Delete);
        QCOMPARE(cut.count(), 0);
        QCOMPARE(v.canvas->columnCount(), 100);
        const QImage img = v.grab();
        QVERIFY(!isBand(img, 80, 100));
        QCOMPARE(colourAt(img, 80, levelY(v.canvas->laneHeight(), 0, 0.3)), waveColour);

        v.frame->setClipEnabled(true);
        QTest::keyClick(v.canvas, Qt::Key_Delete);
        QCOMPARE(cut.count(), 1);
    }

    void deleteWithoutSelectionOrOtherKeys()
    {
        View v;
        v.append({0.5, -0.5, 0.5, -0.5});
        QSignalSpy cut(v.frame, &WaveformFrame::s_cutAudio);
        press(v.canvas, 100);
        release(v.canvas, 100);
        QTest::keyClick(v.canvas, Qt::Key_Delete);
        select(v.canvas, 100, 200);
        QTest::keyClick(v.canvas, Qt::Key_Backspace);
        QTest::keyClick(v.canvas, Qt::Key_X);
        QCOMPARE(cut.count(), 0);
        QCOMPARE(v.canvas->columnCount(), 1);
    }

    void columnLines()
    {
        View v;
        const int h = v.canvas->laneHeight();
        QCOMPARE(levelY(h, 0, 0.5), 53); // 85 - 31.85
        v.append({0.5, -0.5, 1.0, -1.0});
        v.append({0.0, 0.0, 0.25, 0.25});
        QCOMPARE(v.canvas->drawX(), 42);
        QCOMPARE(v.canvas->playX(), 42);
        // The 2-px cursor covers the two newest columns until it moves on.
        QImage img = v.grab(QRect(0, 0, 100, 291));
        QCOMPARE(colourAt(img, 40, 100), cursorColour);
        QCOMPARE(colourAt(img, 41, 5), cursorColour);
        QCOMPARE(colourAt(img, 42, 100), canvasColour);
        v.canvas->setPlayPosition(2000);
        img = v.grab(QRect(0, 0, 100, 291));
        for (int y = 53; y <= levelY(h, 0, -0.5); ++y)
            QCOMPARE(colourAt(img, 40, y), waveColour);
        QCOMPARE(colourAt(img, 40, 52), canvasColour);
        QCOMPARE(colourAt(img, 40, levelY(h, 0, -0.5) + 1), canvasColour);
        QCOMPARE(colourAt(img, 40, levelY(h, 1, 1.0)), waveColour);
        QCOMPARE(colourAt(img, 40, levelY(h, 1, -1.0)), waveColour);
        QCOMPARE(colourAt(img, 40, levelY(h, 1, -1.0) + 1), canvasColour);
        // A flat column is a single point on the centre line.
        QCOMPARE(colourAt(img, 41, levelY(h, 0, 0.0)), waveColour);
        QCOMPARE(colourAt(img, 41, levelY(h, 0, 0.0) - 1), canvasColour);
        QCOMPARE(colourAt(img, 41, levelY(h, 1, 0.25)), waveColour);
        QCOMPARE(colourAt(img, 89, 5), cursorColour);
    }

    void shortAndEmptyColumns()
    {
        View v;
        const int h = v.canvas->laneHeight();
        v.append({0.5, -0.5});       // covers lane 0 only
        v.append({});                // nothing to draw
        v.append({0.5, -0.5, 0.5});  // one whole lane
        v.append({0.5, -0.5, 0.5, -0.5, 0.9, -0.9}); // more lanes than shown
        QCOMPARE(v.canvas->columnCount(), 4);
        QCOMPARE(v.canvas->drawX(), 44);
        v.canvas->setPlayPosition(2000);
        const QImage img = v.grab(QRect(0, 0, 100, 291));
        const int lane1 = levelY(h, 1, 0.0);
        QCOMPARE(colourAt(img, 40, levelY(h, 0, 0.0)), waveColour);
        QCOMPARE(colourAt(img, 40, lane1), canvasColour);
        QCOMPARE(colourAt(img, 41, levelY(h, 0, 0.0)), canvasColour);
        QCOMPARE(colourAt(img, 41, lane1), canvasColour);
        QCOMPARE(colourAt(img, 42, levelY(h, 0, 0.0)), waveColour);
        QCOMPARE(colourAt(img, 42, lane1), canvasColour);
        QCOMPARE(colourAt(img, 43, lane1), waveColour);
    }

    void widensAndFollowsNewestColumn()
    {
        View v(302, 316);
        QCOMPARE(v.canvas->width(), 300);
        QScrollBar *bar = v.frame->horizontalScrollBar();
        for (int i = 0; i < 259; ++i)
            v.append({0.5, -0.5, 0.5, -0.5});
        QCOMPARE(v.canvas->width(), 300);
        QCOMPARE(v.canvas->drawX(), 299);
        v.append({0.5, -0.5, 0.5, -0.5});
        QCOMPARE(v.canvas->drawX(), 300);
        QCOMPARE(v.canvas->width(), 560);
        QCOMPARE(v.canvas->height(), 291);
        QVERIFY(bar->maximum() > 0);
        QCOMPARE(bar->value(), bar->maximum());
        QCOMPARE(bar->maximum(), 560 - v.frame->viewport()->width());
        // All columns are still drawn after the widening.
        v.canvas->setPlayPosition(20000);
        const QImage img = v.grab();
        const int y = levelY(v.canvas->laneHeight(), 1, 0.0);
        QCOMPARE(colourAt(img, 40, y), waveColour);
        QCOMPARE(colourAt(img, 299, y), waveColour);
        QCOMPARE(colourAt(img, 300, y), canvasColour);
        // The ruler goes on across the new width.
        QCOMPARE(colourAt(img, 40 + 20 * 25, 5), rulerTextColour);

        v.frame->clearWaveform();
        QCOMPARE(v.canvas->width(), 300);
        QCOMPARE(v.canvas->columnCount(), 0);
        QCOMPARE(v.canvas->drawX(), 40);
        QCOMPARE(bar->value(), 0);
    }

    void playbackPagesTheView()
    {
        View v;
        for (int i = 0; i < 3000; ++i)
            v.append({0.5, -0.5, 0.5, -0.5});
        QScrollBar *bar = v.frame->horizontalScrollBar();
        QVERIFY(bar->maximum() > 1300);
        const struct { qint64 ms; int playX; int scroll; } steps[] = {
            {0, 40, 0},          {40, 41, 0},         {999, 64, 0},
            {25999, 689, 0},     {26000, 690, 650},   {26040, 691, 650},
            {51999, 1339, 650},  {52000, 1340, 1300}, {52999, 1364, 1300},
        };
        bar->setValue(123);
        for (const auto &s : steps) {
            v.frame->setPlayPosition(s.ms);
            QCOMPARE(v.canvas->playX(), s.playX);
            if (s.ms == 999)
                QCOMPARE(bar->value(), 0);
            else if (s.ms != 40)
                QCOMPARE(bar->value(), s.scroll);
        }
        // Within a page the view stays where the user put it.
        bar->setValue(500);
        v.frame->setPlayPosition(53000);
        QCOMPARE(bar->value(), 500);
        v.frame->setPlayPosition(0);
        QCOMPARE(bar->value(), 0);
        QCOMPARE(v.canvas->playX(), 40);
        QCOMPARE(colourAt(v.grab(QRect(0, 0, 100, 291)), 39, 150), cursorColour);
    }

    void frameResize()
    {
        View v;
        v.frame->resize(800, 400);
        QCOMPARE(v.canvas->size(), QSize(798, 375));
        QCOMPARE(v.frame->laneHeight(), (375 - 30) / 2);
        QCOMPARE(v.canvas->laneHeight(), v.frame->laneHeight());
        QCOMPARE(v.frame->axisStrip()->size(), QSize(40, 355));
        // A canvas wider than the frame keeps its width.
        for (int i = 0; i < 800; ++i)
            v.append({0.5, -0.5, 0.5, -0.5});
        const int wide = v.canvas->width();
        QVERIFY(wide > 800);
        v.frame->resize(700, 300);
        QCOMPARE(v.canvas->size(), QSize(wide, 275));
    }

    void singleLane()
    {
        View v;
        v.canvas->setChannelCount(1);
        QCOMPARE(v.canvas->laneHeight(), 291 - 20);
        v.append({1.0, -1.0});
        v.canvas->setPlayPosition(2000);
        const QImage img = v.grab(QRect(0, 0, 100, 291));
        const int h = v.canvas->laneHeight();
        QCOMPARE(colourAt(img, 40, levelY(h, 0, 1.0)), waveColour);
        QCOMPARE(colourAt(img, 40, levelY(h, 0, -1.0)), waveColour);
        QCOMPARE(colourAt(img, 40, levelY(h, 0, 1.0) - 1), canvasColour);
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
        QVERIFY(v.canvas->width() > 40 + columns);
        QVERIFY(v.canvas->width() <= 40 + columns + 260);
        QCOMPARE(bar->value(), bar->maximum());

        const int h = v.canvas->laneHeight();
        const int lastX = 40 + columns - 1; // column 179999: level 0.99
        QImage img = v.grab(QRect(lastX - 200, 0, 400, v.canvas->height()));
        QCOMPARE(colourAt(img, 200, levelY(h, 0, 0.0)), cursorColour);
        QCOMPARE(colourAt(img, 199, levelY(h, 0, 0.0)), cursorColour);
        QCOMPARE(colourAt(img, 201, levelY(h, 0, 0.0)), canvasColour);
        QCOMPARE(colourAt(img, 198, levelY(h, 0, 0.97)), waveColour);
        v.frame->setPlayPosition(0);
        img = v.grab(QRect(lastX - 200, 0, 400, v.canvas->height()));
        QCOMPARE(colourAt(img, 200, levelY(h, 0, 0.99)), waveColour);
        QCOMPARE(colourAt(img, 200, levelY(h, 0, -0.99)), waveColour);
        QCOMPARE(colourAt(img, 200, levelY(h, 0, 0.99) - 1), canvasColour);
        QCOMPARE(colourAt(img, 201, levelY(h, 0, 0.0)), canvasColour);
        // Column 179900 (level 0) is a point; the ruler shows second 7196 at x 40 + 179900.
        QCOMPARE(colourAt(img, 101, levelY(h, 0, 0.0)), waveColour);
        QCOMPARE(colourAt(img, 101, levelY(h, 0, 0.0) - 1), canvasColour);
        QCOMPARE(colourAt(img, 100, levelY(h, 0, 0.0) - 1), waveColour);
        QCOMPARE(colourAt(img, 101, 5), rulerTextColour);
        QCOMPARE(colourAt(img, 100, 5), rulerBandColour);

        // Scrolled anywhere, every visible column is drawn: each crosses its lane's centre.
        v.frame->setPlayPosition(0);
        const int centre0 = levelY(h, 0, 0.0);
        for (int value : {0, 1, 4321, 77777, 123456, bar->maximum() / 2, bar->maximum()}) {
            bar->setValue(value);
            const QImage vp = v.frame->viewport()->grab().toImage();
            for (int x = 0; x < vp.width(); ++x) {
                const int col = value + x - 40;
                if (col < 0 || col >= columns)
                    continue;
                QCOMPARE(colourAt(vp, x, centre0), waveColour);
            }
        }

        // Select from 1:53:20 to 1:56:40 and cut it out.
        QSignalSpy cut(v.frame, &WaveformFrame::s_cutAudio);
        QSignalSpy seek(v.frame, &WaveformFrame::s_posChange);
        select(v.canvas, 40 + 170000, 40 + 175000);
        img = v.grab(QRect(40 + 169900, 0, 5200, v.canvas->height()));
        QVERIFY(!isBand(img, 99, 100));
        QVERIFY(isBand(img, 100, 100));
        QVERIFY(isBand(img, 5099, 100));
        QVERIFY(!isBand(img, 5100, 100));
        connect(v.frame, &WaveformFrame::s_cutAudio, v.frame, [&](double from, double to) {
            const int keep = columns - int((to - from) * 25);
            for (int i = 0; i < keep; ++i)
                v.append({0.5, -0.5, 0.5, -0.5});
        });
        QTest::keyClick(v.canvas, Qt::Key_Delete);
        QCOMPARE(cut.count(), 1);
        QCOMPARE(cut.at(0).at(0).toDouble(), 6800.0);
        QCOMPARE(cut.at(0).at(1).toDouble(), 7000.0);
        QCOMPARE(seek.last().at(0).toDouble(), 6800000.0);
        QCOMPARE(v.canvas->columnCount(), columns - 5000);
        QCOMPARE(v.canvas->playX(), 40 + 170000);
        img = v.grab(QRect(40 + 169900, 0, 5200, v.canvas->height()));
        QCOMPARE(colourAt(img, 99, 150), cursorColour);
        QVERIFY(!isBand(img, 2000, 100));
        QCOMPARE(colourAt(img, 2000, levelY(h, 0, 0.5)), waveColour);
        QCOMPARE(colourAt(img, 2000, levelY(h, 0, 0.99)), canvasColour);

        // Playback near the end pages the view there.
        v.frame->setPlayPosition(qint64(6786) * 1000); // 6786 s = 261 pages of 26 s
        QCOMPARE(bar->value(), 6786 * 25);
    }
};

QTEST_MAIN(WaveformViewTest)
#include "WaveformViewTest.moc"
