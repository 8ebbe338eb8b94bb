// The balloon of the window's component, wherever the component runs: asked
// of its host process when it runs out of process, else found in this
// process. A restarted or reloaded component's balloons get numbers of
// their own, never those of its predecessor's.
#pragma once

#include "componenthosts.h"
#include "platform/balloondriver/localballoonaccess.h"

#include <functional>
#include <map>
#include <memory>

namespace harness
{

class ComponentBalloons final : public balloondriver::BalloonAccess
{
  public:
    // hosts null: the component runs in this process, where its balloons
    // are watched from now on. Else they are asked of its host; component
    // gives the component's object as it is now.
    ComponentBalloons(ComponentHosts *hosts, std::function<component::ObjectRef()> component);

    int balloonOnScreen() override;
    QString answer(int balloon, const balloondriver::RecordedAnswer &answer) override;
    void close(int balloon) override;

  private:
    struct Source {
        balloondriver::BalloonAccess *access;
        int serial; // 0: this process
    };
    Source current();
    balloondriver::BalloonAccess *accessFor(int serial);

    ComponentHosts *hosts_;
    std::function<component::ObjectRef()> component_;
    std::unique_ptr<balloondriver::LocalBalloonAccess> local_; // in process only
    // Our numbers, and whose balloon each is: (source serial, its number).
    std::map<int, std::pair<int, int>> numbers_;
    int next_ = 1;
};

} // namespace harness
