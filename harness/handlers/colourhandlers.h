// The seven colour buttons and the custom icon button.
#pragma once

#include "harnesscontext.h"

#include <span>

namespace harness
{

struct ColourButton {
    const char *button; // its caption is in the control table
    component::DispId property;
    const char *swatch;
};

// One row per colour button, in the order start-up colours the swatches:
// what it changes and where it shows it.
std::span<const ColourButton> colourButtons();

class ColourHandlers
{
  public:
    explicit ColourHandlers(HarnessContext &context) : c_(context) {}

    void pickColour(const ColourButton &row);
    void cmbCustomIcon();

  private:
    HarnessContext &c_;
};

} // namespace harness
