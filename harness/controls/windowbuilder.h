// Builds frmMain's controls from the control tables.
#pragma once

#include "controlregistry.h"
#include "harness/base/programdescription.h"

namespace harness
{

Controls buildWindow(QWidget *window, const ProgramDescription &program);

} // namespace harness
