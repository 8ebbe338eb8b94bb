// The load handler: picks and shows the character, fills the sample texts,
// makes the controls show the component's settings and attaches the
// character to the component.
#pragma once

#include "harnesscontext.h"

namespace harness
{

class OptionHandlers;

class Startup
{
  public:
    explicit Startup(HarnessContext &context) : c_(context) {}
    void run();

  private:
    HarnessContext &c_;
};

} // namespace harness
