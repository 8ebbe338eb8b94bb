#include "ballooncomponent.h"
#include "balloonwidget.h"
#include "iconimage.h"
#include "platform/balloondriver/balloondriver.h"

#include <QAccessible>
#include <QApplication>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>

using namespace component;
using balloon::BalloonComponent;
using balloondriver::BalloonDriver;
using Answer = balloondriver::ModalAnswerer::Answer;

Q_DECLARE_METATYPE(component::Value)
Q_DECLARE_METATYPE(component::CallKind)
Q_DECLARE_METATYPE(component::Method)

namespace
{

const NamedValues storedSettings{
    {QStringLiteral("_extentx"), int32_t(847)},
    {QStringLiteral("_extenty"), int32_t(847)},
    {QStringLiteral("ballooncolor"), int32_t(0x00E1FFFF)},
    {QStringLiteral("valignmentcaption"), int32_t(2)},
    {QStringLiteral("halignmenttext"), int16_t(1)},
    {QStringLiteral("balloonplace"), int32_t(3)},
    {QStringLiteral("framecolor"), int32_t(0x004B4B4B)},
    {QStringLiteral("lineseparator"), Bool::of(false)},
    {QStringLiteral("language"), int32_t(200)},
};

// A character that answers nothing, or throws, or answers a fixed place.
class FakeCharacter : public DispatchObject
{
  public:
    enum class Mode { Placed, Failing, Throwing };
    explicit FakeCharacter(Mode mode, QRect rect = {}) : mode_(mode), rect_(rect) {}
    Result invoke(DispId id, CallKind, Args &) override
    {
        if (mode_ == Mode::Throwing) throw std::runtime_error("character gone");
        if (mode_ == Mode::Failing) return error::notSupported();
        switch (id) {
        case character::Left:
            return Value(int32_t(rect_.left()));
        case character::Top:
            return Value(int32_t(rect_.top()));
        case character::Width:
            return Value(int32_t(rect_.width()));
        case character::Height:
            return Value(int32_t(rect_.height()));
        case character::Visible:
            return Value(Bool::of(true));
        default:
            return error::notSupported();
        }
    }

  private:
    Mode mode_;
    QRect rect_;
};

// The caller's variables for one message call, passed by reference as the
// harness does.
struct MessageCall {
    QString heading = QStringLiteral("Heading");
    Value second;
    Value icon = int32_t(2);
    Value shape = int32_t(0);
    Value buttons = int32_t(8);
    Value modal = Bool::of(true);
    Value onTop = Bool::of(true);

    Args args()
    {
        return {Arg(heading),        Arg::byRef(second), Arg::byRef(icon), Arg::byRef(shape),
                Arg::byRef(buttons), Arg::byRef(modal),  Arg::byRef(onTop)};
    }
};

MessageCall callFor(Method method)
{
    MessageCall c;
    if (method == Method::MsgLabels)
        c.second = QStringList{QStringLiteral("first"), QString(), QStringLiteral("third")};
    else
        c.second = QStringLiteral("Some text for the balloon.");
    return c;
}

std::shared_ptr<BalloonComponent> makeComponent(MethodIds ids = VellixMethods, const NamedValues &stored = {})
{
    return std::make_shared<BalloonComponent>(ids, stored);
}

Result call(BalloonComponent &c, MethodIds ids, Method m, MessageCall &mc)
{
    Args args = mc.args();
    return c.invoke(ids.of(m), CallKind::Method, args);
}

Result put(BalloonComponent &c, DispId id, Value v, CallKind kind = CallKind::PropertyPut)
{
    Args args{Arg(std::move(v))};
    return c.invoke(id, kind, args);
}

Result get(BalloonComponent &c, DispId id)
{
    Args none;
    return c.invoke(id, CallKind::PropertyGet, none);
}

MsgResult resultOf(const Result &r)
{
    if (!r.ok() || !std::holds_alternative<MsgResult>(r.value())) {
        qWarning() << "not a MsgResult:" << (r.ok() ? QString() : r.error().description);
        return {};
    }
    return std::get<MsgResult>(r.value());
}

// Answers the modal balloon that comes up while it lives, through the shared
// driver, as a person or an assistive tool would.
struct Answering {
    explicit Answering(Answer answer) : answerer(driver, std::move(answer)) {}
    BalloonDriver driver; // made first: it remembers the windows already up
    balloondriver::ModalAnswerer answerer;
};

// A button as a person finds it: by its caption, in either language.
Answer press(ButtonKind kind)
{
    return [kind](QWidget *balloon) {
        return BalloonDriver::pressButtonCaptioned(
            balloon, {buttonCaption(kind, Language::English), buttonCaption(kind, Language::Russian)});
    };
}

// Keys go where the keyboard focus is, as a person's do.
Answer keys(QList<Qt::Key> keys)
{
    return [keys](QWidget *balloon) {
        for (Qt::Key key : keys) {
            QWidget *focus = balloon->focusWidget();
            QTest::keyClick(focus ? focus : balloon, key);
        }
        return QString();
    };
}

Answer typeThen(const QString &text, Answer then)
{
    return [text, then](QWidget *balloon) {
        const QString missing = BalloonDriver::typeText(balloon, text);
        return missing.isEmpty() ? then(balloon) : missing;
    };
}

Answer selectThen(int label, Answer then)
{
    return [label, then](QWidget *balloon) {
        const QString missing = BalloonDriver::selectLabel(balloon, label);
        return missing.isEmpty() ? then(balloon) : missing;
    };
}

// A mouse click inside the body, clear of the content: the padding's middle.
QString clickBody(QWidget *balloon)
{
    const QPoint inside(balloon->width() / 2, balloon->height() / 2);
    QWidget *target = balloon->childAt(inside);
    QTest::mouseClick(target ? target : balloon, Qt::LeftButton, {},
                      target ? target->mapFrom(balloon, inside) : inside);
    return {};
}

// A mouse click on a label, found where the accessibility tree says it is.
Answer clickLabel(int row)
{
    return [row](QWidget *balloon) {
        QList<QAccessibleInterface *> items;
        for (QAccessibleInterface *node :
             balloondriver::accessibleDescendants(QAccessible::queryAccessibleInterface(balloon)))
            if (node->role() == QAccessible::ListItem) items.append(node);
        if (row >= items.size()) return QStringLiteral("no label %1").arg(row);
        const QPoint at = balloon->mapFromGlobal(items.at(row)->rect().center());
        QWidget *target = balloon->childAt(at);
        if (!target) return QStringLiteral("nothing under label %1").arg(row);
        QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(balloon, at));
        return QString();
    };
}

