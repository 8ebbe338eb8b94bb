// What plays next: branches, exit branches and mouth-shape fallback.
#include "acs.h"

namespace acs
{
namespace
{

// For each wanted shape, the shapes to try in order when a frame lacks it:
// similar openings first, the closed mouth last.
constexpr MouthShape C = MouthShape::Closed, W1 = MouthShape::Wide1, W2 = MouthShape::Wide2,
                     W3 = MouthShape::Wide3, W4 = MouthShape::Wide4, M = MouthShape::Medium,
                     N = MouthShape::Narrow;
constexpr MouthShape shapePreference[mouthShapeCount][mouthShapeCount] = {
    /* Closed */ {C, N, M, W1, W2, W3, W4},
    /* Wide1  */ {W1, W2, M, W3, N, W4, C},
    /* Wide2  */ {W2, W1, W3, M, W4, N, C},
    /* Wide3  */ {W3, W2, W4, W1, M, N, C},
    /* Wide4  */ {W4, W3, W2, W1, M, N, C},
    /* Medium */ {M, W1, N, W2, W3, W4, C},
    /* Narrow */ {N, M, C, W1, W2, W3, W4},
};

} // namespace

const Overlay *Frame::overlayFor(MouthShape shape) const
{
    const auto wanted = size_t(shape);
    if (wanted >= size_t(mouthShapeCount)) return nullptr;
    for (MouthShape candidate : shapePreference[wanted]) {
        for (const auto &overlay : overlays) {
            if (overlay.shape == candidate) return &overlay;
        }
    }
    return nullptr;
}

std::optional<size_t> nextFrame(const Animation &animation, size_t current, int random, bool exiting)
{
    const size_t count = animation.frames.size();
    if (current >= count) return std::nullopt;
    const Frame &frame = animation.frames[current];
    if (exiting) {
        if (animation.transition != Transition::ExitBranches) return std::nullopt;
        if (frame.exitFrame >= 0 && size_t(frame.exitFrame) < count) return size_t(frame.exitFrame);
    } else {
        int runningSum = 0;
        for (const auto &branch : frame.branches) {
            runningSum += branch.probability;
            if (runningSum > random && branch.frame < count) return size_t(branch.frame);
        }
    }
    if (current + 1 < count) return current + 1;
    return std::nullopt;
}

} // namespace acs
