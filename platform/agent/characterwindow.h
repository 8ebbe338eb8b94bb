// The character's own window: no frame, never takes the focus, and shows
// nothing but the character's pixels. The mask does the cutting out, because
// without a compositor a translucent window would show black around it.
// The user can drag the character around with the mouse. The character stays
// above the program's ordinary windows even where no window manager keeps
// "stays on top" windows there.
//
// On a high-density screen the frame is enlarged by a whole number of device
// pixels per character pixel, without smoothing: the screen's ratio rounded
// to the nearest whole number (at least 1). Frame coordinates below are the
// character's own pixels; the window's size follows the enlargement.
#pragma once

#include <QImage>
#include <QPoint>
#include <QWidget>

#include <optional>

namespace agent
{

class CharacterWindow : public QWidget
{
    Q_OBJECT
  public:
    explicit CharacterWindow(QSize frameSize);

    void setFrame(const QImage &frame);
    const QImage &frame() const { return frame_; }
    // Device pixels per character pixel on the window's current screen.
    int pixelScale() const;

    // The region of opaque pixels of a frame; outside it the window is cut away.
    static QRegion opaqueRegion(const QImage &frame);

  signals:
    // A right-click on the character, at this screen position.
    void menuRequested(const QPoint &globalPos);

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

  private:
    // Sizes the window, enlarges the frame and cuts the mask for the screen.
    void fitToScreen();

    QSize frameSize_;
    QImage frame_;
    QImage shown_; // frame_ enlarged, in device pixels
    std::optional<QPoint> grabOffset_;
};

} // namespace agent