QList<QWidget *> balloonWindows()
{
    QList<QWidget *> found;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String(balloon::BalloonWidget::windowName)) found << w;
    return found;
}

} // namespace

class TestBalloonComponent : public QObject
{
    Q_OBJECT
  private slots:
    void cleanup();

    void startsFromStoredSettings();
    void oddStoredSettingsAreIgnoredWithOneLogLine();
    void everyPropertyReadsBackWhatWasWritten();
    void propertyErrors_data();
    void propertyErrors();
    void methodArgumentErrors_data();
    void methodArgumentErrors();

    void answers_data();
    void answers();
    void modelessReturnsAtOnceAndRefusesWhileShown();
    void modalBlocksOtherWindowsModelessDoesNotTakeFocus();
    void captionsFollowLanguage_data();
    void captionsFollowLanguage();
    void unicodeTextIntactThroughInput_data();
    void unicodeTextIntactThroughInput();
    void namedForAssistiveTechnology();

    void hugeTextAndManyLabels();
    void customIconOfAnyFormatPaints_data();
    void customIconOfAnyFormatPaints();
    void oddCharacterFallsBackToScreenCentre_data();
    void oddCharacterFallsBackToScreenCentre();
    void balloonBesideCharacter();
    void componentReleasedWhileBalloonShown();
};

void TestBalloonComponent::cleanup()
{
    QTRY_VERIFY(balloonWindows().isEmpty());
}

void TestBalloonComponent::startsFromStoredSettings()
{
    auto c = makeComponent(VellixMethods, storedSettings);
    QCOMPARE(std::get<int32_t>(get(*c, prop::BalloonPlace).value()), 3);
    QCOMPARE(std::get<int32_t>(get(*c, prop::HAlignmentText).value()), 1); // widened from Integer
    QCOMPARE(std::get<Bool>(get(*c, prop::LineSeparator).value()), Bool::of(false));
    QCOMPARE(std::get<int32_t>(get(*c, prop::Language).value()), 200);
    QCOMPARE(std::get<int32_t>(get(*c, prop::CaptionColor).value()), 0); // not stored: default
}

// Stored values go through the checks of a put: a bad one is logged once and
// the default holds.
void TestBalloonComponent::oddStoredSettingsAreIgnoredWithOneLogLine()
{
    const auto expectLine = [](const char *pattern) {
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QLatin1String(pattern)));
    };
    expectLine("\"balloonplace\".*BalloonPlace must be 0 to 4 and was 9$");
    expectLine("\"Language\".*Language must be 100 or 200 and was 150$");
    expectLine("\"framecolor\".*FrameColor must be a Long and was a String$");
    expectLine("\"ballooncolor\".*BalloonColor must be 0x000000 to 0xFFFFFF and was 0x1000000$");
    auto c = makeComponent(VellixMethods, {{QStringLiteral("balloonplace"), int32_t(9)},
                                           {QStringLiteral("Language"), int32_t(150)},
                                           {QStringLiteral("framecolor"), QStringLiteral("grey")},
                                           {QStringLiteral("ballooncolor"), int32_t(0x01000000)},
                                           {QStringLiteral("halignmenttext"), int16_t(2)}});
    QCOMPARE(std::get<int32_t>(get(*c, prop::BalloonPlace).value()), 0);
    QCOMPARE(std::get<int32_t>(get(*c, prop::Language).value()), 100);
    QCOMPARE(std::get<int32_t>(get(*c, prop::FrameColor).value()), 0x4B4B4B);
    QCOMPARE(std::get<int32_t>(get(*c, prop::BalloonColor).value()), 0xE1FFFF);
    QCOMPARE(std::get<int32_t>(get(*c, prop::HAlignmentText).value()), 2);
    Answering answering(press(ButtonKind::Ok));
    MessageCall mc = callFor(Method::ShowVellix);
    QCOMPARE(resultOf(call(*c, VellixMethods, Method::ShowVellix, mc)).Button, 1);
}

