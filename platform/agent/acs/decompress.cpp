// The image compression: an LZ77 variant written as an LSB-first bit stream.
// Each token is a literal (bit 0 + 8 bits) or a copy (bit 1, distance class,
// distance, unary length prefix, length bits); a 20-bit distance of all ones
// ends the stream.
#include "characterdata.h"

#include <bit>
#include <cstring>

namespace acs
{
namespace
{

constexpr uint32_t endMarker = 0xfffff;
constexpr int maxLengthPrefix = 11;

// Keeps at least 47 bits (the longest token) buffered while the block has
// them. Past the block it supplies zero bits and lets `count` go negative,
// which the caller checks once per token.
class BitReader
{
  public:
    explicit BitReader(std::span<const uint8_t> bytes)
        : begin_(bytes.data()), next_(bytes.data()), end_(bytes.data() + bytes.size())
    {
    }

    void refill()
    {
        if (end_ - next_ >= 8) {
            uint64_t word;
            std::memcpy(&word, next_, 8);
            if constexpr (std::endian::native == std::endian::big) word = byteswap(word);
            buffer_ |= word << count_;
            next_ += (63 - count_) >> 3;
            count_ |= 56;
            return;
        }
        while (count_ <= 56 && next_ < end_) {
            buffer_ |= uint64_t(*next_++) << count_;
            count_ += 8;
        }
    }

    uint64_t peek() const { return buffer_; }
    void consume(int bits)
    {
        buffer_ >>= bits;
        count_ -= bits;
    }
    uint32_t take(int bits)
    {
        const auto value = uint32_t(buffer_ & ((uint64_t(1) << bits) - 1));
        consume(bits);
        return value;
    }
    bool overrun() const { return count_ < 0; }
    // Byte of the block holding the next unread bit.
    uint64_t byteOffset() const { return uint64_t(next_ - begin_) - uint64_t(count_ > 0 ? count_ : 0) / 8; }

  private:
    static uint64_t byteswap(uint64_t v)
    {
        uint64_t r = 0;
        for (int i = 0; i < 8; ++i)
            r = r << 8 | ((v >> (8 * i)) & 0xff);
        return r;
    }

    const uint8_t *begin_;
    const uint8_t *next_;
    const uint8_t *end_;
    uint64_t buffer_ = 0;
    int count_ = 0;
};

struct DistanceClass {
    int prefixBits;
    int width;
    uint32_t base;
};

// Chosen by the first three bits after the copy flag (read low bit first).
constexpr DistanceClass distanceClassFor(uint64_t bits)
{
    if (!(bits & 1)) return {1, 6, 1};
    if (!(bits & 2)) return {2, 9, 65};
    if (!(bits & 4)) return {3, 12, 577};
    return {3, 20, 4673};
}

// Output buffers carry this many spare bytes so short copies can move whole
// 8-byte words and spill a little past their end.
constexpr size_t copySlack = 8;
constexpr size_t shortCopy = 32;

void copyBack(uint8_t *out, size_t pos, size_t distance, size_t length)
{
    uint8_t *dst = out + pos;
    const uint8_t *src = dst - distance;
    if (distance >= 8 && length <= shortCopy) {
        // Each word read lies wholly before the word being written, so it is final.
        for (size_t i = 0; i < length; i += 8)
            std::memcpy(dst + i, src + i, 8);
    } else if (distance >= length) {
        std::memcpy(dst, src, length);
    } else if (distance == 1) {
        std::memset(dst, *src, length);
    } else {
        // The source overlaps what is being written: repeat the pattern.
        for (size_t i = 0; i < length; ++i)
            dst[i] = src[i];
    }
}

Error streamError(std::string message, uint64_t offset)
{
    return Error{"compressed data: " + std::move(message), offset};
}

std::optional<Error> decompressInto(std::span<const uint8_t> block, uint8_t *out, size_t size)
{
    if (block.empty()) return streamError("block is empty", 0);
    if (block[0] != 0) return streamError("first byte is " + detail::hex(block[0]) + " instead of 0x0", 0);

    BitReader bits(block.subspan(1));
    size_t pos = 0;
    for (;;) {
        bits.refill();
        const uint64_t tokenOffset = bits.byteOffset() + 1;
        if (!(bits.peek() & 1)) {
            bits.consume(1);
            const auto literal = uint8_t(bits.take(8));
            if (bits.overrun()) return streamError("data ends before the end marker", block.size());
            if (pos >= size)
                return streamError("literal overflows the output of " + std::to_string(size) + " bytes",
                                   tokenOffset);
            out[pos++] = literal;
            continue;
        }
        bits.consume(1);
        const DistanceClass cls = distanceClassFor(bits.peek());
        bits.consume(cls.prefixBits);
        const uint32_t field = bits.take(cls.width);
        if (cls.width == 20 && field == endMarker) {
            if (bits.overrun()) return streamError("data ends before the end marker", block.size());
            break;
        }
        const int prefix = std::countr_one(bits.peek() & 0xfff);
        if (prefix > maxLengthPrefix) return streamError("length prefix longer than 11 bits", tokenOffset);
        bits.consume(prefix + 1);
        size_t length = 2 + (cls.width == 20 ? 1 : 0);
        if (prefix > 0) length += (size_t(1) << prefix) - 1 + bits.take(prefix);
        if (bits.overrun()) return streamError("data ends before the end marker", block.size());
        const size_t distance = size_t(field) + cls.base;
        if (distance > pos)
            return streamError("back-reference of distance " + std::to_string(distance) +
                                   " reaches before the start of the output (" + std::to_string(pos) +
                                   " bytes written)",
                               tokenOffset);
        if (length > size - pos)
            return streamError("copy of " + std::to_string(length) + " bytes at output byte " +
                                   std::to_string(pos) + " overflows the output of " + std::to_string(size) +
                                   " bytes",
                               tokenOffset);
        copyBack(out, pos, distance, length);
        pos += length;
    }
    if (pos != size)
        return streamError("ends after " + std::to_string(pos) + " of " + std::to_string(size) + " bytes",
                           bits.byteOffset() + 1);
    return std::nullopt;
}

} // namespace

// The longest copy token is 31 bits for 4,096 bytes, so no stream can
// expand by more than this per input byte.
constexpr size_t maxExpansionPerByte = 4096 * 8 / 31 + 1;

Result<std::vector<uint8_t>> decompress(std::span<const uint8_t> block, size_t expectedSize)
{
    if (block.size() > 0 && expectedSize / maxExpansionPerByte > block.size())
        return streamError(
            std::to_string(block.size()) + " bytes cannot expand to " + std::to_string(expectedSize), 0);
    std::vector<uint8_t> out(block.empty() ? 0 : expectedSize + copySlack);
    if (auto error = decompressInto(block, out.data(), expectedSize)) return std::move(*error);
    out.resize(expectedSize);
    return out;
}

} // namespace acs
