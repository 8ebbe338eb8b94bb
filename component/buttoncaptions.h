// The number each kind of balloon button answers in MsgResult.Button and its
// caption in both languages: what a host or an assistive tool sees.
#pragma once

#include <array>
#include <string_view>

namespace component
{

struct ButtonCaption {
    int number;
    std::string_view key; // ASCII, for object names and tests
    std::string_view english;
    std::string_view russian; // UTF-8
};

inline constexpr std::array<ButtonCaption, 15> buttonCaptions{{
    {1, "Ok", "Ok", "ОК"},
    {2, "Cancel", "Cancel", "Отмена"},
    {3, "Abort", "Abort", "Прервать"},
    {4, "Retry", "Retry", "Повтор"},
    {5, "Ignore", "Ignore", "Пропустить"},
    {6, "Yes", "Yes", "Да"},
    {7, "No", "No", "Нет"},
    {8, "Back", "Back", "Назад"},
    {9, "Next", "Next", "Далее"},
    {10, "Close", "Close", "Закрыть"},
    {11, "Snooze", "Snooze", "Отложить"},
    {12, "Find", "Find", "Найти"},
    {13, "Tips", "Tips", "Советы"},
    {14, "Options", "Options", "Параметры"},
    {15, "YesForAll", "Yes for all", "Да для всех"},
}};

// The entry for a button number; none for 0 and numbers out of the table.
inline const ButtonCaption *findButtonCaption(int number)
{
    for (const ButtonCaption &c : buttonCaptions)
        if (c.number == number) return &c;
    return nullptr;
}

} // namespace component