void TestBalloonComponent::everyPropertyReadsBackWhatWasWritten()
{
    auto c = makeComponent();
    auto character = std::make_shared<FakeCharacter>(FakeCharacter::Mode::Failing);
    const Picture picture{QImage(16, 16, QImage::Format_ARGB32), QStringLiteral("custom.ico")};
    for (const PropertyInfo &p : properties) {
        Value v;
        switch (p.type) {
        case ValueType::Int32:
            v = int32_t(p.id == prop::Language ? 100 : 2);
            break;
        case ValueType::Bool:
            v = Bool::of(false);
            break;
        case ValueType::Object:
            v = ObjectRef(character);
            break;
        case ValueType::Picture:
            v = picture;
            break;
        default:
            QFAIL("unexpected property type");
        }
        const CallKind kind = p.type == ValueType::Object || p.type == ValueType::Picture
                                  ? CallKind::PropertyPutRef
                                  : CallKind::PropertyPut;
        QVERIFY2(put(*c, p.id, v, kind).ok(), p.name.data());
        const Result back = get(*c, p.id);
        QVERIFY2(back.ok() && back.value() == v, p.name.data());
    }
}

void TestBalloonComponent::propertyErrors_data()
{
    QTest::addColumn<DispId>("id");
    QTest::addColumn<CallKind>("kind");
    QTest::addColumn<int>("argCount");
    QTest::addColumn<Value>("value");
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("says");

    const auto row = [](const char *name, DispId id, CallKind kind, int count, Value v, int err,
                        const char *says) {
        QTest::newRow(name) << id << kind << count << v << err << QString::fromUtf8(says);
    };
    row("string into a colour", prop::FrameColor, CallKind::PropertyPut, 1, QStringLiteral("red"),
        error::TypeMismatch, "FrameColor must be a Long and was a String");
    row("integer into a boolean", prop::LineSeparator, CallKind::PropertyPut, 1, int32_t(1),
        error::TypeMismatch, "LineSeparator must be a Boolean and was a Long");
    row("string as character", prop::Character, CallKind::PropertyPutRef, 1, QStringLiteral("x"),
        error::TypeMismatch, "Character must be an Object and was a String");
    row("integer as picture", prop::CustomIcon, CallKind::PropertyPutRef, 1, int32_t(3), error::TypeMismatch,
        "CustomIcon must be a Picture and was a Long");
    row("BalloonPlace 7", prop::BalloonPlace, CallKind::PropertyPut, 1, int32_t(7),
        error::InvalidPropertyValue, "BalloonPlace must be 0 to 4 and was 7");
    row("BalloonPlace -1", prop::BalloonPlace, CallKind::PropertyPut, 1, int32_t(-1),
        error::InvalidPropertyValue, "BalloonPlace must be 0 to 4 and was -1");
    row("Language 150", prop::Language, CallKind::PropertyPut, 1, int32_t(150), error::InvalidPropertyValue,
        "Language must be 100 or 200 and was 150");
    row("HAlignmentText 3", prop::HAlignmentText, CallKind::PropertyPut, 1, int32_t(3),
        error::InvalidPropertyValue, "HAlignmentText must be 0 to 2 and was 3");
    row("colour above 0xFFFFFF", prop::BalloonColor, CallKind::PropertyPut, 1, int32_t(0x01000000),
        error::InvalidPropertyValue, "BalloonColor must be 0x000000 to 0xFFFFFF and was 0x1000000");
    row("unknown identifier", 0x68030042, CallKind::PropertyGet, 0, Value(), error::NotSupported,
        "no member 0x68030042");
    row("property called as a method", prop::Language, CallKind::Method, 0, Value(), error::NotSupported,
        "Language is a property, not a method");
    row("get with an argument", prop::Language, CallKind::PropertyGet, 1, int32_t(1), error::WrongArgCount,
        "reading Language takes no arguments and was given 1");
    row("put without a value", prop::Language, CallKind::PropertyPut, 0, Value(), error::WrongArgCount,
        "setting Language takes one value and was given 0");
    row("put with two values", prop::Language, CallKind::PropertyPut, 2, int32_t(100), error::WrongArgCount,
        "setting Language takes one value and was given 2");
    row("method read as a property", VellixMethods.ShowVellix, CallKind::PropertyGet, 0, Value(),
        error::NotSupported, "ShowVellix is a method, not a property");
}

