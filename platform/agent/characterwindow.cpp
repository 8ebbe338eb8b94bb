#include "characterwindow.h"

#include <QBitmap>
#include <QMouseEvent>
#include <QPainter>

namespace agent
{

namespace
{

// A region that is not empty but lies outside the window: an empty region
// would mean "no mask" and show the whole window.
const QRegion NothingVisible(-1, -1, 1, 1);

} // namespace

CharacterWindow::CharacterWindow(QSize frameSize)
    : QWidget(nullptr,
              Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TranslucentBackground);
    setFocusPolicy(Qt::NoFocus);
    setFixedSize(frameSize);
    setMask(NothingVisible);
}

QRegion CharacterWindow::opaqueRegion(const QImage &frame)
{
    // Half-covered edge pixels go with the character: its outline is dark, so
    // they read as part of the edge.
    const QImage alpha = frame.createAlphaMask(Qt::ThresholdAlphaDither);
    const QRegion region(QBitmap::fromImage(alpha));
    return region.isEmpty() ? NothingVisible : region;
}

void CharacterWindow::setFrame(const QImage &frame)
{
    frame_ = frame;
    setMask(opaqueRegion(frame_));
    update();
}

void CharacterWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(rect(), Qt::transparent);
    painter.drawImage(0, 0, frame_);
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
