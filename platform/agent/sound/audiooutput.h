// Where a character's sounds go. The engine only ever starts one sound at a
// time; starting another cuts the one playing short. Speech has a voice of
// its own beside it, so a frame's sound never cuts speech off.
#pragma once

#include "wavedecoder.h"

#include <cstdint>
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

    // An output without a speech voice stays silent; the mouth then moves on
    // a clock.
    virtual void playSpeech(const PcmSound &) {}
    virtual void stopSpeech() {}
    // How much of the speech the device has taken, in microseconds; negative
    // when no speech plays through this output.
    virtual int64_t speechPlayedUs() const { return -1; }
};

// Makes the output on first use; null means "no audio device", which is no
// error: the character just stays silent.
using AudioOutputFactory = std::function<std::unique_ptr<AudioOutput>()>;

// The system's default audio device through Qt Multimedia, or null when the
// system has none (or the audio module is not installed). Loads the module
// on first use.
std::unique_ptr<AudioOutput> createSystemAudioOutput();

} // namespace sound
