// One harness window wired for recording or replaying, in memory: the
// reference balloon component (or a stand-in), a fake agent, the given
// dialog and message box seams, the trace handed to a listener.
#pragma once

#include "../harness/fakes.h"
#include "harness/window/frmmain.h"

#include <QBuffer>

class SessionRig
{
  public:
    using ComponentFactory = std::function<component::ObjectRef(const component::NamedValues &)>;

    // The reference balloon component of fennick.
    static ComponentFactory reference();
    // The reference, answering `to` where it would answer `from` in Button.
    static ComponentFactory answeringOtherwise(int from, int to);

    SessionRig(ComponentFactory component, dialogs::DialogProvider &dialogs,
               dialogs::MessageBoxService &boxes, std::function<void(const QString &)> traceListener);

    harness::Controls &controls() { return window->controls(); }

    hosting::ClassRegistry registry;
    harness::Trace trace;
    std::unique_ptr<harness::FrmMain> window;
};
