// The window frmMain as data: every control with its kind, container,
// caption, place (twips), tab place and start value. The window builder
// walks these tables; nothing else repeats them.
#pragma once

#include <QRect>

#include <span>

namespace harness
{

enum class Kind {
    CommandButton,
    Frame,
    TextLine,
    TextMultiLine,
    Swatch,
    Label,
    CheckBox,
    ComboBox,
    Image,
    Hosted,
};

struct ControlDef {
    int tab; // place in the focus order; -1 for none
    const char *name;
    Kind kind;
    const char *container;   // frame name; nullptr for the window
    const char *caption;     // caption or start text; nullptr for none
    QRect twips;             // left, top, width, height relative to the container
    int startValue;          // check box value
    const char *description; // accessible name where the caption is no name: none, or content
};

struct OptionGroupDef {
    const char *name;
    const char *frame;
    int left, width, height; // twips; button i has top 240 + 240 * i
    int wideIndex = -1;      // one button may be wider than the rest
    int wideWidth = 0;
};

struct OptionButtonDef {
    const char *group;
    int index;
    const char *caption;
    int tab;
    bool selected;
};

inline constexpr const char *WindowCaption = "Testing of core (Please excuse me for bad English)";
inline constexpr int ClientWidthTwips = 7605;
inline constexpr int ClientHeightTwips = 6720;
inline constexpr int TwipsPerPixel = 15;
// Where the window first appears on the screen.
inline constexpr int DesignLeftTwips = 1200;
inline constexpr int DesignTopTwips = 1590;
inline constexpr double LayoutFontPointSize = 8.0;

// Twips to device-independent pixels, for every geometry of the window.
constexpr int toPixels(int twips)
{
    return (twips + TwipsPerPixel / 2) / TwipsPerPixel;
}
inline QRect toPixels(const QRect &twips)
{
    return {toPixels(twips.x()), toPixels(twips.y()), toPixels(twips.width()), toPixels(twips.height())};
}

std::span<const ControlDef> controls();
std::span<const OptionGroupDef> optionGroups();
std::span<const OptionButtonDef> optionButtons();

} // namespace harness
