#include "acshostile.h"

#include <algorithm>

namespace acshostile
{
namespace
{

constexpr size_t animationListAt = 12; // header: character info, animation list, image list, audio list
constexpr size_t imageListAt = 20;

acs::Frame frame(std::vector<acs::ImageRef> images, int16_t exitFrame = -1,
                 std::vector<acs::Branch> branches = {})
{
    acs::Frame f;
    f.images = std::move(images);
    f.duration = 10;
    f.exitFrame = exitFrame;
    f.branches = std::move(branches);
    return f;
}

acswriter::CharacterSpec tinySpec()
{
    acswriter::CharacterSpec spec;
    spec.width = 16;
    spec.height = 16;
    spec.palette.resize(16);
    spec.localized = {{0x0009, u"Hostile", u"", u""}};
    spec.images = {{8, 8, std::vector<uint8_t>(64, 1)}};
    spec.animations = {{u"RestPose", {}, acs::Transition::None, {}, {frame({{0, 0, 0}})}}};
    return spec;
}

std::u16string numbered(size_t i)
{
    std::u16string name = u"A";
    for (char c : std::to_string(i))
        name += char16_t(c);
    return name;
}

// Appends a block and points header slot `at` to it.
void replaceList(Bytes &bytes, size_t at, const Bytes &list)
{
    acswriter::poke32(bytes, at, uint32_t(bytes.size()));
    acswriter::poke32(bytes, at + 4, uint32_t(list.size()));
    bytes.insert(bytes.end(), list.begin(), list.end());
}

void put32(Bytes &out, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(uint8_t(value >> (8 * i)));
}

// An animation list with `count` entries; entry i points at where(i).
Bytes animationList(size_t count, const std::function<acswriter::Block(size_t)> &where)
{
    Bytes list;
    put32(list, uint32_t(count));
    for (size_t i = 0; i < count; ++i) {
        const std::u16string name = numbered(i);
        put32(list, uint32_t(name.size()));
        for (char16_t unit : name) {
            list.push_back(uint8_t(unit));
            list.push_back(uint8_t(unit >> 8));
        }
        list.push_back(0);
        list.push_back(0);
        put32(list, where(i).offset);
        put32(list, where(i).size);
    }
    return list;
}

// One animation of as many plain frames as half the file holds, then a list
// that points at it as often as the other half (and the animation limit) allows.
Bytes listedOften(size_t fileSize, bool shifted)
{
    auto spec = tinySpec();
    constexpr size_t frameBytes = 18, entryBytes = 24;
    const size_t frames = std::min<size_t>(65535, fileSize / 2 / frameBytes);
    spec.animations[0].frames.assign(frames, frame({{0, 0, 0}}));
    auto written = acswriter::write(spec);
    const acswriter::Block block = written.layout.animations[0];
    const size_t entries =
        std::max<size_t>(2, (fileSize - std::min(fileSize, written.bytes.size())) / entryBytes);
    replaceList(written.bytes, animationListAt, animationList(entries, [&](size_t i) {
                    const uint32_t shift = shifted ? uint32_t(std::min<size_t>(i, block.size - 1)) : 0;
                    return acswriter::Block{block.offset + shift, block.size - shift};
                }));
    return std::move(written.bytes);
}

} // namespace

Bytes sharedAnimationBlocks(size_t fileSize)
{
    return listedOften(fileSize, false);
}

Bytes shiftedAnimationBlocks(size_t fileSize)
{
    return listedOften(fileSize, true);
}

Bytes sharedImageBlocks(size_t fileSize)
{
    auto written = acswriter::write(tinySpec());
    const acswriter::Block image = written.layout.images[0];
    const size_t entries = fileSize / 12;
    Bytes list;
    put32(list, uint32_t(entries));
    for (size_t i = 0; i < entries; ++i) {
        put32(list, image.offset);
        put32(list, image.size);
        put32(list, 0);
    }
    replaceList(written.bytes, imageListAt, list);
    return std::move(written.bytes);
}

Bytes manyAnimations(size_t fileSize, size_t count)
{
    auto spec = tinySpec();
    constexpr size_t bytesPerAnimation = 60;
    count = std::min(count, fileSize / bytesPerAnimation);
    for (size_t i = 1; i < count; ++i)
        spec.animations.push_back({numbered(i), {}, acs::Transition::None, {}, {frame({{0, 0, 0}})}});
    return acswriter::write(spec).bytes;
}

Bytes crowdedFrames(size_t fileSize)
{
    auto spec = tinySpec();
    constexpr size_t frameBytes = 10 + 64 * 8;
    const acs::Frame crowded = frame(std::vector<acs::ImageRef>(64, acs::ImageRef{0, 1, 1}));
    size_t frames = fileSize / frameBytes;
    for (size_t a = 0; frames > 0; ++a) {
        const size_t here = std::min<size_t>(frames, 65535);
        spec.animations.push_back({numbered(a), {}, acs::Transition::None, {}, {}});
        spec.animations.back().frames.assign(here, crowded);
        frames -= here;
    }
    return acswriter::write(spec).bytes;
}

Bytes longName(size_t fileSize)
{
    auto spec = tinySpec();
    spec.localized[0].name.assign(fileSize / 2, u'\u0416');
    return acswriter::write(spec).bytes;
}

Bytes manyStateNames(size_t fileSize)
{
    auto spec = tinySpec();
    // Empty names: the smallest record, the most strings per byte of file.
    size_t names = fileSize / 4;
    for (size_t s = 0; names > 0; ++s) {
        const size_t here = std::min<size_t>(names, 65535);
        spec.states.push_back({numbered(s), std::vector<std::u16string>(here)});
        names -= here;
    }
    return acswriter::write(spec).bytes;
}

Bytes deepBranchChains(size_t fileSize)
{
    auto spec = tinySpec();
    constexpr size_t frameBytes = 10 + 8 + 4;
    size_t frames = fileSize / frameBytes;
    for (size_t a = 0; frames > 0; ++a) {
        const size_t here = std::min<size_t>(frames, 65535);
        acswriter::AnimationSpec chain{numbered(a), {}, acs::Transition::ExitBranches, {}, {}};
        for (size_t f = 0; f < here; ++f)
            chain.frames.push_back(frame({{0, 0, 0}}, int16_t(f == 0 ? -1 : int(f - 1) & 0x7fff),
                                         {{uint16_t((f + 1) % here), 100}}));
        spec.animations.push_back(std::move(chain));
        frames -= here;
    }
    return acswriter::write(spec).bytes;
}

const std::vector<Case> &cases()
{
    static const std::vector<Case> all = {
        {"shared animation blocks", sharedAnimationBlocks},
        {"shifted animation blocks", shiftedAnimationBlocks},
        {"shared image blocks", sharedImageBlocks},
        {"many animations", [](size_t size) { return manyAnimations(size, SIZE_MAX); }},
        {"crowded frames", crowdedFrames},
        {"long name", longName},
        {"many state names", manyStateNames},
        {"deep branch chains", deepBranchChains},
    };
    return all;
}

} // namespace acshostile
