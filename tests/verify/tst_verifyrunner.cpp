// The runner's isolation: each check runs in a child process (this test
// program again, acting out the check's name), and whatever ends a child
// early costs exactly the check it was running.
#include "harness/verify/childprotocol.h"
#include "harness/verify/runner.h"

#include <QTest>
#include <QThread>

#include <csignal>
#include <cstdio>
#include <cstdlib>

using namespace harness::verify;

Q_DECLARE_METATYPE(harness::verify::Outcome)

namespace
{

void say(const QByteArray &line)
{
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    std::fflush(stdout);
}

[[noreturn]] void sleepForever()
{
    for (;;)
        QThread::sleep(1);
}

// The child side: each name says what the "check" does; "closedhang",
// "stuckup" and "noballoon" act out a modal call that never returns, with
// its balloon come and gone, still up after its answer, and never shown.
[[noreturn]] void actOut(const QStringList &names, const QStringList &hungMethods)
{
    for (const QString &name : names) {
        say(protocol::beginLine(name));
        const QString method = name.startsWith(QLatin1String("closedhang"))  ? QStringLiteral("ShowVellix")
                               : name.startsWith(QLatin1String("noballoon")) ? QStringLiteral("MsgInput")
                               : name.startsWith(QLatin1String("stuckup"))   ? QStringLiteral("MsgLabels")
                                                                             : QString();
        if (!method.isEmpty() && hungMethods.contains(method)) {
            say(protocol::resultLine(name, protocol::hungBefore(method)));
            continue;
        }
        if (!method.isEmpty()) {
            say(protocol::stepLine(name, protocol::Step::Call, method));
            if (method != QLatin1String("MsgInput")) {
                say(protocol::stepLine(name, protocol::Step::Shown));
                say(protocol::stepLine(name, protocol::Step::Answered));
            }
            if (method == QLatin1String("ShowVellix")) say(protocol::stepLine(name, protocol::Step::Closed));
            sleepForever();
        }
        if (name.startsWith(QLatin1String("crash"))) std::raise(SIGSEGV);
        if (name.startsWith(QLatin1String("abort"))) std::abort();
        if (name.startsWith(QLatin1String("hang"))) sleepForever();
        if (name.startsWith(QLatin1String("exit"))) std::_Exit(3);
        if (name.startsWith(QLatin1String("sanitizer"))) {
            std::fputs("==1==ERROR: AddressSanitizer: heap-use-after-free on address 0x1\n", stderr);
            std::_Exit(1);
        }
        if (name.startsWith(QLatin1String("silent"))) std::_Exit(0);
        const Outcome outcome = name.startsWith(QLatin1String("fail"))
                                    ? Outcome::fail(QStringLiteral("Button 6"), QStringLiteral("Button\t7"))
                                    : Outcome::pass();
        say(protocol::resultLine(name, outcome));
    }
    std::_Exit(0);
}

} // namespace

class TestVerifyRunner : public QObject
{
    Q_OBJECT
  private slots:
    void protocolRoundTrip_data();
    void protocolRoundTrip();
    void protocolIgnoresOtherOutput();
    void eachEndingCostsOneCheck_data();
    void eachEndingCostsOneCheck();
    void printsInCatalogueOrder();
    void modalHangsFoundByTheirSteps_data();
    void modalHangsFoundByTheirSteps();
    void hungMethodNotCalledAgain();
    void groupsRunInTheirOwnChildren();
};

void TestVerifyRunner::protocolRoundTrip_data()
{
    QTest::addColumn<Outcome>("outcome");
    QTest::newRow("pass") << Outcome::pass();
    QTest::newRow("fail") << Outcome::fail(QStringLiteral("Button 1"), QStringLiteral("Button 2"));
    QTest::newRow("fail with tabs and line breaks")
        << Outcome::fail(QStringLiteral("a\tb"), QStringLiteral("c\nd"));
}

