// Makes assistive tools see plain top-level widgets (the main window, the
// character) as windows rather than fillers. Once per program.
#pragma once

namespace harness
{

void announceWindowsAsFrames();

} // namespace harness
