// Reader for version 2 .acs character files: one file holds a whole animated
// character (palette-indexed images, animations, sounds, names and defaults).
//
// Plain C++ with no Qt. Nothing here throws or asserts on file content: every
// fallible call returns a Result holding either the value or an acs::Error
// that says what is wrong and where.
//
// Loading parses the structure (names, states, animations, the image and audio
// lists) and checks every locator, count and index against the file, but
// decodes no image. A file is mapped, not copied, so its images and sounds
// cost nothing until used. Images are decoded on first use and kept in a
// cache bounded in bytes that drops the least recently used ones first.
//
// Loading costs time and memory in proportion to the file: no two blocks may
// overlap (so each is read once) and the limits below, far above any real
// character, are checked before anything is allocated.
//
// A Character is a cheap handle: copies share the file bytes and the image
// cache. The cache is guarded by a mutex, so a Character may be used from
// several threads.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace acs
{

// ---------------------------------------------------------------- limits

// The largest real characters have 85 animations, 1,587 frames, 977 images
// of at most 166x166 pixels, at most 6 images and 7 overlays in a frame.
namespace limits
{
constexpr uintmax_t fileBytes = uintmax_t(256) << 20;
constexpr int frameSide = 1024;
constexpr size_t animations = 16384;
constexpr size_t framesInAll = 65536;
constexpr uint16_t imagesPerFrame = 64;
// Image placements, branches and overlays of all frames together.
constexpr size_t frameEntriesInAll = size_t(1) << 20;
// Animation names listed by all states together.
constexpr size_t stateAnimationsInAll = 65536;
constexpr size_t decodedImageBytes = size_t(4) << 20;
} // namespace limits

constexpr size_t defaultImageCacheLimit = size_t(32) << 20;

// ---------------------------------------------------------------- errors

struct Error {
    static constexpr uint64_t noOffset = UINT64_MAX;

    std::string message;        // e.g. "image list: count 4000000 needs 48000000 bytes but only 120 remain"
                                // (lower case, context first, names from the file quoted and escaped)
    uint64_t offset = noOffset; // byte offset in the file where the problem was found

    // The message followed by " (offset 0x1a4)" when an offset is known.
    std::string describe() const;
};

template <typename T> class [[nodiscard]] Result
{
  public:
    Result(T value) : m_state(std::move(value)) {}
    Result(Error error) : m_state(std::move(error)) {}

    bool ok() const { return m_state.index() == 0; }
    explicit operator bool() const { return ok(); }

    // Only valid when ok().
    T &value() { return std::get<0>(m_state); }
    const T &value() const { return std::get<0>(m_state); }
    T *operator->() { return &value(); }
    const T *operator->() const { return &value(); }
    T &operator*() { return value(); }
    const T &operator*() const { return value(); }

    // Only valid when !ok().
    const Error &error() const { return std::get<1>(m_state); }

  private:
    std::variant<T, Error> m_state;
};

// ---------------------------------------------------------------- character data

// Colours as stored: palette entries are blue-green-red in the file, balloon
// colours red-green-blue; both end up here as plain red, green, blue.
struct Color {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;

    // Opaque 0xAARRGGBB, the layout of QImage::Format_ARGB32.
    uint32_t argb() const { return 0xff000000u | uint32_t(red) << 16 | uint32_t(green) << 8 | blue; }
    bool operator==(const Color &) const = default;
};

struct Size {
    int width = 0;
    int height = 0;
    bool operator==(const Size &) const = default;
};

// Windows language id: low 10 bits primary language, high 6 bits sublanguage.
using LanguageId = uint16_t;
constexpr LanguageId englishLanguage = 0x0009;

struct LocalizedInfo {
    LanguageId language = 0;
    std::u16string name;
    std::u16string description;
    std::u16string extraData;
};

struct VoiceInfo {
    std::array<uint8_t, 16> engineId{};
    std::array<uint8_t, 16> modeId{};
    uint32_t speed = 0xffffffff; // words per minute; 0xffffffff = engine default
    uint16_t pitch = 0xffff;     // 0xffff = engine default
    std::optional<LanguageId> language;
    std::u16string dialect;
    uint16_t gender = 0; // 0 neutral, 1 female, 2 male
    uint16_t age = 0;
    std::u16string style;
};

struct BalloonInfo {
    uint8_t lines = 2;
    uint8_t charactersPerLine = 28;
    Color text;
    Color background;
    Color border;
    std::u16string fontName;
    int32_t fontHeight = 0; // LOGFONT sense: negative = character height in pixels
    int32_t fontWeight = 400;
    bool italic = false;
};

// Both are packed Windows DIBs (BITMAPINFOHEADER, colour table, bottom-up
// rows), kept as stored. The mask's set bits are outside the icon.
struct TrayIcon {
    std::vector<uint8_t> maskDib;
    std::vector<uint8_t> colorDib;
};

struct State {
    std::u16string name;                    // upper case, e.g. u"IDLINGLEVEL1"
    std::vector<std::u16string> animations; // upper case; look up with Character::animation()
};

// ---------------------------------------------------------------- animations

struct ImageRef {
    uint32_t image = 0; // index into the image list (checked at load)
    int16_t x = 0;      // top-left corner in the frame; may be negative
    int16_t y = 0;
};

struct Branch {
    uint16_t frame = 0;       // target frame index (checked at load)
    uint16_t probability = 0; // percent
};

enum class MouthShape : uint8_t { Closed = 0, Wide1, Wide2, Wide3, Wide4, Medium, Narrow };
constexpr int mouthShapeCount = 7;

struct Overlay {
    MouthShape shape = MouthShape::Closed;
    bool replacesTopImage = false; // true: stands in for the frame's first image
    uint16_t image = 0;            // index into the image list (checked at load)
    int16_t x = 0;
    int16_t y = 0;
    uint16_t mouthCenterX = 0;
    uint16_t mouthCenterY = 0;
};

constexpr uint16_t noSound = 0xffff;

struct Frame {
    std::vector<ImageRef> images; // top-most first
    uint16_t sound = noSound;     // index into the audio list (checked at load), or noSound
    uint16_t duration = 0;        // hundredths of a second
    int16_t exitFrame = -1;       // negative = no exit branch (-1 and -2 both occur)
    std::vector<Branch> branches;
    std::vector<Overlay> overlays;

    int durationMs() const { return int(duration) * 10; }
    bool hasSound() const { return sound != noSound; }

    // The overlay for this mouth shape, or the closest available one when the
    // frame lacks it; nullptr when the frame has no overlays.
    const Overlay *overlayFor(MouthShape shape) const;
};

enum class Transition : uint8_t {
    ReturnAnimation = 0, // play returnAnimation when finished or left early
    ExitBranches = 1,    // when leaving early, follow each frame's exitFrame
    None = 2,
};

struct Animation {
    std::u16string name; // as spelled in the animation list, e.g. u"RestPose"
    Transition transition = Transition::None;
    std::u16string returnAnimation; // upper case; empty unless transition is ReturnAnimation
    std::vector<Frame> frames;
};

// Duration units of the file (hundredths of a second) to milliseconds.
constexpr int durationToMs(uint16_t hundredths)
{
    return int(hundredths) * 10;
}

// ---------------------------------------------------------------- images

// A decoded image: one palette index per pixel, stored as in the file
// (bottom row first, rows padded to a multiple of 4 bytes).
struct Image {
    uint16_t width = 0;
    uint16_t height = 0;
    std::vector<uint8_t> indices; // stride() * height bytes

    size_t stride() const { return (size_t(width) + 3) & ~size_t(3); }
    // Row y counted from the top.
    const uint8_t *row(int y) const { return indices.data() + size_t(height - 1 - y) * stride(); }
    uint8_t at(int x, int y) const { return row(y)[x]; }
};

// 32-bit pixels 0xAARRGGBB, top row first, width * height entries.
// Every pixel is either opaque (alpha 0xff) or fully transparent (0x00000000),
// so the buffer is valid both as QImage::Format_ARGB32 and as
// Format_ARGB32_Premultiplied.
struct FrameImage {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
};

// ---------------------------------------------------------------- playback

// What frame follows `current` in `animation`.
//   random:  a number from 0 to 99, drawn by the caller once per call.
//   exiting: the engine is leaving the animation early.
// Not exiting: branches are taken by running sum of probabilities against
// random, else the next frame. Exiting: an ExitBranches animation follows the
// frame's exit index (next frame when it has none) and ignores branches; other
// animations stop at once. Returns nullopt when the animation has finished
// (after that, play Character::returnAnimationOf() if it gives one).
// Exit chains and zero-duration branch loops can cycle in a hostile file; the
// caller bounds how many frames it follows without showing one.
std::optional<size_t> nextFrame(const Animation &animation, size_t current, int random, bool exiting);

// ---------------------------------------------------------------- character

class Character
{
  public:
    // Parse a file image. The bytes are copied (or moved) into the character.
    static Result<Character> load(std::span<const uint8_t> bytes);
    static Result<Character> load(std::vector<uint8_t> &&bytes);
    // Map (or read) and parse a file. Errors do not repeat the path: the
    // caller says which file it was.
    static Result<Character> loadFile(const std::filesystem::path &path);

    Size frameSize() const;
    const std::vector<Color> &palette() const; // may have fewer than 256 entries
    uint8_t transparentIndex() const;
    const std::array<uint8_t, 16> &guid() const;
    uint32_t flags() const;

    const std::vector<LocalizedInfo> &localizedInfo() const;
    // Name for the language's primary language, else the first entry's name.
    std::u16string name(LanguageId language = englishLanguage) const;
    std::u16string description(LanguageId language = englishLanguage) const;

    const std::optional<VoiceInfo> &voice() const;
    const std::optional<BalloonInfo> &balloon() const;
    const std::optional<TrayIcon> &trayIcon() const;

    const std::vector<State> &states() const;
    // Case-insensitive; nullptr when the character lacks the state.
    const State *state(std::u16string_view name) const;
    const State *state(std::string_view asciiName) const;

    size_t animationCount() const;
    // index < animationCount(); list order.
    const Animation &animationAt(size_t index) const;
    std::vector<std::u16string> animationNames() const; // list order, as spelled in the list
    // Case-insensitive lookup; nullptr when absent.
    const Animation *animation(std::u16string_view name) const;
    // List position of the animation with this name (case-insensitive).
    std::optional<size_t> animationIndex(std::u16string_view name) const;
    const Animation *animation(std::string_view asciiName) const;
    // The "RestPose" animation, nullptr when absent.
    const Animation *restPose() const;
    // The animation to play after `animation` finishes or is left, if any.
    const Animation *returnAnimationOf(const Animation &animation) const;

    size_t imageCount() const;
    // Decodes the image unless it is cached. The image stays valid as long as
    // the pointer is held, even once the cache has dropped it.
    Result<std::shared_ptr<const Image>> image(size_t index) const;
    // Bytes of decoded images the cache keeps (defaultImageCacheLimit to
    // start with); shared by every copy of this handle.
    void setImageCacheLimit(size_t bytes) const;
    size_t imageCacheLimit() const;
    size_t imageCacheBytes() const;

    // Composes a frame on a transparent canvas of frameSize(): images painted
    // last-listed first, at their offsets, clipped, transparent index skipped.
    // With an overlay it is either added on top or stands in for the top image.
    Result<FrameImage> composeFrame(const Frame &frame, const Overlay *overlay = nullptr) const;

    size_t soundCount() const;
    // The sound block, a complete RIFF WAVE file. Valid while the Character lives.
    Result<std::span<const uint8_t>> sound(size_t index) const;

    struct Data;

  private:
    explicit Character(std::shared_ptr<Data> data);
    static Result<Character> parse(std::shared_ptr<Data> data);
    std::shared_ptr<Data> m_data;
};

// ---------------------------------------------------------------- helpers

// UTF-16 to UTF-8 (unpaired surrogates become U+FFFD).
std::string toUtf8(std::u16string_view text);
// Case-insensitive equality for names, by Unicode simple case folding.
bool namesEqual(std::u16string_view a, std::u16string_view b);
// A name from the file made fit for a message: UTF-8, control characters and
// direction marks escaped (\x1b, \u202e), cut after 64 characters.
std::string displayName(std::u16string_view name);

// Decompresses one compressed block into exactly `expectedSize` bytes.
// Error offsets are relative to the start of `block`.
Result<std::vector<uint8_t>> decompress(std::span<const uint8_t> block, size_t expectedSize);

} // namespace acs
