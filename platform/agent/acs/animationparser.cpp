// The animation list and animation blocks. Every index a frame holds (image,
// sound, branch target, exit frame) is checked here so playback never has to.
#include "characterdata.h"

#include <unordered_map>

namespace acs::detail
{
namespace
{

constexpr uint64_t minListEntrySize = 4 + 8;
constexpr uint64_t imageRefSize = 4 + 2 + 2;
constexpr uint64_t minFrameSize = 2 + 2 + 2 + 2 + 1 + 1;
constexpr uint64_t branchSize = 4;
constexpr uint64_t overlaySize = 14;
constexpr uint8_t maxTransition = 2;
constexpr uint8_t maxMouthShape = mouthShapeCount - 1;

// What all animations together may still hold; frames of one block are
// counted against it before they are allocated.
struct Budget {
    size_t frames = limits::framesInAll;
    size_t entries = limits::frameEntriesInAll;

    bool takeFrames(ByteReader &r, uint64_t count, uint64_t at)
    {
        return r.withinTotal(count, frames, limits::framesInAll, "frame count", at);
    }
    bool takeEntries(ByteReader &r, uint64_t count, const char *field, uint64_t at)
    {
        return r.withinTotal(count, entries, limits::frameEntriesInAll, field, at);
    }
};

struct FrameContext {
    size_t imageCount;
    size_t soundCount;
    Budget &budget;
};

bool checkIndex(ByteReader &r, uint64_t at, uint64_t index, size_t count, const std::string &what)
{
    if (!r.failed() && index >= count) {
        r.fail(what + " " + std::to_string(index) + " is out of range (" + std::to_string(count) + ")", at);
        return false;
    }
    return !r.failed();
}

void readImageRefs(ByteReader &r, Frame &frame, const FrameContext &ctx)
{
    const uint64_t at = r.offset();
    const uint16_t count = r.u16("frame image count");
    if (!r.within(count, limits::imagesPerFrame, "frame image count", at)) return;
    if (!r.fits(count, imageRefSize, "frame image count")) return;
    if (!ctx.budget.takeEntries(r, count, "frame image count", at)) return;
    frame.images.resize(count);
    for (auto &ref : frame.images) {
        const uint64_t at = r.offset();
        ref.image = r.u32("frame image index");
        ref.x = r.i16("frame image x");
        ref.y = r.i16("frame image y");
        if (!checkIndex(r, at, ref.image, ctx.imageCount, "image")) return;
    }
}

void readBranches(ByteReader &r, Frame &frame, const FrameContext &ctx)
{
    const uint64_t at = r.offset();
    const uint8_t count = r.u8("branch count");
    if (!r.fits(count, branchSize, "branch count")) return;
    if (!ctx.budget.takeEntries(r, count, "branch count", at)) return;
    frame.branches.resize(count);
    for (auto &branch : frame.branches) {
        branch.frame = r.u16("branch frame");
        branch.probability = r.u16("branch probability");
    }
}

void readOverlays(ByteReader &r, Frame &frame, const FrameContext &ctx)
{
    const uint64_t countAt = r.offset();
    const uint8_t count = r.u8("overlay count");
    if (!r.fits(count, overlaySize, "overlay count")) return;
    if (!ctx.budget.takeEntries(r, count, "overlay count", countAt)) return;
    frame.overlays.resize(count);
    for (auto &overlay : frame.overlays) {
        const uint64_t at = r.offset();
        const uint8_t shape = r.u8("overlay mouth shape");
        if (!r.failed() && shape > maxMouthShape)
            return r.fail("mouth shape " + std::to_string(shape) + " is not between 0 and 6", at);
        overlay.shape = MouthShape(shape);
        overlay.replacesTopImage = r.u8("overlay replace flag") != 0;
        const uint64_t imageAt = r.offset();
        overlay.image = r.u16("overlay image index");
        r.u8("overlay reserved byte");
        const bool hasRegion = r.u8("overlay region flag") != 0;
        overlay.x = r.i16("overlay x");
        overlay.y = r.i16("overlay y");
        overlay.mouthCenterX = r.u16("overlay mouth centre x");
        overlay.mouthCenterY = r.u16("overlay mouth centre y");
        if (hasRegion) r.skip(r.u32("overlay region size"), "overlay region");
        if (!checkIndex(r, imageAt, overlay.image, ctx.imageCount, "overlay image")) return;
    }
}

void readFrame(ByteReader &r, Frame &frame, const FrameContext &ctx)
{
    readImageRefs(r, frame, ctx);
    const uint64_t soundAt = r.offset();
    frame.sound = r.u16("frame sound index");
    if (frame.sound != noSound && !checkIndex(r, soundAt, frame.sound, ctx.soundCount, "sound")) return;
    frame.duration = r.u16("frame duration");
    frame.exitFrame = r.i16("frame exit index");
    readBranches(r, frame, ctx);
    readOverlays(r, frame, ctx);
}

// Branch and exit targets can only be checked once the frame count is known.
void checkTargets(ByteReader &r, const Animation &animation, uint64_t at)
{
    const size_t count = animation.frames.size();
    for (size_t i = 0; i < count && !r.failed(); ++i) {
        const Frame &frame = animation.frames[i];
        const std::string where = "frame " + std::to_string(i) + ": ";
        if (frame.exitFrame >= 0) checkIndex(r, at, uint64_t(frame.exitFrame), count, where + "exit frame");
        for (const auto &branch : frame.branches)
            checkIndex(r, at, branch.frame, count, where + "branch target");
    }
}

std::optional<Error> readAnimation(const Character::Data &data, Locator where, Animation &animation,
                                   Budget &budget)
{
    ByteReader r(data.bytes, where.offset, uint64_t(where.offset) + where.size,
                 "animation \"" + displayName(animation.name) + "\"");
    r.string("name");
    const uint64_t transitionAt = r.offset();
    const uint8_t transition = r.u8("transition type");
    if (!r.failed() && transition > maxTransition)
        r.fail("transition type " + std::to_string(transition) + " is not 0, 1 or 2", transitionAt);
    animation.transition = Transition(transition);
    animation.returnAnimation = r.string("return animation name");
    const uint64_t framesAt = r.offset();
    const uint16_t frameCount = r.u16("frame count");
    if (r.fits(frameCount, minFrameSize, "frame count") && budget.takeFrames(r, frameCount, framesAt)) {
        const FrameContext ctx{data.images.size(), data.sounds.size(), budget};
        animation.frames.resize(frameCount);
        for (auto &frame : animation.frames) {
            readFrame(r, frame, ctx);
            if (r.failed()) break;
        }
        checkTargets(r, animation, framesAt);
    }
    if (r.failed()) return r.takeError();
    return std::nullopt;
}

} // namespace

std::optional<Error> parseAnimationList(Character::Data &data, Locator list)
{
    ByteReader r(data.bytes, list.offset, uint64_t(list.offset) + list.size, "animation list");
    const uint32_t count = r.u32("count");
    if (!r.fits(count, minListEntrySize, "count") ||
        !r.within(count, limits::animations, "count", list.offset))
        return r.takeError();
    data.animations.resize(count);
    data.animationBlocks.resize(count);
    // Entries that share a block would have it read once per entry; real
    // files give every animation its own block (which repeats its name).
    std::unordered_map<uint32_t, size_t> entryByOffset;
    for (size_t i = 0; i < count; ++i) {
        data.animations[i].name = r.string("animation name");
        const uint64_t at = r.offset();
        const Locator where = r.locator("animation locator");
        if (r.failed()) return r.takeError();
        if (auto error = checkLocator(where, {"animation", i}, data.bytes.size(), at)) return error;
        const auto [first, added] = entryByOffset.emplace(where.offset, i);
        if (!added)
            return Error{"animation list: \"" + displayName(data.animations[i].name) +
                             "\" uses the same block as \"" +
                             displayName(data.animations[first->second].name) + "\"",
                         at};
        data.animationBlocks[i] = where;
        data.animationByFoldedName.emplace(foldName(data.animations[i].name), i);
    }
    return std::nullopt;
}

std::optional<Error> parseAnimationBlocks(Character::Data &data)
{
    Budget budget;
    for (size_t i = 0; i < data.animations.size(); ++i) {
        if (auto error = readAnimation(data, data.animationBlocks[i], data.animations[i], budget))
            return error;
    }
    return std::nullopt;
}

} // namespace acs::detail
