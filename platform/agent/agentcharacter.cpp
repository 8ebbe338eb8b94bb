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
    player_.stop();
    sound_.stop();
    window_.hide();
}

void AgentCharacter::playAnimation(int animation)
{
    player_.playAnimation(animation);
    window_.show();
}

std::unique_ptr<QMenu> AgentCharacter::makeMenu()
{
    return makeCharacterMenu(*model_, soundOn(),
                             {[this](int animation) { playAnimation(animation); },
                              [this](bool on) { setSoundOn(on); }, [this] { hide(); }},
                             &window_);
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
