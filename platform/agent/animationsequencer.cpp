#include "animationsequencer.h"

#include <array>

namespace agent
{

namespace
{

// A damaged character can branch among frames it never shows, or exit in a
// circle; these bound how far the sequencer follows such a loop.
constexpr int MaxFramesFollowedUnseen = 1000;
constexpr int MaxStepsPerCall = 4096;
// How long a held speaking frame stays before the sequencer looks again.
constexpr int SpeakingHoldMs = 100;

constexpr std::array<QLatin1StringView, 3> IdleStates{state::IdlingLevel1, state::IdlingLevel2,
                                                      state::IdlingLevel3};

} // namespace

AnimationSequencer::AnimationSequencer(const CharacterModel &model, RandomSource random, IdleTiming timing)
    : model_(model), random_(std::move(random)), timing_(timing)
{
}

void AnimationSequencer::show(bool fast)
{
    idlesPlayed_ = 0;
    lastShown_.reset();
    std::optional<int> showing = fast ? std::nullopt : pickFromState(state::Showing);
    if (showing)
        begin(Phase::Showing, showing);
    else
        begin(Phase::Resting, restAnimation());
}

void AnimationSequencer::playAnimation(int animation)
{
    if (animation < 0 || animation >= model_.animationCount()) return;
    begin(Phase::Showing, animation);
}

void AnimationSequencer::stop()
{
    begin(Phase::Stopped, std::nullopt);
}

void AnimationSequencer::speak(bool on)
{
    if (on) {
        if (phase_ == Phase::Stopped || phase_ == Phase::Speaking) return;
        const std::optional<int> speaking = pickFromState(state::Speaking);
        begin(Phase::Speaking, speaking ? speaking : restAnimation());
        return;
    }
    if (phase_ != Phase::Speaking) return;
    phase_ = Phase::Showing;
    track_.exiting = true;
}

std::optional<FrameStep> AnimationSequencer::next()
{
    for (int step = 0; step < MaxStepsPerCall; ++step) {
        if (phase_ == Phase::Stopped) return std::nullopt;
        if (phase_ == Phase::Pausing) {
            beginIdle();
            continue;
        }
        std::optional<int> frame = track_.animation >= 0 ? advanceFrame() : std::nullopt;
        if (!frame) {
            if (std::optional<FrameStep> pause = finishAnimation()) return pause;
            continue;
        }
        const int duration = model_.frameDurationMs(track_.animation, *frame);
        if (duration <= 0) continue; // a landing point for branches, never on screen
        track_.shownMs += duration;
        track_.followedUnseen = 0;
        lastShown_ = FrameStep{track_.animation, *frame, duration};
        return lastShown_;
    }
    stop();
    return std::nullopt;
}

std::optional<int> AnimationSequencer::advanceFrame()
{
    const int count = model_.frameCount(track_.animation);
    if (track_.frame < 0) {
        track_.frame = 0;
        return count > 0 ? std::optional<int>(0) : std::nullopt;
    }
    if (++track_.followedUnseen > MaxFramesFollowedUnseen) return std::nullopt;
    if (phase_ == Phase::Idling && track_.shownMs >= timing_.idleBudgetMs) track_.exiting = true;
    if (track_.exiting && ++track_.exitSteps > count)
        return std::nullopt; // exit branches that go round in a circle
    const int random = track_.exiting ? 0 : random_(100);
    std::optional<int> next = model_.nextFrame(track_.animation, track_.frame, random, track_.exiting);
    if (!next || *next < 0 || *next >= count) return std::nullopt;
    track_.frame = *next;
    return next;
}

std::optional<FrameStep> AnimationSequencer::finishAnimation()
{
    switch (phase_) {
    case Phase::Showing:
    case Phase::Idling:
        if (std::optional<int> back = model_.returnAnimation(track_.animation)) {
            begin(Phase::Returning, back);
            return std::nullopt;
        }
        begin(Phase::Resting, restAnimation());
        return std::nullopt;
    case Phase::Returning:
        begin(Phase::Resting, restAnimation());
        return std::nullopt;
    case Phase::Resting:
        begin(Phase::Pausing, std::nullopt);
        if (!lastShown_) return std::nullopt;
        return FrameStep{lastShown_->animation, lastShown_->frame, pauseMs(), true};
    case Phase::Speaking:
        if (!lastShown_) {
            begin(Phase::Resting, restAnimation());
            return std::nullopt;
        }
        begin(Phase::Speaking, std::nullopt);
        return FrameStep{lastShown_->animation, lastShown_->frame, SpeakingHoldMs, true};
    case Phase::Pausing:
    case Phase::Stopped:
        break;
    }
    return std::nullopt;
}

void AnimationSequencer::begin(Phase phase, std::optional<int> animation)
{
    phase_ = phase;
    track_ = Track{};
    track_.animation = animation.value_or(-1);
}

void AnimationSequencer::beginIdle()
{
    for (int level = idleLevel(); level >= 1; --level) {
        if (std::optional<int> idle = pickFromState(IdleStates[size_t(level - 1)])) {
            ++idlesPlayed_;
            begin(Phase::Idling, idle);
            return;
        }
    }
    begin(Phase::Resting, restAnimation());
}

std::optional<int> AnimationSequencer::pickFromState(const QString &state)
{
    const QStringList names = model_.stateAnimations(state);
    if (names.isEmpty()) return std::nullopt;
    // A state may name animations the character lacks: try the others too.
    const int first = random_(int(names.size()));
    for (int i = 0; i < names.size(); ++i) {
        if (std::optional<int> found = model_.findAnimation(names[(first + i) % names.size()])) return found;
    }
    return std::nullopt;
}

std::optional<int> AnimationSequencer::restAnimation() const
{
    if (std::optional<int> rest = model_.restPose()) return rest;
    return model_.animationCount() > 0 ? std::optional<int>(0) : std::nullopt;
}

int AnimationSequencer::idleLevel() const
{
    const int perLevel = std::max(1, timing_.idlesPerLevel);
    return std::min(int(IdleStates.size()), 1 + idlesPlayed_ / perLevel);
}

int AnimationSequencer::pauseMs() const
{
    return std::max(1, timing_.restMinMs + (timing_.restExtraMs > 0 ? random_(timing_.restExtraMs + 1) : 0));
}

} // namespace agent
