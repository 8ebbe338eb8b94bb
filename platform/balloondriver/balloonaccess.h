// The balloon on the screen, as record and replay see it, wherever the
// component runs: in this process (LocalBalloonAccess) or in a host process
// of its own, reached through the channel (remoteBalloonAccess).
//
// A balloon is the newest visible top-level window that is not the harness's
// own (see ownwindow.h); an alert role is not required of a component. Each
// showing of a window is a balloon of its own, so a component that shows the
// same window again is answered again.
#pragma once

#include "component/dispatch.h"

#include <QString>

#include <memory>

namespace balloondriver
{

// What a person did with a balloon, as a recording keeps it.
struct RecordedAnswer {
    int button = 0; // 0: closed without a button
    QString text;   // typed in place of what the field held; empty: nothing typed
    int label = -1; // the label toggled on; -1: none
};

class BalloonAccess
{
  public:
    virtual ~BalloonAccess() = default;

    // A number for the balloon on the screen now, the same while it stays
    // up and new for each showing; 0 when there is none.
    virtual int balloonOnScreen() = 0;

    // Gives the answer as it was recorded: the text in the input field, the
    // label toggled on, then the button pressed by its caption in either
    // language. Empty on success, else what was missing (speaking of the
    // balloon as "it"). The balloon is closed when the answer is button 0 or
    // could not be given, so that nothing waits on it.
    virtual QString answer(int balloon, const RecordedAnswer &answer) = 0;

    // Closes the balloon, as a person closing it without a button does.
    virtual void close(int balloon) = 0;
};

// Serves access to the other side of a channel as an object of the
// contract, and the other side's view of such an object.
component::ObjectRef serveBalloonAccess(std::shared_ptr<BalloonAccess> access);
std::unique_ptr<BalloonAccess> remoteBalloonAccess(component::ObjectRef object);

// The class a component host creates the served access by.
inline constexpr char BalloonAccessClass[] = "BalloonHarness.BalloonAccess";

} // namespace balloondriver
