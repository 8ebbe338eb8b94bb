#include "wavedecoder.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace sound
{

namespace
{

constexpr uint16_t FormatPcm = 1;
constexpr uint16_t FormatAdpcm = 2;
// Far above any character's sound (a few seconds at 22 kHz); keeps a hostile
// header from asking for gigabytes.
constexpr size_t MaxDecodedBytes = 64u << 20;
constexpr int MaxSampleRate = 192000;

uint16_t u16(const uint8_t *p)
{
    return uint16_t(p[0] | p[1] << 8);
}

uint32_t u32(const uint8_t *p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

struct Format {
    uint16_t tag = 0;
    uint16_t channels = 0;
    uint32_t sampleRate = 0;
    uint16_t blockAlign = 0;
    uint16_t bitsPerSample = 0;
    std::vector<std::array<int, 2>> coefficients; // ADPCM predictors
};

struct Chunks {
    std::optional<Format> format;
    std::span<const uint8_t> data;
    bool hasData = false;
};

std::optional<Format> readFormat(std::span<const uint8_t> chunk, std::string *error)
{
    if (chunk.size() < 16) {
        *error = "format chunk of " + std::to_string(chunk.size()) + " bytes is too short";
        return std::nullopt;
    }
    Format f;
    f.tag = u16(&chunk[0]);
    f.channels = u16(&chunk[2]);
    f.sampleRate = u32(&chunk[4]);
    f.blockAlign = u16(&chunk[12]);
    f.bitsPerSample = u16(&chunk[14]);
    if (f.tag == FormatAdpcm) {
        // cbSize, samples per block, coefficient count, then the pairs.
        if (chunk.size() < 22) {
            *error = "ADPCM format chunk lacks its coefficients";
            return std::nullopt;
        }
        const size_t count = u16(&chunk[20]);
        if (count == 0 || chunk.size() < 22 + count * 4) {
            *error = "ADPCM format chunk holds " + std::to_string(count) + " coefficient pairs in " +
                     std::to_string(chunk.size()) + " bytes";
            return std::nullopt;
        }
        for (size_t i = 0; i < count; ++i)
            f.coefficients.push_back({int16_t(u16(&chunk[22 + i * 4])), int16_t(u16(&chunk[24 + i * 4]))});
    }
    return f;
}

// Walks the chunks: the format chunk is not always the first one.
std::optional<Chunks> readChunks(std::span<const uint8_t> bytes, std::string *error)
{
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
        std::memcmp(bytes.data() + 8, "WAVE", 4) != 0) {
        *error = "not a RIFF WAVE file";
        return std::nullopt;
    }
    const size_t end = std::min<size_t>(bytes.size(), size_t(u32(&bytes[4])) + 8);
    Chunks chunks;
    for (size_t at = 12; at + 8 <= end;) {
        const uint8_t *header = &bytes[at];
        const size_t size = u32(header + 4);
        if (size > end - at - 8) {
            *error = "chunk at " + std::to_string(at) + " runs past the end of the file";
            return std::nullopt;
        }
        const std::span<const uint8_t> body = bytes.subspan(at + 8, size);
        if (std::memcmp(header, "fmt ", 4) == 0) {
            chunks.format = readFormat(body, error);
            if (!chunks.format) return std::nullopt;
        } else if (std::memcmp(header, "data", 4) == 0) {
            chunks.data = body;
            chunks.hasData = true;
        }
        at += 8 + size + (size & 1); // chunks are padded to even sizes
    }
    if (!chunks.format || !chunks.hasData) {
        *error = chunks.format ? "no data chunk" : "no format chunk";
        return std::nullopt;
    }
    return chunks;
}

// Real streams keep the step size well inside 16 bits; a damaged one could
// grow it by half again on every code until the arithmetic overflows.
constexpr int64_t MaxDelta = 1 << 24;

int16_t clampSample(int64_t value)
{
    return int16_t(std::clamp<int64_t>(value, -32768, 32767));
}

struct AdpcmChannel {
    std::array<int, 2> coefficient{};
    int delta = 0;
    int sample1 = 0;
    int sample2 = 0;

    int16_t decode(int nibble)
    {
        static constexpr std::array<int, 16> Adaptation{230, 230, 230, 230, 307, 409, 512, 614,
                                                        768, 614, 512, 409, 307, 230, 230, 230};
        const int64_t predicted =
            (int64_t(sample1) * coefficient[0] + int64_t(sample2) * coefficient[1]) / 256;
        const int signedNibble = nibble >= 8 ? nibble - 16 : nibble;
        const int16_t sample = clampSample(predicted + int64_t(signedNibble) * delta);
        sample2 = sample1;
        sample1 = sample;
        delta = int(std::clamp<int64_t>(int64_t(Adaptation[size_t(nibble)]) * delta / 256, 16, MaxDelta));
        return sample;
    }
};

void put(std::vector<uint8_t> &out, int16_t sample)
{
    out.push_back(uint8_t(uint16_t(sample) & 0xff));
    out.push_back(uint8_t(uint16_t(sample) >> 8));
}

// One block: per channel a predictor index, a delta and the first two
// samples (stored newest first), then 4-bit codes, high nibble first.
bool decodeAdpcmBlock(std::span<const uint8_t> block, const Format &f, std::vector<uint8_t> &out,
                      std::string *error)
{
    const size_t channels = f.channels;
    const size_t headerSize = 7 * channels;
    if (block.size() < headerSize) return true; // a short tail carries no samples
    std::array<AdpcmChannel, 2> state{};
    for (size_t c = 0; c < channels; ++c) {
        const size_t predictor = block[c];
        if (predictor >= f.coefficients.size()) {
            *error = "ADPCM block uses predictor " + std::to_string(predictor) + " of " +
                     std::to_string(f.coefficients.size());
            return false;
        }
        state[c].coefficient = f.coefficients[predictor];
        state[c].delta = int16_t(u16(&block[channels + 2 * c]));
        state[c].sample1 = int16_t(u16(&block[3 * channels + 2 * c]));
        state[c].sample2 = int16_t(u16(&block[5 * channels + 2 * c]));
    }
    for (size_t c = 0; c < channels; ++c)
        put(out, int16_t(state[c].sample2));
    for (size_t c = 0; c < channels; ++c)
        put(out, int16_t(state[c].sample1));
    size_t channel = 0;
    for (size_t i = headerSize; i < block.size(); ++i) {
        for (const int nibble : {block[i] >> 4, block[i] & 0x0f}) {
            put(out, state[channel].decode(nibble));
            channel = (channel + 1) % channels;
        }
    }
    return true;
}

std::optional<PcmSound> decodeAdpcm(const Format &f, std::span<const uint8_t> data, std::string *error)
{
    if (f.blockAlign < 7 * f.channels) {
        *error = "ADPCM block size " + std::to_string(f.blockAlign) + " is too small";
        return std::nullopt;
    }
    // Each 4-bit code becomes two bytes, so the output is at most four times the input.
    if (data.size() > MaxDecodedBytes / 4) {
        *error = "sound is too long";
        return std::nullopt;
    }
    PcmSound pcm{f.channels, int(f.sampleRate), 16, {}};
    pcm.data.reserve(data.size() * 4 + 8);
    for (size_t at = 0; at < data.size(); at += f.blockAlign) {
        const size_t size = std::min<size_t>(f.blockAlign, data.size() - at);
        if (!decodeAdpcmBlock(data.subspan(at, size), f, pcm.data, error)) return std::nullopt;
    }
    return pcm;
}

} // namespace

std::optional<PcmSound> decodeWave(std::span<const uint8_t> bytes, std::string *error)
{
    const std::optional<Chunks> chunks = readChunks(bytes, error);
    if (!chunks) return std::nullopt;
    const Format &f = *chunks->format;
    if (f.channels < 1 || f.channels > 2 || f.sampleRate < 1000 || f.sampleRate > MaxSampleRate) {
        *error = std::to_string(f.channels) + " channels at " + std::to_string(f.sampleRate) +
                 " Hz is not a playable format";
        return std::nullopt;
    }
    if (f.tag == FormatAdpcm && f.bitsPerSample == 4) return decodeAdpcm(f, chunks->data, error);
    if (f.tag != FormatPcm || (f.bitsPerSample != 8 && f.bitsPerSample != 16)) {
        *error = "format " + std::to_string(f.tag) + " with " + std::to_string(f.bitsPerSample) +
                 " bits per sample is not supported";
        return std::nullopt;
    }
    const size_t frameBytes = size_t(f.channels) * f.bitsPerSample / 8;
    const size_t usable = chunks->data.size() / frameBytes * frameBytes;
    PcmSound pcm{f.channels, int(f.sampleRate), f.bitsPerSample, {}};
    pcm.data.assign(chunks->data.begin(), chunks->data.begin() + std::ptrdiff_t(usable));
    return pcm;
}

} // namespace sound
