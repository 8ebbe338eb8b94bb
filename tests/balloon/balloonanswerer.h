// Answers a modal balloon from inside its nested event loop, so a test that
// calls a modal method never blocks: a zero-interval timer looks for the
// balloon window, acts on it once, and closes it by force if the action did
// not within a few seconds (then failed() tells).
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>

class QWidget;

class BalloonAnswerer : public QObject
{
  public:
    using Action = std::function<void(QWidget *balloon)>;

    explicit BalloonAnswerer(Action action);

    bool acted() const { return acted_; }
    bool failed() const { return failed_; }

    // The visible balloon window, if any.
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
    void poll();

    Action action_;
    QTimer timer_;
    bool acted_ = false;
    bool failed_ = false;
    QElapsedTimer sinceAction_;
};
