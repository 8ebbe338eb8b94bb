// The application's style, drawing what it draws with less work: each
// distinct option-button and check-box indicator (the window shows some
// forty, and Fusion draws each anew as antialiased paths) is drawn once into
// a pixmap and copied; Fusion's frame picture for group boxes is read without
// loading Qt's image plugins. The pixels stay those of the style underneath.
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
    bool drawIndicatorCopy(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                           const QWidget *widget) const;
    void drawGroupBoxFrame(const QStyleOption *option, QPainter *painter, const QWidget *widget) const;

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
    mutable QHash<Key, QPixmap> indicators_;
    const bool fusion_;
    mutable QPixmap groupBoxFrame_;
};

} // namespace harness
