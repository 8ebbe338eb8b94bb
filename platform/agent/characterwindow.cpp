#include "characterwindow.h"

#include "platform/balloondriver/ownwindow.h"

#include <QBitmap>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QtMath>

#include <algorithm>

namespace agent
{

namespace
{

// A region that is not empty but lies outside the window: an empty region
// would mean "no mask" and show the whole window.
const QRegion NothingVisible(-1, -1, 1, 1);

// The offscreen platform has neither masks nor a stacking order; asking it
// for them (showing a tool window raises it) only prints warnings.
bool platformStacksWindows()
{
    return QGuiApplication::platformName() != QLatin1String("offscreen");
}

} // namespace

CharacterWindow::CharacterWindow(QSize frameSize)
    : QWidget(nullptr, (platformStacksWindows() ? Qt::Tool : Qt::Window) | Qt::FramelessWindowHint |
                           Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus)
{
    balloondriver::markOwnWindow(this);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TranslucentBackground);
    setFocusPolicy(Qt::NoFocus);
    frameSize_ = frameSize;
    fitToScreen();
    if (!platformStacksWindows()) return;
    setMask(NothingVisible);
    QCoreApplication::instance()->installEventFilter(this);
}

bool CharacterWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Show || !isVisible()) return false;
    const auto *widget = qobject_cast<const QWidget *>(watched);
    if (!widget || widget == this || !widget->isWindow()) return false;
    // Ordinary windows go beneath the character; it never raises itself over
    // dialogs and message boxes, nor over balloons, menus and tips. The show
    // event comes before the window is on the screen, so raise once it is.
    if (widget->windowType() == Qt::Window)
        QMetaObject::invokeMethod(this, &QWidget::raise, Qt::QueuedConnection);
    return false;
}

QRegion CharacterWindow::opaqueRegion(const QImage &frame)
{
    // Half-covered edge pixels go with the character: its outline is dark, so
    // they read as part of the edge.
    const QImage alpha = frame.createAlphaMask(Qt::ThresholdAlphaDither);
    const QRegion region(QBitmap::fromImage(alpha));
    return region.isEmpty() ? NothingVisible : region;
}

int CharacterWindow::pixelScale() const
{
    return std::max(1, qRound(devicePixelRatioF()));
}

void CharacterWindow::setFrame(const QImage &frame)
{
    frame_ = frame;
    fitToScreen();
    update();
}

void CharacterWindow::fitToScreen()
{
    const qreal ratio = devicePixelRatioF();
    const int scale = pixelScale();
    // Logical units per character pixel: exactly 1 at a whole ratio.
    const qreal unit = scale / ratio;
    setFixedSize(qCeil(frameSize_.width() * unit), qCeil(frameSize_.height() * unit));
    if (frame_.isNull()) return;
    shown_ = scale == 1 ? frame_
                        : frame_.scaled(frame_.size() * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    shown_.setDevicePixelRatio(ratio);
    if (!platformStacksWindows()) return;
    const QRegion region = opaqueRegion(frame_);
    setMask(qFuzzyCompare(unit, 1.0) ? region : QTransform::fromScale(unit, unit).map(region));
}

bool CharacterWindow::event(QEvent *event)
{
    // Moving to a screen of another density changes the enlargement.
    if (event->type() == QEvent::ScreenChangeInternal) fitToScreen();
    return QWidget::event(event);
}

void CharacterWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(rect(), Qt::transparent);
    // One image pixel per device pixel: no smoothing can creep in.
    painter.drawImage(0, 0, shown_);
}

void CharacterWindow::contextMenuEvent(QContextMenuEvent *event)
{
    emit menuRequested(event->globalPos());
}

void CharacterWindow::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) grabOffset_ = event->globalPosition().toPoint() - pos();
}

void CharacterWindow::mouseMoveEvent(QMouseEvent *event)
{
    if (grabOffset_ && (event->buttons() & Qt::LeftButton))
        move(event->globalPosition().toPoint() - *grabOffset_);
}

void CharacterWindow::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) grabOffset_.reset();
}

} // namespace agent
