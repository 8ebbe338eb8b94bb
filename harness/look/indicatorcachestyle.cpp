#include "indicatorcachestyle.h"

#include "pngresource.h"

#include <QGroupBox>
#include <QPaintDevice>
#include <QPainter>
#include <QStyleOption>
#include <qdrawutil.h>

#include <algorithm>
#include <cmath>

namespace harness
{
namespace
{

// Palettes come and go (every colour picked makes one); past this many
// copies they are all dropped and drawn anew as needed.
constexpr qsizetype MaxIndicators = 64;

// Fusion's frame picture and its geometry: the picture's border is 6 pixels
// wide, and the frame starts 3 pixels below the title.
const QString FusionGroupBoxFrame =
    QStringLiteral(":/qt-project.org/styles/commonstyle/images/fusion_groupbox.png");
constexpr int GroupBoxTopMargin = 3;
constexpr int GroupBoxBorder = 6;

bool isIndicator(QStyle::PrimitiveElement element)
{
    return element == QStyle::PE_IndicatorRadioButton || element == QStyle::PE_IndicatorCheckBox;
}

} // namespace

IndicatorCacheStyle::IndicatorCacheStyle(QStyle *base)
    : QProxyStyle(base),
      fusion_(baseStyle()->name().compare(QLatin1String("fusion"), Qt::CaseInsensitive) == 0)
{
}

void IndicatorCacheStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option,
                                        QPainter *painter, const QWidget *widget) const
{
    if (element == PE_FrameGroupBox && fusion_ && option)
        drawGroupBoxFrame(option, painter, widget);
    else if (!isIndicator(element) || !drawIndicatorCopy(element, option, painter, widget))
        QProxyStyle::drawPrimitive(element, option, painter, widget);
}

void IndicatorCacheStyle::drawGroupBoxFrame(const QStyleOption *option, QPainter *painter,
                                            const QWidget *widget) const
{
    if (groupBoxFrame_.isNull()) groupBoxFrame_ = QPixmap::fromImage(readPng(FusionGroupBoxFrame));
    // A box without title or check box needs no room above its frame.
    const auto *box = qobject_cast<const QGroupBox *>(widget);
    const int top = box && !box->isCheckable() && box->title().isEmpty()
                        ? GroupBoxTopMargin
                        : std::max(pixelMetric(PM_ExclusiveIndicatorHeight, option, widget),
                                   option->fontMetrics.height()) +
                              GroupBoxTopMargin;
    const QMargins border(GroupBoxBorder, GroupBoxBorder, GroupBoxBorder, GroupBoxBorder);
    qDrawBorderPixmap(painter, option->rect.adjusted(0, top, 0, 0), border, groupBoxFrame_);
}

bool IndicatorCacheStyle::drawIndicatorCopy(PrimitiveElement element, const QStyleOption *option,
                                            QPainter *painter, const QWidget *widget) const
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
    auto found = indicators_.constFind(key);
    if (found == indicators_.constEnd()) {
        QPixmap pixmap(option->rect.size() * ratio);
        pixmap.setDevicePixelRatio(ratio);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.translate(-option->rect.topLeft());
        QProxyStyle::drawPrimitive(element, option, &p, widget);
        p.end();
        if (indicators_.size() >= MaxIndicators) indicators_.clear();
        found = indicators_.insert(key, pixmap);
    }
    painter->drawPixmap(option->rect.topLeft(), *found);
    return true;
}

} // namespace harness
