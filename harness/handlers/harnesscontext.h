// What the handlers work on: the window's controls, the harness state and
// the typed facades of the hosted controls.
#pragma once

#include "harness/base/harnessstate.h"
#include "harness/base/platformfacades.h"
#include "harness/base/programdescription.h"
#include "harness/base/trace.h"
#include "harness/base/vellixfacade.h"
#include "harness/controls/controlregistry.h"
#include "platform/dialogs/messagebox.h"

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

} // namespace harness
