#include "windowplacement.h"

#include "frmmain.h"
#include "harness/controls/controltable.h"

#include <QGuiApplication>
#include <QScreen>

#include <limits>
#include <optional>
#include <vector>

namespace harness
{

namespace
{

// Room for a window manager's title bar and borders, which are unknown
// before the window is first shown.
constexpr QSize FrameAllowance(8, 32);
constexpr QSize UsualBalloon(360, 170);
constexpr QSize LargestDialog(560, 420);
// The balloon's tail starts this far in from its near edge, over the
// character's centre.
constexpr int TailInset = 28;

// Everything the balloon covers in any of its four usual places, and the
// character itself.
QRect keepOut(const QRect &character, QSize balloon)
{
    const int centre = character.center().x();
    const QRect balloons(QPoint(centre + TailInset - balloon.width(), character.top() - balloon.height()),
                         QPoint(centre - TailInset + balloon.width(), character.bottom() + balloon.height()));
    return balloons.united(character);
}

// The window and a dialog centred on it, relative to the window's corner.
QRect footprint(QSize window, QSize dialog)
{
    const QRect windowRect(QPoint(0, 0), window);
    QRect dialogRect(QPoint(0, 0), dialog);
    dialogRect.moveCenter(windowRect.center());
    return windowRect.united(dialogRect);
}

} // namespace

QPoint placeMainWindow(const WindowPlacementInput &in)
{
    const QRect avoid = keepOut(in.character, in.balloon);
    const QRect shape = footprint(in.window, in.dialog);
    // Corners that put the footprint against one side of what it avoids or of
    // the screen, or keep the design coordinate.
    const std::vector<int> xs = {in.design.x(), avoid.right() + 1 - shape.left(),
                                 avoid.left() - 1 - shape.right(), in.available.left() - shape.left(),
                                 in.available.right() - shape.right()};
    const std::vector<int> ys = {in.design.y(), avoid.bottom() + 1 - shape.top(),
                                 avoid.top() - 1 - shape.bottom(), in.available.top() - shape.top(),
                                 in.available.bottom() - shape.bottom()};
    std::optional<QPoint> best;
    long long bestDistance = std::numeric_limits<long long>::max();
    for (int x : xs) {
        for (int y : ys) {
            const QRect placed = shape.translated(x, y);
            if (!in.available.contains(placed) || placed.intersects(avoid)) continue;
            const long long dx = x - in.design.x(), dy = y - in.design.y();
            if (dx * dx + dy * dy < bestDistance) {
                bestDistance = dx * dx + dy * dy;
                best = QPoint(x, y);
            }
        }
    }
    return best.value_or(in.design);
}

QRect characterRect(FrmMain &window)
{
    const component::ObjectRef &character = window.state().AgentCharacter;
    if (!character) return {};
    auto read = [&](component::DispId id) {
        component::Args none;
        const component::Result r = character->invoke(id, component::CallKind::PropertyGet, none);
        const int32_t *value = r.ok() ? std::get_if<int32_t>(&r.value()) : nullptr;
        return value ? *value : 0;
    };
    using namespace component::character;
    return {read(Left), read(Top), read(Width), read(Height)};
}

QPoint startPosition(FrmMain &window)
{
    const QPoint design(toPixels(DesignLeftTwips), toPixels(DesignTopTwips));
    const QRect character = characterRect(window);
    if (character.isEmpty()) return design;
    QScreen *screen = QGuiApplication::screenAt(character.center());
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return design;
    return placeMainWindow({screen->availableGeometry(), character, window.size() + FrameAllowance,
                            UsualBalloon, LargestDialog, design});
}

} // namespace harness
