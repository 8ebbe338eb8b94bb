// Turning whatever picture a caller puts as the custom icon into an image
// that is always safe and cheap to paint.
#pragma once

#include <QImage>

namespace balloon
{

// The icon is never drawn larger than this many pixels a side (a 32 pixel
// icon at four device pixels per pixel); bigger pictures are scaled down once.
inline constexpr int drawnIconLimit = 128;

// The picture as premultiplied ARGB, at most drawnIconLimit a side. Indexed
// pictures whose colour table is missing or short get grey levels (black and
// white for one bit) for the missing entries. A null picture stays null.
QImage drawableIcon(const QImage &picture);

} // namespace balloon
