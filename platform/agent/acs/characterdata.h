// What a loaded character holds, shared by every copy of its handle.
#pragma once

#include "acs.h"
#include "bytereader.h"
#include "imagecache.h"

#include <mutex>
#include <unordered_map>

namespace acs
{

struct Character::Data {
    std::span<const uint8_t> bytes;      // the whole file, mapped or in memory
    std::shared_ptr<const void> storage; // keeps `bytes` alive

    uint32_t flags = 0;
    std::array<uint8_t, 16> guid{};
    Size frameSize;
    uint8_t transparentIndex = 0;
    std::vector<Color> palette;
    std::array<uint32_t, 256> argbByIndex{}; // indices past the palette draw opaque black
    std::vector<LocalizedInfo> localized;
    std::optional<VoiceInfo> voice;
    std::optional<BalloonInfo> balloon;
    std::optional<TrayIcon> trayIcon;
    std::vector<State> states;

    std::vector<Animation> animations;
    std::unordered_map<std::u16string, size_t> animationByFoldedName;

    std::vector<detail::Locator> animationBlocks; // checked against the file at load
    std::vector<detail::Locator> images;
    std::vector<detail::Locator> sounds;

    // What is being read, so that running out of memory can say where.
    const char *step = "header";

    mutable std::mutex cacheMutex;
    mutable detail::ImageCache imageCache{defaultImageCacheLimit};
};

namespace detail
{

// Parsing steps, each filling its part of Data; errors carry file offsets.
std::optional<Error> parseCharacter(Character::Data &data);
// The animation list (names and locators) first; the blocks once every
// block of the file is known not to overlap another.
std::optional<Error> parseAnimationList(Character::Data &data, Locator list);
std::optional<Error> parseAnimationBlocks(Character::Data &data);

// What a block is, for messages: "image 3", "animation list".
struct BlockName {
    const char *kind;
    size_t index = SIZE_MAX; // SIZE_MAX: the only one of its kind
    std::string text() const;
};
// A block must lie inside the file and clear of the header.
std::optional<Error> checkLocator(Locator where, BlockName what, uint64_t fileSize, uint64_t at);

Result<Image> decodeImage(std::span<const uint8_t> file, Locator block, size_t index);
// Bytes the image block says its pixels take once decoded (0 when it is too short to say).
size_t statedImageSize(std::span<const uint8_t> file, Locator block);

// Case-folds names so they compare case-insensitively.
std::u16string foldName(std::u16string_view name);
std::u16string fromAscii(std::string_view text);

// The file's bytes: mapped where the system can, read otherwise.
struct FileBytes {
    std::span<const uint8_t> bytes;
    std::shared_ptr<const void> storage;
};
// Errors do not name the path: the caller does.
Result<FileBytes> readFileBytes(const std::filesystem::path &path, uintmax_t maxSize);

} // namespace detail
} // namespace acs
