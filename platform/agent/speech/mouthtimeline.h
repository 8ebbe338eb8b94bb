// When the mouth changes shape while an utterance plays: computed from the
// end time of each phone, so it needs no audio.
#pragma once

#include "acs.h"

#include <span>
#include <string>
#include <vector>

namespace speech
{

struct PhoneEnd {
    std::string phone;
    int endMs = 0; // from the start of the utterance
};

struct MouthCue {
    int atMs = 0;
    acs::MouthShape shape = acs::MouthShape::Closed;
    friend bool operator==(const MouthCue &, const MouthCue &) = default;
};

class MouthTimeline
{
  public:
    MouthTimeline() = default;
    // Phones in order; a phone ending before the one ahead of it is taken to
    // take no time. Neighbours with the same shape merge into one cue.
    static MouthTimeline fromPhones(std::span<const PhoneEnd> phones);
    // For text that is not spoken: the mouth opens and closes in a steady
    // rhythm for the given time.
    static MouthTimeline unspoken(int durationMs);

    const std::vector<MouthCue> &cues() const { return cues_; }
    int durationMs() const { return durationMs_; }
    // The shape at a time; closed before the start and after the end.
    acs::MouthShape at(int ms) const;

  private:
    void add(int atMs, acs::MouthShape shape);

    std::vector<MouthCue> cues_;
    int durationMs_ = 0;
};

} // namespace speech
