#include "messagespeech.h"

#include "platform/agent/agentcharacter.h"

namespace harness
{

MessageSpeech::MessageSpeech(std::unique_ptr<QSettings> settings, bool unattended)
    : settings_(std::move(settings)), unattended_(unattended)
{
    if (settings_) on_ = settings_->value(settingsKey(), false).toBool();
}

void MessageSpeech::attach(const component::ObjectRef &character)
{
    character_ = character;
    if (const auto ours = this->character())
        ours->addMenuToggle(
            {QStringLiteral("Speak messages"), [this] { return on_; }, [this](bool on) { setOn(on); }});
}

void MessageSpeech::setOn(bool on)
{
    on_ = on;
    if (settings_) settings_->setValue(settingsKey(), on);
    if (!on) stop();
}

void MessageSpeech::say(const QString &heading, const QString &text)
{
    if (!on_ || unattended_) return;
    if (const auto ours = character()) {
        ours->speak(heading);
        ours->speak(text);
    }
}

void MessageSpeech::stop()
{
    if (const auto ours = character()) ours->stopSpeaking();
}

std::shared_ptr<agent::AgentCharacter> MessageSpeech::character() const
{
    return std::dynamic_pointer_cast<agent::AgentCharacter>(character_.lock());
}

} // namespace harness
