// What a balloon needs to know to look the way its owner's properties say.
#pragma once

#include "placement.h"

#include <component/buttons.h>
#include <component/value.h>

#include <QColor>
#include <QStringList>

namespace balloon
{

enum class HAlign { Left = 0, Right = 1, Center = 2 }; // HAlignmentText
enum class VAlign { Top = 0, Center = 1, Bottom = 2 }; // VAlignmentCaption, against the icon
enum class Shape { Arrow = 0, Think = 1 };             // MsgType
enum class IconType { None = 0, Tips, Inform, Warning, Question, Danger, Custom }; // IconType
enum class MessageKind { Plain, Input, Labels };

using component::ButtonKind;
using component::buttonSet;
using component::Language;

inline constexpr int iconTypeCount = component::iconTypeRange.high + 1;
inline constexpr int shapeCount = component::msgTypeRange.high + 1;

// Filled from the component's settings (BalloonSettings::style(), which
// also gives the defaults).
struct BalloonStyle {
    Language language{};
    bool lineSeparator{};
    QColor balloon;
    QColor frame;
    QColor caption;
    QColor text;
    QColor line;
    QColor button;
    QColor buttonCaption;
    Place place{};
    HAlign textAlignment{};
    VAlign captionAlignment{};
    QImage customIcon; // ready to paint, at most drawnIconLimit a side
};

// One message as a method call asks for it.
struct BalloonRequest {
    MessageKind kind = MessageKind::Plain;
    QString heading;
    QString text;
    QStringList labels;
    IconType icon = IconType::None;
    Shape shape = Shape::Arrow;
    int buttonsType = 0;
    bool modal = true;
    bool onTop = true;
};

// How the user closed a balloon.
struct BalloonAnswer {
    int button = 0; // ButtonKind number, 0 without a button
    int label = -1; // chosen label, -1 for none
    QString text;   // what was typed into the input field
};

} // namespace balloon
