// "Speak messages": off at first, turned on from the character's menu and
// kept in the settings, silent in unattended runs and for characters that
// are not the engine's.
#include "harness/handlers/messagespeech.h"
#include "platform/agent/agentcharacter.h"
#include "platform/agent/defaultcharacter.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QtTest>

namespace
{

class Silent final : public speech::Synthesizer
{
  public:
    std::optional<speech::Utterance> synthesize(const std::string &, std::string *) override
    {
        return speech::Utterance{};
    }
};

std::shared_ptr<agent::AgentCharacter> robot()
{
    auto character = std::make_shared<agent::AgentCharacter>(std::make_unique<agent::DefaultCharacter>());
    character->setSynthesizer(std::make_shared<Silent>());
    return character;
}

QAction *speakEntry(agent::AgentCharacter &character, std::unique_ptr<QMenu> &menu)
{
    menu = character.makeMenu();
    for (QAction *action : menu->actions())
        if (action->text() == QStringLiteral("Speak messages")) return action;
    return nullptr;
}

// Not the engine's character: answers nothing.
class ForeignCharacter final : public component::DispatchObject
{
  public:
    component::Result invoke(component::DispId, component::CallKind, component::Args &) override
    {
        return component::error::notSupported();
    }
};

} // namespace

class TestMessageSpeech : public QObject
{
    Q_OBJECT
  private slots:
    void init() { QVERIFY(dir_.isValid()); }

    void offUntilTurnedOnAndRemembered()
    {
        const auto character = robot();
        {
            harness::MessageSpeech speech(settings(), false);
            speech.attach(character);
            speech.say(QStringLiteral("Heading"), QStringLiteral("Text"));
            QVERIFY(!character->speaking());

            std::unique_ptr<QMenu> menu;
            QAction *entry = speakEntry(*character, menu);
            QVERIFY(entry && entry->isCheckable() && !entry->isChecked());
            entry->trigger();
            QVERIFY(speech.on());
            speech.say(QStringLiteral("Heading"), QStringLiteral("Text"));
            QVERIFY(character->speaking());
            // Turning it off silences the character at once.
            speech.setOn(false);
            QVERIFY(!character->speaking());
            speech.setOn(true);
        }
        harness::MessageSpeech again(settings(), false);
        QVERIFY(again.on());
    }

    void unattendedRunNeverSpeaks()
    {
        const auto character = robot();
        harness::MessageSpeech speech(nullptr, true);
        speech.attach(character);
        speech.setOn(true);
        speech.say(QStringLiteral("Heading"), QStringLiteral("Text"));
        QVERIFY(!character->speaking());
    }

    void foreignCharacterHasNoVoice()
    {
        const auto foreign = std::make_shared<ForeignCharacter>();
        harness::MessageSpeech speech(nullptr, false);
        speech.attach(foreign);
        speech.setOn(true);
        speech.say(QStringLiteral("Heading"), QStringLiteral("Text"));
        speech.stop();
        speech.attach(nullptr);
        speech.say(QStringLiteral("Heading"), QStringLiteral("Text"));
    }

  private:
    std::unique_ptr<QSettings> settings() const
    {
        return std::make_unique<QSettings>(dir_.filePath(QStringLiteral("harness.ini")),
                                           QSettings::IniFormat);
    }

    QTemporaryDir dir_;
};

QTEST_MAIN(TestMessageSpeech)
#include "tst_messagespeech.moc"
