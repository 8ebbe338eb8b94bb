// The driver answers any balloon-like window through the accessibility
// interface alone: a plain widget window stands in for a component's balloon.
#include "platform/balloondriver/balloondriver.h"
#include "platform/balloondriver/localballoonaccess.h"
#include "platform/balloondriver/ownwindow.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

using namespace balloondriver;

namespace
{

// A window with a heading, an input, a list and two buttons, recording what
// the driver did to it.
class StandIn : public QWidget
{
  public:
    StandIn()
    {
        auto *layout = new QVBoxLayout(this);
        layout->addWidget(new QLabel(QStringLiteral("Heading"), this));
        input = new QLineEdit(this);
        layout->addWidget(input);
        list = new QListWidget(this);
        list->addItems({QStringLiteral("First"), QStringLiteral("Second")});
        layout->addWidget(list);
        for (const QString &caption : {QStringLiteral("Yes"), QStringLiteral("No")}) {
            auto *button = new QPushButton(caption, this);
            connect(button, &QPushButton::clicked, this, [this, caption] {
                pressed = caption;
                close();
            });
            layout->addWidget(button);
        }
    }

    QString pressed;
    bool escaped = false;
    QLineEdit *input = nullptr;
    QListWidget *list = nullptr;

  protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        escaped = event->key() == Qt::Key_Escape;
        if (escaped) close();
    }
};

} // namespace

class TestBalloonDriver : public QObject
{
    Q_OBJECT
  private slots:
    void findsOnlyNewWindows();
    void readsWhatAssistiveToolsRead();
    void actsThroughAccessibility_data();
    void actsThroughAccessibility();
    void replaysRecordedAnswers_data();
    void replaysRecordedAnswers();
    void answersInsideANestedLoop();
    void closesAnUnanswerableWindowAtOnce();
    void theBalloonIsTheNewestWindowNotTheHarnesss();
    void recordedAnswersAreGivenByNumber_data();
    void recordedAnswersAreGivenByNumber();
    void answersCrossAsCallsOfTheContract();
};

void TestBalloonDriver::findsOnlyNewWindows()
{
    StandIn old;
    old.show();
    BalloonDriver driver;
    QVERIFY(driver.balloon() == nullptr);
    StandIn balloon;
    balloon.show();
    QVERIFY(driver.balloon() == &balloon);
    QCOMPARE(driver.newWindows().size(), 1);
}

void TestBalloonDriver::readsWhatAssistiveToolsRead()
{
    BalloonDriver driver;
    StandIn balloon;
    balloon.show();
    const Sighting s = driver.read(&balloon, true);
    QVERIFY(s.hasName(QStringLiteral("Heading")));
    QCOMPARE(s.namesWithRole(QAccessible::PushButton),
             (QStringList{QStringLiteral("Yes"), QStringLiteral("No")}));
    QCOMPARE(s.namesWithRole(QAccessible::ListItem),
             (QStringList{QStringLiteral("First"), QStringLiteral("Second")}));
    QVERIFY(s.hasInputField());
    QCOMPARE(s.geometry, balloon.frameGeometry());
    QCOMPARE(s.image.size(), balloon.size() * balloon.devicePixelRatio());
}

void TestBalloonDriver::actsThroughAccessibility_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("error");
    QTest::newRow("press an existing button") << QStringLiteral("press No") << QString();
    QTest::newRow("press a missing button")
        << QStringLiteral("press Maybe") << QStringLiteral("no button named \"Maybe\"");
    QTest::newRow("type text") << QStringLiteral("type") << QString();
    QTest::newRow("select a label") << QStringLiteral("select 1") << QString();
    QTest::newRow("select a missing label") << QStringLiteral("select 5") << QStringLiteral("no label 5");
    QTest::newRow("dismiss") << QStringLiteral("dismiss") << QString();
}

void TestBalloonDriver::actsThroughAccessibility()
{
    QFETCH(QString, action);
    QFETCH(QString, error);
    StandIn balloon;
    balloon.show();
    QString got;
    if (action.startsWith(QLatin1String("press")))
        got = BalloonDriver::pressButton(&balloon, action.section(QLatin1Char(' '), 1));
    if (action == QLatin1String("type")) got = BalloonDriver::typeText(&balloon, QStringLiteral("héllo ✓"));
    if (action.startsWith(QLatin1String("select")))
        got = BalloonDriver::selectLabel(&balloon, action.section(QLatin1Char(' '), 1).toInt());
    if (action == QLatin1String("dismiss")) got = BalloonDriver::dismiss(&balloon);
    QCOMPARE(got, error);
    if (!error.isEmpty()) return;
    if (action.startsWith(QLatin1String("press"))) QTRY_COMPARE(balloon.pressed, QStringLiteral("No"));
    if (action == QLatin1String("type")) QCOMPARE(balloon.input->text(), QStringLiteral("héllo ✓"));
    if (action.startsWith(QLatin1String("select")))
        QCOMPARE(balloon.list->selectionModel()->selectedRows().value(0).row(), 1);
    if (action == QLatin1String("dismiss")) QVERIFY(balloon.escaped);
}

