// libFuzzer entry: load any bytes as a character and touch everything that reads them.
#include "acs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::span<const uint8_t> bytes(data, size);
    (void)acs::decompress(bytes, size * 7 % 65536);
    auto loaded = acs::Character::load(bytes);
    if (!loaded) return loaded.error().describe().empty();
    const acs::Character &character = *loaded;
    for (size_t i = 0; i < character.imageCount(); ++i)
        (void)character.image(i);
    for (size_t a = 0; a < character.animationCount(); ++a) {
        const acs::Animation &animation = character.animationAt(a);
        for (size_t f = 0; f < animation.frames.size(); ++f) {
            const acs::Frame &frame = animation.frames[f];
            (void)character.composeFrame(frame, frame.overlayFor(acs::MouthShape(f % acs::mouthShapeCount)));
            (void)acs::nextFrame(animation, f, int(f * 37 % 100), f % 2 == 1);
        }
        (void)character.returnAnimationOf(animation);
    }
    for (size_t i = 0; i < character.soundCount(); ++i)
        (void)character.sound(i);
    return acs::toUtf8(character.name(0x0419)).size() > size;
}
