// What the handlers work on: the window's controls, the harness state and
// the typed facades of the hosted controls.
#pragma once

#include "harnessstate.h"
#include "messagespeech.h"
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
    MessageSpeech *speech = nullptr;      // says the balloons' texts; none in tests
};

} // namespace harness
