// The agent control, class "AgentObjectsCtl.Agent": loads characters under an
// identifier and hands out character objects that can be placed and shown.
//
// Members (called through component::DispatchObject::invoke):
//   CharactersLoad       method (String characterId [, String file])
//                        Without a file (or with an empty one) loads the
//                        built-in default character. A file the engine
//                        refuses is an error whose description says what is
//                        wrong with it.
//   CharactersCharacter  method or get (String characterId) -> Object, the
//                        character object; an error for an unknown id.
//   SoundEffectsOn       get -> Boolean; put Boolean: whether characters play
//                        the sounds of their frames (all loaded ones and
//                        those loaded later). Each character's right-click
//                        menu can change its own.
//
// The character object answers the members in component::character:
//   Left, Top            get -> Long; put Integer or Long (screen pixels)
//   Width, Height        get -> Long (screen pixels)
//   Visible              get -> Boolean
//   Show                 method ([Boolean fast]): shows the character window
//                        and plays its showing animation, then idles.
#pragma once

#include "animationsequencer.h"
#include "component/dispatch.h"
#include "sound/audiooutput.h"

#include <memory>

namespace agent
{

namespace member
{
inline constexpr component::DispId CharactersLoad = 0x60020001;
inline constexpr component::DispId CharactersCharacter = 0x60020002;
inline constexpr component::DispId SoundEffectsOn = 0x60020030;
} // namespace member

// How the characters of one control move. The default idles at random; an
// unattended run that compares pictures wants every frame predictable.
struct CharacterMotion {
    RandomSource random; // empty: the system's random numbers
    IdleTiming timing;
};

// A fixed seed and a clock that never reaches the next idle animation: after
// Show(fast) the character stays in its rest pose.
CharacterMotion steadyMotion();

struct AgentSettings {
    bool soundOn = true;
    // Where sounds go; the default is the system's audio device, if any.
    sound::AudioOutputFactory audio = sound::createSystemAudioOutput;
    CharacterMotion motion = {};
};

std::shared_ptr<component::DispatchObject> createAgentControl(AgentSettings settings = {});

} // namespace agent
