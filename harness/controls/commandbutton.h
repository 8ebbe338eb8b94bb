// A command button whose caption wraps between words when one line is too
// narrow for it, as the fixed layout's taller buttons expect.
#pragma once

#include <QPushButton>

namespace harness
{

class CommandButton : public QPushButton
{
    Q_OBJECT
  public:
    CommandButton(const QString &caption, QWidget *parent);
    // Where the caption is drawn, and how it is laid out there.
    QRect captionRoom() const;
    int captionFlags() const;

  protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace harness
