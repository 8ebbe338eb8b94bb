// Reads colours out of a balloon's picture: how many pixels come near a
// colour, where they lie, and what came nearest when none did. Antialiased
// edges blend into their background, so a colour is matched within a
// tolerance and only on pixels that are mostly opaque.
#pragma once

#include <QColor>
#include <QImage>
#include <QList>
#include <QRect>

namespace harness::verify::sampling
{

inline constexpr int tolerance = 24; // per channel

bool isNear(QRgb pixel, const QColor &colour, int within = tolerance);

// Pixels of `area` (the whole picture when empty) near `colour`.
int countNear(const QImage &image, const QColor &colour, QRect area = {});
// Pixels of `area` that are opaque and not near `colour`.
int countUnlike(const QImage &image, const QColor &colour, QRect area = {});
// The bounding rectangle of the pixels near `colour`; empty when none.
QRect boundsOf(const QImage &image, const QColor &colour, QRect area = {});
// The bounding rectangle of the opaque pixels not near `colour`.
QRect boundsUnlike(const QImage &image, const QColor &colour, QRect area = {});
// Rows of `area` in which at least `share` of the pixels are opaque and not
// near `colour`.
QList<int> rowsUnlike(const QImage &image, const QColor &colour, QRect area, double share);
// The opaque colour nearest to `colour`, for saying what was found instead.
QColor nearestTo(const QImage &image, const QColor &colour, QRect area = {});

// "#rrggbb".
QString nameOf(const QColor &colour);

} // namespace harness::verify::sampling
