// Writes .acs character files from a description, for tests, seeds and
// benchmarks. Plain C++ so the fuzzer and the benchmark can use it too.
#pragma once

#include "acs.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace acswriter
{

// Bit-level writer of the compressed stream, for hand-made token sequences.
class BitWriter
{
  public:
    BitWriter();
    void bits(uint32_t value, int count); // low bit first
    void literal(uint8_t byte);
    // distance 1..(4673 + 0xffffe), length 2..4096 (3..4097 past 4672).
    void copy(uint32_t distance, uint32_t length);
    void end();
    // Ends the last byte and adds the padding the real encoder writes.
    std::vector<uint8_t> finish();

  private:
    std::vector<uint8_t> bytes_;
    int used_ = 0; // bits used in the last byte
};

enum class Compression { Literals, BackReferences };

// A complete compressed block (leading zero byte, tokens, end marker, padding).
std::vector<uint8_t> compress(std::span<const uint8_t> data, Compression mode = Compression::BackReferences);

struct ImageSpec {
    uint16_t width = 0;
    uint16_t height = 0;
    std::vector<uint8_t> pixels; // width * height palette indices, top row first, unpadded
    bool compressed = true;
    Compression mode = Compression::BackReferences;
};

// The stored form: bottom row first, rows padded to 4 bytes.
std::vector<uint8_t> storedRows(const ImageSpec &image);

struct AnimationSpec {
    std::u16string name;      // as in the list
    std::u16string blockName; // empty: the name upper-cased
    acs::Transition transition = acs::Transition::None;
    std::u16string returnAnimation;
    std::vector<acs::Frame> frames;
    bool overlayRegions = false; // give every overlay an (empty) region block
};

struct CharacterSpec {
    uint16_t majorVersion = 2;
    std::array<uint8_t, 16> guid{};
    uint16_t width = 128;
    uint16_t height = 128;
    uint8_t transparentIndex = 0;
    uint32_t extraFlags = 0;
    std::optional<acs::VoiceInfo> voice;
    std::optional<acs::BalloonInfo> balloon;
    std::vector<acs::Color> palette;
    std::optional<acs::TrayIcon> trayIcon;
    std::vector<acs::LocalizedInfo> localized;
    std::vector<acs::State> states;
    std::vector<AnimationSpec> animations;
    std::vector<ImageSpec> images;
    std::vector<std::vector<uint8_t>> sounds; // complete WAV files
};

struct Block {
    uint32_t offset = 0;
    uint32_t size = 0;
};

// Where everything went, so tests can corrupt chosen fields.
struct Layout {
    Block characterInfo; // covers the localized info too, as in real files
    Block localizedInfo;
    Block animationList;
    Block imageList;
    Block audioList;
    std::vector<Block> animations;
    std::vector<Block> images;
    std::vector<Block> sounds;
};

struct Written {
    std::vector<uint8_t> bytes;
    Layout layout;
};

Written write(const CharacterSpec &spec);

// A small mono 8-bit PCM WAVE file.
std::vector<uint8_t> wav(std::span<const uint8_t> samples, uint32_t sampleRate = 11025);

// Little-endian store into an existing buffer, for corrupting fields.
void poke16(std::vector<uint8_t> &bytes, size_t offset, uint16_t value);
void poke32(std::vector<uint8_t> &bytes, size_t offset, uint32_t value);

} // namespace acswriter
