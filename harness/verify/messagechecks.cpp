// The three methods called modal and modeless: the balloon appears as a
// window for assistive tools, its buttons pressed through the accessibility
// interface return their numbers, and typed text, selected labels,
// dismissals and placement come back as documented.
#include "checks.h"

#include "balloon/buttonset.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

namespace harness::verify
{

using namespace component;
using balloon::ButtonKind;

namespace
{

const QString typed = QStringLiteral("Typed \u00e9 text");

QString languageName(balloon::Language language)
{
    return language == balloon::Language::English ? QStringLiteral("English") : QStringLiteral("Russian");
}

// Reads the balloon as an assistive tool would: an announced window naming
// its heading and text, and the given buttons.
bool expectBalloon(Verdict &v, const Shown &shown, const Message &m, const QStringList &buttons)
{
    if (!v.expect(shown.appeared, QStringLiteral("a balloon window"),
                  QStringLiteral("none (%1)").arg(describe(shown.result))))
        return false;
    const Sighting &s = shown.sighting;
    v.expect(s.windowRole == QAccessible::AlertMessage || s.windowRole == QAccessible::Dialog,
             QStringLiteral("an alert or dialog window for assistive tools"),
             QStringLiteral("accessible role %1").arg(int(s.windowRole)));
    v.expect(s.hasName(m.heading), QStringLiteral("the heading \"%1\" as an accessible name").arg(m.heading),
             QStringLiteral("names [%1]")
                 .arg(s.namesWithRole(QAccessible::StaticText).join(QStringLiteral(", "))));
    if (m.method == Method::MsgLabels) {
        const QStringList items = s.namesWithRole(QAccessible::ListItem);
        v.expect(items == m.labels, QStringLiteral("labels [%1]").arg(m.labels.join(QStringLiteral(", "))),
                 QStringLiteral("[%1]").arg(items.join(QStringLiteral(", "))));
    } else {
        const bool textNamed =
            s.hasName(m.text) || std::any_of(s.nodes.begin(), s.nodes.end(),
                                             [&](const AccessibleNode &n) { return n.value == m.text; });
        v.expect(textNamed, QStringLiteral("the text \"%1\" readable by assistive tools").arg(m.text),
                 QStringLiteral("no such name or value"));
    }
    if (m.method == Method::MsgInput)
        v.expect(s.hasInputField(), QStringLiteral("an input field"), QStringLiteral("none"));
    QStringList shownButtons = s.namesWithRole(QAccessible::PushButton);
    QStringList wanted = buttons;
    shownButtons.sort();
    wanted.sort();
    v.expect(shownButtons == wanted, QStringLiteral("buttons [%1]").arg(buttons.join(QStringLiteral(", "))),
             QStringLiteral("[%1]").arg(s.namesWithRole(QAccessible::PushButton).join(QStringLiteral(", "))));
    v.expect(shown.answerError.isEmpty(), QStringLiteral("to answer the balloon"), shown.answerError);
    v.expect(!shown.forcedClose, QStringLiteral("the balloon to close when answered"),
             QStringLiteral("it still up 3 s later"));
    return !v.failed();
}

// The answer of a shown balloon, or none after recording why.
std::optional<MsgResult> answerOf(Verdict &v, const Shown &shown)
{
    const MsgResult *r = shown.result.ok() ? std::get_if<MsgResult>(&shown.result.value()) : nullptr;
    if (!v.expect(r != nullptr, QStringLiteral("a MsgResult"), describe(shown.result))) return std::nullopt;
    return *r;
}

// A focused list may select its first label by itself, so Label is only
// compared where the check chose or dismissed.
enum class LabelCheck { Compared, Ignored };

void expectAnswer(Verdict &v, const MsgResult &got, MsgResult want, const QString &action,
                  LabelCheck label = LabelCheck::Compared)
{
    if (label == LabelCheck::Ignored) want.Label = got.Label;
    v.expect(got == want, QStringLiteral("%1 after %2").arg(describe(want), action), describe(got));
}

// What a balloon answered by `action` must return: Label -1 without a
// chosen label, Text empty unless typed.
MsgResult expected(int button, int label = -1, const QString &text = {})
{
    return MsgResult{button, label, text, 0};
}

QStringList captions(std::span<const ButtonKind> set, balloon::Language language)
{
    QStringList list;
    for (ButtonKind kind : set)
        list.append(balloon::buttonCaption(kind, language));
    return list;
}

// Shows the set once per button and presses it; a set without buttons is
// dismissed with Esc.
Outcome buttonsCheck(CheckedInstance &session, Method method, int set, balloon::Language language)
{
    Verdict v;
    const Result language_ = session.put(prop::Language, int32_t(language));
    if (!v.expect(language_.ok(), QStringLiteral("Language %1 accepted").arg(int(language)),
                  describe(language_)))
        return v.outcome();
    Message m;
    m.method = method;
    m.buttonsType = set;
    const QStringList names = captions(balloon::buttonSet(set), language);
    if (names.isEmpty()) {
        const Shown shown = session.showModal(m, &BalloonDriver::dismiss);
        if (expectBalloon(v, shown, m, names))
            if (const auto got = answerOf(v, shown))
                expectAnswer(v, *got, expected(0), QStringLiteral("Esc"));
        return v.outcome();
    }
    for (ButtonKind kind : balloon::buttonSet(set)) {
        const QString name = balloon::buttonCaption(kind, language);
        const Shown shown =
            session.showModal(m, [name](QWidget *b) { return BalloonDriver::pressButton(b, name); });
        if (!expectBalloon(v, shown, m, names)) break;
        const auto got = answerOf(v, shown);
        if (!got) break;
        expectAnswer(v, *got, expected(int(kind)), QStringLiteral("pressing \"%1\"").arg(name),
                     LabelCheck::Ignored);
        if (v.failed()) break;
    }
    return v.outcome();
}

// Ok pressed on a balloon with the given icon or shape.
Outcome okCheck(CheckedInstance &session, Message m)
{
    Verdict v;
    if (m.iconType == 6) {
        const Result put = session.putRef(prop::CustomIcon, verifyPicture());
        if (!v.expect(put.ok(), QStringLiteral("a custom icon accepted"), describe(put))) return v.outcome();
    }
    const Shown shown =
        session.showModal(m, [](QWidget *b) { return BalloonDriver::pressButton(b, QStringLiteral("Ok")); });
    if (expectBalloon(v, shown, m, {QStringLiteral("Ok")}))
        if (const auto got = answerOf(v, shown))
            expectAnswer(v, *got, expected(1), QStringLiteral("pressing \"Ok\""), LabelCheck::Ignored);
    return v.outcome();
}

// Esc on Ok/Cancel answers Cancel, without a label; text typed first stays.
Outcome dismissalCheck(CheckedInstance &session, Method method)
{
    Verdict v;
    Message m;
    m.method = method;
    m.buttonsType = 8;
    const bool input = method == Method::MsgInput;
    const Shown shown = session.showModal(m, [input](QWidget *b) {
        const QString error = input ? BalloonDriver::typeText(b, typed) : QString();
        return error.isEmpty() ? BalloonDriver::dismiss(b) : error;
    });
    if (expectBalloon(v, shown, m, {QStringLiteral("Ok"), QStringLiteral("Cancel")}))
        if (const auto got = answerOf(v, shown))
            expectAnswer(v, *got, expected(2, -1, input ? typed : QString()), QStringLiteral("Esc"));
    return v.outcome();
}

Outcome typedTextCheck(CheckedInstance &session)
{
    Verdict v;
    Message m;
    m.method = Method::MsgInput;
    const Shown shown = session.showModal(m, [](QWidget *b) {
        const QString error = BalloonDriver::typeText(b, typed);
        return error.isEmpty() ? BalloonDriver::pressButton(b, QStringLiteral("Ok")) : error;
    });
    if (expectBalloon(v, shown, m, {QStringLiteral("Ok")}))
        if (const auto got = answerOf(v, shown))
            expectAnswer(v, *got, expected(1, -1, typed), QStringLiteral("typing and pressing \"Ok\""));
    return v.outcome();
}

Outcome selectedLabelCheck(CheckedInstance &session)
{
    Verdict v;
    Message m;
    m.method = Method::MsgLabels;
    const Shown shown = session.showModal(m, [](QWidget *b) {
        const QString error = BalloonDriver::selectLabel(b, 1);
        return error.isEmpty() ? BalloonDriver::pressButton(b, QStringLiteral("Ok")) : error;
    });
    if (expectBalloon(v, shown, m, {QStringLiteral("Ok")}))
        if (const auto got = answerOf(v, shown))
            expectAnswer(v, *got, expected(1, 1), QStringLiteral("selecting label 1 and pressing \"Ok\""));
    return v.outcome();
}

void settle()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

// Returns at once with Button 0; a second call while it is up gives Status 1.
Outcome modelessCheck(CheckedInstance &session, Method method)
{
    Verdict v;
    Message m;
    m.method = method;
    m.modal = false;
    BalloonDriver driver;
    Result first;
    {
        // Answers a balloon that wrongly waits, so the check ends.
        ModalAnswerer rescue(driver, &BalloonDriver::pressFirstButton);
        first = session.call(m);
        if (!v.expect(!rescue.appeared(), QStringLiteral("the call to return at once"),
                      QStringLiteral("it waiting for an answer")))
            return v.outcome();
    }
    const MsgResult *r = first.ok() ? std::get_if<MsgResult>(&first.value()) : nullptr;
    if (!v.expect(r && *r == MsgResult{0, r->Label, r->Text, 0}, QStringLiteral("Button 0, Status 0"),
                  describe(first)))
        return v.outcome();
    settle();
    QWidget *balloon = driver.balloon();
    if (!v.expect(balloon != nullptr, QStringLiteral("a balloon window left up"), QStringLiteral("none")))
        return v.outcome();
    const Result second = session.call(m);
    const MsgResult *busy = second.ok() ? std::get_if<MsgResult>(&second.value()) : nullptr;
    v.expect(busy && busy->Status == 1, QStringLiteral("Status 1 from a second call"), describe(second));
    settle();
    const qsizetype windows = driver.newWindows().size();
    v.expect(windows == 1, QStringLiteral("one balloon on the screen"),
             QStringLiteral("%1 windows").arg(windows));
    BalloonDriver::pressFirstButton(balloon);
    settle();
    return v.outcome();
}

QRect characterRect(CheckedInstance &session)
{
    DispatchObject &c = *session.context().character();
    auto read = [&c](DispId id) {
        Args none;
        const Result r = safeInvoke(c, id, CallKind::PropertyGet, none);
        const int32_t *v = r.ok() ? std::get_if<int32_t>(&r.value()) : nullptr;
        return v ? *v : 0;
    };
    return QRect(read(character::Left), read(character::Top), read(character::Width),
                 read(character::Height));
}

// The balloon lies on the character's screen and leaves the character clear.
Outcome placementCheck(CheckedInstance &session, int32_t place)
{
    Verdict v;
    const Result put = session.put(prop::BalloonPlace, place);
    if (!v.expect(put.ok(), QStringLiteral("BalloonPlace %1 accepted").arg(place), describe(put)))
        return v.outcome();
    Message m;
    const Shown shown =
        session.showModal(m, [](QWidget *b) { return BalloonDriver::pressButton(b, QStringLiteral("Ok")); });
    if (!expectBalloon(v, shown, m, {QStringLiteral("Ok")})) return v.outcome();
    const QRect character = characterRect(session);
    const QScreen *screen = QGuiApplication::screenAt(character.center());
    if (!screen) screen = QGuiApplication::primaryScreen();
    const QRect area = screen->availableGeometry();
    const QRect balloon = shown.sighting.geometry;
    auto rect = [](const QRect &r) {
        return QStringLiteral("(%1,%2 %3x%4)").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
    };
    v.expect(area.contains(balloon), QStringLiteral("the balloon inside the screen %1").arg(rect(area)),
             QStringLiteral("it at %1").arg(rect(balloon)));
    v.expect(!shown.sighting.region.intersects(character),
             QStringLiteral("the character %1 uncovered").arg(rect(character)),
             QStringLiteral("the balloon at %1 over it").arg(rect(balloon)));
    return v.outcome();
}

} // namespace

void addMessageChecks(QList<Check> &checks)
{
    using balloon::Language;
    for (Method method : allMethods) {
        const QString name = methodName(method);
        for (int32_t icon = 0; icon <= 6; ++icon)
            checks.append(
                {QStringLiteral("%1.IconType%2").arg(name).arg(icon), [method, icon](CheckedInstance &s) {
                     Message m;
                     m.method = method;
                     m.iconType = icon;
                     return okCheck(s, m);
                 }});
        for (int32_t shape = 0; shape <= 1; ++shape)
            checks.append(
                {QStringLiteral("%1.MsgType%2").arg(name).arg(shape), [method, shape](CheckedInstance &s) {
                     Message m;
                     m.method = method;
                     m.msgType = shape;
                     return okCheck(s, m);
                 }});
        for (Language language : {Language::English, Language::Russian})
            for (int set = 0; set < balloon::buttonSetCount; ++set)
                checks.append(
                    {QStringLiteral("%1.ButtonsType%2.%3").arg(name).arg(set).arg(languageName(language)),
                     [method, set, language](CheckedInstance &s) {
                         return buttonsCheck(s, method, set, language);
                     }});
        checks.append({name + QStringLiteral(".Dismissal"),
                       [method](CheckedInstance &s) { return dismissalCheck(s, method); }});
        checks.append({name + QStringLiteral(".Modeless"),
                       [method](CheckedInstance &s) { return modelessCheck(s, method); }});
    }
    checks.append({QStringLiteral("MsgInput.TypedText"), &typedTextCheck});
    checks.append({QStringLiteral("MsgLabels.SelectedLabel"), &selectedLabelCheck});
    for (int32_t place = 0; place <= 4; ++place)
        checks.append({QStringLiteral("ShowVellix.BalloonPlace%1").arg(place),
                       [place](CheckedInstance &s) { return placementCheck(s, place); }});
}

} // namespace harness::verify
