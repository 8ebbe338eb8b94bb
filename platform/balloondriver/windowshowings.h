// Every showing of a top-level window in this process, in the order they
// happened, each under a number of its own: the one definition of "the
// newest window" that the balloon driver and the balloon access share.
// QApplication::topLevelWidgets() has no order, so it cannot tell.
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

#include <vector>

class QWidget;

namespace balloondriver
{

// A window a component may have shown: visible, a top-level window, not the
// harness's own, neither a tooltip nor a popup menu.
bool mayBeBalloon(const QWidget *window);

class WindowShowings final : public QObject
{
  public:
    WindowShowings(); // windows up now count as shown, in no particular order
    ~WindowShowings() override;

    // The number the next showing will get.
    int next() const { return next_; }
    // The window of a showing while it is still up, else null.
    QWidget *window(int number) const;
    // Showings from number `from` on whose window may be a balloon, oldest
    // first, as numbers and as windows.
    QList<int> balloonsSince(int from) const;
    QList<QWidget *> balloonWindowsSince(int from) const;

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    struct Showing {
        QPointer<QWidget> window;
        int number;
    };
    void noteShown(QWidget *window);

    std::vector<Showing> showings_; // oldest first
    int next_ = 1;
};

} // namespace balloondriver
