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
        if (end_ - next_ >= 8) [[likely]] {
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
    int available() const { return count_; }
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

    // Where the reader stands, cheap to keep; turned into a byte offset only
    // when a token turns out to be bad.
    struct Mark {
        const uint8_t *next;
        int count;
    };
    Mark mark() const { return {next_, count_}; }
    // Byte of the block holding the first unread bit at `at`.
    uint64_t byteOffset(Mark at) const
    {
        return uint64_t(at.next - begin_) - uint64_t(at.count > 0 ? at.count : 0) / 8;
    }
    uint64_t byteOffset() const { return byteOffset(mark()); }

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
    int8_t prefixBits;
    int8_t width;
    uint16_t base;
};

// Indexed by the three bits after the copy flag (read low bit first).
constexpr DistanceClass distanceClasses[8] = {
    {1, 6, 1}, {2, 9, 65}, {1, 6, 1}, {3, 12, 577}, {1, 6, 1}, {2, 9, 65}, {1, 6, 1}, {3, 20, 4673},
};
constexpr int farWidth = 20;

// Output buffers carry this many spare bytes so copies can move whole
// chunks and spill up to a chunk less one byte past their end.
constexpr size_t copySlack = 32;
constexpr size_t longCopy = 64;

// Copies in chunks of `chunk` bytes; each chunk read lies wholly before the
// chunk being written (distance >= chunk), so it is final.
template <size_t chunk> void copyChunks(uint8_t *dst, const uint8_t *src, const uint8_t *end)
{
    do {
        std::memcpy(dst, src, chunk);
        dst += chunk;
        src += chunk;
    } while (dst < end);
}

void copyBack(uint8_t *dst, size_t distance, size_t length)
{
    const uint8_t *src = dst - distance;
    uint8_t *const end = dst + length;
    // Most copies in drawn art come from a row above and are shorter than 32 bytes.
    if (distance >= 32) {
        if (distance >= length && length > longCopy)
            std::memcpy(dst, src, length);
        else
            copyChunks<32>(dst, src, end);
        return;
    }
    if (distance >= 8) {
        copyChunks<8>(dst, src, end);
        return;
    }
    // The source overlaps what is being written: the output repeats the last
    // `distance` bytes. Lay the pattern out once, then write it a word at a
    // time, stepping by a whole number of periods.
    uint8_t pattern[8];
    for (size_t i = 0; i < 8; ++i)
        pattern[i] = src[i % distance];
    const size_t step = 8 - 8 % distance;
    do {
        std::memcpy(dst, pattern, 8);
        dst += step;
    } while (dst < end);
}

Error streamError(std::string message, uint64_t offset)
{
    return Error{"compressed data: " + std::move(message), offset};
}

Error endsEarly(std::span<const uint8_t> block)
{
    return streamError("data ends before the end marker", block.size());
}

std::optional<Error> decompressInto(std::span<const uint8_t> block, uint8_t *out, size_t size)
{
    if (block.empty()) return streamError("block is empty", 0);
    if (block[0] != 0) return streamError("first byte is " + detail::hex(block[0]) + " instead of 0x0", 0);

    BitReader bits(block.subspan(1));
    size_t pos = 0;
    for (;;) {
        bits.refill();
        if (!(bits.peek() & 1)) {
            // A run of literals: one refill serves up to six of them.
            if (bits.available() < 9) return endsEarly(block);
            do {
                if (pos >= size) [[unlikely]]
                    return streamError("literal overflows the output of " + std::to_string(size) + " bytes",
                                       bits.byteOffset() + 1);
                out[pos++] = uint8_t(bits.peek() >> 1);
                bits.consume(9);
            } while (bits.available() >= 9 && !(bits.peek() & 1));
            continue;
        }
        const BitReader::Mark token = bits.mark();
        const DistanceClass cls = distanceClasses[(bits.peek() >> 1) & 7];
        bits.consume(1 + cls.prefixBits);
        const uint32_t field = bits.take(cls.width);
        if (cls.width == farWidth && field == endMarker) {
            if (bits.overrun()) return endsEarly(block);
            break;
        }
        const int prefix = std::countr_one(bits.peek() & 0xfff);
        if (prefix > maxLengthPrefix) [[unlikely]]
            return streamError("length prefix longer than 11 bits", bits.byteOffset(token) + 1);
        bits.consume(prefix + 1);
        size_t length = 2 + (cls.width == farWidth ? 1 : 0);
        if (prefix > 0) length += (size_t(1) << prefix) - 1 + bits.take(prefix);
        if (bits.overrun()) [[unlikely]]
            return endsEarly(block);
        const size_t distance = size_t(field) + cls.base;
        if (distance > pos) [[unlikely]]
            return streamError("back-reference of distance " + std::to_string(distance) +
                                   " reaches before the start of the output (" + std::to_string(pos) +
                                   " bytes written)",
                               bits.byteOffset(token) + 1);
        if (length > size - pos) [[unlikely]]
            return streamError("copy of " + std::to_string(length) + " bytes at output byte " +
                                   std::to_string(pos) + " overflows the output of " + std::to_string(size) +
                                   " bytes",
                               bits.byteOffset(token) + 1);
        copyBack(out + pos, distance, length);
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
