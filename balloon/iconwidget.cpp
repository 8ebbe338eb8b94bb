#include "iconwidget.h"

#include <QPainter>
#include <QPainterPath>

namespace balloon
{

namespace
{

void paintGlyph(QPainter &p, const QRectF &box, const QString &glyph, const QColor &color, qreal scale = 0.62)
{
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(std::max(1, int(box.height() * scale)));
    p.setFont(font);
    p.setPen(color);
    p.drawText(box, Qt::AlignCenter, glyph);
}

void paintDisc(QPainter &p, const QRectF &box, const QColor &fill, const QString &glyph)
{
    const QRectF disc = box.adjusted(1, 1, -1, -1);
    p.setPen(QPen(fill.darker(130), 1.2));
    p.setBrush(fill);
    p.drawEllipse(disc);
    paintGlyph(p, disc, glyph, Qt::white);
}

void paintWarning(QPainter &p, const QRectF &box)
{
    const QRectF b = box.adjusted(1, 2, -1, -1);
    QPainterPath triangle;
    triangle.moveTo(b.center().x(), b.top());
    triangle.lineTo(b.bottomRight());
    triangle.lineTo(b.bottomLeft());
    triangle.closeSubpath();
    p.setPen(QPen(QColor(0x9a, 0x6a, 0x00), 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(0xff, 0xc8, 0x1e));
    p.drawPath(triangle);
    paintGlyph(p, b.adjusted(0, b.height() * 0.25, 0, 0), QStringLiteral("!"), Qt::black, 0.8);
}

void paintDanger(QPainter &p, const QRectF &box)
{
    paintDisc(p, box, QColor(0xd3, 0x2f, 0x2f), QString());
    const QRectF cross =
        box.adjusted(box.width() * 0.32, box.height() * 0.32, -box.width() * 0.32, -box.height() * 0.32);
    p.setPen(QPen(Qt::white, box.width() * 0.11, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(cross.topLeft(), cross.bottomRight());
    p.drawLine(cross.topRight(), cross.bottomLeft());
}

void paintTips(QPainter &p, const QRectF &box)
{
    const qreal w = box.width();
    const QRectF bulb(box.left() + w * 0.2, box.top() + w * 0.05, w * 0.6, w * 0.6);
    p.setPen(QPen(QColor(0xb0, 0x8a, 0x00), 1.2));
    p.setBrush(QColor(0xff, 0xe0, 0x4a));
    p.drawEllipse(bulb);
    const QRectF base(box.left() + w * 0.36, bulb.bottom() - w * 0.04, w * 0.28, w * 0.26);
    p.setPen(QPen(QColor(0x55, 0x55, 0x55), 1));
    p.setBrush(QColor(0x9e, 0x9e, 0x9e));
    p.drawRoundedRect(base, 2, 2);
    p.drawLine(QPointF(base.left(), base.center().y()), QPointF(base.right(), base.center().y()));
}

void paintCustom(QPainter &p, const QRectF &box, const QImage &image)
{
    const QSizeF fitted = QSizeF(image.size()).scaled(box.size(), Qt::KeepAspectRatio);
    QRectF target(QPointF(0, 0), fitted);
    target.moveCenter(box.center());
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(target, image);
}

} // namespace

void paintIcon(QPainter &painter, const QRectF &box, IconType type, const QImage &custom)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    switch (type) {
    case IconType::None:
        break;
    case IconType::Tips:
        paintTips(painter, box);
        break;
    case IconType::Inform:
        paintDisc(painter, box, QColor(0x1e, 0x6f, 0xd9), QStringLiteral("i"));
        break;
    case IconType::Warning:
        paintWarning(painter, box);
        break;
    case IconType::Question:
        paintDisc(painter, box, QColor(0x2e, 0x8b, 0x57), QStringLiteral("?"));
        break;
    case IconType::Danger:
        paintDanger(painter, box);
        break;
    case IconType::Custom:
        paintCustom(painter, box, custom);
        break;
    }
    painter.restore();
}

IconWidget::IconWidget(IconType type, const QImage &custom, QWidget *parent)
    : QWidget(parent), type_(type), custom_(custom)
{
    setFixedSize(iconSize, iconSize);
    setAttribute(Qt::WA_TranslucentBackground);
    setAccessibleName(QStringLiteral("Icon"));
}

bool IconWidget::hasIcon(IconType type, const QImage &custom)
{
    return type != IconType::None && (type != IconType::Custom || !custom.isNull());
}

QSize IconWidget::sizeHint() const
{
    return {iconSize, iconSize};
}

void IconWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintIcon(painter, QRectF(rect()), type_, custom_);
}

} // namespace balloon