void TestVerifyRunner::protocolRoundTrip()
{
    QFETCH(Outcome, outcome);
    const std::optional<protocol::Event> begin = protocol::parse(protocol::beginLine(QStringLiteral("x.y")));
    QVERIFY(begin);
    QCOMPARE(begin->kind, protocol::Event::Begin);
    QCOMPARE(begin->name, QStringLiteral("x.y"));
    const std::optional<protocol::Event> result =
        protocol::parse(protocol::resultLine(QStringLiteral("x.y"), outcome));
    QVERIFY(result);
    QCOMPARE(result->kind, protocol::Event::Result);
    QCOMPARE(result->outcome.passed, outcome.passed);
    QCOMPARE(result->outcome.expected,
             QString(outcome.expected).replace(QLatin1Char('\t'), QLatin1Char(' ')));
    QCOMPARE(result->outcome.got, QString(outcome.got).replace(QLatin1Char('\n'), QLatin1Char(' ')));
}

void TestVerifyRunner::protocolIgnoresOtherOutput()
{
    QVERIFY(!protocol::parse("hello from a component"));
    QVERIFY(!protocol::parse("@verify"));
    QVERIFY(!protocol::parse("@verify fail name-without-fields"));
}

void TestVerifyRunner::eachEndingCostsOneCheck_data()
{
    QTest::addColumn<QString>("culprit");
    QTest::addColumn<QString>("got");
    QTest::newRow("crash") << QStringLiteral("crash")
                           << QStringLiteral("signal SIGSEGV (Segmentation fault)");
    QTest::newRow("abort") << QStringLiteral("abort") << QStringLiteral("signal SIGABRT (Aborted)");
    QTest::newRow("hang") << QStringLiteral("hang") << QStringLiteral("a time-out after 0.5 s");
    QTest::newRow("exit code") << QStringLiteral("exit") << QStringLiteral("exit code 3");
    QTest::newRow("sanitizer") << QStringLiteral("sanitizer")
                               << QStringLiteral("a sanitizer report: ==1==ERROR: AddressSanitizer: "
                                                 "heap-use-after-free on address 0x1");
    QTest::newRow("no result") << QStringLiteral("silent")
                               << QStringLiteral("the child process ending without a result");
}

void TestVerifyRunner::eachEndingCostsOneCheck()
{
    QFETCH(QString, culprit);
    QFETCH(QString, got);
    // One worker and one batch: the checks after the culprit need a new child.
    const QStringList names{QStringLiteral("pass1"), QStringLiteral("fail1"), culprit,
                            QStringLiteral("pass2"), QStringLiteral("pass3")};
    Runner runner(names, {}, RunnerLimits{1, 20000, 500}, [](const CheckResult &) {});
    const QList<CheckResult> results = runner.run();
    QCOMPARE(results.size(), names.size());
    QVERIFY(results[0].outcome.passed);
    QCOMPARE(results[1].outcome.got, QStringLiteral("Button 7"));
    QVERIFY(!results[2].outcome.passed);
    QCOMPARE(results[2].outcome.expected, QStringLiteral("the check to finish"));
    QCOMPARE(results[2].outcome.got, got);
    QVERIFY(results[3].outcome.passed);
    QVERIFY(results[4].outcome.passed);
}

void TestVerifyRunner::printsInCatalogueOrder()
{
    QStringList names;
    for (int i = 0; i < 20; ++i)
        names.append(
            QStringLiteral("%1%2").arg(i % 7 == 3 ? QStringLiteral("crash") : QStringLiteral("pass")).arg(i));
    QStringList printed;
    Runner runner(names, {}, RunnerLimits{3, 20000, 5000},
                  [&](const CheckResult &r) { printed.append(r.name); });
    runner.run();
    QCOMPARE(printed, names);
}

// The check time-out is far away: a hang must be found by the steps alone.
constexpr RunnerLimits hangLimits{1, 20000, 60000, 300, 100, 3};

