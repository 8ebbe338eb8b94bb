// Header, character info, localized info and the image and audio lists.
#include "characterdata.h"

#include <algorithm>

namespace acs::detail
{
namespace
{

constexpr uint32_t acsSignature = 0xabcdabc3;
constexpr uint32_t acfSignature = 0xabcdabc4;
constexpr uint8_t compoundFileSignature[] = {0xd0, 0xcf, 0x11, 0xe0, 0xa1, 0xb1, 0x1a, 0xe1};
constexpr uint64_t headerSize = 36;
constexpr uint16_t supportedMajorVersion = 2;
constexpr uint32_t voiceInfoFlag = 0x20;
constexpr uint32_t balloonInfoFlag = 0x200;
constexpr size_t maxPaletteEntries = 256;

// Smallest encodings, used to bound counts before reading them.
constexpr uint64_t minStringSize = 4;
constexpr uint64_t minLocalizedEntrySize = 2 + 3 * minStringSize;
constexpr uint64_t minStateSize = minStringSize + 2;
constexpr uint64_t blockListEntrySize = 8 + 4;

struct NamedBlock {
    Locator where;
    BlockName name;
};

std::optional<Error> refuseOtherKinds(std::span<const uint8_t> file)
{
    if (file.size() >= sizeof compoundFileSignature &&
        std::equal(std::begin(compoundFileSignature), std::end(compoundFileSignature), file.begin()))
        return Error{"an older compound-file character, not a version 2 character file"};
    if (file.size() < 4)
        return Error{"not a character file (only " + std::to_string(file.size()) + " bytes)"};
    const uint32_t signature =
        uint32_t(file[0]) | uint32_t(file[1]) << 8 | uint32_t(file[2]) << 16 | uint32_t(file[3]) << 24;
    if (signature == acfSignature)
        return Error{"an ACF file (a character whose animations are in separate .aca files), "
                     "not a complete character file"};
    if (signature != acsSignature) return Error{"not a character file (signature " + hex(signature) + ")"};
    return std::nullopt;
}

} // namespace

std::string BlockName::text() const
{
    return index == SIZE_MAX ? std::string(kind) : std::string(kind) + " " + std::to_string(index);
}

std::optional<Error> checkLocator(Locator where, BlockName what, uint64_t fileSize, uint64_t at)
{
    const uint64_t end = uint64_t(where.offset) + where.size;
    if (end > fileSize)
        return Error{what.text() + ": block at " + hex(where.offset) + " of " + std::to_string(where.size) +
                         " bytes runs past the end of the file (size " + std::to_string(fileSize) + ")",
                     at};
    if (where.size > 0 && where.offset < headerSize)
        return Error{what.text() + ": block at " + hex(where.offset) + " overlaps the file header", at};
    return std::nullopt;
}

namespace
{

// Blocks may be shared by identical locators, but never partly overlap.
std::optional<Error> checkNoOverlap(std::vector<NamedBlock> blocks)
{
    std::erase_if(blocks, [](const NamedBlock &b) { return b.where.size == 0; });
    std::sort(blocks.begin(), blocks.end(), [](const NamedBlock &a, const NamedBlock &b) {
        return a.where.offset != b.where.offset ? a.where.offset < b.where.offset
                                                : a.where.size < b.where.size;
    });
    for (size_t i = 1; i < blocks.size(); ++i) {
        const auto &before = blocks[i - 1];
        const auto &after = blocks[i];
        const bool same = before.where.offset == after.where.offset && before.where.size == after.where.size;
        if (!same && uint64_t(before.where.offset) + before.where.size > after.where.offset)
            return Error{after.name.text() + ": block at " + hex(after.where.offset) + " overlaps " +
                             before.name.text() + " (" + hex(before.where.offset) + ", " +
                             std::to_string(before.where.size) + " bytes)",
                         after.where.offset};
    }
    return std::nullopt;
}

Color readRgbQuad(ByteReader &r)
{
    Color c;
    c.blue = r.u8("palette entry");
    c.green = r.u8("palette entry");
    c.red = r.u8("palette entry");
    r.u8("palette entry");
    return c;
}

Color readColorRef(ByteReader &r, const char *field)
{
    Color c;
    c.red = r.u8(field);
    c.green = r.u8(field);
    c.blue = r.u8(field);
    r.u8(field);
    return c;
}

VoiceInfo readVoice(ByteReader &r)
{
    VoiceInfo v;
    v.engineId = r.array<16>("voice engine id");
    v.modeId = r.array<16>("voice mode id");
    v.speed = r.u32("voice speed");
    v.pitch = r.u16("voice pitch");
    if (r.u8("voice extra data flag") != 0) {
        v.language = r.u16("voice language");
        v.dialect = r.string("voice dialect");
        v.gender = r.u16("voice gender");
        v.age = r.u16("voice age");
        v.style = r.string("voice style");
    }
    return v;
}

BalloonInfo readBalloon(ByteReader &r)
{
    BalloonInfo b;
    b.lines = r.u8("balloon lines");
    b.charactersPerLine = r.u8("balloon characters per line");
    b.text = readColorRef(r, "balloon text colour");
    b.background = readColorRef(r, "balloon background colour");
    b.border = readColorRef(r, "balloon border colour");
    b.fontName = r.string("balloon font name");
    b.fontHeight = r.i32("balloon font height");
    b.fontWeight = r.i32("balloon font weight");
    b.italic = r.u8("balloon italic flag") != 0;
    r.u8("balloon reserved byte");
    return b;
}

std::vector<uint8_t> readDataBlock(ByteReader &r, const char *field)
{
    const uint32_t size = r.u32(field);
    const auto bytes = r.bytes(size, field);
    return {bytes.begin(), bytes.end()};
}

std::vector<Color> readPalette(ByteReader &r)
{
    const uint64_t at = r.offset();
    const uint32_t count = r.u32("palette count");
    if (!r.within(count, maxPaletteEntries, "palette count", at) || !r.fits(count, 4, "palette count"))
        return {};
    std::vector<Color> palette(count);
    for (auto &entry : palette)
        entry = readRgbQuad(r);
    return palette;
}

std::vector<State> readStates(ByteReader &r)
{
    const uint16_t count = r.u16("state count");
    if (!r.fits(count, minStateSize, "state count")) return {};
    std::vector<State> states(count);
    size_t namesLeft = limits::stateAnimationsInAll;
    for (auto &state : states) {
        state.name = r.string("state name");
        const uint64_t at = r.offset();
        const uint16_t animations = r.u16("state animation count");
        if (!r.fits(animations, minStringSize, "state animation count") ||
            !r.withinTotal(animations, namesLeft, limits::stateAnimationsInAll, "state animation count", at))
            return {};
        state.animations.resize(animations);
        for (auto &name : state.animations)
            name = r.string("state animation name");
    }
    return states;
}

std::optional<Error> readLocalizedInfo(Character::Data &data, Locator where)
{
    ByteReader r(data.bytes, where.offset, uint64_t(where.offset) + where.size, "localized info");
    const uint16_t count = r.u16("count");
    if (!r.fits(count, minLocalizedEntrySize, "count")) return r.takeError();
    data.localized.resize(count);
    for (auto &entry : data.localized) {
        entry.language = r.u16("language");
        entry.name = r.string("name");
        entry.description = r.string("description");
        entry.extraData = r.string("extra data");
    }
    if (r.failed()) return r.takeError();
    return std::nullopt;
}

std::optional<Error> readCharacterInfo(Character::Data &data, Locator where)
{
    const uint64_t fileSize = data.bytes.size();
    uint64_t end = uint64_t(where.offset) + where.size;
    ByteReader probe(data.bytes, where.offset, end, "character info");
    probe.skip(4, "version");
    const uint64_t localizedAt = probe.offset();
    const Locator localized = probe.locator("localized info locator");
    if (probe.failed()) return probe.takeError();
    if (auto error = checkLocator(localized, {"localized info"}, fileSize, localizedAt)) return error;
    // The info's locator usually covers the localized info stored right after it.
    if (localized.offset > where.offset && localized.offset < end) end = localized.offset;

    ByteReader r(data.bytes, where.offset, end, "character info");
    r.u16("minor version");
    const uint64_t versionAt = r.offset();
    const uint16_t major = r.u16("major version");
    if (!r.failed() && major != supportedMajorVersion)
        return Error{"character info: version " + std::to_string(major) + " is not supported (only 2)",
                     versionAt};
    r.locator("localized info locator");
    data.guid = r.array<16>("guid");
    const uint64_t sizeAt = r.offset();
    data.frameSize.width = r.u16("frame width");
    data.frameSize.height = r.u16("frame height");
    if (!r.failed() &&
        (data.frameSize.width == 0 || data.frameSize.height == 0 ||
         data.frameSize.width > limits::frameSide || data.frameSize.height > limits::frameSide))
        return Error{"character info: frame size " + std::to_string(data.frameSize.width) + "x" +
                         std::to_string(data.frameSize.height) + " is not between 1 and " +
                         std::to_string(limits::frameSide),
                     sizeAt};
    data.transparentIndex = r.u8("transparent index");
    data.flags = r.u32("flags");
    r.u16("animation set major version");
    r.u16("animation set minor version");
    if (data.flags & voiceInfoFlag) data.voice = readVoice(r);
    if (data.flags & balloonInfoFlag) data.balloon = readBalloon(r);
    data.palette = readPalette(r);
    if (r.u8("tray icon flag") != 0) {
        TrayIcon icon;
        icon.maskDib = readDataBlock(r, "tray icon mask");
        icon.colorDib = readDataBlock(r, "tray icon image");
        data.trayIcon = std::move(icon);
    }
    data.states = readStates(r);
    if (r.failed()) return r.takeError();
    return readLocalizedInfo(data, localized);
}

std::optional<Error> readBlockList(Character::Data &data, Locator where, const char *what,
                                   std::vector<Locator> &blocks)
{
    ByteReader r(data.bytes, where.offset, uint64_t(where.offset) + where.size, std::string(what) + " list");
    const uint32_t count = r.u32("count");
    if (!r.fits(count, blockListEntrySize, "count")) return r.takeError();
    blocks.resize(count);
    for (size_t i = 0; i < blocks.size(); ++i) {
        const uint64_t at = r.offset();
        blocks[i] = r.locator("locator");
        r.u32("checksum");
        if (r.failed()) return r.takeError();
        if (auto error = checkLocator(blocks[i], {what, i}, data.bytes.size(), at)) return error;
    }
    return std::nullopt;
}

} // namespace

std::optional<Error> parseCharacter(Character::Data &data)
{
    if (auto error = refuseOtherKinds(data.bytes)) return error;
    ByteReader header(data.bytes, 0, data.bytes.size(), "header");
    header.u32("signature");
    const char *names[] = {"character info", "animation list", "image list", "audio list"};
    Locator locators[4];
    for (int i = 0; i < 4; ++i) {
        const uint64_t at = header.offset();
        locators[i] = header.locator(names[i]);
        if (header.failed()) return header.takeError();
        if (auto error = checkLocator(locators[i], {names[i]}, data.bytes.size(), at)) return error;
    }
    data.step = "character info";
    if (auto error = readCharacterInfo(data, locators[0])) return error;
    data.step = "image list";
    if (auto error = readBlockList(data, locators[2], "image", data.images)) return error;
    data.step = "audio list";
    if (auto error = readBlockList(data, locators[3], "sound", data.sounds)) return error;
    data.step = "animation list";
    if (auto error = parseAnimationList(data, locators[1])) return error;

    // No two blocks overlap, so reading each block once reads the file at most once.
    data.step = "block table";
    std::vector<NamedBlock> blocks;
    blocks.reserve(4 + data.animationBlocks.size() + data.images.size() + data.sounds.size());
    for (int i = 0; i < 4; ++i)
        blocks.push_back({locators[i], {names[i]}});
    for (size_t i = 0; i < data.animationBlocks.size(); ++i)
        blocks.push_back({data.animationBlocks[i], {"animation", i}});
    for (size_t i = 0; i < data.images.size(); ++i)
        blocks.push_back({data.images[i], {"image", i}});
    for (size_t i = 0; i < data.sounds.size(); ++i)
        blocks.push_back({data.sounds[i], {"sound", i}});
    if (auto error = checkNoOverlap(std::move(blocks))) return error;
    data.step = "animations";
    return parseAnimationBlocks(data);
}

} // namespace acs::detail