void TestBalloonComponent::propertyErrors()
{
    QFETCH(DispId, id);
    QFETCH(CallKind, kind);
    QFETCH(int, argCount);
    QFETCH(Value, value);
    QFETCH(int, error);
    QFETCH(QString, says);

    auto c = makeComponent(VellixMethods, storedSettings);
    Args args;
    for (int i = 0; i < argCount; ++i)
        args.emplace_back(value);
    const Result r = c->invoke(id, kind, args);
    QVERIFY(!r.ok());
    QCOMPARE(r.error().number, error);
    QVERIFY2(r.error().description.endsWith(QStringLiteral(": ") + says), qPrintable(r.error().description));
    // A refused put changes nothing.
    QCOMPARE(std::get<int32_t>(get(*c, prop::BalloonPlace).value()), 3);
    QCOMPARE(std::get<int32_t>(get(*c, prop::Language).value()), 200);
}

void TestBalloonComponent::methodArgumentErrors_data()
{
    QTest::addColumn<Method>("method");
    QTest::addColumn<int>("argument"); // 0-based, -1 drops the last one
    QTest::addColumn<Value>("value");
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("says");

    const auto row = [](const char *name, Method m, int argument, Value v, int err, const char *says) {
        QTest::newRow(name) << m << argument << v << err << QString::fromUtf8(says);
    };
    row("six arguments", Method::ShowVellix, -1, Value(), error::WrongArgCount,
        "ShowVellix takes 7 arguments and was given 6");
    row("heading not a string", Method::ShowVellix, 0, Value(int32_t(1)), error::TypeMismatch,
        "argument 1, heading, must be a String and was a Long");
    row("text as labels", Method::ShowVellix, 1, Value(QStringList{}), error::TypeMismatch,
        "argument 2, text, must be a String and was a String()");
    row("labels as text", Method::MsgLabels, 1, Value(QStringLiteral("a")), error::TypeMismatch,
        "argument 2, labels, must be a String() and was a String");
    row("IconType a string", Method::MsgInput, 2, Value(QStringLiteral("1")), error::TypeMismatch,
        "argument 3, IconType, must be a Long or an Integer and was a String");
    row("ModalFlag a string", Method::ShowVellix, 5, Value(QStringLiteral("yes")), error::TypeMismatch,
        "argument 6, ModalFlag, must be a Boolean, a Long or an Integer and was a String");
    row("IconType 7", Method::ShowVellix, 2, Value(int32_t(7)), error::InvalidPropertyValue,
        "argument 3, IconType, must be 0 to 6 and was 7");
    row("MsgType 2", Method::MsgLabels, 3, Value(int32_t(2)), error::InvalidPropertyValue,
        "argument 4, MsgType, must be 0 or 1 and was 2");
    row("ButtonsType 15", Method::MsgInput, 4, Value(int32_t(15)), error::InvalidPropertyValue,
        "argument 5, ButtonsType, must be 0 to 14 and was 15");
    row("ButtonsType -1 as Integer", Method::ShowVellix, 4, Value(int16_t(-1)), error::InvalidPropertyValue,
        "argument 5, ButtonsType, must be 0 to 14 and was -1");
}

void TestBalloonComponent::methodArgumentErrors()
{
    QFETCH(Method, method);
    QFETCH(int, argument);
    QFETCH(Value, value);
    QFETCH(int, error);
    QFETCH(QString, says);

    auto c = makeComponent();
    MessageCall mc = callFor(method);
    Args args = mc.args();
    if (argument < 0)
        args.pop_back();
    else
        args[size_t(argument)] = Arg(value);
    const Result r = c->invoke(VellixMethods.of(method), CallKind::Method, args);
    QVERIFY(!r.ok());
    QCOMPARE(r.error().number, error);
    QVERIFY2(r.error().description.endsWith(QStringLiteral(": ") + says), qPrintable(r.error().description));
    QVERIFY(balloonWindows().isEmpty());
}