void TestVerifyRunner::modalHangsFoundByTheirSteps_data()
{
    QTest::addColumn<QString>("culprit");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("got");
    QTest::newRow("after its balloon closed")
        << QStringLiteral("closedhang") << QStringLiteral("ShowVellix to return once its balloon closed")
        << QStringLiteral("the balloon closed but ShowVellix did not return");
    QTest::newRow("balloon still up after its answer")
        << QStringLiteral("stuckup") << QStringLiteral("the balloon of MsgLabels to close once answered")
        << QStringLiteral(
               "the balloon did not close 0.1 s after it was answered and MsgLabels did not return");
    QTest::newRow("with no balloon") << QStringLiteral("noballoon")
                                     << QStringLiteral("MsgInput to show a balloon or return")
                                     << QStringLiteral("no balloon and no return 0.3 s after the call");
}

void TestVerifyRunner::modalHangsFoundByTheirSteps()
{
    QFETCH(QString, culprit);
    QFETCH(QString, expected);
    QFETCH(QString, got);
    const QStringList names{QStringLiteral("pass1"), culprit, QStringLiteral("pass2")};
    Runner runner(names, {}, hangLimits, [](const CheckResult &) {});
    const QList<CheckResult> results = runner.run();
    QVERIFY(results[0].outcome.passed);
    QCOMPARE(results[1].outcome.expected, expected);
    QCOMPARE(results[1].outcome.got, got);
    QVERIFY(results[2].outcome.passed);
}

void TestVerifyRunner::hungMethodNotCalledAgain()
{
    QStringList names;
    for (int i = 1; i <= 5; ++i)
        names.append(QStringLiteral("closedhang%1").arg(i));
    names.append(QStringLiteral("noballoon1"));
    Runner runner(names, {}, hangLimits, [](const CheckResult &) {});
    const QList<CheckResult> results = runner.run();
    for (int i = 0; i < 3; ++i)
        QCOMPARE(results[i].outcome.got, QStringLiteral("the balloon closed but ShowVellix did not return"));
    const Outcome refused = protocol::hungBefore(QStringLiteral("ShowVellix"));
    for (int i = 3; i < 5; ++i) {
        QVERIFY(!results[i].outcome.passed);
        QCOMPARE(results[i].outcome.got, refused.got);
    }
    // Another method's count is its own.
    QCOMPARE(results[5].outcome.expected, QStringLiteral("MsgInput to show a balloon or return"));
}

void TestVerifyRunner::groupsRunInTheirOwnChildren()
{
    // The child exits with 4 when handed a check of another group.
    const QStringList names{QStringLiteral("a.pass1"), QStringLiteral("a.pass2"), QStringLiteral("b.pass3"),
                            QStringLiteral("b.pass4"), QStringLiteral("a.pass5")};
    Runner runner(
        names, {}, RunnerLimits{1, 20000, 5000}, [](const CheckResult &) {},
        [](const QString &name) {
            return QStringList{QStringLiteral("--group"), name.section(QLatin1Char('.'), 0, 0)};
        });
    const QList<CheckResult> results = runner.run();
    for (const CheckResult &r : results)
        QVERIFY2(r.outcome.passed, qPrintable(r.name + QLatin1Char(' ') + r.outcome.got));
}

int main(int argc, char **argv)
{
    QStringList hung;
    QString group;
    for (int i = 1; i + 1 < argc; ++i) {
        if (qstrcmp(argv[i], "--verify-hung") == 0)
            hung = QString::fromLocal8Bit(argv[i + 1]).split(QLatin1Char(','));
        if (qstrcmp(argv[i], "--group") == 0) group = QString::fromLocal8Bit(argv[i + 1]);
    }
    for (int i = 1; i + 1 < argc; ++i)
        if (qstrcmp(argv[i], "--verify-checks") == 0) {
            QStringList names = QString::fromLocal8Bit(argv[i + 1]).split(QLatin1Char(','));
            // A child given a check of another group than its own fails it.
            if (!group.isEmpty())
                for (const QString &name : names)
                    if (!name.startsWith(group + QLatin1Char('.'))) std::_Exit(4);
            actOut(names, hung);
        }
    // A crashing child ends by its signal, not by a sanitizer's report of it.
    qputenv("ASAN_OPTIONS", qgetenv("ASAN_OPTIONS") + ":handle_segv=0:handle_abort=0");
    QCoreApplication app(argc, argv);
    TestVerifyRunner test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_verifyrunner.moc"
