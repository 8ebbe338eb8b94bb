// The balloon component contract: class identifiers, member identifiers and
// the stored settings a new instance starts from.
//
// Properties (colours are 0x00BBGGRR in a 32-bit integer, booleans are -1/0):
//
//   id          property             type
//   0x68030000  Language             Long, 100 (Russian captions) or 200 (English): Language
//   0x68030001  LineSeparator        Boolean
//   0x68030002  ButtonCaptionColor   Long colour
//   0x68030003  ButtonColor          Long colour
//   0x68030004  FrameColor           Long colour
//   0x68030005  LineColor            Long colour
//   0x68030006  TextColor            Long colour
//   0x68030007  CaptionColor         Long colour
//   0x68030008  Character            Object (agent character), put by reference
//   0x68030009  BalloonPlace         Long 0..4
//   0x6803000A  HAlignmentText       Long 0..2
//   0x6803000B  VAlignmentCaption    Long 0..2
//   0x6803000C  BalloonColor         Long colour
//   0x6803000D  CustomIcon           Picture, put by reference
//
// Methods, each returning MsgResult, with seven arguments:
//   1 heading (String, by value)
//   2 text (String, by value) or labels (String(), by reference)
//   3 IconType, 4 MsgType, 5 ButtonsType (Long, by reference)
//   6 ModalFlag, 7 OnTopFlag (Boolean, by reference)
// Their identifiers depend on the class; see MethodIds. The accepted values
// of each Long property and of arguments 3 to 5 are below as data.
//
// They return MsgResult:
//   Button  the button that closed the balloon, one number per kind:
//             Ok 1, Cancel 2, Abort 3, Retry 4, Ignore 5, Yes 6, No 7,
//             Back 8, Next 9, Close 10, Snooze 11, Find 12, Tips 13,
//             Options 14, Yes for all 15 (buttons.h);
//           0 when closed without a button, and always 0 from a modeless
//           call, which returns at once. Esc answers the first of Cancel,
//           Close, No, Snooze, Ok that the set has, else 0.
//   Label   the label selected when a button, Enter or a click on a label
//           closed the balloon; -1 when there is none or the balloon was
//           dismissed (Esc, or a click on a balloon without buttons)
//   Text    what the input field held when the balloon closed, however it
//           closed; empty for the other methods
//   Status  0 shown; 1 when a balloon of this instance is still on the
//           screen, in which case nothing else happens
#pragma once

#include "dispatch.h"

#include <array>
#include <string_view>

namespace component
{

namespace prop
{
inline constexpr DispId Language = 0x68030000;
inline constexpr DispId LineSeparator = 0x68030001;
inline constexpr DispId ButtonCaptionColor = 0x68030002;
inline constexpr DispId ButtonColor = 0x68030003;
inline constexpr DispId FrameColor = 0x68030004;
inline constexpr DispId LineColor = 0x68030005;
inline constexpr DispId TextColor = 0x68030006;
inline constexpr DispId CaptionColor = 0x68030007;
inline constexpr DispId Character = 0x68030008;
inline constexpr DispId BalloonPlace = 0x68030009;
inline constexpr DispId HAlignmentText = 0x6803000A;
inline constexpr DispId VAlignmentCaption = 0x6803000B;
inline constexpr DispId BalloonColor = 0x6803000C;
inline constexpr DispId CustomIcon = 0x6803000D;
} // namespace prop

struct PropertyInfo {
    DispId id;
    std::string_view name;
    ValueType type;
    std::string_view storedKey; // key in the stored settings, empty when not stored
};

inline constexpr std::array<PropertyInfo, 14> properties{{
    {prop::Language, "Language", ValueType::Int32, "language"},
    {prop::LineSeparator, "LineSeparator", ValueType::Bool, "lineseparator"},
    {prop::ButtonCaptionColor, "ButtonCaptionColor", ValueType::Int32, "buttoncaptioncolor"},
    {prop::ButtonColor, "ButtonColor", ValueType::Int32, "buttoncolor"},
    {prop::FrameColor, "FrameColor", ValueType::Int32, "framecolor"},
    {prop::LineColor, "LineColor", ValueType::Int32, "linecolor"},
    {prop::TextColor, "TextColor", ValueType::Int32, "textcolor"},
    {prop::CaptionColor, "CaptionColor", ValueType::Int32, "captioncolor"},
    {prop::Character, "Character", ValueType::Object, ""},
    {prop::BalloonPlace, "BalloonPlace", ValueType::Int32, "balloonplace"},
    {prop::HAlignmentText, "HAlignmentText", ValueType::Int32, "halignmenttext"},
    {prop::VAlignmentCaption, "VAlignmentCaption", ValueType::Int32, "valignmentcaption"},
    {prop::BalloonColor, "BalloonColor", ValueType::Int32, "ballooncolor"},
    {prop::CustomIcon, "CustomIcon", ValueType::Picture, ""},
}};

// The Language property's two values: which captions the buttons show.
enum class Language : int32_t { Russian = 100, English = 200 };
inline constexpr std::array<Language, 2> languages{Language::Russian, Language::English};

// Whole numbers from low to high in steps of step (Language: 100 or 200).
struct IntRange {
    int32_t low = 0;
    int32_t high = 0;
    int32_t step = 1;
    bool hex = false; // shown as 0x... (colours)

