#include "coloursampling.h"

#include <climits>
#include <cstdlib>
#include <functional>

namespace harness::verify::sampling
{

namespace
{

constexpr int opaque = 200;

int distance(QRgb pixel, const QColor &colour)
{
    return std::max({std::abs(qRed(pixel) - colour.red()), std::abs(qGreen(pixel) - colour.green()),
                     std::abs(qBlue(pixel) - colour.blue())});
}

// Calls `visit` for each mostly opaque pixel of `area` within the picture.
void forEachOpaque(const QImage &source, QRect area, const std::function<void(int, int, QRgb)> &visit)
{
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    area = area.isEmpty() ? image.rect() : area.intersected(image.rect());
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = area.left(); x <= area.right(); ++x)
            if (qAlpha(line[x]) >= opaque) visit(x, y, line[x]);
    }
}

} // namespace

bool isNear(QRgb pixel, const QColor &colour, int within)
{
    return distance(pixel, colour) <= within;
}

int countNear(const QImage &image, const QColor &colour, QRect area)
{
    int count = 0;
    forEachOpaque(image, area, [&](int, int, QRgb p) { count += isNear(p, colour) ? 1 : 0; });
    return count;
}

int countUnlike(const QImage &image, const QColor &colour, QRect area)
{
    int count = 0;
    forEachOpaque(image, area, [&](int, int, QRgb p) { count += isNear(p, colour) ? 0 : 1; });
    return count;
}

QRect boundsOf(const QImage &image, const QColor &colour, QRect area)
{
    QRect bounds;
    forEachOpaque(image, area, [&](int x, int y, QRgb p) {
        if (isNear(p, colour)) bounds |= QRect(x, y, 1, 1);
    });
    return bounds;
}

QRect boundsUnlike(const QImage &image, const QColor &colour, QRect area)
{
    QRect bounds;
    forEachOpaque(image, area, [&](int x, int y, QRgb p) {
        if (!isNear(p, colour)) bounds |= QRect(x, y, 1, 1);
    });
    return bounds;
}

QList<int> rowsUnlike(const QImage &image, const QColor &colour, QRect area, double share)
{
    QList<int> rows;
    for (int y = area.top(); y <= area.bottom(); ++y)
        if (countUnlike(image, colour, QRect(area.left(), y, area.width(), 1)) >= share * area.width())
            rows.append(y);
    return rows;
}

QColor nearestTo(const QImage &image, const QColor &colour, QRect area)
{
    QRgb best = 0;
    int bestDistance = INT_MAX;
    forEachOpaque(image, area, [&](int, int, QRgb p) {
        const int d = distance(p, colour);
        if (d < bestDistance) {
            bestDistance = d;
            best = p;
        }
    });
    return bestDistance == INT_MAX ? QColor() : QColor(best);
}

QString nameOf(const QColor &colour)
{
    return colour.isValid() ? colour.name() : QStringLiteral("nothing opaque");
}

} // namespace harness::verify::sampling
