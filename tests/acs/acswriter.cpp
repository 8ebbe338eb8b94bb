// The structural half of the fixture writer. Blocks are laid out as real
// files have them: header, animations, images, sounds, the three lists, then
// the character info followed by the localized info.
#include "acswriter.h"

namespace acswriter
{
namespace
{

constexpr uint32_t signature = 0xabcdabc3;
constexpr uint32_t voiceFlag = 0x20;
constexpr uint32_t balloonFlag = 0x200;
constexpr size_t headerSize = 36;

class Sink
{
  public:
    std::vector<uint8_t> bytes;

    uint32_t size() const { return uint32_t(bytes.size()); }
    void u8(uint8_t v) { bytes.push_back(v); }
    void u16(uint16_t v)
    {
        u8(uint8_t(v));
        u8(uint8_t(v >> 8));
    }
    void u32(uint32_t v)
    {
        u16(uint16_t(v));
        u16(uint16_t(v >> 16));
    }
    void raw(std::span<const uint8_t> data) { bytes.insert(bytes.end(), data.begin(), data.end()); }
    void string(std::u16string_view text)
    {
        u32(uint32_t(text.size()));
        for (char16_t unit : text)
            u16(unit);
        if (!text.empty()) u16(0);
    }
    void block(Block b)
    {
        u32(b.offset);
        u32(b.size);
    }
    void rgbQuad(acs::Color c)
    {
        u8(c.blue);
        u8(c.green);
        u8(c.red);
        u8(0);
    }
    void colorRef(acs::Color c)
    {
        u8(c.red);
        u8(c.green);
        u8(c.blue);
        u8(0);
    }
    void dataBlock(std::span<const uint8_t> data)
    {
        u32(uint32_t(data.size()));
        raw(data);
    }
    Block since(uint32_t start) const { return {start, size() - start}; }
};

std::u16string upperAscii(std::u16string text)
{
    for (auto &unit : text) {
        if (unit >= u'a' && unit <= u'z') unit = char16_t(unit - 32);
    }
    return text;
}

void writeFrame(Sink &s, const acs::Frame &frame, bool overlayRegions)
{
    s.u16(uint16_t(frame.images.size()));
    for (const auto &ref : frame.images) {
        s.u32(ref.image);
        s.u16(uint16_t(ref.x));
        s.u16(uint16_t(ref.y));
    }
    s.u16(frame.sound);
    s.u16(frame.duration);
    s.u16(uint16_t(frame.exitFrame));
    s.u8(uint8_t(frame.branches.size()));
    for (const auto &branch : frame.branches) {
        s.u16(branch.frame);
        s.u16(branch.probability);
    }
    s.u8(uint8_t(frame.overlays.size()));
    for (const auto &overlay : frame.overlays) {
        s.u8(uint8_t(overlay.shape));
        s.u8(overlay.replacesTopImage ? 1 : 0);
        s.u16(overlay.image);
        s.u8(0);
        s.u8(overlayRegions ? 1 : 0);
        s.u16(uint16_t(overlay.x));
        s.u16(uint16_t(overlay.y));
        s.u16(overlay.mouthCenterX);
        s.u16(overlay.mouthCenterY);
        if (overlayRegions) s.dataBlock(std::vector<uint8_t>(32, 0));
    }
}

void writeAnimation(Sink &s, const AnimationSpec &animation)
{
    s.string(animation.blockName.empty() ? upperAscii(animation.name) : animation.blockName);
    s.u8(uint8_t(animation.transition));
    s.string(animation.returnAnimation);
    s.u16(uint16_t(animation.frames.size()));
    for (const auto &frame : animation.frames)
        writeFrame(s, frame, animation.overlayRegions);
}

// The opaque pixels as one rectangle per run in each row, y from the top.
std::vector<uint8_t> regionData(const ImageSpec &image, uint8_t transparent)
{
    Sink rects;
    uint32_t count = 0;
    for (int y = 0; y < image.height; ++y) {
        const uint8_t *row = image.pixels.data() + size_t(y) * image.width;
        for (int x = 0; x < image.width;) {
            if (row[x] == transparent) {
                ++x;
                continue;
            }
            const int left = x;
            while (x < image.width && row[x] != transparent)
                ++x;
            for (uint32_t v : {uint32_t(left), uint32_t(y), uint32_t(x), uint32_t(y + 1)})
                rects.u32(v);
            ++count;
        }
    }
    Sink region;
    for (uint32_t v :
         {32u, 1u, count, count * 16 + 32, 0u, 0u, uint32_t(image.width), uint32_t(image.height)})
        region.u32(v);
    region.raw(rects.bytes);
    return region.bytes;
}

void writeImage(Sink &s, const ImageSpec &image, uint8_t transparent)
{
    s.u8(1);
    s.u16(image.width);
    s.u16(image.height);
    s.u8(image.compressed ? 1 : 0);
    const auto rows = storedRows(image);
    s.dataBlock(image.compressed ? compress(rows, image.mode) : rows);
    const auto region = regionData(image, transparent);
    const auto packed = compress(region);
    s.u32(uint32_t(packed.size()));
    s.u32(uint32_t(region.size()));
    s.raw(packed);
}

Block writeBlockList(Sink &s, const std::vector<Block> &blocks)
{
    const uint32_t start = s.size();
    s.u32(uint32_t(blocks.size()));
    for (const auto &b : blocks) {
        s.block(b);
        s.u32(0x5eed0000u + b.offset); // the checksum is not checked by readers
    }
    return s.since(start);
}

void writeVoice(Sink &s, const acs::VoiceInfo &voice)
{
    s.raw(voice.engineId);
    s.raw(voice.modeId);
    s.u32(voice.speed);
    s.u16(voice.pitch);
    s.u8(voice.language ? 1 : 0);
    if (voice.language) {
        s.u16(*voice.language);
        s.string(voice.dialect);
        s.u16(voice.gender);
        s.u16(voice.age);
        s.string(voice.style);
    }
}

void writeBalloon(Sink &s, const acs::BalloonInfo &balloon)
{
    s.u8(balloon.lines);
    s.u8(balloon.charactersPerLine);
    s.colorRef(balloon.text);
    s.colorRef(balloon.background);
    s.colorRef(balloon.border);
    s.string(balloon.fontName);
    s.u32(uint32_t(balloon.fontHeight));
    s.u32(uint32_t(balloon.fontWeight));
    s.u8(balloon.italic ? 1 : 0);
    s.u8(0);
}

void writeStates(Sink &s, const std::vector<acs::State> &states)
{
    s.u16(uint16_t(states.size()));
    for (const auto &state : states) {
        s.string(state.name);
        s.u16(uint16_t(state.animations.size()));
        for (const auto &name : state.animations)
            s.string(name);
    }
}

// Returns the offset of the localized-info locator, patched once it is known.
uint32_t writeCharacterInfo(Sink &s, const CharacterSpec &spec)
{
    s.u16(1);
    s.u16(spec.majorVersion);
    const uint32_t localizedLocator = s.size();
    s.block({});
    s.raw(spec.guid);
    s.u16(spec.width);
    s.u16(spec.height);
    s.u8(spec.transparentIndex);
    s.u32(spec.extraFlags | (spec.voice ? voiceFlag : 0) | (spec.balloon ? balloonFlag : 0));
    s.u16(2);
    s.u16(0);
    if (spec.voice) writeVoice(s, *spec.voice);
    if (spec.balloon) writeBalloon(s, *spec.balloon);
    s.u32(uint32_t(spec.palette.size()));
    for (const auto &c : spec.palette)
        s.rgbQuad(c);
    s.u8(spec.trayIcon ? 1 : 0);
    if (spec.trayIcon) {
        s.dataBlock(spec.trayIcon->maskDib);
        s.dataBlock(spec.trayIcon->colorDib);
    }
    writeStates(s, spec.states);
    return localizedLocator;
}

void writeLocalizedInfo(Sink &s, const std::vector<acs::LocalizedInfo> &entries)
{
    s.u16(uint16_t(entries.size()));
    for (const auto &entry : entries) {
        s.u16(entry.language);
        s.string(entry.name);
        s.string(entry.description);
        s.string(entry.extraData);
    }
}

} // namespace

std::vector<uint8_t> storedRows(const ImageSpec &image)
{
    const size_t stride = (size_t(image.width) + 3) & ~size_t(3);
    std::vector<uint8_t> rows(stride * image.height, 0);
    for (size_t y = 0; y < image.height; ++y) {
        const auto *source = image.pixels.data() + y * image.width;
        std::copy(source, source + image.width, rows.data() + (image.height - 1 - y) * stride);
    }
    return rows;
}

Written write(const CharacterSpec &spec)
{
    Sink s;
    Layout layout;
    s.bytes.resize(headerSize);
    for (const auto &animation : spec.animations) {
        const uint32_t start = s.size();
        writeAnimation(s, animation);
        layout.animations.push_back(s.since(start));
    }
    for (const auto &image : spec.images) {
        const uint32_t start = s.size();
        writeImage(s, image, spec.transparentIndex);
        layout.images.push_back(s.since(start));
    }
    for (const auto &sound : spec.sounds) {
        layout.sounds.push_back({s.size(), uint32_t(sound.size())});
        s.raw(sound);
    }

    uint32_t start = s.size();
    s.u32(uint32_t(spec.animations.size()));
    for (size_t i = 0; i < spec.animations.size(); ++i) {
        s.string(spec.animations[i].name);
        s.block(layout.animations[i]);
    }
    layout.animationList = s.since(start);
    layout.imageList = writeBlockList(s, layout.images);
    layout.audioList = writeBlockList(s, layout.sounds);

    start = s.size();
    const uint32_t localizedLocator = writeCharacterInfo(s, spec);
    const uint32_t localizedStart = s.size();
    writeLocalizedInfo(s, spec.localized);
    layout.localizedInfo = s.since(localizedStart);
    layout.characterInfo = s.since(start);
    poke32(s.bytes, localizedLocator, layout.localizedInfo.offset);
    poke32(s.bytes, localizedLocator + 4, layout.localizedInfo.size);

    const Block header[] = {layout.characterInfo, layout.animationList, layout.imageList, layout.audioList};
    poke32(s.bytes, 0, signature);
    for (size_t i = 0; i < 4; ++i) {
        poke32(s.bytes, 4 + i * 8, header[i].offset);
        poke32(s.bytes, 8 + i * 8, header[i].size);
    }
    return {std::move(s.bytes), std::move(layout)};
}

std::vector<uint8_t> wav(std::span<const uint8_t> samples, uint32_t sampleRate)
{
    Sink s;
    s.raw(std::vector<uint8_t>{'R', 'I', 'F', 'F'});
    s.u32(uint32_t(36 + samples.size()));
    s.raw(std::vector<uint8_t>{'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    s.u32(16);
    s.u16(1);
    s.u16(1);
    s.u32(sampleRate);
    s.u32(sampleRate);
    s.u16(1);
    s.u16(8);
    s.raw(std::vector<uint8_t>{'d', 'a', 't', 'a'});
    s.u32(uint32_t(samples.size()));
    s.raw(samples);
    return s.bytes;
}

void poke16(std::vector<uint8_t> &bytes, size_t offset, uint16_t value)
{
    bytes.at(offset) = uint8_t(value);
    bytes.at(offset + 1) = uint8_t(value >> 8);
}

void poke32(std::vector<uint8_t> &bytes, size_t offset, uint32_t value)
{
    poke16(bytes, offset, uint16_t(value));
    poke16(bytes, offset + 2, uint16_t(value >> 16));
}

} // namespace acswriter
