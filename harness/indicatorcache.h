// The window shows some forty option-button and check-box indicators, and
// Qt's Fusion style draws each one anew as antialiased paths. The few that
// differ (by state, size and palette) are drawn once into pixmaps and copied.
#pragma once

#include <QHash>
#include <QPixmap>
#include <QProxyStyle>

namespace harness
{

class IndicatorCacheStyle final : public QProxyStyle
{
  public:
    // Takes ownership of base, as QProxyStyle does.
    explicit IndicatorCacheStyle(QStyle *base);

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget) const override;

  private:
    bool drawCached(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                    const QWidget *widget) const;

    struct Key {
        int element;
        uint state;
        int width;
        int height;
        qint64 palette;
        qreal pixelRatio;
        int direction;
        friend bool operator==(const Key &, const Key &) = default;
        friend size_t qHash(const Key &k, size_t seed = 0)
        {
            return qHashMulti(seed, k.element, k.state, k.width, k.height, k.palette, k.pixelRatio,
                              k.direction);
        }
    };
    mutable QHash<Key, QPixmap> drawn_;
};

} // namespace harness