void TestBalloonComponent::answers_data()
{
    QTest::addColumn<QString>("classId");
    QTest::addColumn<Method>("method");
    QTest::addColumn<int>("buttonsType");
    QTest::addColumn<Answer>("action");
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("label");
    QTest::addColumn<QString>("text");

    using K = ButtonKind;
    const Answer esc = &BalloonDriver::dismiss;
    const QString typed = QStringLiteral("typed text");
    for (const std::string_view cls : {VellixClass, QuorvaneClass}) {
        const QString c = QString::fromLatin1(cls.data(), qsizetype(cls.size()));
        const auto row = [&](const char *name, Method m, int set, const Answer &a, int button, int label,
                             const QString &text) {
            QTest::addRow("%s: %s", cls.data(), name) << c << m << set << a << button << label << text;
        };
        row("press Ok", Method::ShowVellix, 8, press(K::Ok), 1, -1, {});
        row("press Cancel", Method::ShowVellix, 8, press(K::Cancel), 2, -1, {});
        row("Ok pressed on a labels balloon", Method::MsgLabels, 8, press(K::Ok), 1, 0, {});
        row("press Yes for all", Method::ShowVellix, 12, press(K::YesForAll), 15, -1, {});
        row("Enter on the first button", Method::ShowVellix, 13, keys({Qt::Key_Return}), 6, -1, {});
        row("Tab then Enter", Method::ShowVellix, 10, keys({Qt::Key_Tab, Qt::Key_Return}), 10, -1, {});
        row("Esc with Ok, Cancel", Method::ShowVellix, 8, esc, 2, -1, {});
        row("Esc with Back, Next, Close", Method::ShowVellix, 3, esc, 10, -1, {});
        row("Esc with Yes, No", Method::ShowVellix, 14, esc, 7, -1, {});
        row("Esc with Ok alone", Method::ShowVellix, 7, esc, 1, -1, {});
        row("Esc with Abort, Retry, Ignore", Method::ShowVellix, 1, esc, 0, -1, {});
        row("click on a balloon without buttons", Method::ShowVellix, 0, &clickBody, 0, -1, {});
        row("Esc without buttons", Method::ShowVellix, 0, esc, 0, -1, {});
        row("input, Enter", Method::MsgInput, 8, typeThen(typed, keys({Qt::Key_Return})), 1, -1, typed);
        row("input, Enter without buttons", Method::MsgInput, 0, typeThen(typed, keys({Qt::Key_Enter})), 0,
            -1, typed);
        row("input, press Retry", Method::MsgInput, 9, typeThen(typed, press(K::Retry)), 4, -1, typed);
        row("input, Esc", Method::MsgInput, 8, typeThen(typed, esc), 2, -1, typed);
        row("labels, arrows and Enter", Method::MsgLabels, 8,
            keys({Qt::Key_Down, Qt::Key_Down, Qt::Key_Return}), 1, 2, {});
        row("labels, Enter on the empty label", Method::MsgLabels, 6, keys({Qt::Key_Down, Qt::Key_Enter}), 9,
            1, {});
        row("labels, Esc", Method::MsgLabels, 8, keys({Qt::Key_Down, Qt::Key_Escape}), 2, -1, {});
        // Selection without moving the current index, as AT-SPI's selection interface does.
        row("labels, selected by an assistive tool, then Ok", Method::MsgLabels, 7,
            selectThen(2, press(K::Ok)), 1, 2, {});
        row("labels, click a label without buttons", Method::MsgLabels, 0, clickLabel(2), 0, 2, {});
    }
}

void TestBalloonComponent::answers()
{
    QFETCH(QString, classId);
    QFETCH(Method, method);
    QFETCH(int, buttonsType);
    QFETCH(Answer, action);
    QFETCH(int, button);
    QFETCH(int, label);
    QFETCH(QString, text);

    const MethodIds ids = *methodIdsForClass(classId.toStdString());
    auto c = makeComponent(ids);
    MessageCall mc = callFor(method);
    mc.buttons = int32_t(buttonsType);
    Answering answering(action);
    const MsgResult r = resultOf(call(*c, ids, method, mc));
    QVERIFY(answering.answerer.appeared());
    QVERIFY2(answering.answerer.answerError().isEmpty(), qPrintable(answering.answerer.answerError()));
    QVERIFY2(!answering.answerer.forcedClose(), "the action did not close the balloon");
    QCOMPARE(r.Status, 0);
    QCOMPARE(r.Button, button);
    QCOMPARE(r.Label, label);
    QCOMPARE(r.Text, text);
}

void TestBalloonComponent::modelessReturnsAtOnceAndRefusesWhileShown()
{
    const BalloonDriver driver;
    auto c = makeComponent();
    MessageCall modeless = callFor(Method::ShowVellix);
    modeless.modal = Bool::of(false);
    const MsgResult first = resultOf(call(*c, VellixMethods, Method::ShowVellix, modeless));
    QCOMPARE(first.Status, 0);
    QCOMPARE(first.Button, 0);
    QCOMPARE(balloonWindows().size(), 1);

    for (Method m : {Method::ShowVellix, Method::MsgInput, Method::MsgLabels}) {
        MessageCall again = callFor(m); // modal: would block if it showed anything
        const MsgResult refused = resultOf(call(*c, VellixMethods, m, again));
        QCOMPARE(refused.Status, 1);
        QCOMPARE(balloonWindows().size(), 1);
    }
    // Another instance is free to show its own.
    auto other = makeComponent();
    QCOMPARE(resultOf(call(*other, VellixMethods, Method::ShowVellix, modeless)).Status, 0);
    const QList<QWidget *> shown = driver.newWindows();
    QCOMPARE(shown.size(), 2);
    for (QWidget *balloon : shown)
        QCOMPARE(press(ButtonKind::Ok)(balloon), QString());
    QTRY_VERIFY(balloonWindows().isEmpty());

    Answering answering(press(ButtonKind::Cancel));
    MessageCall modal = callFor(Method::ShowVellix);
    QCOMPARE(resultOf(call(*c, VellixMethods, Method::ShowVellix, modal)).Button, 2);
}

