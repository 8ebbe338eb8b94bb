// What the handlers work on: the window's controls, the harness state and
// the typed facades of the hosted controls.
#pragma once

#include "harnessstate.h"
#include "platform/dialogs/messagebox.h"
#include "platformfacades.h"
#include "programdescription.h"
#include "trace.h"
#include "vellixfacade.h"
#include "windowbuilder.h"

namespace harness
{

struct HarnessContext {
    const ProgramDescription &program;
    Controls &controls;
    HarnessState &state;
    VellixFacade &vellix;
    CommonDialogFacade &cmd;
    AgentFacade &msa;
    Trace &trace;
    dialogs::MessageBoxService &messages; // every box is traced
};

// Message boxes, recorded in the trace as they are shown.
class TracedMessageBox final : public dialogs::MessageBoxService
{
  public:
    TracedMessageBox(dialogs::MessageBoxService &boxes, Trace &trace) : boxes_(boxes), trace_(trace) {}
    int show(const QString &text, int style, const std::optional<QString> &title) override
    {
        trace_.messageBox(title, style, text);
        return boxes_.show(text, style, title);
    }

  private:
    dialogs::MessageBoxService &boxes_;
    Trace &trace_;
};

} // namespace harness
