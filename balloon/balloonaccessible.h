// Screen readers meet a balloon as an alert window, so it is announced when
// it appears, like a message box.
#pragma once

#include <QAccessibleWidget>

namespace balloon
{

class BalloonAccessible : public QAccessibleWidget
{
  public:
    explicit BalloonAccessible(QWidget *balloon);
};

// Registers the factory once per process (per copy of this library).
void installBalloonAccessibility();

} // namespace balloon
