// The placement contract as --verify judges it, plain geometry without a
// GUI: where the character is put on a layout, and whether a balloon shown
// beside it sits where the contract says.
//
// The contract (the reference component's rules):
//   - the balloon lies wholly on one screen: the one holding the character's
//     centre;
//   - where a side fits, it leaves the character uncovered (a few pixels of
//     the tail aside) and its outline reaches the character;
//   - BalloonPlace 1 to 4 (above right, above left, below right, below left)
//     is kept where it fits; else the first that fits of: the place mirrored
//     vertically, mirrored horizontally, mirrored both ways; BalloonPlace 0
//     takes the first that fits of 1, 2, 3, 4.
// A side "fits" when the screen has room for the balloon's size beside the
// character on that side, the balloon starting at the character's centre
// line; where the answer hangs on how far a component puts its tail from
// the balloon's edge, either answer is taken.
#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QString>

#include <optional>

namespace harness::verify::placement
{

// Where the character stands for one check: a name for check names and its
// rectangle for a character of the given size.
struct Spot {
    QString name;
    QRect character;
};

// The centre, each edge and corner of each screen, straddling each border
// between two screens, and partly off each outer edge.
QList<Spot> spotsOn(const QList<QRect> &screens, QSize character);

enum class Fit { Yes, Maybe, No };

struct Seen {
    QRect balloon;   // the window on the desktop
    QRegion outline; // what it covers: its mask or its opaque pixels, desktop coordinates
};

struct Verdict {
    bool passed = true;
    QString expected;
    QString got;
    int side = 0; // 1 to 4 as BalloonPlace, 0 when on no side of the character
};

// Judges one balloon shown with BalloonPlace `place` beside `character`.
Verdict judge(const QList<QRect> &screens, const QRect &character, int place, const Seen &seen);

// One balloon's window and its text parts' accessible rectangles, all in
// desktop (logical) coordinates.
struct TextSeen {
    QRect window;
    QList<QRect> texts;
};

// Why the same balloon's text is clipped at scale 1 or 2, or "" when it is
// not: each text part lies wholly inside the window at both scales and
// keeps its size relative to the window (within rounding).
QString clippedText(const TextSeen &atOne, const TextSeen &atTwo);

// How close the outline must come to the character, and how much of the
// character the tail may cover.
inline constexpr int reachPixels = 8;
inline constexpr int coverPixels = 64;

QString describe(const QRect &r);

} // namespace harness::verify::placement
