// The placement lab: on each screen layout (one child process per layout,
// on Qt's offscreen platform) the character stands at each spot of
// placement::spotsOn and a balloon is shown anew for each BalloonPlace, then
// judged by placement::judge from its window geometry and outline alone.
#include "checks.h"
#include "placementmap.h"
#include "placementrules.h"
#include "platform/balloondriver/balloondriver.h"
#include "screenlayout.h"

#include <QAccessible>
#include <QBitmap>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace harness::verify
{

using namespace component;

namespace
{

// The size names are made with; the real character's size places it.
constexpr QSize nominalCharacter(128, 128);

const QString longText =
    QStringLiteral(
        "A long message that needs several lines whichever way the balloon is turned: it tells the user "
        "what happened, why, and what can be done about it, and then it says it once more in other words "
        "so that the balloon grows tall enough to matter near the edge of a small screen. ")
        .repeated(3);

struct Case {
    QString layout;
    QString spot;
    int place = 0;
    Method method = Method::ShowVellix;
    bool longText = false;
};

QString kindName(Method method)
{
    switch (method) {
    case Method::MsgInput:
        return QStringLiteral("input");
    case Method::MsgLabels:
        return QStringLiteral("labels");
    default:
        return QStringLiteral("plain");
    }
}

QList<QRect> screensNow()
{
    QList<QRect> rects;
    for (const QScreen *s : QGuiApplication::screens())
        rects.append(s->availableGeometry());
    return rects;
}

int32_t readLong(DispatchObject &object, DispId id)
{
    Args none;
    const Result r = safeInvoke(object, id, CallKind::PropertyGet, none);
    const int32_t *v = r.ok() ? std::get_if<int32_t>(&r.value()) : nullptr;
    return v ? *v : 0;
}

// What the balloon covers on the desktop: its mask, else its opaque pixels
// when its background is translucent, else its rectangle.
QRegion outlineOf(QWidget *balloon)
{
    const QRect geometry = balloon->frameGeometry();
    if (!balloon->mask().isEmpty()) return balloon->mask().translated(balloon->geometry().topLeft());
    if (!balloon->testAttribute(Qt::WA_TranslucentBackground)) return QRegion(geometry);
    QImage image = balloon->grab().toImage();
    if (image.size() != balloon->size()) image = image.scaled(balloon->size());
    return QRegion(QBitmap::fromImage(image.createAlphaMask())).translated(balloon->geometry().topLeft());
}

// The outline's point nearest the character's centre: where the tail points.
QPoint tipOf(const QRegion &outline, const QRect &character)
{
    const QPoint centre = character.center();
    QPoint best;
    qint64 bestDistance = -1;
    for (const QRect &r : outline) {
        const QPoint p(std::clamp(centre.x(), r.left(), r.right()),
                       std::clamp(centre.y(), r.top(), r.bottom()));
        const qint64 d = qint64(p.x() - centre.x()) * (p.x() - centre.x()) +
                         qint64(p.y() - centre.y()) * (p.y() - centre.y());
        if (bestDistance < 0 || d < bestDistance) {
            bestDistance = d;
            best = p;
        }
    }
    return best;
}

Outcome placementCheck(CheckedInstance &session, const Case &c, const QList<QRect> &layoutScreens)
{
    Verdict v;
    // Qt may list the screens in another order than the layout; names and
    // judgements go by the layout's.
    const QList<QRect> screens = layoutScreens;
    QList<QRect> now = screensNow(), wanted = layoutScreens;
    const auto byPosition = [](const QRect &a, const QRect &b) {
        return std::pair(a.y(), a.x()) < std::pair(b.y(), b.x());
    };
    std::sort(now.begin(), now.end(), byPosition);
    std::sort(wanted.begin(), wanted.end(), byPosition);
    if (!v.expect(now == wanted,
                  QStringLiteral("the screens of layout %1 (run by --verify on the offscreen platform)")
                      .arg(c.layout),
                  QStringLiteral("%1 other screens").arg(now.size())))
        return v.outcome();
    DispatchObject &character = *session.context().character();
    const QSize size(readLong(character, character::Width), readLong(character, character::Height));
    const QList<placement::Spot> spots = placement::spotsOn(screens, size.expandedTo(QSize(1, 1)));
    const auto spot =
        std::find_if(spots.begin(), spots.end(), [&c](const placement::Spot &s) { return s.name == c.spot; });
    if (!v.expect(spot != spots.end(), QStringLiteral("a spot named %1").arg(c.spot), QStringLiteral("none")))
        return v.outcome();
    Args left{Arg(int32_t(spot->character.left()))}, top{Arg(int32_t(spot->character.top()))};
    safeInvoke(character, character::Left, CallKind::PropertyPut, left);
    safeInvoke(character, character::Top, CallKind::PropertyPut, top);
    const Result put = session.put(prop::BalloonPlace, int32_t(c.place));
    if (!v.expect(put.ok(), QStringLiteral("BalloonPlace %1 accepted").arg(c.place), describe(put)))
        return v.outcome();
    Message m;
    m.method = c.method;
    if (c.longText) m.text = longText;
    QWidget *balloon = session.showModeless(m, v);
    if (!balloon) return v.outcome();
    const placement::Seen seen{balloon->frameGeometry(), outlineOf(balloon)};
    const placement::Verdict verdict = placement::judge(screens, spot->character, c.place, seen);
    if (!session.context().placementMap().isEmpty())
        placement::appendRecord(session.context().placementMap(),
                                {c.layout, session.context().currentCheck(), spot->character, seen.balloon,
                                 tipOf(seen.outline, spot->character), verdict.passed});
    if (!verdict.passed) return Outcome::fail(verdict.expected, verdict.got);
    return v.outcome();
}

// The balloon's window and its text parts as its accessible objects place them.
placement::TextSeen textOf(QWidget *balloon)
{
    placement::TextSeen seen{balloon->frameGeometry(), {}};
    for (QAccessibleInterface *node : accessibleDescendants(QAccessible::queryAccessibleInterface(balloon)))
        if (node->role() == QAccessible::StaticText ||
            (node->role() == QAccessible::EditableText && node->state().readOnly))
            seen.texts.append(node->rect());
    return seen;
}

// On a layout with screens at scale 1 and 2: the same balloon at the centre
// of the first screen of each scale has the same size in logical pixels, so
// twice as many device pixels each way at scale 2, and shows all its text
// at both.
Outcome scaleCheck(CheckedInstance &session, const ScreenLayout &layout)
{
    Verdict v;
    DispatchObject &character = *session.context().character();
    const QSize size(readLong(character, character::Width), readLong(character, character::Height));
    QList<QSize> pixels;
    QList<placement::TextSeen> texts;
    for (double dpr : {1.0, 2.0}) {
        const auto screen = std::find_if(layout.screens.begin(), layout.screens.end(),
                                         [dpr](const LayoutScreen &s) { return s.dpr == dpr; });
        QRect spot(QPoint(0, 0), size);
        spot.moveCenter(screen->geometry.center());
        Args left{Arg(int32_t(spot.left()))}, top{Arg(int32_t(spot.top()))};
        safeInvoke(character, character::Left, CallKind::PropertyPut, left);
        safeInvoke(character, character::Top, CallKind::PropertyPut, top);
        QWidget *balloon = session.showModeless(Message(), v);
        if (!balloon) return v.outcome();
        const QImage image = balloon->grab().toImage();
        pixels.append(image.size());
        texts.append(textOf(balloon));
        balloon->close();
        QCoreApplication::processEvents();
        if (!v.expect(image.devicePixelRatio() == dpr, QStringLiteral("a picture at scale %1").arg(dpr),
                      QStringLiteral("one at scale %1").arg(image.devicePixelRatio())))
            return v.outcome();
    }
    const QSize twice = pixels[0] * 2;
    v.expect(std::abs(pixels[1].width() - twice.width()) <= 2 &&
                 std::abs(pixels[1].height() - twice.height()) <= 2,
             QStringLiteral("%1x%2 device pixels at scale 2, twice the %3x%4 at scale 1")
                 .arg(twice.width())
                 .arg(twice.height())
                 .arg(pixels[0].width())
                 .arg(pixels[0].height()),
             QStringLiteral("%1x%2").arg(pixels[1].width()).arg(pixels[1].height()));
    const QString clipped = placement::clippedText(texts[0], texts[1]);
    v.expect(clipped.isEmpty(), QStringLiteral("the balloon's text wholly shown at scale 1 and 2"), clipped);
    return v.outcome();
}

// The spots where the other kinds and a long text are tried too.
bool sampled(const QString &spot)
{
    return spot.endsWith(QLatin1String("centre")) || spot.endsWith(QLatin1String("bottomright")) ||
           spot.startsWith(QLatin1String("border"));
}

} // namespace

void addPlacementChecks(QList<Check> &checks, const QList<ScreenLayout> &layouts)
{
    for (const ScreenLayout &layout : layouts) {
        const QList<QRect> screens = layout.geometries();
        auto add = [&](const Case &c) {
            checks.append(
                {QStringLiteral("placement.%1.%2.place%3.%4.%5")
                     .arg(c.layout, c.spot)
                     .arg(c.place)
                     .arg(kindName(c.method), c.longText ? QStringLiteral("long") : QStringLiteral("short")),
                 [c, screens](CheckedInstance &s) { return placementCheck(s, c, screens); }});
        };
        const auto scaled = [&layout](double dpr) {
            return std::any_of(layout.screens.begin(), layout.screens.end(),
                               [dpr](const LayoutScreen &s) { return s.dpr == dpr; });
        };
        if (scaled(1) && scaled(2))
            checks.append({QStringLiteral("placement.%1.scale-1-and-2.place0.plain.short").arg(layout.name),
                           [layout](CheckedInstance &s) { return scaleCheck(s, layout); }});
        for (const placement::Spot &spot : placement::spotsOn(screens, nominalCharacter)) {
            for (int place = 0; place <= 4; ++place)
                add({layout.name, spot.name, place});
            if (!sampled(spot.name)) continue;
            add({layout.name, spot.name, 0, Method::MsgInput});
            add({layout.name, spot.name, 0, Method::MsgLabels});
            add({layout.name, spot.name, 0, Method::ShowVellix, true});
        }
    }
}

} // namespace harness::verify
