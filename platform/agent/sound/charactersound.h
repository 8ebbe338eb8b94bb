// Plays the sounds of a character's frames as they come up. Sounds are
// decoded the first time they are needed and kept; one that cannot be
// decoded is reported once and then skipped. The audio output is made on the
// first sound, so a muted character never touches the audio system, and a
// system without an audio device simply stays silent.
#pragma once

#include "audiooutput.h"
#include "charactermodel.h"

#include <map>

namespace agent
{

class CharacterSound
{
  public:
    CharacterSound(const CharacterModel &model, sound::AudioOutputFactory makeOutput, bool enabled = true);

    void setEnabled(bool enabled);
    bool enabled() const { return enabled_; }

    void frameShown(int animation, int frame);
    void stop();
    // Where speech goes: the output while sound is on, else none.
    sound::AudioOutput *speechOutput() { return enabled_ ? output() : nullptr; }

  private:
    const sound::PcmSound *decoded(int index);
    sound::AudioOutput *output();

    const CharacterModel &model_;
    sound::AudioOutputFactory makeOutput_;
    bool enabled_;
    bool outputMade_ = false;
    std::unique_ptr<sound::AudioOutput> output_;
    std::map<int, std::optional<sound::PcmSound>> sounds_; // nothing: cannot be played
};

} // namespace agent
