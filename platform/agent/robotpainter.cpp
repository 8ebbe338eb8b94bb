#include "robotpainter.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <array>

namespace agent
{

namespace
{

// The robot is designed on a 128 x 128 canvas and scaled to the frame.
constexpr qreal DesignSize = 128.0;
constexpr QPointF FeetPoint{64.0, 120.0};
constexpr QPointF BodyCentre{64.0, 72.0};
constexpr qreal BodyRadius = 38.0;
constexpr QPointF AntennaBase{64.0, 36.0};

// A dark outline on every shape: without a compositor the window mask is
// all-or-nothing, and a dark edge hides the half-covered pixels it keeps.
const QColor Outline{0x14, 0x20, 0x2e};
constexpr qreal OutlineWidth = 2.5;

QPen outlinePen()
{
    return QPen(Outline, OutlineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void paintFeet(QPainter &p)
{
    p.setPen(outlinePen());
    p.setBrush(QColor(0x3a, 0x4a, 0x5c));
    p.drawRoundedRect(QRectF(42, 106, 18, 13), 5, 5);
    p.drawRoundedRect(QRectF(68, 106, 18, 13), 5, 5);
}

void paintArms(QPainter &p)
{
    p.setPen(outlinePen());
    p.setBrush(QColor(0x2f, 0x7f, 0xd0));
    p.drawEllipse(QPointF(24, 82), 7, 12);
    p.drawEllipse(QPointF(104, 82), 7, 12);
}

void paintAntenna(QPainter &p, const RobotPose &pose)
{
    p.save();
    p.translate(AntennaBase);
    p.rotate(pose.antennaTilt);
    p.setPen(QPen(Outline, 3.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(0, 2), QPointF(0, -18));
    QRadialGradient light(QPointF(-1.5, -23.5), 7);
    const QColor warm = QColor(0xff, 0xb3, 0x2e).lighter(100 + int(40 * pose.glow));
    light.setColorAt(0, QColor(0xff, 0xf4, 0xc8));
    light.setColorAt(0.45 - 0.25 * pose.glow, warm);
    light.setColorAt(1, QColor(0xe0, 0x6a, 0x10));
    p.setPen(outlinePen());
    p.setBrush(light);
    p.drawEllipse(QPointF(0, -22), 6, 6);
    p.restore();
}

void paintBody(QPainter &p)
{
    QRadialGradient shade(BodyCentre + QPointF(-14, -18), BodyRadius * 1.5);
    shade.setColorAt(0, QColor(0xb8, 0xe6, 0xff));
    shade.setColorAt(0.35, QColor(0x4d, 0xa3, 0xf0));
    shade.setColorAt(1, QColor(0x1b, 0x4e, 0x96));
    p.setPen(outlinePen());
    p.setBrush(shade);
    p.drawEllipse(BodyCentre, BodyRadius, BodyRadius);

    p.setBrush(QColor(0xff, 0x9f, 0x1c));
    p.drawEllipse(QPointF(64, 98), 4.5, 4.5);
}

void paintVisor(QPainter &p)
{
    const QRectF visor(37, 48, 54, 34);
    QLinearGradient glass(visor.topLeft(), visor.bottomLeft());
    glass.setColorAt(0, QColor(0x23, 0x41, 0x5e));
    glass.setColorAt(1, QColor(0x0e, 0x1c, 0x2b));
    p.setPen(outlinePen());
    p.setBrush(glass);
    p.drawRoundedRect(visor, 13, 13);
}

void paintEye(QPainter &p, QPointF centre, const RobotPose &pose)
{
    const QColor iris(0x6f, 0xf3, 0xff);
    const qreal open = std::clamp(pose.eyeOpen, 0.0, 1.0);
    if (open < 0.15) {
        p.setPen(QPen(iris, 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(centre + QPointF(-5, 0), centre + QPointF(5, 0));
        return;
    }
    p.setPen(Qt::NoPen);
    p.setBrush(iris);
    p.drawEllipse(centre, 5.0, 7.0 * open);
    p.setBrush(Qt::white);
    p.drawEllipse(centre + QPointF(-1.6, -2.5 * open), 1.6, 1.6 * open + 0.4);
}

// Width and opening of each speaking mouth, in design pixels, in the order
// of the mouth shapes: closed, four ever wider, medium, narrow.
constexpr std::array<QSizeF, acs::mouthShapeCount> MouthSizes{
    {{14, 0}, {14, 2.5}, {14, 4.5}, {15, 6.5}, {15, 9}, {11, 5}, {6, 6}}};

void paintSpeakingMouth(QPainter &p, QPointF centre, acs::MouthShape shape)
{
    const QSizeF size = MouthSizes[size_t(shape)];
    p.setPen(QPen(QColor(0x6f, 0xf3, 0xff), 2.0, Qt::SolidLine, Qt::RoundCap));
    if (size.height() <= 0) {
        p.drawLine(centre - QPointF(size.width() / 2, 0), centre + QPointF(size.width() / 2, 0));
        return;
    }
    p.setBrush(QColor(0x1f, 0x7f, 0x99));
    p.drawEllipse(centre, size.width() / 2, size.height() / 2);
}

void paintSmile(QPainter &p, QPointF look, qreal smile)
{
    QPainterPath mouth;
    const QPointF left = QPointF(57, 73) + look * 0.5;
    const QPointF right = QPointF(71, 73) + look * 0.5;
    mouth.moveTo(left);
    mouth.quadTo((left + right) / 2 + QPointF(0, 6.0 * smile), right);
    p.setPen(QPen(QColor(0x6f, 0xf3, 0xff), 2.0, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(mouth);
}

void paintFace(QPainter &p, const RobotPose &pose)
{
    const QPointF look(6.0 * std::clamp(pose.lookX, -1.0, 1.0), 4.0 * std::clamp(pose.lookY, -1.0, 1.0));
    paintEye(p, QPointF(53, 62) + look, pose);
    paintEye(p, QPointF(75, 62) + look, pose);

    if (pose.mouth) {
        paintSpeakingMouth(p, QPointF(64, 75) + look * 0.5, *pose.mouth);
    } else {
        paintSmile(p, look, pose.smile);
    }

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xff, 0x8f, 0xa8));
    p.drawEllipse(QPointF(40, 90), 5, 3.5);
    p.drawEllipse(QPointF(88, 90), 5, 3.5);
}

} // namespace

QImage paintRobot(const RobotPose &pose, QSize size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (pose.scale <= 0.0 || size.isEmpty()) return image;

    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size.width() / DesignSize, size.height() / DesignSize);
    p.translate(FeetPoint.x(), FeetPoint.y() - pose.lift);
    p.scale(pose.scale, pose.scale);
    p.translate(-FeetPoint);

    paintFeet(p);
    paintArms(p);
    paintAntenna(p, pose);
    paintBody(p);
    paintVisor(p);
    paintFace(p, pose);
    return image;
}

} // namespace agent
