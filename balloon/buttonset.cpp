#include "buttonset.h"

#include "component/buttoncaptions.h"

#include <algorithm>
#include <array>
#include <vector>

namespace balloon
{

namespace
{

using K = ButtonKind;
const std::array<std::vector<ButtonKind>, buttonSetCount> buttonSets{{
    {},
    {K::Abort, K::Retry, K::Ignore},
    {K::Back, K::Close},
    {K::Back, K::Next, K::Close},
    {K::Back, K::Next, K::Snooze},
    {K::Cancel},
    {K::Next, K::Close},
    {K::Ok},
    {K::Ok, K::Cancel},
    {K::Retry, K::Cancel},
    {K::Find, K::Close},
    {K::Tips, K::Options, K::Close},
    {K::Yes, K::YesForAll, K::No, K::Cancel},
    {K::Yes, K::No, K::Cancel},
    {K::Yes, K::No},
}};

constexpr std::array<ButtonKind, 5> escapePreference{K::Cancel, K::Close, K::No, K::Snooze, K::Ok};

const component::ButtonCaption &textOf(ButtonKind kind)
{
    return component::buttonCaptions[static_cast<size_t>(kind) - 1];
}

} // namespace

std::span<const ButtonKind> buttonSet(int buttonsType)
{
    if (buttonsType < 0 || buttonsType >= buttonSetCount) return {};
    return buttonSets[static_cast<size_t>(buttonsType)];
}

QString buttonCaption(ButtonKind kind, Language language)
{
    const component::ButtonCaption &t = textOf(kind);
    const std::string_view caption = language == Language::Russian ? t.russian : t.english;
    return QString::fromUtf8(caption.data(), qsizetype(caption.size()));
}

QString buttonKeyName(ButtonKind kind)
{
    const std::string_view key = textOf(kind).key;
    return QString::fromLatin1(key.data(), qsizetype(key.size()));
}

int escapeButton(std::span<const ButtonKind> set)
{
    for (ButtonKind preferred : escapePreference)
        if (std::find(set.begin(), set.end(), preferred) != set.end()) return static_cast<int>(preferred);
    return 0;
}

} // namespace balloon
