// A small character file for the engine's tests, written with the fixture
// writer: 16 x 16 frames, a red body image and a blue patch.
//
//   Showing     SHOWING       two frames
//   RestPose                  one frame
//   Wave        IDLINGLEVEL1  loops (frame 2 -> 0 always); exits 1 -> 3, 2 -> 3;
//                             frame 3 is an empty zero-length end frame
//   Goes        IDLINGLEVEL1  one frame, then plays GoesReturn
//   GoesReturn                one frame
//   Branchy     IDLINGLEVEL2  frame 0 branches to 2 (30 %) or 3 (30 %)
// IDLINGLEVEL1 also names "MISSING", which the character lacks.
// Every frame lasts 100 ms unless said otherwise.
#pragma once

#include <cstdint>
#include <vector>

namespace fixture
{

std::vector<uint8_t> characterFile();

// A character whose animations a damaged file could hold:
//   Spin      SHOWING       two zero-length frames that branch to each other for ever
//   RestPose                one frame
//   Circle    IDLINGLEVEL1  frames 0 and 1 loop, and their exit branches lead to each other
std::vector<uint8_t> damagedCharacterFile();

// characterFile() with sounds: Showing's frame 1 plays sound 0, a valid
// 8-bit PCM sound at SoundRate; RestPose's frame plays sound 1, whose format
// chunk is damaged.
std::vector<uint8_t> soundCharacterFile();

// characterFile() that speaks: SPEAKING names Talk, one frame with a mouth
// overlay for every shape, each a 4 x 4 square at (6, 10) in
// MouthColor(shape). The RestPose frame has only the closed mouth.
std::vector<uint8_t> speakingCharacterFile();

inline constexpr int FrameSide = 16;
inline constexpr int MouthX = 6;
inline constexpr int MouthY = 10;
// Opaque ARGB of a mouth shape's square: a distinct blue for each.
constexpr uint32_t MouthColor(int shape)
{
    return 0xff000000u | uint32_t(0x10 + 0x20 * shape) << 8 | 0xc0u;
}
inline constexpr uint32_t SoundRate = 8000;
inline constexpr uint32_t BodyColor = 0xffff0000;  // opaque red, ARGB
inline constexpr uint32_t PatchColor = 0xff0000ff; // opaque blue

} // namespace fixture