void TestBalloonComponent::modalBlocksOtherWindowsModelessDoesNotTakeFocus()
{
    QWidget harness;
    harness.show();
    harness.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&harness));
    auto c = makeComponent();
    const BalloonDriver driver;

    MessageCall modeless = callFor(Method::MsgInput);
    modeless.modal = Bool::of(false);
    modeless.onTop = Bool::of(false);
    call(*c, VellixMethods, Method::MsgInput, modeless);
    QWidget *shown = driver.balloon();
    QVERIFY(shown);
    QVERIFY(!shown->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(shown->testAttribute(Qt::WA_ShowWithoutActivating));
    QCOMPARE(shown->windowModality(), Qt::NonModal);
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    // The offscreen platform activates every window it shows; a real one
    // honours the attribute.
    QCoreApplication::processEvents();
    if (QGuiApplication::platformName() != QLatin1String("offscreen"))
        QCOMPARE(QApplication::activeWindow(), &harness);
    shown->close();

    bool blocked = false;
    Answering answering([&](QWidget *balloon) {
        blocked = QApplication::activeModalWidget() == balloon && QTest::qWaitForWindowActive(balloon) &&
                  balloon->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        return press(ButtonKind::Ok)(balloon);
    });
    MessageCall modal = callFor(Method::ShowVellix);
    call(*c, VellixMethods, Method::ShowVellix, modal);
    QVERIFY(blocked);
}

void TestBalloonComponent::captionsFollowLanguage_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<int>("buttonsType");
    QTest::addColumn<QStringList>("captions");

    QTest::newRow("Russian, Yes Yes-for-all No Cancel")
        << 100 << 12
        << QStringList{QStringLiteral("Да"), QStringLiteral("Да для всех"), QStringLiteral("Нет"),
                       QStringLiteral("Отмена")};
    QTest::newRow("English, Yes Yes-for-all No Cancel")
        << 200 << 12
        << QStringList{QStringLiteral("Yes"), QStringLiteral("Yes for all"), QStringLiteral("No"),
                       QStringLiteral("Cancel")};
    QTest::newRow("Russian, Abort Retry Ignore")
        << 100 << 1
        << QStringList{QStringLiteral("Прервать"), QStringLiteral("Повтор"), QStringLiteral("Пропустить")};
    QTest::newRow("Russian, Ok Cancel")
        << 100 << 8 << QStringList{QStringLiteral("ОК"), QStringLiteral("Отмена")};
    QTest::newRow("Russian, Back Next Snooze")
        << 100 << 4
        << QStringList{QStringLiteral("Назад"), QStringLiteral("Далее"), QStringLiteral("Отложить")};
    QTest::newRow("Russian, Tips Options Close")
        << 100 << 11
        << QStringList{QStringLiteral("Советы"), QStringLiteral("Параметры"), QStringLiteral("Закрыть")};
    QTest::newRow("Russian, Find Close")
        << 100 << 10 << QStringList{QStringLiteral("Найти"), QStringLiteral("Закрыть")};
    QTest::newRow("English, Ok") << 200 << 7 << QStringList{QStringLiteral("Ok")};
    QTest::newRow("none") << 200 << 0 << QStringList{};
}

void TestBalloonComponent::captionsFollowLanguage()
{
    QFETCH(int, language);
    QFETCH(int, buttonsType);
    QFETCH(QStringList, captions);

    auto c = makeComponent();
    QVERIFY(put(*c, prop::Language, int32_t(language)).ok());
    MessageCall mc = callFor(Method::ShowVellix);
    mc.buttons = int32_t(buttonsType);
    Answering answering(&BalloonDriver::dismiss);
    call(*c, VellixMethods, Method::ShowVellix, mc);
    QVERIFY(answering.answerer.appeared());
    QCOMPARE(answering.answerer.sighting().namesWithRole(QAccessible::PushButton), captions);
}

void TestBalloonComponent::unicodeTextIntactThroughInput_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("Cyrillic") << QStringLiteral("Съешь же ещё этих мягких французских булок");
    QTest::newRow("Hebrew, right to left") << QStringLiteral("שלום עולם 123");
    QTest::newRow("Arabic mixed with Latin") << QStringLiteral("مرحبا Vellix بالعالم");
    QTest::newRow("emoji with modifiers and joiners")
        << QStringLiteral("👍🏽 👨‍👩‍👧 🇷🇺 ok");
}

