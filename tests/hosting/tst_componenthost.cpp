// Components in a host process of their own, in real processes: calls and
// their by-reference arguments cross, the character handle calls back into
// the harness while it waits, errors come back as they are, and every way a
// host can end is told apart without harm to the harness; a modal balloon in
// the host is answered there.
#include "harness/isolation/componenthosts.h"

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

using namespace component;
using namespace harness;

namespace
{

const QString Vellix = QString::fromLatin1(VellixClass.data(), qsizetype(VellixClass.size()));

QString endingComponent()
{
    return QStringLiteral(ENDING_COMPONENT);
}

ComponentProcess::Settings hostSettings()
{
    ComponentProcess::Settings s;
    s.hostProgram = QStringLiteral(HOST_PROGRAM);
    return s;
}

// A character of the harness's, counting the calls that reach it.
class FakeCharacter final : public DispatchObject
{
  public:
    Result invoke(DispId id, CallKind kind, Args &) override
    {
        ++calls;
        if (id == character::Left && kind == CallKind::PropertyGet) return Value(int32_t(412));
        return error::notSupported();
    }
    int calls = 0;
};

Args methodArgs(Value &icon, int32_t buttons)
{
    static Value msgType = int32_t(0), modal = Bool::of(false), onTop = Bool::of(false);
    static Value buttonsType;
    buttonsType = buttons;
    return {Value(QStringLiteral("Заголовок")),
            Value(QStringLiteral("текст")),
            Arg::byRef(icon),
            Arg::byRef(msgType),
            Arg::byRef(buttonsType),
            Arg::byRef(modal),
            Arg::byRef(onTop)};
}

} // namespace

class TestComponentHost : public QObject
{
    Q_OBJECT
  private slots:
    void callsCrossWithTheirReferences()
    {
        QString error;
        auto process = ComponentProcess::start(endingComponent(), hostSettings(), &error);
        QVERIFY2(process, qPrintable(error));
        const hosting::Created created = process->create(Vellix, {});
        QVERIFY2(created.object, qPrintable(created.error));
        DispatchObject &vellix = *created.object;

        Args put{Value(int32_t(0x00123456))};
        QVERIFY(vellix.invoke(prop::BalloonColor, CallKind::PropertyPut, put).ok());
        Args none;
        const Result got = vellix.invoke(prop::BalloonColor, CallKind::PropertyGet, none);
        QVERIFY(got.ok());
        QVERIFY(got.value() == Value(int32_t(0x00123456)));

        // The component's error comes back with its number and description.
        const Result unknown = vellix.invoke(0x12345, CallKind::PropertyGet, none);
        QVERIFY(!unknown.ok());
        QCOMPARE(unknown.error().number, error::NotSupported);
        QCOMPARE(unknown.error().description, error::notSupported().description);

        // The character crosses as a handle; the component calls it back
        // while this side waits in the method call.
        const auto fake = std::make_shared<FakeCharacter>();
        Value character = ObjectRef(fake);
        Args ref{Arg::byRef(character)};
        QVERIFY(vellix.invoke(prop::Character, CallKind::PropertyPutRef, ref).ok());
        Value icon = int32_t(4);
        Args args = methodArgs(icon, 5);
        const Result shown = vellix.invoke(VellixMethods.ShowVellix, CallKind::Method, args);
        QVERIFY2(shown.ok(), qPrintable(shown.ok() ? QString() : shown.error().description));
        const auto answer = std::get<MsgResult>(shown.value());
        QCOMPARE(answer.Button, 5);
        QCOMPARE(answer.Label, 412);
        QCOMPARE(fake->calls, 1);
        QVERIFY(icon == Value(int32_t(5))); // written back through the reference

        // An object handed back is the harness's own again.
        const Result back = vellix.invoke(prop::Character, CallKind::PropertyGet, none);
        QVERIFY(back.ok());
        QCOMPARE(std::get<ObjectRef>(back.value()), ObjectRef(fake));
        QVERIFY(!process->channel().broken());
    }

    // The host tells when the component lets the character go, and the
    // harness then holds it no more.
    void aCharacterLetGoIsReleased()
    {
        QString error;
        auto process = ComponentProcess::start(endingComponent(), hostSettings(), &error);
        QVERIFY2(process, qPrintable(error));
        const hosting::Created created = process->create(Vellix, {});
        QVERIFY(created.object);
        auto fake = std::make_shared<FakeCharacter>();
        const std::weak_ptr<FakeCharacter> watch = fake;
        Value character = ObjectRef(fake);
        Args ref{Arg::byRef(character)};
        QVERIFY(created.object->invoke(prop::Character, CallKind::PropertyPutRef, ref).ok());
        QCOMPARE(process->channel().exportedCount(), size_t(1));
        fake.reset();
        character = Value();
        QVERIFY(!watch.expired()); // the component still has it

        Value nothing = ObjectRef();
        Args none{Arg::byRef(nothing)};
        QVERIFY(created.object->invoke(prop::Character, CallKind::PropertyPutRef, none).ok());
        QVERIFY(watch.expired());
        QCOMPARE(process->channel().exportedCount(), size_t(0));
        QVERIFY(!process->channel().broken());
    }

