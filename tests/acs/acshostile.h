// Crafted hostile character files, made with the fixture writer: tables that
// point many times at one block, counts and lengths at their limits, long
// branch chains. Each fills about `fileSize` bytes. Tests check what is
// refused and what loads; the benchmark times them.
#pragma once

#include "acswriter.h"

#include <functional>

namespace acshostile
{

using Bytes = std::vector<uint8_t>;

// An animation list whose entries all point at one large animation block.
Bytes sharedAnimationBlocks(size_t fileSize);
// Entries pointing one byte further into the same block each.
Bytes shiftedAnimationBlocks(size_t fileSize);
// An image list of as many entries as fit, all naming one image block.
Bytes sharedImageBlocks(size_t fileSize);
// As many one-frame animations as fit, up to `count`.
Bytes manyAnimations(size_t fileSize, size_t count);
// Frames of 64 images each, as many as fit.
Bytes crowdedFrames(size_t fileSize);
// A character name as long as the file.
Bytes longName(size_t fileSize);
// States listing as many animation names as fit.
Bytes manyStateNames(size_t fileSize);
// Animations of 65,535 frames, each branching to the next and exiting to the one before.
Bytes deepBranchChains(size_t fileSize);

struct Case {
    const char *name;
    std::function<Bytes(size_t)> make;
};
// Every crafted kind, for sweeping sizes.
const std::vector<Case> &cases();

} // namespace acshostile
