// The compressing half of the fixture writer: a token writer and a greedy
// LZ77 matcher, enough to produce every token kind the decoder must read.
#include "acswriter.h"

#include <algorithm>
#include <bit>

namespace acswriter
{
namespace
{

constexpr uint32_t nearLimit = 4672; // largest distance without the 20-bit class
constexpr uint32_t farBase = 4673;
constexpr uint32_t maxDistance = farBase + 0xffffe;
constexpr uint32_t maxLength = 4096;
constexpr int hashBits = 16;
constexpr int maxChain = 64;

uint32_t hash3(const uint8_t *p)
{
    const uint32_t v = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
    return (v * 2654435761u) >> (32 - hashBits);
}

uint32_t longestAllowed(uint32_t distance, size_t left)
{
    return uint32_t(std::min<size_t>(left, distance > nearLimit ? maxLength + 1 : maxLength));
}

} // namespace

BitWriter::BitWriter() : bytes_{0} {}

void BitWriter::bits(uint32_t value, int count)
{
    for (int i = 0; i < count; ++i) {
        if (used_ == 0) bytes_.push_back(0);
        if (value >> i & 1) bytes_.back() |= uint8_t(1 << used_);
        used_ = (used_ + 1) % 8;
    }
}

void BitWriter::literal(uint8_t byte)
{
    bits(0, 1);
    bits(byte, 8);
}

void BitWriter::copy(uint32_t distance, uint32_t length)
{
    bits(1, 1);
    const bool far = distance > nearLimit;
    if (distance <= 64) {
        bits(0, 1);
        bits(distance - 1, 6);
    } else if (distance <= 576) {
        bits(1, 2);
        bits(distance - 65, 9);
    } else if (!far) {
        bits(3, 3);
        bits(distance - 577, 12);
    } else {
        bits(7, 3);
        bits(distance - farBase, 20);
    }
    const uint32_t rest = length - 2 - (far ? 1 : 0);
    if (rest == 0) {
        bits(0, 1);
        return;
    }
    const int prefix = std::bit_width(rest + 1) - 1;
    bits((1u << prefix) - 1, prefix + 1);
    bits(rest - ((1u << prefix) - 1), prefix);
}

void BitWriter::end()
{
    bits(1, 1);
    bits(7, 3);
    bits(0xfffff, 20);
}

std::vector<uint8_t> BitWriter::finish()
{
    if (used_ != 0) bits(0xff, 8 - used_);
    for (int i = 0; i < 3; ++i)
        bytes_.push_back(0xff);
    used_ = 0;
    return bytes_;
}

std::vector<uint8_t> compress(std::span<const uint8_t> data, Compression mode)
{
    BitWriter out;
    const size_t size = data.size();
    std::vector<int32_t> head(size_t(1) << hashBits, -1);
    std::vector<int32_t> previous(size, -1);
    auto insert = [&](size_t pos) {
        if (pos + 3 > size) return;
        const uint32_t h = hash3(&data[pos]);
        previous[pos] = head[h];
        head[h] = int32_t(pos);
    };

    size_t pos = 0;
    while (pos < size) {
        uint32_t bestLength = 0;
        uint32_t bestDistance = 0;
        if (mode == Compression::BackReferences && pos + 3 <= size) {
            int32_t candidate = head[hash3(&data[pos])];
            for (int step = 0; candidate >= 0 && step < maxChain; ++step, candidate = previous[candidate]) {
                const auto distance = uint32_t(pos - size_t(candidate));
                if (distance > maxDistance) break;
                const uint32_t limit = longestAllowed(distance, size - pos);
                uint32_t length = 0;
                while (length < limit && data[candidate + length] == data[pos + length])
                    ++length;
                if (length >= 3 && length > bestLength) {
                    bestLength = length;
                    bestDistance = distance;
                }
            }
        }
        if (bestLength >= 3) {
            out.copy(bestDistance, bestLength);
            for (uint32_t i = 0; i < bestLength; ++i)
                insert(pos + i);
            pos += bestLength;
        } else {
            out.literal(data[pos]);
            insert(pos);
            ++pos;
        }
    }
    out.end();
    return out.finish();
}

} // namespace acswriter
