#include "buttonset.h"

#include <algorithm>
#include <array>
#include <vector>

namespace balloon
{

namespace
{

struct ButtonText {
    ButtonKind kind;
    const char *key;
    const char *english;
    const char *russian;
};

constexpr std::array<ButtonText, 15> buttonTexts{{
    {ButtonKind::Ok, "Ok", "Ok", "ОК"},
    {ButtonKind::Cancel, "Cancel", "Cancel", "Отмена"},
    {ButtonKind::Abort, "Abort", "Abort", "Прервать"},
    {ButtonKind::Retry, "Retry", "Retry", "Повтор"},
    {ButtonKind::Ignore, "Ignore", "Ignore", "Пропустить"},
    {ButtonKind::Yes, "Yes", "Yes", "Да"},
    {ButtonKind::No, "No", "No", "Нет"},
    {ButtonKind::Back, "Back", "Back", "Назад"},
    {ButtonKind::Next, "Next", "Next", "Далее"},
    {ButtonKind::Close, "Close", "Close", "Закрыть"},
    {ButtonKind::Snooze, "Snooze", "Snooze", "Отложить"},
    {ButtonKind::Find, "Find", "Find", "Найти"},
    {ButtonKind::Tips, "Tips", "Tips", "Советы"},
    {ButtonKind::Options, "Options", "Options", "Параметры"},
    {ButtonKind::YesForAll, "YesForAll", "Yes for all", "Да для всех"},
}};

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

const ButtonText &textOf(ButtonKind kind)
{
    return buttonTexts[static_cast<size_t>(kind) - 1];
}

} // namespace

std::span<const ButtonKind> buttonSet(int buttonsType)
{
    if (buttonsType < 0 || buttonsType >= buttonSetCount) return {};
    return buttonSets[static_cast<size_t>(buttonsType)];
}

QString buttonCaption(ButtonKind kind, Language language)
{
    const ButtonText &t = textOf(kind);
    return QString::fromUtf8(language == Language::Russian ? t.russian : t.english);
}

QString buttonKeyName(ButtonKind kind)
{
    return QString::fromLatin1(textOf(kind).key);
}

int escapeButton(std::span<const ButtonKind> set)
{
    for (ButtonKind preferred : escapePreference)
        if (std::find(set.begin(), set.end(), preferred) != set.end()) return static_cast<int>(preferred);
    return 0;
}

} // namespace balloon
