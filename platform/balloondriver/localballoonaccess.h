// The balloon in this process: found among this process's top-level windows
// and answered through the accessibility interface (BalloonDriver).
#pragma once

#include "balloonaccess.h"

#include <QObject>
#include <QPointer>

#include <vector>

class QWidget;

namespace balloondriver
{

class LocalBalloonAccess final : public QObject, public BalloonAccess
{
  public:
    LocalBalloonAccess(); // watches the application's windows from now on
    ~LocalBalloonAccess() override;

    int balloonOnScreen() override;
    QString answer(int balloon, const RecordedAnswer &answer) override;
    void close(int balloon) override;

    QWidget *window(int balloon) const; // null when it is no longer up

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
