#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>

// Colour contrast as the accessibility guidelines define it: (L1 + 0.05) / (L2 + 0.05) of the
// relative luminances, from 1 (the same) to 21 (black on white).
double relativeLuminance(const QColor &colour);
double contrastRatio(const QColor &a, const QColor &b);

// A focus indicator as a screenshot shows it: the largest connected run of pixels that differ
// between a grab with the keyboard focus on a control (`focused`) and one without (`plain`).
struct FocusRing
{
    // Nothing differs: no indicator at all.
    bool found = false;
    QRect bounds;
    // Its most frequent colour.
    QColor colour;
    // Its width in pixels where the lines through its middle cross it, the narrowest of the
    // four; a pixel the ring covers in part counts in part (antialiased edges).
    double thickness = 0;
    // The share of the unchanged pixels next to it that stand at 3:1 or more to its colour, and
    // the lowest contrast among them.
    double neighboursAtThree = 0;
    double lowestNeighbour = 0;

    static FocusRing measure(const QImage &focused, const QImage &plain);
    QString describe() const;
};
