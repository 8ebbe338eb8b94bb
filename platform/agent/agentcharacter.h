// The character object the agent control hands out: a character on the
// screen in its own window, placed by Left/Top and brought up by Show.
//
// Members (component::character):
//   Left, Top       get -> Long; put Integer or Long, screen pixels -32768..32767
//   Width, Height   get -> Long, the character's frame size
//   Visible         get -> Boolean
//   Show            method ([Boolean fast]); fast skips the showing animation
#pragma once

#include "animationplayer.h"
#include "charactermodel.h"
#include "characterwindow.h"
#include "component/contract.h"
#include "sound/charactersound.h"
#include "speech/speaker.h"

#include <QMenu>

#include <memory>

namespace agent
{

class AgentCharacter final : public component::DispatchObject
{
  public:
    // Without an audio output the character is silent.
    explicit AgentCharacter(std::unique_ptr<CharacterModel> model, sound::AudioOutputFactory audio = {},
                            RandomSource random = {}, IdleTiming timing = {});
    ~AgentCharacter() override;

    component::Result invoke(component::DispId id, component::CallKind kind, component::Args &args) override;

    void show(bool fast);
    void hide();
    void playAnimation(int animation);
    void setSoundOn(bool on);
    bool soundOn() const { return sound_.enabled(); }

    // Says the text with the mouth moving; texts given meanwhile wait their
    // turn. Silent, with the mouth still moving, while sound is off.
    void speak(const QString &text);
    void stopSpeaking();
    bool speaking() const { return speaker_ && speaker_->speaking(); }
    // Replaces the built-in voice; before the first speak().
    void setSynthesizer(std::shared_ptr<speech::Synthesizer> synthesizer);
    // Milliseconds on a steady clock for the mouth when no audio plays;
    // before the first speak().
    void setSpeechClock(speech::Speaker::Clock clock) { speechClock_ = std::move(clock); }
    speech::Speaker &speaker();

    // An extra on/off entry of the right-click menu, for the program that
    // shows the character.
    struct MenuToggle {
        QString text;
        std::function<bool()> isOn;
        std::function<void(bool)> set;
    };
    void addMenuToggle(MenuToggle toggle) { menuToggles_.push_back(std::move(toggle)); }

    // The right-click menu: the animations to play, hide, sound on or off.
    std::unique_ptr<QMenu> makeMenu();

    const CharacterModel &model() const { return *model_; }
    CharacterWindow &window() { return window_; }
    AnimationPlayer &player() { return player_; }

  private:
    using Handler = component::Result (AgentCharacter::*)(component::CallKind, component::Args &);
    struct Member {
        component::DispId id;
        Handler handler;
    };
    static const Member members[];

    component::Result left(component::CallKind kind, component::Args &args);
    component::Result top(component::CallKind kind, component::Args &args);
    component::Result width(component::CallKind kind, component::Args &args);
    component::Result height(component::CallKind kind, component::Args &args);
    component::Result visible(component::CallKind kind, component::Args &args);
    component::Result showMethod(component::CallKind kind, component::Args &args);

    // A screen coordinate: read it, or move the window along one axis.
    component::Result coordinate(component::CallKind kind, component::Args &args, int current,
                                 void (AgentCharacter::*place)(int));
    void placeLeft(int x);
    void placeTop(int y);
    void popUpMenu(const QPoint &globalPos);

    std::unique_ptr<CharacterModel> model_;
    CharacterWindow window_;
    AnimationPlayer player_;
    CharacterSound sound_;
    std::shared_ptr<speech::Synthesizer> synthesizer_;
    speech::Speaker::Clock speechClock_;
    std::unique_ptr<speech::Speaker> speaker_; // made on the first speak()
    std::vector<MenuToggle> menuToggles_;
};

} // namespace agent