    constexpr bool contains(int32_t v) const { return v >= low && v <= high && (v - low) % step == 0; }
};

inline constexpr IntRange colourRange{0, 0xFFFFFF, 1, true};

// The integers each Long property accepts; a value outside is refused with
// error 380 and the property keeps its value.
inline constexpr std::array<std::pair<DispId, IntRange>, 11> propertyRanges{{
    {prop::Language, {int32_t(Language::Russian), int32_t(Language::English), 100}},
    {prop::ButtonCaptionColor, colourRange},
    {prop::ButtonColor, colourRange},
    {prop::FrameColor, colourRange},
    {prop::LineColor, colourRange},
    {prop::TextColor, colourRange},
    {prop::CaptionColor, colourRange},
    {prop::BalloonPlace, {0, 4}},
    {prop::HAlignmentText, {0, 2}},
    {prop::VAlignmentCaption, {0, 2}},
    {prop::BalloonColor, colourRange},
}};

inline constexpr std::optional<IntRange> rangeOf(DispId id)
{
    for (const auto &[property, range] : propertyRanges)
        if (property == id) return range;
    return std::nullopt;
}

// The message arguments 3 to 5; a value outside is refused with error 380
// and nothing is shown.
inline constexpr IntRange iconTypeRange{0, 6};
inline constexpr IntRange msgTypeRange{0, 1};
inline constexpr IntRange buttonsTypeRange{0, 14};

inline const PropertyInfo *findProperty(DispId id)
{
    for (const PropertyInfo &p : properties)
        if (p.id == id) return &p;
    return nullptr;
}

// The property a stored setting sets; keys compare without regard to case.
inline const PropertyInfo *findStoredProperty(const QString &key)
{
    for (const PropertyInfo &p : properties)
        if (!p.storedKey.empty() &&
            key.compare(QLatin1String(p.storedKey.data(), qsizetype(p.storedKey.size())),
                        Qt::CaseInsensitive) == 0)
            return &p;
    return nullptr;
}

enum class Method { ShowVellix, MsgLabels, MsgInput };

inline constexpr std::array<std::string_view, 3> methodNames{"ShowVellix", "MsgLabels", "MsgInput"};

struct MethodIds {
    DispId ShowVellix;
    DispId MsgLabels;
    DispId MsgInput;

    DispId of(Method m) const
    {
        switch (m) {
        case Method::ShowVellix:
            return ShowVellix;
        case Method::MsgLabels:
            return MsgLabels;
        case Method::MsgInput:
            return MsgInput;
        }
        return 0;
    }
    std::optional<Method> find(DispId id) const
    {
        if (id == ShowVellix) return Method::ShowVellix;
        if (id == MsgLabels) return Method::MsgLabels;
        if (id == MsgInput) return Method::MsgInput;
        return std::nullopt;
    }
};

// The two classes the harness programs host. The same method has a different
// identifier in each.
inline constexpr std::string_view VellixClass = "pVellix.Vellix";
inline constexpr std::string_view QuorvaneClass = "Quorvane.Quorvane";
inline constexpr MethodIds VellixMethods{0x60030013, 0x60030014, 0x60030015};
inline constexpr MethodIds QuorvaneMethods{0x60030014, 0x60030015, 0x60030016};

inline std::optional<MethodIds> methodIdsForClass(std::string_view classId)
{
    if (classId == VellixClass) return VellixMethods;
    if (classId == QuorvaneClass) return QuorvaneMethods;
    return std::nullopt;
}

// Named values stored with an instance, in stored order, handed to it when it
// is created ("_extentx", "ballooncolor", ...).
using NamedValues = std::vector<std::pair<QString, Value>>;

// The settings a hosting window stores with a new instance unless it is told
// otherwise, in stored order; a component starts from the same values. The
// window's extent and each program's Language are stored beside them.
inline const std::array<std::pair<DispId, Value>, 11> defaultSettings{{
    {prop::BalloonColor, int32_t(0x00E1FFFF)},
    {prop::VAlignmentCaption, int32_t(2)},
    {prop::HAlignmentText, int32_t(0)},
    {prop::BalloonPlace, int32_t(0)},
    {prop::CaptionColor, int32_t(0x00000000)},
    {prop::TextColor, int32_t(0x00000000)},
    {prop::FrameColor, int32_t(0x004B4B4B)},
    {prop::LineColor, int32_t(0x00E0E0E0)},
    {prop::LineSeparator, Bool::of(true)},
    {prop::ButtonColor, int32_t(0x00E1FFFF)},
    {prop::ButtonCaptionColor, int32_t(0x00000000)},
}};

// Members of the agent character object that a component may read to place
// its balloon beside the character. All are Long, in screen pixels.
namespace character
{
inline constexpr DispId Left = 0x60020003;
inline constexpr DispId Top = 0x60020005;
inline constexpr DispId Width = 0x60020007;
inline constexpr DispId Height = 0x60020009;
inline constexpr DispId Show = 0x6002001C;
inline constexpr DispId Visible = 0x60020015;
} // namespace character

} // namespace component
