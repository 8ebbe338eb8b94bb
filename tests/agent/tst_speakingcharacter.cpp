// A character that speaks: its speaking animation, the mouth pictures of a
// character file and of the built-in robot, the mouth shown in time, and the
// extra menu entries. Speech comes from a scripted synthesiser on a test
// clock, never from a device.
#include "acscharacter.h"
#include "agentcharacter.h"
#include "defaultcharacter.h"
#include "fixturecharacter.h"

#include <QApplication>
#include <QtTest>

using acs::MouthShape;

namespace
{

// Every text is "m aa" over 200 ms, without samples.
class TwoPhones final : public speech::Synthesizer
{
  public:
    std::optional<speech::Utterance> synthesize(const std::string &, std::string *) override
    {
        const std::vector<speech::PhoneEnd> phones{{"m", 100}, {"aa", 200}};
        speech::Utterance u;
        u.mouth = speech::MouthTimeline::fromPhones(phones);
        return u;
    }
};

std::unique_ptr<agent::AcsCharacter> load(const std::vector<uint8_t> &bytes)
{
    auto loaded = acs::Character::load(bytes);
    return loaded ? std::make_unique<agent::AcsCharacter>(std::move(loaded.value())) : nullptr;
}

uint32_t mouthPixel(const QImage &frame)
{
    return frame.pixel(fixture::MouthX + 1, fixture::MouthY + 1);
}

} // namespace

class TestSpeakingCharacter : public QObject
{
    Q_OBJECT
  private slots:
    void fileMouthsForEveryShape()
    {
        const auto model = load(fixture::speakingCharacterFile());
        QVERIFY(model);
        const int talk = *model->findAnimation(QStringLiteral("Talk"));
        QVERIFY(model->frameHasMouths(talk, 0));
        for (int shape = 0; shape < acs::mouthShapeCount; ++shape)
            QCOMPARE(mouthPixel(model->mouthFrameImage(talk, 0, MouthShape(shape))),
                     fixture::MouthColor(shape));
        QCOMPARE(mouthPixel(model->frameImage(talk, 0)), fixture::BodyColor);
        // A frame with only the closed mouth shows it for every shape.
        const int rest = *model->restPose();
        QCOMPARE(mouthPixel(model->mouthFrameImage(rest, 0, MouthShape::Wide4)), fixture::MouthColor(0));
        // Frames without mouths have no mouth pictures.
        QVERIFY(!model->frameHasMouths(0, 0));
        QVERIFY(model->mouthFrameImage(0, 0, MouthShape::Wide1).isNull());
    }

    void robotMouthsAreDrawnForEveryShape()
    {
        agent::DefaultCharacter robot;
        QCOMPARE(robot.stateAnimations(agent::state::Speaking), QStringList{QStringLiteral("Speak")});
        const int speak = *robot.findAnimation(QStringLiteral("Speak"));
        QVERIFY(robot.frameHasMouths(speak, 0));
        QVERIFY(robot.frameHasMouths(*robot.restPose(), 0));
        QList<QImage> seen{robot.frameImage(speak, 0)};
        for (int shape = 0; shape < acs::mouthShapeCount; ++shape) {
            const QImage image = robot.mouthFrameImage(speak, 0, MouthShape(shape));
            QVERIFY(!image.isNull());
            QVERIFY2(!seen.contains(image),
                     qPrintable(QStringLiteral("shape %1 looks like another").arg(shape)));
            seen << image;
        }
        QVERIFY(robot.mouthFrameImage(speak, 0, MouthShape(7)).isNull());
        QVERIFY(robot.mouthFrameImage(*robot.findAnimation(QStringLiteral("Blink")), 0, MouthShape::Wide1)
                    .isNull());
    }

    void mouthMovesInTime()
    {
        int64_t now = 0;
        agent::AgentCharacter character(load(fixture::speakingCharacterFile()));
        character.setSynthesizer(std::make_shared<TwoPhones>());
        character.setSpeechClock([&now] { return now; });
        character.show(true);
        const int talk = *character.model().findAnimation(QStringLiteral("Talk"));
        character.speak(QStringLiteral("ma"));
        QVERIFY(character.speaking());
        QCOMPARE(character.player().currentFrame()->animation, talk);
        QTRY_COMPARE(mouthPixel(character.window().frame()), fixture::MouthColor(int(MouthShape::Closed)));
        now = 150;
        character.speaker().tick();
        QCOMPARE(mouthPixel(character.window().frame()), fixture::MouthColor(int(MouthShape::Wide4)));
        now = 200;
        character.speaker().tick();
        QVERIFY(!character.speaking());
        QCOMPARE(mouthPixel(character.window().frame()), fixture::BodyColor);
        // The speaking animation is left: the character goes back to rest.
        QTRY_VERIFY(character.player().currentFrame()->animation != talk);
        character.hide();
    }

    void characterWithoutMouthsJustSpeaks()
    {
        agent::AgentCharacter character(load(fixture::characterFile()));
        character.setSynthesizer(std::make_shared<TwoPhones>());
        character.setSpeechClock([] { return int64_t(0); });
        character.show(true);
        character.speak(QStringLiteral("ma"));
        QTRY_VERIFY(character.speaker().mouth().has_value());
        QCOMPARE(character.player().currentFrame()->animation, *character.model().restPose());
        QCOMPARE(mouthPixel(character.window().frame()), fixture::BodyColor);
        character.hide();
        QVERIFY(!character.speaking()); // hiding ends speech
    }

    void menuToggles()
    {
        agent::AgentCharacter character(std::make_unique<agent::DefaultCharacter>());
        bool on = true;
        character.addMenuToggle(
            {QStringLiteral("Speak messages"), [&on] { return on; }, [&on](bool v) { on = v; }});
        const std::unique_ptr<QMenu> menu = character.makeMenu();
        const QList<QAction *> items = menu->actions();
        QCOMPARE(items.size(), 4);
        QCOMPARE(items[2]->text(), QStringLiteral("Speak messages"));
        QVERIFY(items[2]->isCheckable() && items[2]->isChecked());
        items[2]->trigger();
        QVERIFY(!on);
        QCOMPARE(items[3]->text(), QStringLiteral("&Hide"));
    }
};

QTEST_MAIN(TestSpeakingCharacter)
#include "tst_speakingcharacter.moc"
