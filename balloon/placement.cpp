#include "placement.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace balloon
{

namespace
{

long long area(const QRect &r)
{
    return r.isEmpty() ? 0 : static_cast<long long>(r.width()) * r.height();
}

double distance(const QPoint &p, const QRect &r)
{
    const double dx = std::max({r.left() - p.x(), 0, p.x() - r.right()});
    const double dy = std::max({r.top() - p.y(), 0, p.y() - r.bottom()});
    return std::hypot(dx, dy);
}

Place mirrorVertically(Place p)
{
    switch (p) {
    case Place::AboveRight:
        return Place::BelowRight;
    case Place::AboveLeft:
        return Place::BelowLeft;
    case Place::BelowRight:
        return Place::AboveRight;
    case Place::BelowLeft:
        return Place::AboveLeft;
    case Place::Auto:
        break;
    }
    return p;
}

Place mirrorHorizontally(Place p)
{
    switch (p) {
    case Place::AboveRight:
        return Place::AboveLeft;
    case Place::AboveLeft:
        return Place::AboveRight;
    case Place::BelowRight:
        return Place::BelowLeft;
    case Place::BelowLeft:
        return Place::BelowRight;
    case Place::Auto:
        break;
    }
    return p;
}

std::array<Place, 4> candidateOrder(Place place)
{
    if (place == Place::Auto)
        return {Place::AboveRight, Place::AboveLeft, Place::BelowRight, Place::BelowLeft};
    return {place, mirrorVertically(place), mirrorHorizontally(place),
            mirrorVertically(mirrorHorizontally(place))};
}

QPoint tailTargetFor(const QRect &character, Place side)
{
    const int x = character.left() + character.width() / 2;
    return {x, isAbove(side) ? character.top() : character.bottom()};
}

QRect candidateRect(const QRect &character, QSize size, Place side)
{
    const QPoint target = tailTargetFor(character, side);
    const bool right = side == Place::AboveRight || side == Place::BelowRight;
    const int left = right ? target.x() - tailInset : target.x() + tailInset - size.width() + 1;
    const int top = isAbove(side) ? character.top() - size.height() : character.bottom() + 1;
    return {QPoint(left, top), size};
}

QRect shiftInside(QRect r, const QRect &screen)
{
    r.moveLeft(std::clamp(r.left(), screen.left(), screen.right() - r.width() + 1));
    r.moveTop(std::clamp(r.top(), screen.top(), screen.bottom() - r.height() + 1));
    return r;
}

struct Anchor {
    QRect rect;   // the character, or a point at the primary screen's centre
    QRect screen; // the screen the balloon goes on
};

Anchor anchorOf(const std::optional<QRect> &character, const QList<QRect> &screens)
{
    QRect anchor;
    if (character) {
        anchor = character->normalized();
        anchor.setSize(anchor.size().expandedTo(QSize(1, 1)));
    } else {
        anchor = QRect(screens.first().center(), QSize(1, 1));
    }
    return {anchor, screens[screenOfCharacter(anchor, screens)]};
}

} // namespace

int screenOfCharacter(const QRect &character, const QList<QRect> &screens)
{
    if (screens.isEmpty()) return -1;
    const QPoint centre = character.center();
    for (int i = 0; i < screens.size(); ++i)
        if (screens[i].contains(centre)) return i;
    int best = 0;
    long long bestArea = -1;
    for (int i = 0; i < screens.size(); ++i) {
        const long long a = area(screens[i].intersected(character));
        if (a > bestArea) {
            best = i;
            bestArea = a;
        }
    }
    if (bestArea > 0) return best;
    for (int i = 1; i < screens.size(); ++i)
        if (distance(centre, screens[i]) < distance(centre, screens[best])) best = i;
    return best;
}

Placement placeBalloon(const std::optional<QRect> &character, QSize size, const QList<QRect> &screens,
                       Place place)
{
    if (screens.isEmpty()) return {QRect(QPoint(0, 0), size), QPoint(0, 0), Place::AboveRight};

    const auto [anchor, screen] = anchorOf(character, screens);
    const QSize fitted = size.boundedTo(screen.size()).expandedTo(QSize(1, 1));

    const std::array<Place, 4> order = candidateOrder(place);
    for (Place side : order) {
        const QRect r = candidateRect(anchor, fitted, side);
        if (screen.contains(r)) return {r, tailTargetFor(anchor, side), side};
    }
    // Nothing fits whole: keep the side that shows most of the balloon.
    Place best = order.front();
    long long bestArea = -1;
    for (Place side : order) {
        const long long a = area(candidateRect(anchor, fitted, side).intersected(screen));
        if (a > bestArea) {
            best = side;
            bestArea = a;
        }
    }
    return {shiftInside(candidateRect(anchor, fitted, best), screen), tailTargetFor(anchor, best), best};
}

QSize roomBeside(const std::optional<QRect> &character, const QList<QRect> &screens)
{
    if (screens.isEmpty()) return {640, 480};
    const auto [anchor, screen] = anchorOf(character, screens);
    if (!character) return screen.size();
    const int above = anchor.top() - screen.top();
    const int below = screen.bottom() - anchor.bottom();
    const int room = std::max(above, below);
    // A character that leaves no usable room above or below it gets covered
    // rather than the message cut to a sliver.
    return {screen.width(), room >= std::min(minimumRoom, screen.height()) ? room : screen.height()};
}

} // namespace balloon
