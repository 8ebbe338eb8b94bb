#include "acswalk.h"

namespace acswalk
{

std::string walk(std::span<const uint8_t> bytes)
{
    auto loaded = acs::Character::load(bytes);
    if (!loaded) return loaded.error().describe();
    const acs::Character &character = *loaded;
    std::string firstError;
    auto note = [&](const acs::Error &error) {
        if (firstError.empty()) firstError = error.describe();
    };
    for (size_t i = 0; i < character.imageCount(); ++i) {
        if (auto image = character.image(i); !image) note(image.error());
    }
    for (size_t a = 0; a < character.animationCount(); ++a) {
        const acs::Animation &animation = character.animationAt(a);
        for (size_t f = 0; f < animation.frames.size(); ++f) {
            const acs::Frame &frame = animation.frames[f];
            if (auto composed = character.composeFrame(frame); !composed) note(composed.error());
            const auto shape = acs::MouthShape(f % acs::mouthShapeCount);
            if (const acs::Overlay *overlay = frame.overlayFor(shape))
                if (auto composed = character.composeFrame(frame, overlay); !composed) note(composed.error());
            for (int random : {0, 50, 99})
                (void)acs::nextFrame(animation, f, random, random == 50);
        }
        (void)character.returnAnimationOf(animation);
        (void)character.animation(animation.name);
    }
    for (const acs::State &state : character.states())
        for (const std::u16string &name : state.animations)
            (void)character.animation(name);
    for (size_t s = 0; s < character.soundCount(); ++s)
        if (auto sound = character.sound(s); !sound) note(sound.error());
    (void)acs::displayName(character.name(0x0419));
    return firstError;
}

} // namespace acswalk
