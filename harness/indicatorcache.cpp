#include "indicatorcache.h"

#include <QPaintDevice>
#include <QStyleOption>

#include <QPainter>
#include <cmath>

namespace harness
{
namespace
{

// Palettes come and go (every colour picked makes one); past this many
// indicators the oldest set is simply dropped.
constexpr qsizetype MaxIndicators = 64;

bool isIndicator(QStyle::PrimitiveElement element)
{
    return element == QStyle::PE_IndicatorRadioButton || element == QStyle::PE_IndicatorCheckBox;
}

} // namespace

IndicatorCacheStyle::IndicatorCacheStyle(QStyle *base) : QProxyStyle(base) {}

void IndicatorCacheStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option,
                                        QPainter *painter, const QWidget *widget) const
{
    if (!isIndicator(element) || !drawCached(element, option, painter, widget))
        QProxyStyle::drawPrimitive(element, option, painter, widget);
}

bool IndicatorCacheStyle::drawCached(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                                     const QWidget *widget) const
{
    // A copy equals drawing in place only when it is put down pixel for pixel.
    const QTransform &moved = painter->transform();
    if (!option || option->rect.isEmpty() || !painter->device() || moved.type() > QTransform::TxTranslate ||
        moved.dx() != std::round(moved.dx()) || moved.dy() != std::round(moved.dy()) ||
        painter->opacity() != 1.0 || painter->compositionMode() != QPainter::CompositionMode_SourceOver)
        return false;
    const qreal ratio = painter->device()->devicePixelRatio();
    const Key key{int(element),          uint(option->state),        option->rect.width(),
                  option->rect.height(), option->palette.cacheKey(), ratio,
                  int(option->direction)};
    auto found = drawn_.constFind(key);
    if (found == drawn_.constEnd()) {
        QPixmap pixmap(option->rect.size() * ratio);
        pixmap.setDevicePixelRatio(ratio);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.translate(-option->rect.topLeft());
        QProxyStyle::drawPrimitive(element, option, &p, widget);
        p.end();
        if (drawn_.size() >= MaxIndicators) drawn_.clear();
        found = drawn_.insert(key, pixmap);
    }
    painter->drawPixmap(option->rect.topLeft(), *found);
    return true;
}

} // namespace harness
