#include "agentcharacter.h"

#include "charactermenu.h"
#include "dispatchargs.h"

#include <QRandomGenerator>

#include <limits>

namespace agent
{

using component::Args;
using component::CallKind;
using component::Result;

namespace
{

RandomSource systemRandom()
{
    return [](int bound) { return int(QRandomGenerator::global()->bounded(std::max(1, bound))); };
}

// A read-only value: a get without arguments.
Result readOnly(CallKind kind, const Args &args, component::Value value)
{
    if (kind != CallKind::PropertyGet && kind != CallKind::Method) return component::error::notSupported();
    if (auto error = dispatchargs::expectCount(args, 0, 0)) return *error;
    return value;
}

} // namespace

const AgentCharacter::Member AgentCharacter::members[] = {
    {component::character::Left, &AgentCharacter::left},
    {component::character::Top, &AgentCharacter::top},
    {component::character::Width, &AgentCharacter::width},
    {component::character::Height, &AgentCharacter::height},
    {component::character::Visible, &AgentCharacter::visible},
    {component::character::Show, &AgentCharacter::showMethod},
};

AgentCharacter::AgentCharacter(std::unique_ptr<CharacterModel> model, sound::AudioOutputFactory audio,
                               RandomSource random, IdleTiming timing)
    : model_(std::move(model)), window_(model_->frameSize()),
      player_(*model_, random ? std::move(random) : systemRandom(), timing), sound_(*model_, std::move(audio))
{
    window_.setWindowTitle(model_->name());
    QObject::connect(&player_, &AnimationPlayer::frameChanged, &window_, &CharacterWindow::setFrame);
    QObject::connect(&player_, &AnimationPlayer::frameEntered, &window_,
                     [this](int animation, int frame) { sound_.frameShown(animation, frame); });
    QObject::connect(&window_, &CharacterWindow::menuRequested, &window_,
                     [this](const QPoint &at) { popUpMenu(at); });
}

AgentCharacter::~AgentCharacter()
{
    speaker_.reset();
    player_.stop();
    sound_.stop();
}

Result AgentCharacter::invoke(component::DispId id, CallKind kind, Args &args)
{
    for (const Member &member : members)
        if (member.id == id) return (this->*member.handler)(kind, args);
    return component::error::notSupported();
}

void AgentCharacter::show(bool fast)
{
    if (window_.isVisible()) return;
    player_.play(fast);
    window_.show();
}

void AgentCharacter::hide()
{
    stopSpeaking();
    player_.stop();
    sound_.stop();
    window_.hide();
}

void AgentCharacter::playAnimation(int animation)
{
    player_.playAnimation(animation);
    window_.show();
}

void AgentCharacter::setSoundOn(bool on)
{
    sound_.setEnabled(on);
    if (!on && speaker_) speaker_->silence();
}

void AgentCharacter::speak(const QString &text)
{
    speaker().speak(text);
}

void AgentCharacter::stopSpeaking()
{
    if (speaker_) speaker_->stop();
}

void AgentCharacter::setSynthesizer(std::shared_ptr<speech::Synthesizer> synthesizer)
{
    synthesizer_ = std::move(synthesizer);
}

speech::Speaker &AgentCharacter::speaker()
{
    if (!speaker_) {
        if (!synthesizer_) synthesizer_ = speech::createFliteSynthesizer();
        speaker_ = std::make_unique<speech::Speaker>(
            synthesizer_, [this] { return sound_.speechOutput(); }, speechClock_);
        QObject::connect(speaker_.get(), &speech::Speaker::speakingChanged, &player_,
                         &AnimationPlayer::setSpeaking);
        QObject::connect(speaker_.get(), &speech::Speaker::mouthChanged, &player_,
                         &AnimationPlayer::setMouth);
    }
    return *speaker_;
}

std::unique_ptr<QMenu> AgentCharacter::makeMenu()
{
    std::unique_ptr<QMenu> menu = makeCharacterMenu(*model_, soundOn(),
                                                    {[this](int animation) { playAnimation(animation); },
                                                     [this](bool on) { setSoundOn(on); }, [this] { hide(); }},
                                                    &window_);
    QAction *hideAction = menu->actions().isEmpty() ? nullptr : menu->actions().constLast();
    for (const MenuToggle &toggle : menuToggles_) {
        auto *action = new QAction(toggle.text, menu.get());
        action->setCheckable(true);
        action->setChecked(toggle.isOn && toggle.isOn());
        QObject::connect(action, &QAction::toggled, &window_, [set = toggle.set](bool on) {
            if (set) set(on);
        });
        menu->insertAction(hideAction, action);
    }
    return menu;
}

void AgentCharacter::popUpMenu(const QPoint &globalPos)
{
    QMenu *menu = makeMenu().release();
    menu->setParent(&window_, menu->windowFlags()); // goes with the character
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(globalPos);
}

Result AgentCharacter::left(CallKind kind, Args &args)
{
    return coordinate(kind, args, window_.x(), &AgentCharacter::placeLeft);
}

Result AgentCharacter::top(CallKind kind, Args &args)
{
    return coordinate(kind, args, window_.y(), &AgentCharacter::placeTop);
}

Result AgentCharacter::width(CallKind kind, Args &args)
{
    return readOnly(kind, args, int32_t(window_.width()));
}

Result AgentCharacter::height(CallKind kind, Args &args)
{
    return readOnly(kind, args, int32_t(window_.height()));
}

Result AgentCharacter::visible(CallKind kind, Args &args)
{
    return readOnly(kind, args, component::Bool::of(window_.isVisible()));
}

Result AgentCharacter::showMethod(CallKind kind, Args &args)
{
    if (kind != CallKind::Method) return component::error::notSupported();
    if (auto error = dispatchargs::expectCount(args, 0, 1)) return *error;
    bool fast = false;
    if (!args.empty()) {
        const auto flag = component::as<component::Bool>(args[0]);
        if (!flag) return component::error::typeMismatch();
        fast = flag->value();
    }
    show(fast);
    return Result{};
}

Result AgentCharacter::coordinate(CallKind kind, Args &args, int current, void (AgentCharacter::*place)(int))
{
    if (kind == CallKind::PropertyGet) return readOnly(kind, args, int32_t(current));
    if (kind != CallKind::PropertyPut) return component::error::notSupported();
    if (auto error = dispatchargs::expectCount(args, 1, 1)) return *error;
    const std::optional<int32_t> value = dispatchargs::integer(args[0]);
    if (!value) return component::error::typeMismatch();
    // Window systems keep positions in 16 bits.
    if (*value < std::numeric_limits<int16_t>::min() || *value > std::numeric_limits<int16_t>::max())
        return component::error::invalidValue();
    (this->*place)(*value);
    return Result{};
}

void AgentCharacter::placeLeft(int x)
{
    window_.move(x, window_.y());
}

void AgentCharacter::placeTop(int y)
{
    window_.move(window_.x(), y);
}

} // namespace agent
