// What the animation player needs from a character, whatever it is made of:
// the built-in default character or one read from a character file.
//
// Animations are addressed by index (0 .. animationCount()-1), frames by index
// within their animation. Frame images are made on demand, so a model never
// has to prepare pictures that are not about to be shown.
#pragma once

#include "acs.h"

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <span>

namespace agent
{

// Situations the player asks the character to pick an animation for.
namespace state
{
inline constexpr QLatin1StringView Showing{"SHOWING"};
inline constexpr QLatin1StringView IdlingLevel1{"IDLINGLEVEL1"};
inline constexpr QLatin1StringView IdlingLevel2{"IDLINGLEVEL2"};
inline constexpr QLatin1StringView IdlingLevel3{"IDLINGLEVEL3"};
inline constexpr QLatin1StringView Speaking{"SPEAKING"};
} // namespace state

inline constexpr QLatin1StringView RestPoseName{"RESTPOSE"};

class CharacterModel
{
  public:
    virtual ~CharacterModel() = default;

    virtual QString name() const = 0;
    // Every frame image has exactly this size.
    virtual QSize frameSize() const = 0;

    virtual int animationCount() const = 0;
    virtual QString animationName(int animation) const = 0;
    // Case-insensitive; nothing when the character has no such animation.
    virtual std::optional<int> findAnimation(const QString &name) const = 0;
    // Names of the animations the character may pick from in a state (upper
    // case state names such as "SHOWING"); empty for an unknown state.
    virtual QStringList stateAnimations(const QString &state) const = 0;
    // The animation that holds the character still, if it has one.
    virtual std::optional<int> restPose() const = 0;
    // The animation to play after this one has finished or was left early.
    virtual std::optional<int> returnAnimation(int animation) const = 0;

    virtual int frameCount(int animation) const = 0;
    virtual int frameDurationMs(int animation, int frame) const = 0;
    // A frame with nothing to draw is a landing point for branches, never
    // shown when its duration is zero.
    virtual bool frameIsEmpty(int animation, int frame) const = 0;
    // Premultiplied ARGB of frameSize(); a null image when the picture cannot
    // be made (a damaged file), which the player skips.
    virtual QImage frameImage(int animation, int frame) const = 0;

    // The frame that follows `frame`, or nothing when the animation is over.
    // `random` is in 0..99 and picks among the frame's branches. While
    // `exiting`, branches are not followed: the frame's exit branch is, or the
    // animation ends at once when it has no exit branches at all.
    virtual std::optional<int> nextFrame(int animation, int frame, int random, bool exiting) const = 0;

    // The sound that starts when the frame is shown, if it has one.
    virtual std::optional<int> frameSound(int, int) const { return std::nullopt; }
    // The stored sound (a RIFF WAVE file); empty when the character cannot give it.
    virtual std::span<const uint8_t> soundData(int) const { return {}; }

    // Whether the frame carries mouth pictures for speech.
    virtual bool frameHasMouths(int, int) const { return false; }
    // The frame with its mouth in this shape, or the nearest shape it has; a
    // null image when the frame has no mouths.
    virtual QImage mouthFrameImage(int, int, acs::MouthShape) const { return {}; }
};

} // namespace agent
