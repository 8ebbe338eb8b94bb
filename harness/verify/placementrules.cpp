#include "placementrules.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace harness::verify::placement
{

namespace
{

// How far a component may put its tail from the balloon's near edge: room
// within this much of the balloon's width is neither a fit nor a misfit.
constexpr int tailAllowance = 64;

const std::array<QString, 5> sideNames{QStringLiteral("beside"), QStringLiteral("above right"),
                                       QStringLiteral("above left"), QStringLiteral("below right"),
                                       QStringLiteral("below left")};

bool isAbove(int side)
{
    return side == 1 || side == 2;
}

bool isRight(int side)
{
    return side == 1 || side == 3;
}

int sideOf(bool above, bool right)
{
    return above ? (right ? 1 : 2) : (right ? 3 : 4);
}

std::array<int, 4> order(int place)
{
    if (place < 1 || place > 4) return {1, 2, 3, 4};
    const bool above = isAbove(place), right = isRight(place);
    return {place, sideOf(!above, right), sideOf(above, !right), sideOf(!above, !right)};
}

Fit roomFor(int room, int needed, int allowance)
{
    if (room >= needed) return Fit::Yes;
    return room + allowance < needed ? Fit::No : Fit::Maybe;
}

Fit worse(Fit a, Fit b)
{
    return std::max(a, b); // Yes < Maybe < No
}

Fit fits(int side, const QRect &screen, const QRect &character, QSize balloon)
{
    const int target = character.left() + character.width() / 2;
    const int vertical =
        isAbove(side) ? character.top() - screen.top() : screen.bottom() - character.bottom();
    const int across = isRight(side) ? screen.right() - target + 1 : target - screen.left() + 1;
    const int behind = isRight(side) ? target - screen.left() : screen.right() - target;
    // The tail's inset behind the centre line must be on the screen too.
    return worse(worse(roomFor(vertical, balloon.height(), reachPixels),
                       roomFor(across, balloon.width(), tailAllowance)),
                 roomFor(behind, tailAllowance, tailAllowance));
}

long long areaOf(const QRegion &region)
{
    long long total = 0;
    for (const QRect &r : region)
        total += static_cast<long long>(r.width()) * r.height();
    return total;
}

int gap(const QRect &a, const QRect &b)
{
    const int dx = std::max({b.left() - a.right(), a.left() - b.right(), 0});
    const int dy = std::max({b.top() - a.bottom(), a.top() - b.bottom(), 0});
    return int(std::lround(std::hypot(dx, dy)));
}

QString sideList(const QList<int> &sides)
{
    QStringList names;
    for (int s : sides)
        names.append(sideNames[size_t(s)]);
    return names.join(QStringLiteral(" or "));
}

Verdict fail(QString expected, QString got, int side = 0)
{
    return {false, std::move(expected), std::move(got), side};
}

} // namespace

QString describe(const QRect &r)
{
    return QStringLiteral("(%1,%2 %3x%4)").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

QString clippedText(const TextSeen &atOne, const TextSeen &atTwo)
{
    if (atOne.texts.isEmpty()) return QStringLiteral("no text part to be seen at scale 1");
    if (atOne.texts.size() != atTwo.texts.size())
        return QStringLiteral("%1 text parts at scale 1 but %2 at scale 2")
            .arg(atOne.texts.size())
            .arg(atTwo.texts.size());
    for (const auto &[seen, scale] : {std::pair(&atOne, 1), std::pair(&atTwo, 2)})
        for (qsizetype i = 0; i < seen->texts.size(); ++i) {
            const QRect &text = seen->texts[i];
            if (text.isEmpty() || !seen->window.contains(text))
                return QStringLiteral("text part %1 at %2, not wholly inside the window %3 at scale %4")
                    .arg(i + 1)
                    .arg(describe(text), describe(seen->window))
                    .arg(scale);
        }
    const QSize one = atOne.window.size().expandedTo(QSize(1, 1)), two = atTwo.window.size();
    for (qsizetype i = 0; i < atOne.texts.size(); ++i) {
        const QSize was = atOne.texts[i].size(), is = atTwo.texts[i].size();
        const int width = int(std::lround(double(was.width()) * two.width() / one.width()));
        const int height = int(std::lround(double(was.height()) * two.height() / one.height()));
        if (std::abs(is.width() - width) > 2 || std::abs(is.height() - height) > 2)
            return QStringLiteral("text part %1 of %2x%3 at scale 2 where the window's scale asks %4x%5")
                .arg(i + 1)
                .arg(is.width())
                .arg(is.height())
                .arg(width)
                .arg(height);
    }
    return {};
}

QList<Spot> spotsOn(const QList<QRect> &screens, QSize c)
{
    QList<Spot> spots;
    auto onAnyScreen = [&screens](QPoint p) {
        return std::any_of(screens.begin(), screens.end(), [p](const QRect &s) { return s.contains(p); });
    };
    for (qsizetype i = 0; i < screens.size(); ++i) {
        const QRect a = screens[i];
        const QString prefix = screens.size() == 1 ? QString() : QStringLiteral("s%1-").arg(i);
        const int left = a.left(), right = a.right() - c.width() + 1, midX = a.center().x() - c.width() / 2;
        const int top = a.top(), bottom = a.bottom() - c.height() + 1, midY = a.center().y() - c.height() / 2;
        const struct {
            const char *name;
            int x, y;
        } fixed[] = {{"centre", midX, midY},   {"top", midX, top},           {"bottom", midX, bottom},
                     {"left", left, midY},     {"right", right, midY},       {"topleft", left, top},
                     {"topright", right, top}, {"bottomleft", left, bottom}, {"bottomright", right, bottom}};
        for (const auto &f : fixed)
            spots.append({prefix + QLatin1String(f.name), QRect(QPoint(f.x, f.y), c)});
        // A third of the character beyond each edge that no other screen continues.
        const struct {
            const char *name;
            QPoint beyond;
            int x, y;
        } off[] = {
            {"offleft", QPoint(a.left() - 1, a.center().y()), a.left() - c.width() / 3, midY},
            {"offright", QPoint(a.right() + 1, a.center().y()), a.right() + 1 - 2 * c.width() / 3, midY},
            {"offtop", QPoint(a.center().x(), a.top() - 1), midX, a.top() - c.height() / 3},
            {"offbottom", QPoint(a.center().x(), a.bottom() + 1), midX, a.bottom() + 1 - 2 * c.height() / 3}};
        for (const auto &o : off)
            if (!onAnyScreen(o.beyond))
                spots.append({prefix + QLatin1String(o.name), QRect(QPoint(o.x, o.y), c)});
    }
    // Straddling each border two screens share: the character's centre on it.
    for (qsizetype i = 0; i < screens.size(); ++i)
        for (qsizetype j = i + 1; j < screens.size(); ++j) {
            const QRect a = screens[i], b = screens[j];
            std::optional<QPoint> centre;
            const int top = std::max(a.top(), b.top()), bottom = std::min(a.bottom(), b.bottom());
            const int left = std::max(a.left(), b.left()), right = std::min(a.right(), b.right());
            if ((a.right() + 1 == b.left() || b.right() + 1 == a.left()) && top <= bottom)
                centre = QPoint(a.right() + 1 == b.left() ? b.left() : a.left(), (top + bottom) / 2);
            else if ((a.bottom() + 1 == b.top() || b.bottom() + 1 == a.top()) && left <= right)
                centre = QPoint((left + right) / 2, a.bottom() + 1 == b.top() ? b.top() : a.top());
            if (centre)
                spots.append({QStringLiteral("border-s%1-s%2").arg(i).arg(j),
                              QRect(*centre - QPoint(c.width() / 2, c.height() / 2), c)});
        }
    return spots;
}

Verdict judge(const QList<QRect> &screens, const QRect &character, int place, const Seen &seen)
{
    const QPoint centre = character.center();
    const auto holder =
        std::find_if(screens.begin(), screens.end(), [centre](const QRect &s) { return s.contains(centre); });
    const QRect &b = seen.balloon;
    const bool above = b.center().y() < centre.y();
    const int side = sideOf(above, b.center().x() >= centre.x());
    if (holder == screens.end()) {
        // No screen holds the centre: the balloon need only be on one.
        if (std::none_of(screens.begin(), screens.end(), [&b](const QRect &s) { return s.contains(b); }))
            return fail(QStringLiteral("the balloon wholly on one screen"),
                        QStringLiteral("it at %1").arg(describe(b)), side);
        return {true, {}, {}, side};
    }
    const QRect screen = *holder;
    const auto index = holder - screens.begin();
    if (!screen.contains(b)) {
        const auto other =
            std::find_if(screens.begin(), screens.end(), [&b](const QRect &s) { return s.contains(b); });
        const QString where =
            other != screens.end()
                ? QStringLiteral("on screen %1 %2").arg(other - screens.begin()).arg(describe(*other))
            : std::any_of(screens.begin(), screens.end(),
                          [&b](const QRect &s) { return s.intersects(b) && !s.contains(b); }) &&
                    std::count_if(screens.begin(), screens.end(),
                                  [&b](const QRect &s) { return s.intersects(b); }) > 1
                ? QStringLiteral("split by a screen border")
                : QStringLiteral("partly off the screens");
        return fail(
            QStringLiteral("the balloon wholly on screen %1 %2, which holds the character's centre (%3,%4)")
                .arg(index)
                .arg(describe(screen))
                .arg(centre.x())
                .arg(centre.y()),
            QStringLiteral("it at %1, %2").arg(describe(b), where), side);
    }
    QList<int> allowed;
    Fit observedFit = Fit::No;
    for (int s : order(place)) {
        const Fit f = fits(s, screen, character, b.size());
        if (s == side) observedFit = f;
        if (f == Fit::No) continue;
        allowed.append(s);
        if (f == Fit::Yes) break;
    }
    // Nothing fits: the balloon need only stay on the screen.
    if (allowed.isEmpty()) return {true, {}, {}, side};
    if (!allowed.contains(side))
        return fail(QStringLiteral("BalloonPlace %1: the balloon %2 of the character %3 on screen %4")
                        .arg(place)
                        .arg(sideList(allowed), describe(character), describe(screen)),
                    QStringLiteral("it at %1, %2").arg(describe(b), sideNames[size_t(side)]), side);
    if (observedFit != Fit::Yes) return {true, {}, {}, side};
    const long long covered = areaOf(seen.outline.intersected(character));
    if (covered > coverPixels)
        return fail(
            QStringLiteral("the character %1 uncovered (at most %2 pixels of a tail)")
                .arg(describe(character))
                .arg(coverPixels),
            QStringLiteral("the balloon at %1 covering %2 pixels of it").arg(describe(b)).arg(covered), side);
    const int r = reachPixels;
    const QRect facing =
        above ? QRect(character.left() - r, character.top() - r, character.width() + 2 * r, 2 * r)
              : QRect(character.left() - r, character.bottom() + 1 - r, character.width() + 2 * r, 2 * r);
    if (!seen.outline.intersects(facing)) {
        int nearest = INT_MAX;
        for (const QRect &part : seen.outline)
            nearest = std::min(nearest, gap(part, character));
        return fail(QStringLiteral("the balloon's outline within %1 pixels of the character's %2 edge %3")
                        .arg(r)
                        .arg(above ? QStringLiteral("top") : QStringLiteral("bottom"), describe(character)),
                    QStringLiteral("the balloon at %1 reaching no nearer than %2 pixels")
                        .arg(describe(b))
                        .arg(nearest == INT_MAX ? -1 : nearest),
                    side);
    }
    return {true, {}, {}, side};
}

} // namespace harness::verify::placement
