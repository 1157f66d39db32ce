#include "support/FocusRing.h"

#include <QHash>
#include <QVector>

#include <algorithm>
#include <cmath>

namespace {

double channel(int value)
{
    const double c = value / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

const QPoint kSteps[] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}, {1, 1}, {1, -1}, {-1, 1}, {-1, -1}};

} // namespace

double relativeLuminance(const QColor &colour)
{
    return 0.2126 * channel(colour.red()) + 0.7152 * channel(colour.green()) + 0.0722 * channel(colour.blue());
}

double contrastRatio(const QColor &a, const QColor &b)
{
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

FocusRing FocusRing::measure(const QImage &focusedImage, const QImage &plainImage)
{
    FocusRing ring;
    const QImage focused = focusedImage.convertToFormat(QImage::Format_RGB32);
    const QImage plain = plainImage.convertToFormat(QImage::Format_RGB32);
    if (focused.size() != plain.size())
        return ring;
    const int width = focused.width();
    const auto at = [width](QPoint p) { return p.y() * width + p.x(); };
    QVector<int> component(width * focused.height(), -1);
    const auto *focusedBits = reinterpret_cast<const QRgb *>(focused.constBits());
    const auto *plainBits = reinterpret_cast<const QRgb *>(plain.constBits());
    // RGB32 without padding: every line is `width` pixels long.
    const auto changed = [&](QPoint p) { return focusedBits[at(p)] != plainBits[at(p)]; };

    // The largest 8-connected run of changed pixels: a cursor that blinks apart from it is left out.
    QVector<QPoint> largest;
    int label = 0;
    for (int y = 0; y < focused.height(); ++y) {
        for (int x = 0; x < width; ++x) {
            const QPoint start(x, y);
            if (component[at(start)] >= 0 || !changed(start))
                continue;
            QVector<QPoint> run{start};
            component[at(start)] = label;
            for (int i = 0; i < run.size(); ++i) {
                for (const QPoint step : kSteps) {
                    const QPoint next = run[i] + step;
                    if (focused.rect().contains(next) && component[at(next)] < 0 && changed(next)) {
                        component[at(next)] = label;
                        run.append(next);
                    }
                }
            }
            if (run.size() > largest.size())
                largest = run;
            ++label;
        }
    }
    if (largest.isEmpty())
        return ring;
    const int ringLabel = component[at(largest.first())];

    ring.found = true;
    QHash<QRgb, int> colours;
    for (const QPoint p : largest) {
        ring.bounds |= QRect(p, QSize(1, 1));
        ++colours[focused.pixel(p)];
    }
    ring.colour = QColor(std::max_element(colours.begin(), colours.end()).key());
    // How much of a pixel the ring covers: how far its colour moved towards the ring's.
    const auto coverage = [&](QPoint p) {
        const QColor a(focusedBits[at(p)]);
        const QColor b(plainBits[at(p)]);
        const double full =
            std::hypot(ring.colour.red() - b.red(), ring.colour.green() - b.green(), ring.colour.blue() - b.blue());
        const double moved = std::hypot(a.red() - b.red(), a.green() - b.green(), a.blue() - b.blue());
        return full > 0 ? std::min(1.0, moved / full) : 0.0;
    };
    // The first run of the ring met walking from `from` by `step`.
    const auto crossing = [&](QPoint from, QPoint step) {
        double width = 0;
        bool inside = false;
        for (QPoint p = from; ring.bounds.contains(p); p += step) {
            const bool member = component[at(p)] == ringLabel;
            if (inside && !member)
                break;
            inside = inside || member;
            width += member ? coverage(p) : 0;
        }
        return width;
    };
    const QPoint centre = ring.bounds.center();
    ring.thickness = std::min({crossing(QPoint(ring.bounds.left(), centre.y()), QPoint(1, 0)),
                               crossing(QPoint(ring.bounds.right(), centre.y()), QPoint(-1, 0)),
                               crossing(QPoint(centre.x(), ring.bounds.top()), QPoint(0, 1)),
                               crossing(QPoint(centre.x(), ring.bounds.bottom()), QPoint(0, -1))});

    int neighbours = 0;
    int atThree = 0;
    ring.lowestNeighbour = 21;
    for (const QPoint p : largest) {
        for (const QPoint step : kSteps) {
            const QPoint next = p + step;
            if (!focused.rect().contains(next) || component[at(next)] == ringLabel || changed(next))
                continue;
            const double ratio = contrastRatio(ring.colour, QColor(focused.pixel(next)));
            ++neighbours;
            atThree += ratio >= 3.0 ? 1 : 0;
            ring.lowestNeighbour = std::min(ring.lowestNeighbour, ratio);
        }
    }
    ring.neighboursAtThree = neighbours ? double(atThree) / neighbours : 1.0;
    return ring;
}

QString FocusRing::describe() const
{
    if (!found)
        return QStringLiteral("no focus indicator");
    return QStringLiteral("ring %1 at %2,%3 %4x%5: %6 px thick, %7 % of its neighbours at 3:1, lowest %8")
        .arg(colour.name())
        .arg(bounds.x())
        .arg(bounds.y())
        .arg(bounds.width())
        .arg(bounds.height())
        .arg(thickness, 0, 'f', 2)
        .arg(100 * neighboursAtThree, 0, 'f', 1)
        .arg(lowestNeighbour, 0, 'f', 2);
}
