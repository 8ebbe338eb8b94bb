// Click handlers of the option groups, the check boxes and the language
// list. Each makes one assignment, to the component or to the harness state.
#pragma once

#include "harnesscontext.h"

namespace harness
{

class OptionHandlers
{
  public:
    explicit OptionHandlers(HarnessContext &context) : c_(context) {}

    void optAlignCaptionType(int16_t index);
    void optAlignTextType(int16_t index);
    void optBalloonPlace(int16_t index);
    void optbuttontype(int16_t index);
    void optIconType(int16_t index);
    void optMsgType(int16_t index);
    void chkLineSeparator();
    void chkModal();
    void chkOnTop();
    void cdLanguage();

  private:
    HarnessContext &c_;
};

} // namespace harness