void TestBalloonComponent::unicodeTextIntactThroughInput()
{
    QFETCH(QString, text);
    auto c = makeComponent();
    MessageCall mc = callFor(Method::MsgInput);
    mc.heading = text;
    mc.second = text;
    Answering answering(typeThen(text, keys({Qt::Key_Return})));
    const MsgResult r = resultOf(call(*c, VellixMethods, Method::MsgInput, mc));
    QCOMPARE(answering.answerer.sighting().windowName, text); // the heading names the window
    QVERIFY(answering.answerer.sighting().namesWithRole(QAccessible::StaticText).contains(text));
    QCOMPARE(r.Text, text);
    QCOMPARE(r.Button, 1);
}

void TestBalloonComponent::namedForAssistiveTechnology()
{
    auto c = makeComponent();
    put(*c, prop::Language, int32_t(200));
    MessageCall mc = callFor(Method::MsgLabels);
    mc.buttons = int32_t(8);
    Answering answering(&BalloonDriver::dismiss);
    call(*c, VellixMethods, Method::MsgLabels, mc);
    QVERIFY(answering.answerer.appeared());
    const balloondriver::Sighting &seen = answering.answerer.sighting();
    QCOMPARE(seen.windowRole, QAccessible::AlertMessage);
    QCOMPARE(seen.windowName, QStringLiteral("Heading"));
    QVERIFY(seen.namesWithRole(QAccessible::PushButton).contains(QStringLiteral("Ok")));
    QCOMPARE(seen.namesWithRole(QAccessible::List), QStringList{QStringLiteral("Labels")});
}

void TestBalloonComponent::hugeTextAndManyLabels()
{
    auto c = makeComponent();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();

    MessageCall text = callFor(Method::ShowVellix);
    text.second = QStringLiteral("Lorem ipsum dolor sit amet. ").repeated(40 * 1024); // over 1 MB
    QRect placed;
    Answering answerText([&](QWidget *b) {
        placed = b->geometry();
        return press(ButtonKind::Ok)(b);
    });
    QCOMPARE(resultOf(call(*c, VellixMethods, Method::ShowVellix, text)).Button, 1);
    QVERIFY(screen.contains(placed));

    MessageCall labels = callFor(Method::MsgLabels);
    QStringList many;
    for (int i = 0; i < 10000; ++i)
        many << QString::number(i);
    labels.second = many;
    Answering answerLabels(keys({Qt::Key_End, Qt::Key_Return}));
    const MsgResult r = resultOf(call(*c, VellixMethods, Method::MsgLabels, labels));
    QCOMPARE(r.Label, 9999);
    QCOMPARE(r.Button, 1);
}

void TestBalloonComponent::customIconOfAnyFormatPaints_data()
{
    QTest::addColumn<QImage>("picture");
    QTest::addColumn<QRgb>("centre"); // the colour the picture's centre is drawn in

    QImage noTable(24, 24, QImage::Format_Indexed8); // indices but no colours at all
    noTable.fill(200);
    QTest::newRow("indexed without a colour table") << noTable << qRgb(200, 200, 200);
    QImage shortTable(24, 24, QImage::Format_Indexed8);
    shortTable.setColorTable({qRgb(255, 0, 0), qRgb(0, 255, 0)});
    shortTable.fill(250);
    QTest::newRow("indexed, pixels past a short table") << shortTable << qRgb(250, 250, 250);
    QImage mono(24, 24, QImage::Format_Mono);
    mono.setColorCount(0);
    mono.fill(1);
    QTest::newRow("one bit without a colour table") << mono << qRgb(0, 0, 0);
    QImage monoLsb(24, 24, QImage::Format_MonoLSB);
    monoLsb.setColorTable({qRgb(0, 0, 255), qRgb(255, 0, 0)});
    monoLsb.fill(0);
    QTest::newRow("one bit with colours") << monoLsb << qRgb(0, 0, 255);
    QImage rgb16(24, 24, QImage::Format_RGB16);
    rgb16.fill(QColor(0, 0, 255));
    QTest::newRow("16 bit") << rgb16 << qRgb(0, 0, 255);
    QImage grey16(24, 24, QImage::Format_Grayscale16);
    grey16.fill(QColor(255, 255, 255));
    QTest::newRow("16 bit grey") << grey16 << qRgb(255, 255, 255);
    QImage huge(6000, 4000, QImage::Format_Indexed8); // 24 MB of indices, no colours
    huge.fill(40);
    QTest::newRow("huge, indexed without a colour table") << huge << qRgb(40, 40, 40);
    QImage hugeRgb(5000, 5000, QImage::Format_RGB32);
    hugeRgb.fill(QColor(0, 128, 0));
    QTest::newRow("huge") << hugeRgb << qRgb(0, 128, 0);
}

