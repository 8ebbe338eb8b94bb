// The balloon in this process: found among this process's top-level windows
// and answered through the accessibility interface (BalloonDriver).
#pragma once

#include "balloonaccess.h"
#include "windowshowings.h"

namespace balloondriver
{

class LocalBalloonAccess final : public BalloonAccess
{
  public:
    int balloonOnScreen() override;
    QString answer(int balloon, const RecordedAnswer &answer) override;
    void close(int balloon) override;

    QWidget *window(int balloon) const { return showings_.window(balloon); } // null when gone

  private:
    WindowShowings showings_; // watches the application's windows from now on
};

} // namespace balloondriver
