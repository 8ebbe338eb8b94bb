// Loading, lookups, the image cache and sounds.
#include "characterdata.h"

#include <new>

namespace acs
{

namespace
{

constexpr std::u16string_view restPoseName = u"RESTPOSE";

template <typename Entry> const Entry *pickLanguage(const std::vector<Entry> &entries, LanguageId language)
{
    constexpr LanguageId primaryMask = 0x3ff;
    for (const auto &entry : entries) {
        if ((entry.language & primaryMask) == (language & primaryMask)) return &entry;
    }
    return entries.empty() ? nullptr : &entries.front();
}

} // namespace

Character::Character(std::shared_ptr<Data> data) : m_data(std::move(data)) {}

Result<Character> Character::load(std::span<const uint8_t> bytes)
{
    return load(std::vector<uint8_t>(bytes.begin(), bytes.end()));
}

Result<Character> Character::load(std::vector<uint8_t> &&bytes)
{
    auto data = std::make_shared<Data>();
    auto held = std::make_shared<const std::vector<uint8_t>>(std::move(bytes));
    data->bytes = *held;
    data->storage = std::move(held);
    return parse(std::move(data));
}

Result<Character> Character::loadFile(const std::filesystem::path &path)
{
    auto file = detail::readFileBytes(path, limits::fileBytes);
    if (!file) return file.error();
    auto data = std::make_shared<Data>();
    data->bytes = file->bytes;
    data->storage = std::move(file->storage);
    return parse(std::move(data));
}

Result<Character> Character::parse(std::shared_ptr<Data> data)
{
    // The limits refuse what would not fit long before this; should memory
    // still run out, say what was being read rather than what the library threw.
    try {
        if (auto error = detail::parseCharacter(*data)) return std::move(*error);
    } catch (const std::bad_alloc &) {
        return Error{std::string(data->step) + ": not enough memory to read it"};
    }
    data->argbByIndex.fill(Color{}.argb());
    for (size_t i = 0; i < data->palette.size(); ++i)
        data->argbByIndex[i] = data->palette[i].argb();
    return Character(std::move(data));
}

Size Character::frameSize() const
{
    return m_data->frameSize;
}
const std::vector<Color> &Character::palette() const
{
    return m_data->palette;
}
uint8_t Character::transparentIndex() const
{
    return m_data->transparentIndex;
}
const std::array<uint8_t, 16> &Character::guid() const
{
    return m_data->guid;
}
uint32_t Character::flags() const
{
    return m_data->flags;
}
const std::vector<LocalizedInfo> &Character::localizedInfo() const
{
    return m_data->localized;
}
const std::optional<VoiceInfo> &Character::voice() const
{
    return m_data->voice;
}
const std::optional<BalloonInfo> &Character::balloon() const
{
    return m_data->balloon;
}
const std::optional<TrayIcon> &Character::trayIcon() const
{
    return m_data->trayIcon;
}
const std::vector<State> &Character::states() const
{
    return m_data->states;
}
size_t Character::animationCount() const
{
    return m_data->animations.size();
}
const Animation &Character::animationAt(size_t index) const
{
    return m_data->animations.at(index);
}
size_t Character::imageCount() const
{
    return m_data->images.size();
}
size_t Character::soundCount() const
{
    return m_data->sounds.size();
}

std::u16string Character::name(LanguageId language) const
{
    const auto *entry = pickLanguage(m_data->localized, language);
    return entry ? entry->name : std::u16string();
}

std::u16string Character::description(LanguageId language) const
{
    const auto *entry = pickLanguage(m_data->localized, language);
    return entry ? entry->description : std::u16string();
}

const State *Character::state(std::u16string_view name) const
{
    for (const auto &state : m_data->states) {
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
    names.reserve(m_data->animations.size());
    for (const auto &animation : m_data->animations)
        names.push_back(animation.name);
    return names;
}

std::optional<size_t> Character::animationIndex(std::u16string_view name) const
{
    const auto found = m_data->animationByFoldedName.find(detail::foldName(name));
    if (found == m_data->animationByFoldedName.end()) return std::nullopt;
    return found->second;
}

const Animation *Character::animation(std::u16string_view name) const
{
    const auto index = animationIndex(name);
    return index ? &m_data->animations[*index] : nullptr;
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

Result<std::shared_ptr<const Image>> Character::image(size_t index) const
{
    if (index >= m_data->images.size())
        return Error{"image " + std::to_string(index) + " is out of range (" +
                     std::to_string(m_data->images.size()) + ")"};
    std::lock_guard lock(m_data->cacheMutex);
    if (auto cached = m_data->imageCache.find(index)) return cached;
    const detail::Locator where = m_data->images[index];
    // Room is made before decoding, so the cache never holds more than its limit.
    m_data->imageCache.makeRoom(detail::statedImageSize(m_data->bytes, where));
    auto decoded = detail::decodeImage(m_data->bytes, where, index);
    if (!decoded) return decoded.error();
    auto image = std::make_shared<const Image>(std::move(*decoded));
    m_data->imageCache.insert(index, image);
    return image;
}

void Character::setImageCacheLimit(size_t bytes) const
{
    std::lock_guard lock(m_data->cacheMutex);
    m_data->imageCache.setLimit(bytes);
}

size_t Character::imageCacheLimit() const
{
    std::lock_guard lock(m_data->cacheMutex);
    return m_data->imageCache.limit();
}

size_t Character::imageCacheBytes() const
{
    std::lock_guard lock(m_data->cacheMutex);
    return m_data->imageCache.bytes();
}

Result<std::span<const uint8_t>> Character::sound(size_t index) const
{
    if (index >= m_data->sounds.size())
        return Error{"sound " + std::to_string(index) + " is out of range (" +
                     std::to_string(m_data->sounds.size()) + ")"};
    const auto where = m_data->sounds[index];
    const auto bytes = m_data->bytes.subspan(where.offset, where.size);
    constexpr std::string_view riff = "RIFF", wave = "WAVE";
    if (bytes.size() < 12 || !std::equal(riff.begin(), riff.end(), bytes.begin()) ||
        !std::equal(wave.begin(), wave.end(), bytes.begin() + 8))
        return Error{"sound " + std::to_string(index) + ": not a RIFF WAVE file", where.offset};
    return bytes;
}

} // namespace acs
