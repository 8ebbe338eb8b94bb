// The program: command line, platform services, the window and its event loop.
#pragma once

#include "harness/base/programdescription.h"

namespace harness
{

int runHarness(int argc, char **argv, const ProgramDescription &program);

} // namespace harness