// The replayer's operations: the whole recorded text replaces what the field
// held, and a label already selected stays selected rather than toggling off.
void TestBalloonDriver::replaysRecordedAnswers_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("selected");
    const QString held = QStringLiteral("held");
    QTest::newRow("a caption in the other language") << QStringLiteral("press") << QString() << held << 0;
    QTest::newRow("no such caption") << QStringLiteral("press missing")
                                     << QStringLiteral("it has no button \"Может\"") << held << 0;
    QTest::newRow("text replaced") << QStringLiteral("replace") << QString() << QStringLiteral("naïve ✓ שלום")
                                   << 0;
    QTest::newRow("label toggled on") << QStringLiteral("toggle 1") << QString() << held << 1;
    QTest::newRow("selected label stays") << QStringLiteral("toggle 0") << QString() << held << 0;
    QTest::newRow("label past the end")
        << QStringLiteral("toggle 5") << QStringLiteral("it has no label 5") << held << 0;
    QTest::newRow("negative label") << QStringLiteral("toggle -1") << QStringLiteral("it has no label -1")
                                    << held << 0;
}

void TestBalloonDriver::replaysRecordedAnswers()
{
    QFETCH(QString, action);
    QFETCH(QString, error);
    QFETCH(QString, text);
    QFETCH(int, selected);
    StandIn balloon;
    balloon.input->setText(QStringLiteral("held"));
    balloon.list->setCurrentRow(0);
    balloon.show();
    QString got;
    if (action == QLatin1String("press"))
        got = BalloonDriver::pressButtonCaptioned(&balloon, {QStringLiteral("Нет"), QStringLiteral("No")});
    if (action == QLatin1String("press missing"))
        got =
            BalloonDriver::pressButtonCaptioned(&balloon, {QStringLiteral("Может"), QStringLiteral("Maybe")});
    if (action == QLatin1String("replace")) got = BalloonDriver::replaceText(&balloon, text);
    if (action.startsWith(QLatin1String("toggle")))
        got = BalloonDriver::toggleLabelOn(&balloon, action.section(QLatin1Char(' '), 1).toInt());
    QCOMPARE(got, error);
    if (action == QLatin1String("press")) QTRY_COMPARE(balloon.pressed, QStringLiteral("No"));
    QCOMPARE(balloon.input->text(), text);
    QCOMPARE(balloon.list->selectionModel()->selectedRows().value(0).row(), selected);
}

void TestBalloonDriver::answersInsideANestedLoop()
{
    BalloonDriver driver;
    StandIn balloon;
    ModalAnswerer answerer(driver,
                           [](QWidget *b) { return BalloonDriver::pressButton(b, QStringLiteral("Yes")); });
    // The loop a modal component would run while its balloon is up.
    QEventLoop loop;
    QTimer::singleShot(0, &balloon, [&balloon] { balloon.show(); });
    QTimer poll;
    connect(&poll, &QTimer::timeout, &loop, [&] {
        if (answerer.appeared() && !balloon.isVisible()) loop.quit();
    });
    poll.start(1);
    loop.exec();
    QCOMPARE(balloon.pressed, QStringLiteral("Yes"));
    QVERIFY(answerer.answerError().isEmpty());
    QVERIFY(!answerer.forcedClose());
    QCOMPARE(answerer.sighting().namesWithRole(QAccessible::PushButton).size(), 2);
}

void TestBalloonDriver::closesAnUnanswerableWindowAtOnce()
{
    BalloonDriver driver;
    StandIn balloon;
    ModalAnswerer answerer(driver,
                           [](QWidget *b) { return BalloonDriver::pressButton(b, QStringLiteral("Maybe")); });
    balloon.show();
    QTRY_VERIFY_WITH_TIMEOUT(answerer.appeared() && !balloon.isVisible(), 1000);
    QCOMPARE(answerer.answerError(), QStringLiteral("no button named \"Maybe\""));
    QVERIFY(balloon.pressed.isEmpty());
}

