// Where a character's sounds go. The engine only ever starts one sound at a
// time; starting another cuts the one playing short.
#pragma once

#include "wavedecoder.h"

#include <functional>
#include <memory>

namespace sound
{

class AudioOutput
{
  public:
    virtual ~AudioOutput() = default;
    virtual void play(const PcmSound &sound) = 0;
    virtual void stop() = 0;
};

// Makes the output on first use; null means "no audio device", which is no
// error: the character just stays silent.
using AudioOutputFactory = std::function<std::unique_ptr<AudioOutput>()>;

// The system's default audio device through Qt Multimedia, or null when the
// system has none (or the audio module is not installed). Loads the module
// on first use.
std::unique_ptr<AudioOutput> createSystemAudioOutput();

} // namespace sound
