// Turns text into speech: the samples to play and when the mouth changes.
// A synthesizer is used from one thread at a time (the speaker's worker).
#pragma once

#include "mouthtimeline.h"
#include "wavedecoder.h"

#include <memory>
#include <optional>
#include <string>

namespace speech
{

struct Utterance {
    sound::PcmSound audio; // no samples: the mouth moves on a clock and nothing is heard
    MouthTimeline mouth;
};

class Synthesizer
{
  public:
    virtual ~Synthesizer() = default;
    // `text` is plain ASCII. Nothing, with the reason in *error, when the
    // synthesiser fails.
    virtual std::optional<Utterance> synthesize(const std::string &text, std::string *error) = 0;
};

// The US English voice of Flite, built in.
std::unique_ptr<Synthesizer> createFliteSynthesizer();

} // namespace speech
