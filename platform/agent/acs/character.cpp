// Loading, lookups, the image cache and sounds.
#include "characterdata.h"

#include <cerrno>
#include <cstring>
#include <fstream>

namespace acs
{

namespace
{

constexpr std::u16string_view restPoseName = u"RESTPOSE";
// Decoded images are kept for the character's life; a hostile file of many
// highly compressible images must not be able to grow the cache without end.
constexpr size_t maxCachedBytes = size_t(256) << 20;
// Real files are a few megabytes; this refuses a wrong pick before reading it all.
constexpr uintmax_t maxFileSize = uintmax_t(256) << 20;

template <typename Entry> const Entry *pickLanguage(const std::vector<Entry> &entries, LanguageId language)
{
    constexpr LanguageId primaryMask = 0x3ff;
    for (const auto &entry : entries) {
        if ((entry.language & primaryMask) == (language & primaryMask)) return &entry;
    }
    return entries.empty() ? nullptr : &entries.front();
}

} // namespace

Character::Character(std::shared_ptr<Data> data) : data_(std::move(data)) {}

Result<Character> Character::load(std::span<const uint8_t> bytes)
{
    return load(std::vector<uint8_t>(bytes.begin(), bytes.end()));
}

Result<Character> Character::load(std::vector<uint8_t> &&bytes)
{
    auto data = std::make_shared<Data>();
    data->bytes = std::move(bytes);
    if (auto error = detail::parseCharacter(*data)) return std::move(*error);
    data->imageCache.resize(data->images.size());
    data->argbByIndex.fill(Color{}.argb());
    for (size_t i = 0; i < data->palette.size(); ++i)
        data->argbByIndex[i] = data->palette[i].argb();
    return Character(std::move(data));
}

Result<Character> Character::loadFile(const std::filesystem::path &path)
{
    std::string name = "\"";
    name += path.string();
    name += '"';
    std::error_code code;
    const auto status = std::filesystem::status(path, code);
    if (!std::filesystem::exists(status)) return Error{"cannot open " + name + ": no such file"};
    if (!std::filesystem::is_regular_file(status))
        return Error{"cannot open " + name + ": not a regular file"};
    const uintmax_t size = std::filesystem::file_size(path, code);
    if (code) return Error{"cannot read " + name + ": " + code.message()};
    if (size > maxFileSize)
        return Error{"cannot load " + name + ": " + std::to_string(size) +
                     " bytes is more than a character file holds"};
    std::ifstream in(path, std::ios::binary);
    if (!in) return Error{"cannot open " + name + ": " + std::strerror(errno)};
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    if (!in.read(reinterpret_cast<char *>(bytes.data()), std::streamsize(size)))
        return Error{"cannot read " + name};
    return load(std::move(bytes));
}

Size Character::frameSize() const
{
    return data_->frameSize;
}
const std::vector<Color> &Character::palette() const
{
    return data_->palette;
}
uint8_t Character::transparentIndex() const
{
    return data_->transparentIndex;
}
const std::array<uint8_t, 16> &Character::guid() const
{
    return data_->guid;
}
uint32_t Character::flags() const
{
    return data_->flags;
}
const std::vector<LocalizedInfo> &Character::localizedInfo() const
{
    return data_->localized;
}
const std::optional<VoiceInfo> &Character::voice() const
{
    return data_->voice;
}
const std::optional<BalloonInfo> &Character::balloon() const
{
    return data_->balloon;
}
const std::optional<TrayIcon> &Character::trayIcon() const
{
    return data_->trayIcon;
}
const std::vector<State> &Character::states() const
{
    return data_->states;
}
size_t Character::animationCount() const
{
    return data_->animations.size();
}
const Animation &Character::animationAt(size_t index) const
{
    return data_->animations.at(index);
}
size_t Character::imageCount() const
{
    return data_->images.size();
}
size_t Character::soundCount() const
{
    return data_->sounds.size();
}

std::u16string Character::name(LanguageId language) const
{
    const auto *entry = pickLanguage(data_->localized, language);
    return entry ? entry->name : std::u16string();
}

std::u16string Character::description(LanguageId language) const
{
    const auto *entry = pickLanguage(data_->localized, language);
    return entry ? entry->description : std::u16string();
}

const State *Character::state(std::u16string_view name) const
{
    for (const auto &state : data_->states) {
        if (namesEqual(state.name, name)) return &state;
    }
    return nullptr;
}

const State *Character::state(std::string_view asciiName) const
{
    return state(detail::fromAscii(asciiName));
}

std::vector<std::u16string> Character::animationNames() const
{
    std::vector<std::u16string> names;
    names.reserve(data_->animations.size());
    for (const auto &animation : data_->animations)
        names.push_back(animation.name);
    return names;
}

std::optional<size_t> Character::animationIndex(std::u16string_view name) const
{
    const auto found = data_->animationByFoldedName.find(detail::foldName(name));
    if (found == data_->animationByFoldedName.end()) return std::nullopt;
    return found->second;
}

const Animation *Character::animation(std::u16string_view name) const
{
    const auto index = animationIndex(name);
    return index ? &data_->animations[*index] : nullptr;
}

const Animation *Character::animation(std::string_view asciiName) const
{
    return animation(detail::fromAscii(asciiName));
}

const Animation *Character::restPose() const
{
    return animation(restPoseName);
}

const Animation *Character::returnAnimationOf(const Animation &animation) const
{
    if (animation.transition != Transition::ReturnAnimation || animation.returnAnimation.empty())
        return nullptr;
    return this->animation(animation.returnAnimation);
}

Result<const Image *> Character::image(size_t index) const
{
    if (index >= data_->images.size())
        return Error{"image " + std::to_string(index) + " is out of range (" +
                     std::to_string(data_->images.size()) + ")"};
    std::lock_guard lock(data_->cacheMutex);
    auto &slot = data_->imageCache[index];
    if (!slot) {
        auto decoded = detail::decodeImage(data_->bytes, data_->images[index], index);
        if (!decoded) return decoded.error();
        if (data_->cachedBytes + decoded->indices.size() > maxCachedBytes)
            return Error{"image " + std::to_string(index) + ": decoded images would exceed " +
                             std::to_string(maxCachedBytes >> 20) + " MB",
                         data_->images[index].offset};
        data_->cachedBytes += decoded->indices.size();
        slot = std::make_unique<Image>(std::move(*decoded));
    }
    return static_cast<const Image *>(slot.get());
}

Result<std::span<const uint8_t>> Character::sound(size_t index) const
{
    if (index >= data_->sounds.size())
        return Error{"sound " + std::to_string(index) + " is out of range (" +
                     std::to_string(data_->sounds.size()) + ")"};
    const auto where = data_->sounds[index];
    const auto bytes = std::span<const uint8_t>(data_->bytes).subspan(where.offset, where.size);
    constexpr std::string_view riff = "RIFF", wave = "WAVE";
    if (bytes.size() < 12 || !std::equal(riff.begin(), riff.end(), bytes.begin()) ||
        !std::equal(wave.begin(), wave.end(), bytes.begin() + 8))
        return Error{"sound " + std::to_string(index) + ": not a RIFF WAVE file", where.offset};
    return bytes;
}

} // namespace acs
