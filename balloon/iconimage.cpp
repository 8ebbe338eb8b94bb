#include "iconimage.h"

#include <algorithm>

namespace balloon
{

namespace
{

bool isIndexed(QImage::Format format)
{
    return format == QImage::Format_Mono || format == QImage::Format_MonoLSB ||
           format == QImage::Format_Indexed8;
}

QSize drawnSize(QSize picture)
{
    if (picture.width() <= drawnIconLimit && picture.height() <= drawnIconLimit) return picture;
    return picture.scaled(drawnIconLimit, drawnIconLimit, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
}

// Every index the format can hold gets a colour: the picture's own where it
// has one.
QList<QRgb> completeColourTable(const QImage &picture)
{
    QList<QRgb> table = picture.colorTable();
    const int needed = picture.format() == QImage::Format_Indexed8 ? 256 : 2;
    for (auto i = int(table.size()); i < needed; ++i)
        table.append(needed == 2 ? (i == 0 ? qRgb(255, 255, 255) : qRgb(0, 0, 0)) : qRgb(i, i, i));
    return table;
}

// Nearest-neighbour sampling by index: reads only the pixels it keeps and
// never looks an index up outside the completed table.
QImage sampleIndexed(const QImage &picture, QSize size)
{
    const QList<QRgb> table = completeColourTable(picture);
    QImage out(size, QImage::Format_ARGB32);
    if (out.isNull()) return out;
    for (int y = 0; y < size.height(); ++y) {
        const int sy = int(qint64(y) * picture.height() / size.height());
        auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const int sx = int(qint64(x) * picture.width() / size.width());
            line[x] = table[picture.pixelIndex(sx, sy)];
        }
    }
    return out;
}

// A fast reduction to a small multiple of the target first keeps a huge
// picture from costing a smooth pass over every one of its pixels.
QImage scaleDirect(const QImage &picture, QSize size)
{
    if (picture.size() == size) return picture;
    QImage reduced = picture;
    if (picture.width() > 4 * size.width() || picture.height() > 4 * size.height())
        reduced = picture.scaled(size * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    return reduced.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace

QImage drawableIcon(const QImage &picture)
{
    if (picture.isNull() || picture.format() == QImage::Format_Invalid) return {};
    const QSize size = drawnSize(picture.size());
    const QImage sized =
        isIndexed(picture.format()) ? sampleIndexed(picture, size) : scaleDirect(picture, size);
    return sized.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace balloon
