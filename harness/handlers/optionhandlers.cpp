#include "optionhandlers.h"

namespace harness
{

using namespace component;

namespace
{

constexpr int32_t IconCustom = 6;

Bool checked(const CheckBox &box)
{
    return Bool::of(box.value() == 1);
}

} // namespace

void OptionHandlers::optAlignCaptionType(int16_t index)
{
    c_.vellix.setVAlignmentCaption(index);
}

void OptionHandlers::optAlignTextType(int16_t index)
{
    c_.vellix.setHAlignmentText(index);
}

void OptionHandlers::optBalloonPlace(int16_t index)
{
    c_.vellix.setBalloonPlace(index);
}

void OptionHandlers::optbuttontype(int16_t index)
{
    c_.state.ButtonsType = int32_t(index);
}

void OptionHandlers::optIconType(int16_t index)
{
    c_.state.IconType = int32_t(index);
    if (index == IconCustom) {
        Value picture = c_.controls.imgCustomIcon->picture();
        c_.vellix.setCustomIcon(picture);
    }
}

// Reads the buttons rather than trusting the index it is handed.
void OptionHandlers::optMsgType(int16_t)
{
    const OptionGroup &group = c_.controls.group("optMsgType");
    if (group.isSelected(0)) c_.state.MsgType = int32_t(0);
    if (group.isSelected(1)) c_.state.MsgType = int32_t(1);
}

void OptionHandlers::chkLineSeparator()
{
    c_.vellix.setLineSeparator(checked(c_.controls.check("chkLineSeparator")).value());
}

void OptionHandlers::chkModal()
{
    c_.state.ModalFlag = checked(c_.controls.check("chkModal"));
}

void OptionHandlers::chkOnTop()
{
    c_.state.OnTopFlag = checked(c_.controls.check("chkOnTop"));
}

void OptionHandlers::cdLanguage()
{
    if (const auto language = c_.controls.cdLanguage->selectedValue()) c_.vellix.setLanguage(*language);
}

} // namespace harness
