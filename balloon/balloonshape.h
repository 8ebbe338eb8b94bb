// The outline of a balloon window: a rounded box with a tail, or a cloud with
// a trail of bubbles, in the window's own coordinates.
#pragma once

#include "balloonstyle.h"

#include <QMargins>
#include <QPainterPath>
#include <QRegion>

namespace balloon
{

// Room kept on the character's side of the body for the tail or bubbles.
inline constexpr int tailLength = 26;

// Space between the body's outline and its content.
QMargins contentPadding(Shape shape);

// The body inside a window of the given size, leaving the tail room on the
// bottom when the balloon is above the character, else on the top.
QRectF bodyRect(QSizeF window, bool above);

// target: the point the tail aims at, in window coordinates (usually just
// outside the window).
QPainterPath balloonPath(Shape shape, QSizeF window, bool above, QPointF target);

// The window mask for a path drawn with a pen of the given width.
QRegion maskFor(const QPainterPath &path, qreal penWidth);

} // namespace balloon