    void everyEndIsTold_data()
    {
        QTest::addColumn<int>("how");
        QTest::addColumn<QString>("ended");
        // Under the address sanitizer a fault ends by its report's abort.
        QTest::newRow("segfault") << 11 << QStringLiteral("signal SIGSEGV|signal SIGABRT|exit code 1");
        QTest::newRow("abort") << 12 << QStringLiteral("signal SIGABRT");
        QTest::newRow("exit(3)") << 13 << QStringLiteral("exit code 3");
    }
    void everyEndIsTold()
    {
        QFETCH(int, how);
        QFETCH(QString, ended);
        QString error;
        auto process = ComponentProcess::start(endingComponent(), hostSettings(), &error);
        QVERIFY2(process, qPrintable(error));
        const hosting::Created created = process->create(Vellix, {});
        QVERIFY(created.object);
        Value icon = int32_t(0);
        Args args = methodArgs(icon, how);
        const Result result = created.object->invoke(VellixMethods.ShowVellix, CallKind::Method, args);
        QVERIFY(!result.ok());
        QVERIFY(process->channel().broken());
        const QString how_ = process->howEnded();
        QVERIFY2(ended.split(QLatin1Char('|')).contains(how_), qPrintable(how_));
        // Calls after the end fail at once instead of waiting.
        Args none;
        QVERIFY(!created.object->invoke(prop::BalloonColor, CallKind::PropertyGet, none).ok());
    }

    void aHangIsGivenUpWhenAsked()
    {
        QString error;
        auto process = ComponentProcess::start(endingComponent(), hostSettings(), &error);
        QVERIFY2(process, qPrintable(error));
        const hosting::Created created = process->create(Vellix, {});
        QVERIFY(created.object);
        int asked = 0;
        DispId hungId = 0;
        process->channel().setHangCheck(200, [&](DispId id, CallKind) {
            hungId = id;
            return ++asked < 2; // wait on once, then give up
        });
        Args place{Value(int32_t(4))};
        QVERIFY(!created.object->invoke(prop::BalloonPlace, CallKind::PropertyPut, place).ok());
        QCOMPARE(asked, 2);
        QCOMPARE(hungId, prop::BalloonPlace);
        QVERIFY(process->channel().broken());
        process->kill();
        QCOMPARE(process->howEnded(), QStringLiteral("signal SIGKILL"));
    }

    void unusableSetupsAreExplained_data()
    {
        QTest::addColumn<QString>("host");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("expected");
        QTest::newRow("host missing") << QStringLiteral("/nonexistent/balloon-harness-host")
                                      << endingComponent() << QStringLiteral("--in-process");
        QTest::newRow("not a plugin") << QStringLiteral(HOST_PROGRAM) << QStringLiteral(HOST_PROGRAM)
                                      << QStringLiteral("could not be loaded");
    }
    void unusableSetupsAreExplained()
    {
        QFETCH(QString, host);
        QFETCH(QString, file);
        QFETCH(QString, expected);
        ComponentProcess::Settings settings = hostSettings();
        settings.hostProgram = host;
        ComponentHosts hosts(settings);
        const hosting::Created created = hosts.create(file, Vellix, {});
        QVERIFY(!created.object);
        QVERIFY2(created.error.contains(expected), qPrintable(created.error));
        QVERIFY2(created.error.contains(file), qPrintable(created.error));
    }

    // The instance asked for when the host starts is the one taken when the
    // settings match; with others, a new one is made from those.
    void anInstanceAskedAheadIsTakenOnlyWithItsSettings_data()
    {
        QTest::addColumn<int>("asked");
        QTest::addColumn<int>("given");
        QTest::newRow("the same settings") << 0x0000ff << 0x0000ff;
        QTest::newRow("other settings") << 0x0000ff << 0x00ff00;
    }
    void anInstanceAskedAheadIsTakenOnlyWithItsSettings()
    {
        QFETCH(int, asked);
        QFETCH(int, given);
        ComponentHosts hosts(hostSettings());
        const auto stored = [](int colour) {
            return NamedValues{{QStringLiteral("ballooncolor"), Value(colour)}};
        };
        hosts.prestart(endingComponent(), Vellix, stored(asked));
        const hosting::Created created = hosts.create(endingComponent(), Vellix, stored(given));
        QVERIFY2(created.object, qPrintable(created.error));
        Args none;
        const Result colour = created.object->invoke(prop::BalloonColor, CallKind::PropertyGet, none);
        QVERIFY(colour.ok());
        QVERIFY(colour.value() == Value(int32_t(given)));
        QVERIFY(!hosts.processOf(created.object)->channel().broken());
    }

