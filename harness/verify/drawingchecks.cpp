// What a balloon draws, read from its picture (grabbed from its window) and
// its accessible parts, without reference pictures: each colour property in
// the part it colours, the icon, the alignments of heading and text, and the
// separator line. Each sets colours no other part uses, so a pixel of that
// colour can only come from the part the check is about.
#include "checks.h"
#include "coloursampling.h"

#include <QCoreApplication>
#include <QWidget>

namespace harness::verify
{

using namespace component;
using sampling::nameOf;

namespace
{

// A part of the balloon as an assistive tool finds it, in picture pixels.
struct Part {
    QAccessible::Role role;
    QString name;
    QRect rect;
};

struct Drawn {
    QImage image;
    QList<Part> parts;

    const Part *find(QAccessible::Role role, const QString &name = {}) const
    {
        for (const Part &p : parts)
            if (p.role == role && (name.isEmpty() || p.name == name)) return &p;
        return nullptr;
    }
    // The message text: a label or a read-only text field, named by its text.
    const Part *text(const QString &text) const
    {
        for (const Part &p : parts)
            if ((p.role == QAccessible::StaticText || p.role == QAccessible::EditableText) && p.name == text)
                return &p;
        return nullptr;
    }
};

// 0x00BBGGRR, as the contract stores colours.
int32_t contractColour(const QColor &c)
{
    return int32_t(c.red() | (c.green() << 8) | (c.blue() << 16));
}

// Colours far from each other, from the defaults, and from their own
// red-and-blue swap.
const QColor balloonColour(250, 236, 120);
const QColor headingColour(0, 110, 225);
const QColor textColour(215, 30, 0);
const QColor frameColour(205, 0, 120);
const QColor lineColour(0, 170, 60);
const QColor buttonColour(255, 170, 40);
const QColor buttonCaptionColour(60, 0, 190);

std::optional<Drawn> showAndGrab(CheckedInstance &session, const Message &shown, Verdict &v)
{
    QWidget *balloon = session.showModeless(shown, v);
    if (!balloon) return std::nullopt;
    Drawn drawn;
    drawn.image = balloon->grab().toImage();
    const qreal scale = drawn.image.devicePixelRatio();
    const QPoint origin = balloon->mapToGlobal(QPoint(0, 0));
    for (QAccessibleInterface *node : accessibleDescendants(QAccessible::queryAccessibleInterface(balloon))) {
        const QRect r = node->rect().translated(-origin);
        drawn.parts.append({node->role(), node->text(QAccessible::Name),
                            QRect(QPoint(int(r.left() * scale), int(r.top() * scale)), r.size() * scale)});
    }
    return drawn;
}

Message sample()
{
    Message m;
    m.heading = QStringLiteral("A heading wide enough");
    m.text = QStringLiteral("Ok.");
    return m;
}

struct ColourCase {
    DispId property;
    const char *name;
    QColor colour;
    int minimum; // pixels
};

const ColourCase colourCases[] = {
    {prop::BalloonColor, "BalloonColor", balloonColour, 2000},
    {prop::CaptionColor, "CaptionColor", headingColour, 4},
    {prop::TextColor, "TextColor", textColour, 4},
    {prop::FrameColor, "FrameColor", frameColour, 40},
    {prop::LineColor, "LineColor", lineColour, 20},
    {prop::ButtonColor, "ButtonColor", buttonColour, 100},
    {prop::ButtonCaptionColor, "ButtonCaptionColor", buttonCaptionColour, 4},
};

Outcome colourCheck(CheckedInstance &session, const ColourCase &c)
{
    Verdict v;
    const Result put = session.put(c.property, contractColour(c.colour));
    if (!v.expect(put.ok(), QStringLiteral("%1 accepted").arg(QLatin1String(c.name)), describe(put)))
        return v.outcome();
    if (c.property == prop::LineColor) session.put(prop::LineSeparator, Bool::of(true));
    const std::optional<Drawn> drawn = showAndGrab(session, sample(), v);
    if (!drawn) return v.outcome();
    // Heading and text are looked for where they are; the rest anywhere.
    QRect area;
    if (const Part *heading = drawn->find(QAccessible::StaticText, sample().heading);
        heading && c.property == prop::CaptionColor)
        area = heading->rect;
    if (const Part *text = drawn->text(sample().text); text && c.property == prop::TextColor)
        area = text->rect;
    const int found = sampling::countNear(drawn->image, c.colour, area);
    v.expect(found >= c.minimum,
             QStringLiteral("%1 %2 in at least %3 pixels")
                 .arg(QLatin1String(c.name), nameOf(c.colour))
                 .arg(c.minimum),
             QStringLiteral("%1 such pixels, the nearest colour drawn %2")
                 .arg(found)
                 .arg(nameOf(sampling::nearestTo(drawn->image, c.colour, area))));
    return v.outcome();
}

// A line across the gap between heading and text, exactly when the
// separator is on; in whatever colour, which the colour checks judge.
Outcome separatorCheck(CheckedInstance &session, bool on)
{
    Verdict v;
    const Result put = session.put(prop::LineSeparator, Bool::of(on));
    if (!v.expect(put.ok(), QStringLiteral("LineSeparator accepted"), describe(put))) return v.outcome();
    const std::optional<Drawn> drawn = showAndGrab(session, sample(), v);
    if (!drawn) return v.outcome();
    const Part *heading = drawn->find(QAccessible::StaticText, sample().heading);
    const Part *text = drawn->text(sample().text);
    if (!v.expect(heading && text, QStringLiteral("the heading and the text as accessible parts"),
                  QStringLiteral("not both")))
        return v.outcome();
    const QRect gap(QPoint(heading->rect.left(), heading->rect.bottom() + 1),
                    QPoint(heading->rect.right(), text->rect.top() - 1));
    const QColor background = drawn->image.pixelColor(heading->rect.topLeft());
    const QList<int> rows =
        gap.isEmpty() ? QList<int>() : sampling::rowsUnlike(drawn->image, background, gap, 0.5);
    const QString between =
        QStringLiteral("between the heading and the text (rows %1 to %2)").arg(gap.top()).arg(gap.bottom());
    if (on)
        v.expect(!rows.isEmpty(), QStringLiteral("a line %1").arg(between), QStringLiteral("none"));
    else
        v.expect(rows.isEmpty(), QStringLiteral("no line %1 with LineSeparator off").arg(between),
                 QStringLiteral("one at row %1").arg(rows.value(0)));
    return v.outcome();
}

// IconType 1 to 6 show an accessible image drawn in other colours than the
// balloon's; 0 shows none.
Outcome iconCheck(CheckedInstance &session, int32_t icon)
{
    Verdict v;
    session.put(prop::BalloonColor, contractColour(balloonColour));
    if (icon == 6) {
        const Result put = session.putRef(prop::CustomIcon, verifyPicture());
        if (!v.expect(put.ok(), QStringLiteral("a custom icon accepted"), describe(put))) return v.outcome();
    }
    Message m = sample();
    m.iconType = icon;
    const std::optional<Drawn> drawn = showAndGrab(session, m, v);
    if (!drawn) return v.outcome();
    const Part *image = drawn->find(QAccessible::Graphic);
    if (icon == 0) {
        v.expect(!image, QStringLiteral("no icon with IconType 0"),
                 QStringLiteral("an accessible image \"%1\"").arg(image ? image->name : QString()));
        return v.outcome();
    }
    if (!v.expect(image && !image->rect.isEmpty(), QStringLiteral("an accessible image with a rectangle"),
                  image ? QStringLiteral("an empty one") : QStringLiteral("none")))
        return v.outcome();
    const int drawnPixels = sampling::countUnlike(drawn->image, balloonColour, image->rect);
    const int wanted = image->rect.width() * image->rect.height() / 10;
    v.expect(drawnPixels >= wanted,
             QStringLiteral("at least %1 pixels of the icon's rectangle in other colours than the balloon's")
                 .arg(wanted),
             QStringLiteral("%1").arg(drawnPixels));
    if (icon == 6) {
        const QColor custom(0x2a, 0x7a, 0xd4); // the verify picture's disc
        const int found = sampling::countNear(drawn->image, custom, image->rect);
        v.expect(found >= 20,
                 QStringLiteral("the custom picture's colour %1 in the icon").arg(nameOf(custom)),
                 QStringLiteral("%1 such pixels").arg(found));
    }
    return v.outcome();
}

enum class Axis { Horizontal, Vertical };

// Where the coloured pixels of a part sit within its rectangle: 0 start,
// 1 centre, 2 end, judged by the room left on either side.
int positionWithin(const QRect &ink, const QRect &part, Axis axis)
{
    const int before = axis == Axis::Horizontal ? ink.left() - part.left() : ink.top() - part.top();
    const int after = axis == Axis::Horizontal ? part.right() - ink.right() : part.bottom() - ink.bottom();
    const int slack = std::max(3, (before + after) / 5);
    if (std::abs(before - after) <= slack) return 1;
    return before < after ? 0 : 2;
}

// HAlignmentText: 0 left, 1 right, 2 centre of the text; VAlignmentCaption:
// 0 top, 1 centre, 2 bottom of the heading beside the icon.
Outcome alignmentCheck(CheckedInstance &session, DispId property, int32_t value)
{
    Verdict v;
    const bool text = property == prop::HAlignmentText;
    const Result put = session.put(property, value);
    if (!v.expect(put.ok(), QStringLiteral("alignment %1 accepted").arg(value), describe(put)))
        return v.outcome();
    Message m = sample();
    if (!text) {
        m.iconType = 2;
        m.heading = QStringLiteral("Hi");
    }
    const std::optional<Drawn> drawn = showAndGrab(session, m, v);
    if (!drawn) return v.outcome();
    if (!text &&
        !v.expect(drawn->find(QAccessible::Graphic) != nullptr,
                  QStringLiteral("an icon for the heading to align against"), QStringLiteral("none")))
        return v.outcome();
    const Part *part = text ? drawn->text(m.text) : drawn->find(QAccessible::StaticText, m.heading);
    if (!v.expect(part != nullptr,
                  QStringLiteral("the %1 as an accessible part")
                      .arg(text ? QStringLiteral("text") : QStringLiteral("heading")),
                  QStringLiteral("none")))
        return v.outcome();
    // Whatever differs from the part's background is its text.
    const QColor background = drawn->image.pixelColor(part->rect.topLeft());
    const QRect ink = sampling::boundsUnlike(drawn->image, background, part->rect);
    if (!v.expect(!ink.isEmpty(), QStringLiteral("text drawn in it"), QStringLiteral("none")))
        return v.outcome();
    const int wanted = text ? (value == 0 ? 0 : value == 1 ? 2 : 1) : value;
    const int found = positionWithin(ink, part->rect, text ? Axis::Horizontal : Axis::Vertical);
    static const QString horizontal[] = {QStringLiteral("left"), QStringLiteral("centre"),
                                         QStringLiteral("right")};
    static const QString vertical[] = {QStringLiteral("top"), QStringLiteral("centre"),
                                       QStringLiteral("bottom")};
    const QString *names = text ? horizontal : vertical;
    v.expect(found == wanted,
             QStringLiteral("the %1 at the %2 of its rectangle (%3,%4 %5x%6)")
                 .arg(text ? QStringLiteral("text") : QStringLiteral("heading"), names[wanted])
                 .arg(part->rect.x())
                 .arg(part->rect.y())
                 .arg(part->rect.width())
                 .arg(part->rect.height()),
             QStringLiteral("it drawn at the %1, at (%2,%3 %4x%5)")
                 .arg(names[found])
                 .arg(ink.x())
                 .arg(ink.y())
                 .arg(ink.width())
                 .arg(ink.height()));
    return v.outcome();
}

} // namespace

void addDrawingChecks(QList<Check> &checks)
{
    for (const ColourCase &c : colourCases)
        checks.append({QStringLiteral("drawing.colour.%1").arg(QLatin1String(c.name)),
                       [c](CheckedInstance &s) { return colourCheck(s, c); }});
    for (bool on : {true, false})
        checks.append({QStringLiteral("drawing.LineSeparator.%1")
                           .arg(on ? QStringLiteral("on") : QStringLiteral("off")),
                       [on](CheckedInstance &s) { return separatorCheck(s, on); }});
    for (int32_t icon = 0; icon <= 6; ++icon)
        checks.append({QStringLiteral("drawing.icon.IconType%1").arg(icon),
                       [icon](CheckedInstance &s) { return iconCheck(s, icon); }});
    for (int32_t value = 0; value <= 2; ++value) {
        checks.append({QStringLiteral("drawing.HAlignmentText%1").arg(value), [value](CheckedInstance &s) {
                           return alignmentCheck(s, prop::HAlignmentText, value);
                       }});
        checks.append({QStringLiteral("drawing.VAlignmentCaption%1").arg(value), [value](CheckedInstance &s) {
                           return alignmentCheck(s, prop::VAlignmentCaption, value);
                       }});
    }
}

} // namespace harness::verify
