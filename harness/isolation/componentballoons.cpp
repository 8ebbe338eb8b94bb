#include "componentballoons.h"

namespace harness
{

ComponentBalloons::ComponentBalloons(ComponentHosts *hosts, std::function<component::ObjectRef()> component)
    : hosts_(hosts), component_(std::move(component))
{
    // Out of process nothing of this process's needs watching: no event
    // filter on the harness's every event.
    if (!hosts_) local_ = std::make_unique<balloondriver::LocalBalloonAccess>();
}

ComponentBalloons::Source ComponentBalloons::current()
{
    if (!hosts_) return {local_.get(), 0};
    // A component left stopped after its crashes has no host and no balloon.
    ComponentProcess *process = hosts_->processOf(component_());
    return process ? Source{process->balloons(), process->serial()} : Source{nullptr, -1};
}

balloondriver::BalloonAccess *ComponentBalloons::accessFor(int serial)
{
    const Source now = current();
    return now.serial == serial ? now.access : nullptr;
}

int ComponentBalloons::balloonOnScreen()
{
    const Source now = current();
    const int theirs = now.access ? now.access->balloonOnScreen() : 0;
    if (theirs == 0) return 0;
    for (const auto &[ours, whose] : numbers_)
        if (whose == std::pair(now.serial, theirs)) return ours;
    // Those of a process gone are no longer needed.
    std::erase_if(numbers_, [&now](const auto &entry) { return entry.second.first != now.serial; });
    numbers_[next_] = {now.serial, theirs};
    return next_++;
}

QString ComponentBalloons::answer(int balloon, const balloondriver::RecordedAnswer &answer)
{
    const auto found = numbers_.find(balloon);
    balloondriver::BalloonAccess *access = found == numbers_.end() ? nullptr : accessFor(found->second.first);
    if (!access) return QStringLiteral("it is no longer on the screen");
    return access->answer(found->second.second, answer);
}

void ComponentBalloons::close(int balloon)
{
    const auto found = numbers_.find(balloon);
    if (found == numbers_.end()) return;
    if (balloondriver::BalloonAccess *access = accessFor(found->second.first))
        access->close(found->second.second);
}

} // namespace harness
