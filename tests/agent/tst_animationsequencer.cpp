// The order of frames a character goes through, with a scripted random source,
// on the fixture character read through the file-backed model.
#include "acscharacter.h"
#include "animationsequencer.h"
#include "fixturecharacter.h"

#include <QtTest>

#include <deque>

using namespace agent;

namespace
{

// Draws for branches (bound 100) and picks among a state's animations (any
// other bound) come from separate scripts, so a test states each on its own.
struct ScriptedRandom {
    std::deque<int> branchDraws;
    int branchDefault = 99;
    std::deque<int> picks;

    int operator()(int bound)
    {
        std::deque<int> &script = bound == 100 ? branchDraws : picks;
        const int fallback = bound == 100 ? branchDefault : 0;
        const int value = script.empty() ? fallback : script.front();
        if (!script.empty()) script.pop_front();
        return value % bound;
    }
};

// Fast idling: a fixed 500 ms pause, idle animations left after 250 ms.
constexpr IdleTiming FastIdle{.restMinMs = 500, .restExtraMs = 0, .idleBudgetMs = 250, .idlesPerLevel = 2};

} // namespace

class TestAnimationSequencer : public QObject
{
    Q_OBJECT

  private slots:
    void initTestCase();
    void showsThenRestsThenIdles();
    void fastShowStartsInRestPose();
    void idleLeavesThroughExitBranches_data();
    void idleLeavesThroughExitBranches();
    void branchesByProbability_data();
    void branchesByProbability();
    void returnAnimationFollows();
    void missingStateAnimationIsSkipped();
    void getsMoreIdleOverTime();
    void stopEndsTheSequence();
    void damagedAnimationsEnd();

  private:
    // "Name:frame:ms" for each of the next `count` steps.
    QStringList steps(AnimationSequencer &sequencer, int count);
    std::unique_ptr<AcsCharacter> character_;
};

void TestAnimationSequencer::initTestCase()
{
    acs::Result<acs::Character> loaded = acs::Character::load(fixture::characterFile());
    QVERIFY2(loaded.ok(), loaded.ok() ? "" : loaded.error().describe().c_str());
    character_ = std::make_unique<AcsCharacter>(std::move(loaded.value()));
}

QStringList TestAnimationSequencer::steps(AnimationSequencer &sequencer, int count)
{
    QStringList names;
    for (int i = 0; i < count; ++i) {
        const std::optional<FrameStep> step = sequencer.next();
        if (!step) {
            names << QStringLiteral("stopped");
            break;
        }
        names << QStringLiteral("%1:%2:%3")
                     .arg(character_->animationName(step->animation))
                     .arg(step->frame)
                     .arg(step->durationMs);
    }
    return names;
}

void TestAnimationSequencer::showsThenRestsThenIdles()
{
    ScriptedRandom random; // picks 0: Wave among the idles
    AnimationSequencer sequencer(*character_, std::ref(random), FastIdle);
    sequencer.show(false);
    QCOMPARE(steps(sequencer, 6),
             QStringList({QStringLiteral("Showing:0:100"), QStringLiteral("Showing:1:100"),
                          QStringLiteral("RestPose:0:100"), QStringLiteral("RestPose:0:500"),
                          QStringLiteral("Wave:0:100"), QStringLiteral("Wave:1:100")}));
}

void TestAnimationSequencer::fastShowStartsInRestPose()
{
    ScriptedRandom random;
    AnimationSequencer sequencer(*character_, std::ref(random), FastIdle);
    sequencer.show(true);
    QCOMPARE(steps(sequencer, 2),
             QStringList({QStringLiteral("RestPose:0:100"), QStringLiteral("RestPose:0:500")}));
}

void TestAnimationSequencer::idleLeavesThroughExitBranches_data()
{
    QTest::addColumn<int>("budgetMs");
    QTest::addColumn<QStringList>("idle");
    // Wave loops 0 1 2 0 1 2 ...; once over budget the exit branch of the
    // frame just shown leads to the empty end frame, which is never shown.
    QTest::newRow("left after frame 1")
        << 150
        << QStringList{QStringLiteral("Wave:0:100"), QStringLiteral("Wave:1:100"),
                       QStringLiteral("RestPose:0:100")};
    QTest::newRow("left after frame 2")
        << 250
        << QStringList{QStringLiteral("Wave:0:100"), QStringLiteral("Wave:1:100"),
                       QStringLiteral("Wave:2:100"), QStringLiteral("RestPose:0:100")};
    QTest::newRow("left after one loop")
        << 350 << QStringList{QStringLiteral("Wave:0:100"), QStringLiteral("Wave:1:100"),
                              QStringLiteral("Wave:2:100"), QStringLiteral("Wave:0:100"),
                              QStringLiteral("Wave:1:100"), QStringLiteral("RestPose:0:100")};
}

void TestAnimationSequencer::idleLeavesThroughExitBranches()
{
    QFETCH(int, budgetMs);
    QFETCH(QStringList, idle);
    ScriptedRandom random;
    IdleTiming timing = FastIdle;
    timing.idleBudgetMs = budgetMs;
    AnimationSequencer sequencer(*character_, std::ref(random), timing);
    sequencer.show(true);
    steps(sequencer, 2); // rest pose and pause
    QCOMPARE(steps(sequencer, int(idle.size())), idle);
}

