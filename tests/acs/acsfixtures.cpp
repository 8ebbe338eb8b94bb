#include "acsfixtures.h"

#include <cmath>

namespace acsfixtures
{
namespace
{

using acs::Color;
using acs::Frame;
using acs::MouthShape;
using acs::Transition;
using acswriter::AnimationSpec;
using acswriter::Compression;
using acswriter::ImageSpec;

acswriter::ImageSpec patterned(uint16_t width, uint16_t height, uint8_t seed, bool compressed,
                               Compression mode)
{
    ImageSpec image{width, height, {}, compressed, mode};
    image.pixels.resize(size_t(width) * height);
    for (size_t y = 0; y < height; ++y) {
        for (size_t x = 0; x < width; ++x) {
            const bool corner = (x == 0 && y == 0) || (x + 1 == width && y + 1 == height);
            image.pixels[y * width + x] = corner ? small::transparent : uint8_t((x * 3 + y * 5 + seed) % 16);
        }
    }
    return image;
}

ImageSpec filled(uint16_t width, uint16_t height, uint8_t index, bool compressed)
{
    return ImageSpec{width, height, std::vector<uint8_t>(size_t(width) * height, index), compressed,
                     Compression::BackReferences};
}

// Repeats an irregular 5000-byte stretch so copies come from beyond 4672 bytes back.
ImageSpec farRepeat()
{
    ImageSpec image{100, 104, {}, true, Compression::BackReferences};
    image.pixels.resize(100 * 104);
    uint32_t state = 12345;
    for (size_t i = 0; i < image.pixels.size(); ++i) {
        if (i >= 5200) {
            image.pixels[i] = image.pixels[i - 5200];
            continue;
        }
        state = state * 1103515245u + 12345u;
        image.pixels[i] = uint8_t((state >> 16) % 16);
    }
    return image;
}

Frame frame(std::vector<acs::ImageRef> images, uint16_t duration, int16_t exitFrame = -1,
            std::vector<acs::Branch> branches = {})
{
    Frame f;
    f.images = std::move(images);
    f.duration = duration;
    f.exitFrame = exitFrame;
    f.branches = std::move(branches);
    return f;
}

std::vector<AnimationSpec> smallAnimations()
{
    using namespace small;
    AnimationSpec rest{u"RestPose", {}, Transition::None, {}, {frame({{Body, 2, 3}}, 10)}};

    // 0 -> 1 -> 2 loops back to 1 half the time; leaving goes 2 -> 1 -> 0 -> 3.
    AnimationSpec wave{u"Wave", {}, Transition::ExitBranches, {}, {}};
    wave.frames = {frame({{Eyes, 4, 4}, {Body, 2, 3}}, 10, 3), frame({{Body, 3, 3}}, 20, 0),
                   frame({{Body, 4, 3}}, 15, 1, {{1, 30}, {0, 20}}), frame({}, 0, -2)};

    AnimationSpec move{u"MoveLeft",
                       {},
                       Transition::ReturnAnimation,
                       u"MOVELEFTRETURN",
                       {frame({{Backdrop, -4, -3}}, 10), frame({{Body, 30, 20}}, 10)}};
    AnimationSpec moveReturn{u"MoveLeftReturn", {}, Transition::None, {}, {frame({{Body, 2, 3}}, 5)}};

    AnimationSpec greet{u"Greet", {}, Transition::None, {}, {frame({{Eyes, 4, 4}, {Body, 2, 3}}, 30)}};
    greet.frames[0].sound = 0;
    greet.frames[0].overlays = {{MouthShape::Closed, false, Mouth, 5, 6, 7, 8},
                                {MouthShape::Wide2, true, MouthWide, 1, 1, 7, 8},
                                {MouthShape::Narrow, false, Blank, 0, 0, 7, 8}};
    greet.overlayRegions = true;

    AnimationSpec idle{u"Idle1_4 (2)", {}, Transition::None, {}, {frame({{BodyFar, -40, -50}}, 400)}};
    return {rest, wave, move, moveReturn, greet, idle};
}

std::vector<Color> smallPalette()
{
    std::vector<Color> palette(16);
    for (int i = 0; i < 16; ++i)
        palette[size_t(i)] = Color{uint8_t(i * 16), uint8_t(255 - i * 8), uint8_t(i * 5 + 1)};
    palette[small::transparent] = Color{255, 0, 255};
    palette[small::transparentTwin] = Color{255, 0, 255};
    return palette;
}

// One shaded figure: body, head, eyes and an arm whose angle depends on `pose`.
uint8_t figurePixel(int x, int y, int pose, uint8_t transparent)
{
    const double bodyX = (x - 64) / 38.0, bodyY = (y - 84) / 36.0;
    const double headX = (x - 64) / 26.0, headY = (y - 40) / 24.0;
    const double angle = 0.3 + pose * 0.05;
    const double armDistance = std::abs((x - 90) * std::sin(angle) - (y - 80) * std::cos(angle));
    const bool arm = armDistance < 5 && x > 88 && x < 124 && y > 30 && y < 100;
    const double body = bodyX * bodyX + bodyY * bodyY;
    const double head = headX * headX + headY * headY;
    const bool eye = (std::hypot(x - 55, y - 38) < 4 || std::hypot(x - 73, y - 38) < 4) && pose % 7 != 0;
    if (eye) return 1;
    if (head < 1 || body < 1 || arm) {
        const double shade = head < 1 ? head : body;
        if (shade > 0.86) return 2;                                         // outline
        const int band = int(shade * 5) + ((x ^ y) & 1) * ((pose & 1) + 1); // dithered shading
        return uint8_t(32 + (head < 1 ? 0 : 40) + band + (arm ? 80 : 0));
    }
    return transparent;
}

// Deterministic noise: the same pixel of the same pose always gets the same value.
uint32_t scramble(uint32_t v)
{
    v ^= v >> 16;
    v *= 0x7feb352du;
    v ^= v >> 15;
    v *= 0x846ca68bu;
    v ^= v >> 16;
    return v;
}

// Drawn art as the encoder meets it: flat transparent surroundings, an
// outline, shading bands whose edges move from row to row (near copies), a
// cloth texture that repeats every 48 rows (copies from more than 4672 bytes
// back), anti-aliased edges and a sprinkling of grain (literals).
uint8_t drawnPixel(int x, int y, int pose, uint8_t transparent)
{
    const int sway = pose % 5 - 2;
    const double bodyX = (x - 64 - sway) / 40.0, bodyY = (y - 88) / 38.0;
    const double headX = (x - 62 - sway) / 27.0, headY = (y - 36) / 25.0;
    const double angle = 0.2 + (pose % 9) * 0.07;
    const double armDistance = std::abs((x - 92) * std::sin(angle) - (y - 82) * std::cos(angle));
    const bool arm = armDistance < 6 && x > 88 && x < 126 && y > 24 && y < 110;
    const double body = bodyX * bodyX + bodyY * bodyY;
    const double head = headX * headX + headY * headY;
    if (head >= 1 && body >= 1 && !arm) return transparent;
    const uint32_t noise = scramble(uint32_t(x) * 131u + uint32_t(y) * 7919u + uint32_t(pose) * 104729u);
    const uint32_t cluster =
        scramble(uint32_t(x / 8) * 131u + uint32_t(y) * 7919u + uint32_t(pose) * 104729u);
    const double shade = head < 1 ? head : (body < 1 ? body : armDistance / 6);
    if (shade > 0.93) return uint8_t(3 + noise % 5); // anti-aliased outline
    if (shade > 0.85) return 2;
    if (cluster % 100 < 4) return uint8_t(200 + noise % 40);
    const uint8_t base = head < 1 ? 32 : (arm ? 150 : 80);
    const int band = int(shade * 7);
    const int texture = head < 1 ? 0 : (x + (y % 48) / 3) % 7 == 0;
    return uint8_t(base + band * 3 + texture);
}

} // namespace

acswriter::CharacterSpec smallCharacter()
{
    using namespace small;
    acswriter::CharacterSpec spec;
    spec.guid = {0x02, 0x8d, 0xb2, 0xc3, 0x54, 0xb2, 0xd0, 0x11,
                 0xb4, 0x64, 0x00, 0x80, 0xc7, 0xf5, 0xee, 0x85};
    spec.width = 32;
    spec.height = 24;
    spec.transparentIndex = transparent;
    spec.extraFlags = 0x00100000;
    spec.voice = acs::VoiceInfo{{1}, {2}, 157, 130, uint16_t(0x0009), u"", 2, 30, u"Business"};
    spec.balloon = acs::BalloonInfo{2, 28, {0, 0, 0}, {0xff, 0xff, 0xe1}, {1, 2, 3}, u"Sans", -13, 700, true};
    spec.palette = smallPalette();
    spec.trayIcon = acs::TrayIcon{{1, 2, 3, 4}, {5, 6, 7, 8, 9}};
    spec.localized = {{0x0009, u"Robby", u"A helpful robot", u""},
                      {0x0419, u"Робби", u"Робот", u""},
                      {0x0401, u"روبي", u"", u"x"},
                      {0x0411, u"ロビー \U0001F916", u"", u""}};
    spec.states = {
        {u"SHOWING", {u"WAVE"}}, {u"IDLINGLEVEL1", {u"IDLE1_4 (2)", u"RESTPOSE"}}, {u"SPEAKING", {u"GREET"}}};
    spec.animations = smallAnimations();
    spec.images.resize(ImageCount);
    spec.images[Body] = patterned(10, 6, 1, true, Compression::BackReferences);
    spec.images[Eyes] = patterned(3, 2, 7, false, Compression::BackReferences);
    spec.images[Backdrop] = patterned(40, 30, 4, true, Compression::Literals);
    spec.images[Mouth] = filled(5, 5, 12, true);
    spec.images[Mouth].pixels[0] = transparent;
    spec.images[Mouth].pixels[6] = transparentTwin;
    spec.images[Blank] = filled(4, 4, transparent, true);
    spec.images[MouthWide] = filled(6, 6, 14, false);
    spec.images[BodyFar] = farRepeat();
    const uint8_t samples[] = {128, 140, 150, 140, 128, 116, 106, 116};
    spec.sounds = {acswriter::wav(samples)};
    return spec;
}

acswriter::CharacterSpec compactCharacter()
{
    auto spec = smallCharacter();
    spec.animations.pop_back();
    spec.images.pop_back();
    return spec;
}

acswriter::CharacterSpec largeCharacter(int imageCount)
{
    constexpr uint8_t transparent = 10;
    acswriter::CharacterSpec spec;
    spec.width = 128;
    spec.height = 128;
    spec.transparentIndex = transparent;
    spec.palette.resize(256);
    for (int i = 0; i < 256; ++i)
        spec.palette[size_t(i)] = Color{uint8_t(i * 7), uint8_t(i * 13), uint8_t(255 - i)};
    spec.localized = {{0x0009, u"Bench", u"", u""}};
    spec.balloon = acs::BalloonInfo{};
    AnimationSpec all{u"ShowAll", {}, Transition::None, {}, {}};
    for (int i = 0; i < imageCount; ++i) {
        ImageSpec image{128, 128, std::vector<uint8_t>(128 * 128), true, Compression::BackReferences};
        for (int y = 0; y < 128; ++y) {
            for (int x = 0; x < 128; ++x)
                image.pixels[size_t(y) * 128 + size_t(x)] = figurePixel(x, y, i, transparent);
        }
        spec.images.push_back(std::move(image));
        all.frames.push_back(frame({{uint32_t(i), 0, 0}}, 10));
    }
    spec.animations = {all};
    spec.states = {{u"SHOWING", {u"SHOWALL"}}};
    return spec;
}

} // namespace acsfixtures

namespace acsfixtures
{

acswriter::CharacterSpec drawnCharacter(int imageCount)
{
    acswriter::CharacterSpec spec = largeCharacter(0);
    for (int i = 0; i < imageCount; ++i) {
        ImageSpec image{128, 128, std::vector<uint8_t>(128 * 128), true, Compression::BackReferences};
        for (int y = 0; y < 128; ++y) {
            for (int x = 0; x < 128; ++x)
                image.pixels[size_t(y) * 128 + size_t(x)] = drawnPixel(x, y, i, spec.transparentIndex);
        }
        spec.images.push_back(std::move(image));
        spec.animations[0].frames.push_back(frame({{uint32_t(i), 0, 0}}, 10));
    }
    return spec;
}

} // namespace acsfixtures
