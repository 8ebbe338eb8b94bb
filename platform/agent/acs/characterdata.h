// What a loaded character holds, shared by every copy of its handle.
#pragma once

#include "acs.h"
#include "bytereader.h"

#include <mutex>
#include <unordered_map>

namespace acs
{

struct Character::Data {
    std::vector<uint8_t> bytes;

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

    mutable std::mutex cacheMutex;
    mutable std::vector<std::unique_ptr<Image>> imageCache; // one slot per image
    mutable size_t cachedBytes = 0;
};

namespace detail
{

// Parsing steps, each filling its part of Data; errors carry file offsets.
std::optional<Error> parseCharacter(Character::Data &data);
std::optional<Error> parseAnimations(Character::Data &data, Locator list);
// A block must lie inside the file and clear of the header.
std::optional<Error> checkLocator(Locator where, const std::string &what, uint64_t fileSize, uint64_t at);
Result<Image> decodeImage(std::span<const uint8_t> file, Locator block, size_t index);

// Upper-cases letters so names compare case-insensitively.
std::u16string foldName(std::u16string_view name);
std::u16string fromAscii(std::string_view text);

} // namespace detail
} // namespace acs
