// Reads the sounds stored in character files: complete RIFF WAVE files with
// PCM (8 or 16 bits) or 4-bit ADPCM (format tag 2) data, mono or stereo.
// ADPCM is decoded to 16-bit PCM here, because audio outputs take PCM only.
//
// Plain C++ with no Qt. Every length and offset is checked against the bytes
// given; nothing throws on content.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace sound
{

struct PcmSound {
    int channels = 1;
    int sampleRate = 0;
    int bitsPerSample = 16;    // 8 (unsigned samples) or 16 (signed, little-endian)
    std::vector<uint8_t> data; // interleaved samples
};

// The sound as PCM, or nothing with the reason in *error.
std::optional<PcmSound> decodeWave(std::span<const uint8_t> bytes, std::string *error);

} // namespace sound