    // A modal balloon is up in the host while the harness waits in its event
    // loop: the host still serves the balloon driver, which reads and
    // answers the balloon where it is, and the call returns that answer. A
    // person may take longer than the hang limit once the balloon is up.
    void aModalBalloonIsAnsweredInsideTheHost()
    {
        ComponentProcess::Settings settings = hostSettings();
        settings.hangTimeoutMs = 150;
        ComponentHosts hosts(settings);
        int modalCalls = 0, hangsAsked = 0;
        hosts.setModalPolicy(modalPolicy(VellixMethods, [&](bool entering) { modalCalls += entering; }));
        hosts.setHangHandler([&](DispId, CallKind, int) { return ++hangsAsked, false; });
        const hosting::Created created = hosts.create(QStringLiteral(REFERENCE_BALLOON), Vellix, {});
        QVERIFY2(created.object, qPrintable(created.error));
        balloondriver::BalloonAccess *balloons = hosts.processOf(created.object)->balloons();
        QVERIFY(balloons);
        QCOMPARE(balloons->balloonOnScreen(), 0);

        QString answered = QStringLiteral("never answered");
        QElapsedTimer sinceShown;
        QTimer poll;
        connect(&poll, &QTimer::timeout, &poll, [&] {
            const int balloon = balloons->balloonOnScreen();
            if (balloon && !sinceShown.isValid()) sinceShown.start();
            if (balloon && sinceShown.elapsed() > 400) {
                poll.stop();
                answered = balloons->answer(balloon, {7, QString(), -1});
            }
        });
        poll.start(5);
        Value icon = int32_t(0), msgType = int32_t(0), buttonsType = int32_t(14), modal = Bool::of(true),
              onTop = Bool::of(false);
        Args args{Value(QStringLiteral("Вопрос")),
                  Value(QStringLiteral("Да или нет? 🎈")),
                  Arg::byRef(icon),
                  Arg::byRef(msgType),
                  Arg::byRef(buttonsType),
                  Arg::byRef(modal),
                  Arg::byRef(onTop)};
        const Result result = created.object->invoke(VellixMethods.ShowVellix, CallKind::Method, args);
        QVERIFY2(result.ok(), qPrintable(result.ok() ? QString() : result.error().description));
        QCOMPARE(answered, QString());
        QCOMPARE(modalCalls, 1);
        QCOMPARE(hangsAsked, 0);
        QCOMPARE(std::get<MsgResult>(result.value()).Button, 7);
        QCOMPARE(balloons->balloonOnScreen(), 0);
    }

    // A modal call that shows no balloon is a hang like any other, named
    // as the call the person made.
    void aModalCallShowingNothingIsAHang()
    {
        ComponentProcess::Settings settings = hostSettings();
        settings.hangTimeoutMs = 150;
        ComponentHosts hosts(settings);
        hosts.setModalPolicy(modalPolicy(VellixMethods, {}));
        DispId hungId = 0;
        hosts.setHangHandler([&](DispId id, CallKind, int) { return hungId = id, false; });
        const hosting::Created created = hosts.create(endingComponent(), Vellix, {});
        QVERIFY2(created.object, qPrintable(created.error));
        Value icon = int32_t(0), msgType = int32_t(0), buttonsType = int32_t(15), modal = Bool::of(true),
              onTop = Bool::of(false);
        Args args{Value(QString()),        Value(QString()),  Arg::byRef(icon), Arg::byRef(msgType),
                  Arg::byRef(buttonsType), Arg::byRef(modal), Arg::byRef(onTop)};
        QVERIFY(!created.object->invoke(VellixMethods.ShowVellix, CallKind::Method, args).ok());
        QCOMPARE(hungId, VellixMethods.ShowVellix);
        ComponentProcess *process = hosts.processOf(created.object);
        QVERIFY(process->channel().broken());
        QVERIFY(process->killedForHanging());
    }
};

QTEST_MAIN(TestComponentHost)
#include "tst_componenthost.moc"
