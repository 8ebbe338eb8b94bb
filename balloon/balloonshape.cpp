#include "balloonshape.h"

#include <QPainterPathStroker>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

namespace balloon
{

namespace
{

constexpr qreal cornerRadius = 14;
constexpr qreal tailBase = 22;
constexpr qreal bumpRadius = 14;
constexpr qreal edgeInset = 1.5; // keeps the pen inside the window

// Where the tail leaves the body's edge facing the character.
QPointF tailRoot(const QRectF &body, bool above, qreal tipX)
{
    const qreal margin = cornerRadius + tailBase / 2 + 2;
    const qreal toward = tipX < body.center().x() ? tailBase : -tailBase;
    const qreal low = body.left() + margin;
    const qreal high = std::max(low, body.right() - margin);
    return {std::clamp(tipX + toward, low, high), above ? body.bottom() : body.top()};
}

QPointF tailTip(QSizeF window, bool above, QPointF target)
{
    const qreal x = std::clamp(target.x(), edgeInset, window.width() - edgeInset);
    return {x, above ? window.height() - edgeInset : edgeInset};
}

QPainterPath arrowPath(const QRectF &body, QPointF tip, bool above)
{
    QPainterPath box;
    box.addRoundedRect(body, cornerRadius, cornerRadius);
    const QPointF root = tailRoot(body, above, tip.x());
    // The base sinks a little into the box so the union has no seam.
    const qreal sink = above ? -2 : 2;
    QPainterPath tail;
    tail.moveTo(root.x() - tailBase / 2, root.y() + sink);
    tail.lineTo(tip);
    tail.lineTo(root.x() + tailBase / 2, root.y() + sink);
    tail.closeSubpath();
    return box.united(tail).simplified();
}

// Circles along the edge of a rounded box, their outer sides forming the
// cloud's bumps.
QPainterPath cloudPath(const QRectF &body)
{
    const QRectF core = body.adjusted(bumpRadius, bumpRadius, -bumpRadius, -bumpRadius);
    QPainterPath cloud;
    cloud.setFillRule(Qt::WindingFill);
    cloud.addRoundedRect(core, bumpRadius, bumpRadius);
    const auto addBumps = [&](QPointF from, QPointF to) {
        const qreal length = std::hypot(to.x() - from.x(), to.y() - from.y());
        const int count = std::max(1, int(std::ceil(length / (bumpRadius * 1.5))));
        for (int i = 0; i <= count; ++i) {
            const QPointF c = from + (to - from) * (qreal(i) / count);
            cloud.addEllipse(c, bumpRadius, bumpRadius);
        }
    };
    addBumps(core.topLeft(), core.topRight());
    addBumps(core.topRight(), core.bottomRight());
    addBumps(core.bottomRight(), core.bottomLeft());
    addBumps(core.bottomLeft(), core.topLeft());
    return cloud.simplified();
}

QPainterPath bubbleTrail(const QRectF &body, QPointF tip, bool above)
{
    const QPointF root = tailRoot(body, above, tip.x());
    QPainterPath trail;
    constexpr qreal radii[] = {6.5, 4.5, 3};
    constexpr qreal positions[] = {0.2, 0.55, 0.85};
    for (int i = 0; i < 3; ++i) {
        const QPointF c = root + (tip - root) * positions[i];
        trail.addEllipse(c, radii[i], radii[i]);
    }
    return trail;
}

} // namespace

QMargins contentPadding(Shape shape)
{
    const int p = shape == Shape::Think ? 22 : 12;
    return {p, p, p, p};
}

QRectF bodyRect(QSizeF window, bool above)
{
    QRectF r(QPointF(0, 0), window);
    r.adjust(edgeInset, edgeInset, -edgeInset, -edgeInset);
    return above ? r.adjusted(0, 0, 0, -tailLength) : r.adjusted(0, tailLength, 0, 0);
}

QPainterPath balloonPath(Shape shape, QSizeF window, bool above, QPointF target)
{
    const QRectF body = bodyRect(window, above);
    const QPointF tip = tailTip(window, above, target);
    if (shape == Shape::Think) {
        QPainterPath path = cloudPath(body);
        path.addPath(bubbleTrail(body, tip, above));
        return path;
    }
    return arrowPath(body, tip, above);
}

QRegion maskFor(const QPainterPath &path, qreal penWidth)
{
    QPainterPathStroker stroker;
    stroker.setWidth(penWidth + 2);
    QPainterPath covered = path;
    covered.addPath(stroker.createStroke(path));
    covered.setFillRule(Qt::WindingFill);
    QRegion region;
    for (const QPolygonF &polygon : covered.toFillPolygons())
        region += QRegion(polygon.toPolygon(), Qt::WindingFill);
    return region;
}

} // namespace balloon
