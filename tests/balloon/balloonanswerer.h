// Answers a modal balloon from inside its nested event loop, so a test that
// calls a modal method never blocks: the balloon driver looks for the window
// that came up after the answerer was made, acts on it once, and closes it by
// force if the action did not within a few seconds (then failed() tells).
// The actions themselves click and type as a person does.
#pragma once

#include "platform/balloondriver/balloondriver.h"

#include <functional>

class QWidget;

class BalloonAnswerer
{
  public:
    using Action = std::function<void(QWidget *balloon)>;

    explicit BalloonAnswerer(Action action);

    bool acted() const { return answerer_.appeared(); }
    bool failed() const { return answerer_.forcedClose(); }

    // The reference component's visible balloon window, if any.
    static QWidget *findBalloon();

    // Common actions.
    static Action clickButton(const QString &keyName); // "Ok", "YesForAll"
    // Presses a button the way a screen reader does, through its
    // accessibility interface's press action.
    static Action pressAccessibly(const QString &keyName);
    static Action pressKey(Qt::Key key);
    static Action typeThenKey(const QString &text, Qt::Key key);
    static Action typeThenClick(const QString &text, const QString &keyName);
    static Action keysInLabels(QList<Qt::Key> keys);
    static Action clickBalloon();

  private:
    balloondriver::BalloonDriver driver_; // made first: it remembers the windows already up
    balloondriver::ModalAnswerer answerer_;
};
