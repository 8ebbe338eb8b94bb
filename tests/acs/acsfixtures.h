// Ready-made character descriptions shared by the tests, the fuzz seeds and
// the benchmark.
#pragma once

#include "acswriter.h"

namespace acsfixtures
{

// Indices used by smallCharacter().
namespace small
{
constexpr uint8_t transparent = 3;
constexpr uint8_t transparentTwin = 9; // same colour as the transparent entry, but opaque
enum Image : uint32_t { Body, Eyes, Backdrop, Mouth, Blank, MouthWide, BodyFar, ImageCount };
} // namespace small

// A small but complete character (32x24 frame, 16-colour palette, voice,
// balloon, tray icon, names in several scripts, states, six animations with
// branches, exit branches, a return animation, overlays and a sound). Images
// use raw storage, literal-only and back-reference compression, padded widths,
// an image larger than the frame and an empty one.
acswriter::CharacterSpec smallCharacter();

// smallCharacter() without its one large image, for byte-by-byte sweeps.
acswriter::CharacterSpec compactCharacter();

// Something like a real character: `imageCount` images of about 128x128 with
// shaded shapes, outlines and a dithered texture, and one animation showing
// them all.
acswriter::CharacterSpec largeCharacter(int imageCount);

// Like largeCharacter(), but the images compress like real drawn characters
// (about 7 to 1, mixed run lengths, copies near and far, grain left as
// literals): what decoding speed should be measured on.
acswriter::CharacterSpec drawnCharacter(int imageCount);

} // namespace acsfixtures
