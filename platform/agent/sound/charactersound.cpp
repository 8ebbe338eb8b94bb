#include "charactersound.h"

#include "agentlog.h"

namespace agent
{

CharacterSound::CharacterSound(const CharacterModel &model, sound::AudioOutputFactory makeOutput,
                               bool enabled)
    : model_(model), makeOutput_(std::move(makeOutput)), enabled_(enabled)
{
}

void CharacterSound::setEnabled(bool enabled)
{
    enabled_ = enabled;
    if (!enabled_) stop();
}

void CharacterSound::frameShown(int animation, int frame)
{
    if (!enabled_) return;
    const std::optional<int> index = model_.frameSound(animation, frame);
    if (!index) return;
    const sound::PcmSound *pcm = decoded(*index);
    if (!pcm) return;
    if (sound::AudioOutput *out = output()) out->play(*pcm);
}

void CharacterSound::stop()
{
    if (output_) output_->stop();
}

const sound::PcmSound *CharacterSound::decoded(int index)
{
    auto found = sounds_.find(index);
    if (found == sounds_.end()) {
        std::string why;
        std::optional<sound::PcmSound> pcm = sound::decodeWave(model_.soundData(index), &why);
        if (!pcm)
            qCWarning(lcAgent).noquote()
                << "skipping sound" << index << "of" << model_.name() << ":" << why.c_str();
        found = sounds_.emplace(index, std::move(pcm)).first;
    }
    return found->second ? &*found->second : nullptr;
}

sound::AudioOutput *CharacterSound::output()
{
    if (!outputMade_) {
        outputMade_ = true;
        if (makeOutput_) output_ = makeOutput_();
    }
    return output_.get();
}

} // namespace agent
