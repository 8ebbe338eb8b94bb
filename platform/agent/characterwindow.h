// The character's own window: no frame, never takes the focus, and shows
// nothing but the character's pixels. The mask does the cutting out, because
// without a compositor a translucent window would show black around it.
// The user can drag the character around with the mouse. The character stays
// above the program's ordinary windows even where no window manager keeps
// "stays on top" windows there.
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

    // The region of opaque pixels of a frame; outside it the window is cut away.
    static QRegion opaqueRegion(const QImage &frame);

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

  private:
    QImage frame_;
    std::optional<QPoint> grabOffset_;
};

} // namespace agent
