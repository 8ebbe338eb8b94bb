#include "fixturecharacter.h"

#include "acswriter.h"

namespace fixture
{

namespace
{

acs::Frame frame(std::vector<acs::ImageRef> images, uint16_t durationCs = 10, int16_t exitFrame = -1,
                 std::vector<acs::Branch> branches = {})
{
    acs::Frame f;
    f.images = std::move(images);
    f.duration = durationCs;
    f.exitFrame = exitFrame;
    f.branches = std::move(branches);
    return f;
}

const acs::ImageRef Body{0, 0, 0};
const acs::ImageRef Patch{1, 4, 4};

acswriter::AnimationSpec animation(std::u16string name, std::vector<acs::Frame> frames,
                                   acs::Transition transition = acs::Transition::None,
                                   std::u16string returnTo = {})
{
    acswriter::AnimationSpec spec;
    spec.name = std::move(name);
    spec.frames = std::move(frames);
    spec.transition = transition;
    spec.returnAnimation = std::move(returnTo);
    return spec;
}

acswriter::ImageSpec square(uint16_t side, uint8_t index)
{
    return {side, side, std::vector<uint8_t>(size_t(side) * side, index), true,
            acswriter::Compression::BackReferences};
}

acswriter::CharacterSpec baseSpec()
{
    acswriter::CharacterSpec spec;
    spec.width = FrameSide;
    spec.height = FrameSide;
    spec.transparentIndex = 0;
    spec.palette = {{255, 0, 255}, {255, 0, 0}, {0, 0, 255}};
    spec.localized = {{acs::englishLanguage, u"Fixture", u"A test character", u""}};
    spec.images = {square(FrameSide, 1), square(8, 2)};
    return spec;
}

acswriter::CharacterSpec characterSpec()
{
    acswriter::CharacterSpec spec = baseSpec();
    spec.animations = {
        animation(u"Showing", {frame({Body}), frame({Patch, Body})}),
        animation(u"RestPose", {frame({Body})}),
        animation(
            u"Wave",
            {frame({Body}), frame({Patch, Body}, 10, 3), frame({Body}, 10, 3, {{0, 100}}), frame({}, 0)},
            acs::Transition::ExitBranches),
        animation(u"Goes", {frame({Patch})}, acs::Transition::ReturnAnimation, u"GOESRETURN"),
        animation(u"GoesReturn", {frame({Body})}),
        animation(u"Branchy",
                  {frame({Body}, 10, -1, {{2, 30}, {3, 30}}), frame({Body}), frame({Body}), frame({Body})}),
    };
    spec.states = {
        {u"SHOWING", {u"SHOWING"}},
        {u"IDLINGLEVEL1", {u"WAVE", u"GOES", u"MISSING"}},
        {u"IDLINGLEVEL2", {u"BRANCHY"}},
    };
    return spec;
}

} // namespace

std::vector<uint8_t> characterFile()
{
    return acswriter::write(characterSpec()).bytes;
}

std::vector<uint8_t> soundCharacterFile()
{
    acswriter::CharacterSpec spec = characterSpec();
    const std::vector<uint8_t> samples(64, 0x80);
    std::vector<uint8_t> broken = acswriter::wav(samples, SoundRate);
    broken[12] = 'X'; // the format chunk loses its name
    spec.sounds = {acswriter::wav(samples, SoundRate), broken};
    spec.animations[0].frames[1].sound = 0; // Showing
    spec.animations[1].frames[0].sound = 1; // RestPose
    return acswriter::write(spec).bytes;
}

std::vector<uint8_t> speakingCharacterFile()
{
    acswriter::CharacterSpec spec = characterSpec();
    const auto first = uint16_t(spec.images.size());
    for (int shape = 0; shape < acs::mouthShapeCount; ++shape) {
        const acs::Color colour = {0, uint8_t(0x10 + 0x20 * shape), 0xc0};
        spec.palette.push_back(colour);
        spec.images.push_back(square(4, uint8_t(spec.palette.size() - 1)));
    }
    auto mouth = [first](int shape) {
        return acs::Overlay{acs::MouthShape(shape), false, uint16_t(first + shape), MouthX, MouthY, 8, 12};
    };
    acs::Frame talk = frame({Body}, 10, -1, {{0, 100}});
    for (int shape = 0; shape < acs::mouthShapeCount; ++shape)
        talk.overlays.push_back(mouth(shape));
    spec.animations.push_back(animation(u"Talk", {talk}));
    spec.animations[1].frames[0].overlays = {mouth(0)}; // RestPose
    spec.states.push_back({u"SPEAKING", {u"TALK"}});
    return acswriter::write(spec).bytes;
}

std::vector<uint8_t> damagedCharacterFile()
{
    acswriter::CharacterSpec spec = baseSpec();
    spec.animations = {
        animation(u"Spin", {frame({Body}, 0, -1, {{1, 100}}), frame({Body}, 0, -1, {{0, 100}})}),
        animation(u"RestPose", {frame({Body})}),
        animation(u"Circle", {frame({Body}, 10, 1), frame({Patch, Body}, 10, 0, {{0, 100}})},
                  acs::Transition::ExitBranches),
    };
    spec.states = {{u"SHOWING", {u"SPIN"}}, {u"IDLINGLEVEL1", {u"CIRCLE"}}};
    return acswriter::write(spec).bytes;
}

} // namespace fixture