// Windows of the harness's own, and dialogs opened on them, are never the
// balloon, even when they appear after it (the character, mid-step); each
// showing of a window is a balloon of its own.
void TestBalloonDriver::theBalloonIsTheNewestWindowNotTheHarnesss()
{
    QWidget harnessWindow;
    markOwnWindow(&harnessWindow);
    harnessWindow.show();
    LocalBalloonAccess access;
    QCOMPARE(access.balloonOnScreen(), 0);

    StandIn first, second;
    first.show();
    const int firstNumber = access.balloonOnScreen();
    QVERIFY(firstNumber != 0);
    QCOMPARE(access.window(firstNumber), &first);
    QWidget character;
    markOwnWindow(&character);
    character.show();
    QWidget dialog(&harnessWindow, Qt::Dialog);
    dialog.show();
    QCOMPARE(access.balloonOnScreen(), firstNumber);

    second.show();
    const int secondNumber = access.balloonOnScreen();
    QCOMPARE(access.window(secondNumber), &second);
    second.close();
    QCOMPARE(access.balloonOnScreen(), firstNumber);

    first.hide();
    first.show();
    const int again = access.balloonOnScreen();
    QVERIFY(again != firstNumber && again != secondNumber);
    access.close(again);
    QVERIFY(!first.isVisible());
    QCOMPARE(access.balloonOnScreen(), 0);
    QCOMPARE(access.answer(again, {6, {}, -1}), QStringLiteral("it is no longer on the screen"));
}

// A recorded answer names its button by number; the caption is found in
// either language. Button 0, or an answer that cannot be given, closes it.
void TestBalloonDriver::recordedAnswersAreGivenByNumber_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("label");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QString>("pressed");
    QTest::newRow("No, with text and label")
        << 7 << QStringLiteral("Привет ✓") << 1 << QString() << QStringLiteral("No");
    QTest::newRow("closed without a button") << 0 << QString() << -1 << QString() << QString();
    QTest::newRow("a button it lacks")
        << 2 << QString() << -1 << QStringLiteral("it has no button \"Cancel\"") << QString();
    QTest::newRow("a number out of the table")
        << 99 << QString() << -1 << QStringLiteral("button 99 is not in the button table") << QString();
    QTest::newRow("a label it lacks")
        << 6 << QString() << 4 << QStringLiteral("it has no label 4") << QString();
}

void TestBalloonDriver::recordedAnswersAreGivenByNumber()
{
    QFETCH(int, button);
    QFETCH(QString, text);
    QFETCH(int, label);
    QFETCH(QString, error);
    QFETCH(QString, pressed);
    LocalBalloonAccess access;
    StandIn balloon;
    balloon.show();
    QCOMPARE(access.answer(access.balloonOnScreen(), {button, text, label}), error);
    QTRY_COMPARE(balloon.pressed, pressed);
    QVERIFY(!balloon.isVisible());
    if (!text.isEmpty()) QCOMPARE(balloon.input->text(), text);
    if (error.isEmpty() && label >= 0)
        QCOMPARE(balloon.list->selectionModel()->selectedRows().value(0).row(), label);
}

// The host serves its access as an object of the contract; the harness's
// view of it gives the same answers, and a call it cannot serve is refused.
void TestBalloonDriver::answersCrossAsCallsOfTheContract()
{
    auto local = std::make_shared<LocalBalloonAccess>();
    const component::ObjectRef served = serveBalloonAccess(local);
    const std::unique_ptr<BalloonAccess> remote = remoteBalloonAccess(served);
    QCOMPARE(remote->balloonOnScreen(), 0);
    StandIn balloon;
    balloon.show();
    const int number = remote->balloonOnScreen();
    QCOMPARE(number, local->balloonOnScreen());
    QCOMPARE(remote->answer(number, {6, QStringLiteral("שלום"), 0}), QString());
    QTRY_COMPARE(balloon.pressed, QStringLiteral("Yes"));
    QCOMPARE(balloon.input->text(), QStringLiteral("שלום"));
    QCOMPARE(remote->answer(number, {6, {}, -1}), QStringLiteral("it is no longer on the screen"));

    component::Args wrong{component::Value(QStringLiteral("one"))};
    QCOMPARE(served->invoke(0x42410003, component::CallKind::Method, wrong).error().number,
             component::error::TypeMismatch);
    component::Args none;
    QCOMPARE(served->invoke(0x42410002, component::CallKind::Method, none).error().number,
             component::error::WrongArgCount);
    QCOMPARE(served->invoke(1, component::CallKind::PropertyGet, none).error().number,
             component::error::NotSupported);
    // Nobody there: no balloon, and an answer says why.
    struct Gone final : component::DispatchObject {
        component::Result invoke(component::DispId, component::CallKind, component::Args &) override
        {
            return component::DispatchError{component::error::ComponentFailed, QStringLiteral("gone")};
        }
    };
    const std::unique_ptr<BalloonAccess> unreachable = remoteBalloonAccess(std::make_shared<Gone>());
    QCOMPARE(unreachable->balloonOnScreen(), 0);
    QCOMPARE(unreachable->answer(1, {}), QStringLiteral("it could not be reached: gone"));
}

QTEST_MAIN(TestBalloonDriver)

#include "tst_balloondriver.moc"
