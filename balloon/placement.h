// Where a balloon goes on the desktop: a pure function of the character's
// rectangle, the balloon's size and the screens' available areas.
#pragma once

#include <QList>
#include <QPoint>
#include <QRect>

#include <optional>

namespace balloon
{

// BalloonPlace values.
enum class Place { Auto = 0, AboveRight = 1, AboveLeft = 2, BelowRight = 3, BelowLeft = 4 };

inline bool isAbove(Place p)
{
    return p == Place::AboveRight || p == Place::AboveLeft;
}

struct Placement {
    QRect rect;                     // the balloon window, tail room included
    QPoint tailTarget;              // the point of the character the tail points at
    Place side = Place::AboveRight; // the side used, never Auto
};

// Horizontal distance from the balloon's near edge to the tail.
inline constexpr int tailInset = 28;

// Picks the character's screen and puts the balloon beside the character.
// Auto takes the first of above right, above left, below right, below left
// that fits on that screen; a given place falls back to its mirror images
// when it does not fit, and when nothing fits the balloon is shifted onto the
// screen. Without a character the balloon sits by the primary (first)
// screen's centre. The balloon never leaves the chosen screen and is shrunk
// to it when larger.
Placement placeBalloon(const std::optional<QRect> &character, QSize size, const QList<QRect> &screens,
                       Place place);

// The most room a balloon can take on the character's screen and still sit
// wholly above or below the character: the screen's width, and the height of
// the larger of the two sides. Where neither side leaves `minimumRoom`, the
// whole screen (the balloon will cover the character). Without a character,
// the primary screen's size.
inline constexpr int minimumRoom = 160;
QSize roomBeside(const std::optional<QRect> &character, const QList<QRect> &screens);

// The screen a character belongs to: the one holding its centre, else the
// one it overlaps most, else the nearest. Index into screens, -1 when empty.
int screenOfCharacter(const QRect &character, const QList<QRect> &screens);

} // namespace balloon
