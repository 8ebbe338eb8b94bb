// Speech from Flite: its utterance gives both the wave and the Segment
// relation, whose items are the phones with their end times in seconds.
#include "synthesizer.h"

#include <flite/flite.h>

#include <algorithm>
#include <cmath>
#include <mutex>

extern "C" cst_voice *register_cmu_us_kal16(const char *voxdir);

namespace speech
{

namespace
{

// Flite keeps its voices in globals and is not made for several threads:
// speakers on different threads take turns.
std::mutex fliteMutex;

// Registered once per process, under the mutex.
cst_voice *voice()
{
    static cst_voice *const registered = [] {
        flite_init();
        return register_cmu_us_kal16(nullptr);
    }();
    return registered;
}

int toMs(float seconds)
{
    return std::isfinite(seconds) && seconds > 0 ? int(std::lround(double(seconds) * 1000.0)) : 0;
}

class FliteSynthesizer final : public Synthesizer
{
  public:
    std::optional<Utterance> synthesize(const std::string &text, std::string *error) override
    {
        const std::lock_guard lock(fliteMutex);
        cst_voice *v = voice();
        if (!v) {
            *error = "the voice cannot be loaded";
            return std::nullopt;
        }
        cst_utterance *utterance = flite_synth_text(text.c_str(), v);
        if (!utterance) {
            *error = "the synthesiser made nothing of the text";
            return std::nullopt;
        }
        std::optional<Utterance> result = read(utterance, error);
        delete_utterance(utterance);
        return result;
    }

  private:
    static std::optional<Utterance> read(cst_utterance *utterance, std::string *error)
    {
        const cst_wave *wave = utt_wave(utterance);
        if (!wave || wave->num_channels != 1 || wave->sample_rate <= 0 || wave->num_samples < 0 ||
            (wave->num_samples > 0 && !wave->samples)) {
            *error = "the synthesiser gave no usable wave";
            return std::nullopt;
        }
        std::vector<PhoneEnd> phones;
        for (cst_item *s = relation_head(utt_relation(utterance, "Segment")); s; s = item_next(s))
            phones.push_back({item_feat_string(s, "name"), toMs(item_feat_float(s, "end"))});

        // The utterance opens with a pause; starting at the first sound
        // makes the character answer at once.
        int leadMs = 0;
        if (phones.size() > 1 && phones.front().phone == "pau") {
            leadMs = phones.front().endMs;
            phones.erase(phones.begin());
            for (PhoneEnd &phone : phones)
                phone.endMs -= leadMs;
        }
        const size_t lead =
            std::min(size_t(wave->num_samples), size_t(int64_t(leadMs) * wave->sample_rate / 1000));

        // The closing pause runs past the last sample; the mouth stops with the sound.
        const size_t count = size_t(wave->num_samples) - lead;
        const auto audioMs = int(int64_t(count) * 1000 / wave->sample_rate);
        for (PhoneEnd &phone : phones)
            phone.endMs = std::min(phone.endMs, audioMs);

        Utterance out;
        out.mouth = MouthTimeline::fromPhones(phones);
        out.audio.channels = 1;
        out.audio.sampleRate = wave->sample_rate;
        out.audio.bitsPerSample = 16;
        out.audio.data.resize(count * 2);
        for (size_t i = 0; i < count; ++i) {
            const auto sample = uint16_t(wave->samples[lead + i]);
            out.audio.data[2 * i] = uint8_t(sample & 0xff);
            out.audio.data[2 * i + 1] = uint8_t(sample >> 8);
        }
        return out;
    }
};

} // namespace

std::unique_ptr<Synthesizer> createFliteSynthesizer()
{
    return std::make_unique<FliteSynthesizer>();
}

} // namespace speech
