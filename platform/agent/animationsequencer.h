// Decides which frame of a character is on screen next and for how long:
// the showing animation, then idling (rest pose, a pause, an idle animation
// picked at random, back to the rest pose, ...). No timers here: the player
// asks for the next step when the current one has been up long enough, which
// keeps the sequence testable with a scripted random source.
#pragma once

#include "charactermodel.h"

#include <functional>

namespace agent
{

// Returns a number in 0 .. bound-1.
using RandomSource = std::function<int(int bound)>;

struct IdleTiming {
    int restMinMs = 1000;    // shortest pause in the rest pose between idle animations
    int restExtraMs = 2500;  // plus up to this much, at random
    int idleBudgetMs = 6000; // a looping idle animation is left after this long
    int idlesPerLevel = 6;   // idle animations played before getting more idle
};

struct FrameStep {
    int animation = 0;
    int frame = 0;
    int durationMs = 0;
    bool held = false; // the rest pose's last frame kept up for a pause, not shown anew
    friend bool operator==(const FrameStep &, const FrameStep &) = default;
};

class AnimationSequencer
{
  public:
    AnimationSequencer(const CharacterModel &model, RandomSource random, IdleTiming timing = {});

    // Starts over with the showing animation, or straight in the rest pose.
    void show(bool fast);
    // Plays one animation now, then goes back to idling as after showing.
    void playAnimation(int animation);
    void stop();
    // While speaking the character plays its speaking animation and then
    // holds its last frame; speaking ends by leaving it as an idle
    // animation is left. Only a running character speaks.
    void speak(bool on);
    bool speaking() const { return phase_ == Phase::Speaking; }
    bool running() const { return phase_ != Phase::Stopped; }

    // The next frame to put on screen; nothing once stopped or when the
    // character has nothing to show.
    std::optional<FrameStep> next();

  private:
    // Resting plays the rest pose, Pausing holds its last frame for a while.
    enum class Phase { Stopped, Showing, Resting, Pausing, Idling, Returning, Speaking };

    struct Track {
        int animation = -1;
        int frame = -1; // -1: not started
        int shownMs = 0;
        int followedUnseen = 0; // frames followed since one was shown
        int exitSteps = 0;
        bool exiting = false;
    };

    std::optional<int> advanceFrame();
    // Moves on to what follows the finished animation; a pause in the rest
    // pose is itself a step to show.
    std::optional<FrameStep> finishAnimation();
    void begin(Phase phase, std::optional<int> animation);
    void beginIdle();
    std::optional<int> pickFromState(const QString &state);
    std::optional<int> restAnimation() const;
    int idleLevel() const;
    int pauseMs() const;

    const CharacterModel &model_;
    RandomSource random_;
    IdleTiming timing_;
    Phase phase_ = Phase::Stopped;
    Track track_;
    std::optional<FrameStep> lastShown_;
    int idlesPlayed_ = 0;
};

} // namespace agent
