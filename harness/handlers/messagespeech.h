// "Speak messages": while on, the character says each balloon's heading and
// text as the harness shows it. The character's right-click menu turns it on
// and off; it starts off and the choice is kept in the program's settings.
// An unattended run never speaks, and a character that is not the engine's
// own (another component's) has no voice.
#pragma once

#include "component/value.h"

#include <QSettings>

#include <memory>

namespace agent
{
class AgentCharacter;
}

namespace harness
{

class MessageSpeech
{
  public:
    // `settings` keeps the choice; null keeps it for this run only.
    MessageSpeech(std::unique_ptr<QSettings> settings, bool unattended);

    // Adds the menu entry to the character, when it is the engine's.
    void attach(const component::ObjectRef &character);

    bool on() const { return on_; }
    void setOn(bool on);

    // Heading and text, one after the other.
    void say(const QString &heading, const QString &text);
    void stop();

    static QString settingsKey() { return QStringLiteral("character/speakMessages"); }

  private:
    std::shared_ptr<agent::AgentCharacter> character() const;

    std::unique_ptr<QSettings> settings_;
    bool unattended_;
    bool on_ = false;
    std::weak_ptr<component::DispatchObject> character_;
};

} // namespace harness
