#include "controltable.h"

#include <array>

namespace harness
{

namespace
{

constexpr QRect at(int left, int top, int width, int height)
{
    return QRect(left, top, width, height);
}

const std::array controlTable{
    ControlDef{0, "cmbMsgShow", Kind::CommandButton, nullptr, "ShowVellix", at(3060, 120, 1035, 375), 0,
               nullptr},
    ControlDef{1, "fraType", Kind::Frame, nullptr, "Window type", at(1560, 0, 1395, 855), 0, nullptr},
    ControlDef{4, "frmTypeIcon", Kind::Frame, nullptr, "Icons", at(0, 0, 1515, 2055), 0, nullptr},
    ControlDef{11, "txtCaption", Kind::TextLine, nullptr, "", at(0, 4380, 5325, 285), 0, "Heading"},
    ControlDef{12, "txtText", Kind::TextMultiLine, nullptr, "", at(0, 4680, 5325, 1995), 0, "Message text"},
    ControlDef{14, "cmbCustomIcon", Kind::CommandButton, nullptr, "Select custom icon",
               at(1560, 900, 1455, 495), 0, nullptr},
    ControlDef{15, "fraBalloonPlace", Kind::Frame, nullptr, "Window position", at(2280, 1440, 1875, 1575), 0,
               nullptr},
    ControlDef{21, "frmAlignCaption", Kind::Frame, nullptr, "Alignment of heading", at(0, 2100, 2235, 1095),
               0, nullptr},
    ControlDef{25, "frmAlignText", Kind::Frame, nullptr, "Alignment of text", at(0, 3240, 2235, 1095), 0,
               nullptr},
    ControlDef{29, "cmbBackColor", Kind::CommandButton, nullptr, "window color", at(5400, 4440, 1695, 315), 0,
               nullptr},
    ControlDef{30, "lblBackColor", Kind::Swatch, nullptr, nullptr, at(7140, 4440, 435, 315), 0,
               "window color swatch"},
    ControlDef{31, "cmbCaptionColor", Kind::CommandButton, nullptr, "heading color",
               at(5400, 4740, 1695, 315), 0, nullptr},
    ControlDef{32, "lblCaptionColor", Kind::Swatch, nullptr, nullptr, at(7140, 4740, 435, 315), 0,
               "heading color swatch"},
    ControlDef{33, "cmbTextColor", Kind::CommandButton, nullptr, "text color", at(5400, 5040, 1695, 315), 0,
               nullptr},
    ControlDef{34, "lblTextColor", Kind::Swatch, nullptr, nullptr, at(7140, 5040, 435, 315), 0,
               "text color swatch"},
    ControlDef{35, "frmButtonType", Kind::Frame, nullptr, "Buttons type", at(4200, 0, 3375, 3975), 0,
               nullptr},
    ControlDef{51, "cmbFrameColor", Kind::CommandButton, nullptr, "frame color", at(5400, 5340, 1695, 315), 0,
               nullptr},
    ControlDef{52, "lblFrameColor", Kind::Swatch, nullptr, nullptr, at(7140, 5340, 435, 315), 0,
               "frame color swatch"},
    ControlDef{53, "cmbLineColor", Kind::CommandButton, nullptr, "separator line color",
               at(5400, 5640, 1695, 315), 0, nullptr},
    ControlDef{54, "lblLineColor", Kind::Swatch, nullptr, nullptr, at(7140, 5640, 435, 315), 0,
               "separator line color swatch"},
    ControlDef{55, "chkLineSeparator", Kind::CheckBox, nullptr, "separator line", at(4380, 4020, 2355, 315),
               0, nullptr},
    ControlDef{56, "cmbButtonColor", Kind::CommandButton, nullptr, "button color", at(5400, 5940, 1695, 315),
               0, nullptr},
    ControlDef{57, "lblButtonColor", Kind::Swatch, nullptr, nullptr, at(7140, 5940, 435, 315), 0,
               "button color swatch"},
    ControlDef{58, "cmbButtonTextColor", Kind::CommandButton, nullptr, "button caption color",
               at(5400, 6240, 1695, 435), 0, nullptr},
    ControlDef{59, "lblButtonTextColor", Kind::Swatch, nullptr, nullptr, at(7140, 6240, 435, 435), 0,
               "button caption color swatch"},
    ControlDef{60, "chkModal", Kind::CheckBox, nullptr, "Modal", at(2520, 3120, 1395, 255), 1, nullptr},
    ControlDef{61, "chkOnTop", Kind::CheckBox, nullptr, "OnTop", at(2520, 3420, 1395, 195), 1, nullptr},
    ControlDef{62, "cmbLabelsShow", Kind::CommandButton, nullptr, "MsgLabels", at(3060, 540, 1035, 375), 0,
               nullptr},
    ControlDef{63, "cmbMsgInput", Kind::CommandButton, nullptr, "MsgInput", at(3060, 960, 1035, 375), 0,
               nullptr},
    ControlDef{64, "cdLanguage", Kind::ComboBox, nullptr, "Combo1", at(2400, 4020, 1635, 315), 0,
               "Language list"},
    ControlDef{65, "lblLanguage", Kind::Label, nullptr, "Language", at(2400, 3720, 1695, 195), 0, nullptr},
    ControlDef{-1, "imgCustomIcon", Kind::Image, nullptr, nullptr, at(1680, 1440, 480, 480), 0,
               "custom icon picture"},
    // Vellix1's place differs between the programs; see ProgramDescription.
    ControlDef{-1, "Vellix1", Kind::Hosted, "fraBalloonPlace", nullptr, at(1260, 180, 480, 480), 0,
               "balloon component"},
    ControlDef{-1, "cmd", Kind::Hosted, "frmTypeIcon", nullptr, at(1320, 1560, 480, 480), 0,
               "common dialog control"},
    ControlDef{-1, "msa", Kind::Hosted, nullptr, nullptr, at(840, 120, 480, 480), 0, "agent control"},
};

const std::array groupTable{
    OptionGroupDef{"optbuttontype", "frmButtonType", 120, 3135, 255},
    OptionGroupDef{"optIconType", "frmTypeIcon", 120, 1335, 255},
    OptionGroupDef{"optMsgType", "fraType", 120, 1035, 255},
    OptionGroupDef{"optAlignCaptionType", "frmAlignCaption", 120, 1575, 255},
    OptionGroupDef{"optAlignTextType", "frmAlignText", 120, 1575, 255},
    OptionGroupDef{"optBalloonPlace", "fraBalloonPlace", 150, 1425, 285, 1, 1605},
};

const std::array buttonTable{
    OptionButtonDef{"optbuttontype", 0, "none", 36, true},
    OptionButtonDef{"optbuttontype", 1, "Abort, Retry, Ignore", 37, false},
    OptionButtonDef{"optbuttontype", 2, "Back, Close", 38, false},
    OptionButtonDef{"optbuttontype", 3, "Back, Next, Close", 39, false},
    OptionButtonDef{"optbuttontype", 4, "Back, Next, Snooze", 40, false},
    OptionButtonDef{"optbuttontype", 5, "Cancel", 41, false},
    OptionButtonDef{"optbuttontype", 6, "Next, Close", 42, false},
    OptionButtonDef{"optbuttontype", 7, "Ok", 43, false},
    OptionButtonDef{"optbuttontype", 8, "Ok, Cancel", 44, false},
    OptionButtonDef{"optbuttontype", 9, "Retry, Cancel", 45, false},
    OptionButtonDef{"optbuttontype", 10, "Find, Close", 46, false},
    OptionButtonDef{"optbuttontype", 11, "Tips, Options, Close", 47, false},
    OptionButtonDef{"optbuttontype", 12, "Yes, Yes for all, No, Cancel", 48, false},
    OptionButtonDef{"optbuttontype", 13, "Yes, No, Cancel", 49, false},
    OptionButtonDef{"optbuttontype", 14, "Yes, No", 50, false},
    OptionButtonDef{"optIconType", 0, "none", 5, true},
    OptionButtonDef{"optIconType", 1, "tips", 6, false},
    OptionButtonDef{"optIconType", 2, "inform", 7, false},
    OptionButtonDef{"optIconType", 3, "warning", 10, false},
    OptionButtonDef{"optIconType", 4, "question", 8, false},
    OptionButtonDef{"optIconType", 5, "danger", 9, false},
    OptionButtonDef{"optIconType", 6, "custom", 13, false},
    OptionButtonDef{"optMsgType", 0, "arrow", 2, true},
    OptionButtonDef{"optMsgType", 1, "think", 3, false},
    OptionButtonDef{"optAlignCaptionType", 0, "top", 22, false},
    OptionButtonDef{"optAlignCaptionType", 1, "center", 23, false},
    OptionButtonDef{"optAlignCaptionType", 2, "bottom", 24, false},
    OptionButtonDef{"optAlignTextType", 0, "left", 26, false},
    OptionButtonDef{"optAlignTextType", 1, "right", 28, false},
    OptionButtonDef{"optAlignTextType", 2, "center", 27, false},
    OptionButtonDef{"optBalloonPlace", 0, "auto", 16, false},
    OptionButtonDef{"optBalloonPlace", 1, "above right", 17, false},
    OptionButtonDef{"optBalloonPlace", 2, "above left", 18, false},
    OptionButtonDef{"optBalloonPlace", 3, "bottom right", 19, false},
    OptionButtonDef{"optBalloonPlace", 4, "bottom left", 20, false},
};

} // namespace

std::span<const ControlDef> controls()
{
    return controlTable;
}
std::span<const OptionGroupDef> optionGroups()
{
    return groupTable;
}
std::span<const OptionButtonDef> optionButtons()
{
    return buttonTable;
}

} // namespace harness