void TestBalloonComponent::customIconOfAnyFormatPaints()
{
    QFETCH(QImage, picture);
    QFETCH(QRgb, centre);

    const QImage drawn = balloon::drawableIcon(picture);
    QCOMPARE(drawn.format(), QImage::Format_ARGB32_Premultiplied);
    QVERIFY(std::max(drawn.width(), drawn.height()) <= balloon::drawnIconLimit);
    const QRgb seen = drawn.pixel(drawn.width() / 2, drawn.height() / 2);
    const auto near = [](int a, int b) { return std::abs(a - b) <= 2; };
    QVERIFY2(near(qRed(seen), qRed(centre)) && near(qGreen(seen), qGreen(centre)) &&
                 near(qBlue(seen), qBlue(centre)) && qAlpha(seen) == 255,
             qPrintable(QString::number(seen, 16)));

    auto c = makeComponent();
    const Picture odd{picture, QStringLiteral("odd.ico")};
    QVERIFY(put(*c, prop::CustomIcon, odd, CallKind::PropertyPutRef).ok());
    QVERIFY(get(*c, prop::CustomIcon).value() == Value(odd)); // read back as it was put
    MessageCall mc = callFor(Method::ShowVellix);
    mc.icon = int32_t(6);
    QImage shown;
    Answering answering([&](QWidget *b) {
        shown = b->grab().toImage(); // paints every part, the icon included
        return press(ButtonKind::Ok)(b);
    });
    QCOMPARE(resultOf(call(*c, VellixMethods, Method::ShowVellix, mc)).Button, 1);
    QVERIFY(!shown.isNull());
}

void TestBalloonComponent::oddCharacterFallsBackToScreenCentre_data()
{
    QTest::addColumn<ObjectRef>("character");
    QTest::newRow("no character") << ObjectRef();
    QTest::newRow("calls fail") << ObjectRef(std::make_shared<FakeCharacter>(FakeCharacter::Mode::Failing));
    QTest::newRow("calls throw") << ObjectRef(std::make_shared<FakeCharacter>(FakeCharacter::Mode::Throwing));
}

void TestBalloonComponent::oddCharacterFallsBackToScreenCentre()
{
    QFETCH(ObjectRef, character);
    auto c = makeComponent();
    QVERIFY(put(*c, prop::Character, character, CallKind::PropertyPutRef).ok());
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    Answering answering(&BalloonDriver::dismiss);
    MessageCall mc = callFor(Method::ShowVellix);
    QCOMPARE(resultOf(call(*c, VellixMethods, Method::ShowVellix, mc)).Status, 0);
    const QRect placed = answering.answerer.sighting().geometry;
    QVERIFY(screen.contains(placed));
    QVERIFY(placed.adjusted(-placed.width(), -placed.height(), placed.width(), placed.height())
                .contains(screen.center()));
}

void TestBalloonComponent::balloonBesideCharacter()
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect where(screen.left() + 20, screen.bottom() - 120, 100, 100);
    auto c = makeComponent();
    put(*c, prop::Character, ObjectRef(std::make_shared<FakeCharacter>(FakeCharacter::Mode::Placed, where)),
        CallKind::PropertyPutRef);
    QVERIFY(put(*c, prop::BalloonPlace, int32_t(1)).ok());
    Answering answering(&BalloonDriver::dismiss);
    MessageCall mc = callFor(Method::ShowVellix);
    call(*c, VellixMethods, Method::ShowVellix, mc);
    const QRect placed = answering.answerer.sighting().geometry;
    QCOMPARE(placed.bottom(), where.top() - 1);
    QVERIFY(placed.left() < where.center().x());
    QVERIFY(screen.contains(placed));
}

void TestBalloonComponent::componentReleasedWhileBalloonShown()
{
    auto c = makeComponent();
    MessageCall modeless = callFor(Method::ShowVellix);
    modeless.modal = Bool::of(false);
    call(*c, VellixMethods, Method::ShowVellix, modeless);
    QCOMPARE(balloonWindows().size(), 1);
    c.reset();
    QVERIFY(balloonWindows().isEmpty());

    // Released from inside its own modal call: the call still returns.
    auto held = makeComponent();
    Answering answering([&held](QWidget *b) {
        held.reset();
        return press(ButtonKind::Ok)(b);
    });
    MessageCall modal = callFor(Method::ShowVellix);
    Args args = modal.args();
    std::shared_ptr<BalloonComponent> caller = held;
    const Result r = caller->invoke(VellixMethods.ShowVellix, CallKind::Method, args);
    QCOMPARE(resultOf(r).Button, 1);
}

QTEST_MAIN(TestBalloonComponent)
#include "tst_ballooncomponent.moc"
