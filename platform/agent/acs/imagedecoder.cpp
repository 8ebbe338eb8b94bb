// One image block: a small header, the pixel data (compressed or raw) and
// the region data, which drawing does not need.
#include "characterdata.h"

#include <new>

namespace acs::detail
{
namespace
{

Error inImage(size_t index, const Error &error, uint64_t base)
{
    return Error{"image " + std::to_string(index) + ": pixel data: " + error.message, base + error.offset};
}

Result<Image> decodeImageBlock(std::span<const uint8_t> file, Locator block, size_t index)
{
    ByteReader r(file, block.offset, uint64_t(block.offset) + block.size, "image " + std::to_string(index));
    r.u8("leading byte");
    Image image;
    image.width = r.u16("width");
    image.height = r.u16("height");
    const uint64_t flagAt = r.offset();
    const uint8_t compressed = r.u8("compressed flag");
    const uint64_t sizeAt = r.offset();
    const uint32_t dataSize = r.u32("pixel data size");
    const uint64_t dataAt = r.offset();
    const auto pixels = r.bytes(dataSize, "pixel data");
    const uint32_t regionCompressed = r.u32("region compressed size");
    const uint32_t regionSize = r.u32("region size");
    r.skip(regionCompressed ? regionCompressed : regionSize, "region data");
    if (r.failed()) return r.takeError();
    if (compressed > 1)
        return Error{r.context() + ": compressed flag is " + std::to_string(compressed) + ", not 0 or 1",
                     flagAt};

    const size_t expected = image.stride() * image.height;
    if (expected > limits::decodedImageBytes)
        return Error{r.context() + ": " + std::to_string(image.width) + "x" + std::to_string(image.height) +
                         " needs " + std::to_string(expected) + " bytes decoded, more than the limit of " +
                         std::to_string(limits::decodedImageBytes),
                     block.offset + 1};
    if (!compressed) {
        if (pixels.size() != expected)
            return Error{r.context() + ": raw pixel data is " + std::to_string(pixels.size()) +
                             " bytes but the image needs " + std::to_string(expected),
                         sizeAt};
        image.indices.assign(pixels.begin(), pixels.end());
        return image;
    }
    auto decoded = decompress(pixels, expected);
    if (!decoded) return inImage(index, decoded.error(), dataAt);
    image.indices = std::move(*decoded);
    return image;
}

} // namespace

size_t statedImageSize(std::span<const uint8_t> file, Locator block)
{
    ByteReader r(file, block.offset, uint64_t(block.offset) + block.size, "image");
    r.u8("leading byte");
    Image image;
    image.width = r.u16("width");
    image.height = r.u16("height");
    return r.failed() ? 0 : image.stride() * image.height;
}

Result<Image> decodeImage(std::span<const uint8_t> file, Locator block, size_t index)
{
    try {
        return decodeImageBlock(file, block, index);
    } catch (const std::bad_alloc &) {
        return Error{"image " + std::to_string(index) + ": not enough memory to decode it", block.offset};
    }
}

} // namespace acs::detail