void TestAnimationSequencer::branchesByProbability_data()
{
    QTest::addColumn<int>("draw");
    QTest::addColumn<QString>("second");
    // Branchy frame 0: to frame 2 below 30, to frame 3 below 60, else on to 1.
    QTest::newRow("draw 0 takes the first branch") << 0 << "Branchy:2:100";
    QTest::newRow("draw 29 takes the first branch") << 29 << "Branchy:2:100";
    QTest::newRow("draw 30 takes the second branch") << 30 << "Branchy:3:100";
    QTest::newRow("draw 59 takes the second branch") << 59 << "Branchy:3:100";
    QTest::newRow("draw 60 goes on") << 60 << "Branchy:1:100";
    QTest::newRow("draw 99 goes on") << 99 << "Branchy:1:100";
}

void TestAnimationSequencer::branchesByProbability()
{
    QFETCH(int, draw);
    QFETCH(QString, second);
    ScriptedRandom random;
    IdleTiming timing = FastIdle;
    timing.idlesPerLevel = 0; // counts as one: the second idle is at level 2
    random.picks = {0, 0};    // Wave first
    AnimationSequencer sequencer(*character_, std::ref(random), timing);
    sequencer.show(true);
    steps(sequencer, 2 + 3 + 2); // rest, pause, Wave (left after frame 2), rest, pause
    random.branchDraws = {draw};
    QCOMPARE(steps(sequencer, 2), QStringList({QStringLiteral("Branchy:0:100"), second}));
}

void TestAnimationSequencer::returnAnimationFollows()
{
    ScriptedRandom random;
    random.picks = {1}; // Goes
    AnimationSequencer sequencer(*character_, std::ref(random), FastIdle);
    sequencer.show(true);
    steps(sequencer, 2);
    QCOMPARE(steps(sequencer, 4),
             QStringList({QStringLiteral("Goes:0:100"), QStringLiteral("GoesReturn:0:100"),
                          QStringLiteral("RestPose:0:100"), QStringLiteral("RestPose:0:500")}));
}

void TestAnimationSequencer::missingStateAnimationIsSkipped()
{
    ScriptedRandom random;
    random.picks = {2}; // MISSING, the character has no such animation: the next one is Wave
    AnimationSequencer sequencer(*character_, std::ref(random), FastIdle);
    sequencer.show(true);
    steps(sequencer, 2);
    QCOMPARE(steps(sequencer, 1), QStringList({QStringLiteral("Wave:0:100")}));
}

void TestAnimationSequencer::getsMoreIdleOverTime()
{
    ScriptedRandom random;
    random.picks = {1, 1}; // Goes twice at level 1, then level 2 has only Branchy
    random.branchDefault = 99;
    AnimationSequencer sequencer(*character_, std::ref(random), FastIdle);
    sequencer.show(true);
    QStringList idles;
    for (const QString &step : steps(sequencer, 20))
        if (step.endsWith(QLatin1String(":0:100")) && !step.startsWith(QLatin1String("RestPose")) &&
            !step.startsWith(QLatin1String("GoesReturn")))
            idles << step.section(QLatin1Char(':'), 0, 0);
    QCOMPARE(idles.mid(0, 3),
             QStringList({QStringLiteral("Goes"), QStringLiteral("Goes"), QStringLiteral("Branchy")}));
}

void TestAnimationSequencer::stopEndsTheSequence()
{
    ScriptedRandom random;
    AnimationSequencer sequencer(*character_, std::ref(random), FastIdle);
    sequencer.show(false);
    QVERIFY(sequencer.next());
    sequencer.stop();
    QVERIFY(!sequencer.running());
    QVERIFY(!sequencer.next());
}

void TestAnimationSequencer::damagedAnimationsEnd()
{
    acs::Result<acs::Character> loaded = acs::Character::load(fixture::damagedCharacterFile());
    QVERIFY(loaded.ok());
    const AcsCharacter damaged(std::move(loaded.value()));
    ScriptedRandom random;
    AnimationSequencer sequencer(damaged, std::ref(random), FastIdle);
    sequencer.show(false);
    // Spin never has a frame to show: given up, on to the rest pose. Circle's
    // exit branches go round: left after as many exit steps as it has frames.
    QStringList seen;
    for (int i = 0; i < 8; ++i) {
        const std::optional<FrameStep> step = sequencer.next();
        QVERIFY(step);
        seen << QStringLiteral("%1:%2").arg(damaged.animationName(step->animation)).arg(step->frame);
    }
    QCOMPARE(seen, QStringList({QStringLiteral("RestPose:0"), QStringLiteral("RestPose:0"),
                                QStringLiteral("Circle:0"), QStringLiteral("Circle:1"),
                                QStringLiteral("Circle:0"), QStringLiteral("Circle:1"),
                                QStringLiteral("Circle:0"), QStringLiteral("RestPose:0")}));
}

QTEST_GUILESS_MAIN(TestAnimationSequencer)
#include "tst_animationsequencer.moc"
