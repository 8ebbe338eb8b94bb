// The balloon's buttons: the number each kind answers in MsgResult.Button,
// its caption in both languages (what a host or an assistive tool sees), and
// the fifteen sets ButtonsType chooses from.
//
// Esc closes with the first of Cancel, Close, No, Snooze, Ok that the set
// has, else with 0 (so Abort, Retry, Ignore is never answered by Esc).
#pragma once

#include "contract.h"

#include <QString>

#include <algorithm>
#include <array>
#include <span>
#include <string_view>

namespace component
{

enum class ButtonKind {
    Ok = 1,
    Cancel = 2,
    Abort = 3,
    Retry = 4,
    Ignore = 5,
    Yes = 6,
    No = 7,
    Back = 8,
    Next = 9,
    Close = 10,
    Snooze = 11,
    Find = 12,
    Tips = 13,
    Options = 14,
    YesForAll = 15,
};

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

// The entry of a kind: the table is in number order from 1.
constexpr const ButtonCaption &captionOf(ButtonKind kind)
{
    return buttonCaptions[static_cast<size_t>(kind) - 1];
}

// Each kind sits at its own number under its own key; a shift in either
// list stops the build.
constexpr bool tableMatchesKinds()
{
    for (size_t i = 0; i < buttonCaptions.size(); ++i)
        if (buttonCaptions[i].number != int(i + 1)) return false;
    using K = ButtonKind;
    constexpr std::pair<K, std::string_view> named[]{
        {K::Ok, "Ok"},       {K::Cancel, "Cancel"},   {K::Abort, "Abort"},
        {K::Retry, "Retry"}, {K::Ignore, "Ignore"},   {K::Yes, "Yes"},
        {K::No, "No"},       {K::Back, "Back"},       {K::Next, "Next"},
        {K::Close, "Close"}, {K::Snooze, "Snooze"},   {K::Find, "Find"},
        {K::Tips, "Tips"},   {K::Options, "Options"}, {K::YesForAll, "YesForAll"}};
    for (const auto &[kind, key] : named)
        if (captionOf(kind).key != key) return false;
    return std::size(named) == buttonCaptions.size();
}
static_assert(tableMatchesKinds(), "ButtonKind and buttonCaptions disagree");

// The entry for a button number; none for 0 and numbers out of the table.
inline const ButtonCaption *findButtonCaption(int number)
{
    for (const ButtonCaption &c : buttonCaptions)
        if (c.number == number) return &c;
    return nullptr;
}

inline QString buttonCaption(ButtonKind kind, Language language)
{
    const ButtonCaption &c = captionOf(kind);
    const std::string_view caption = language == Language::Russian ? c.russian : c.english;
    return QString::fromUtf8(caption.data(), qsizetype(caption.size()));
}

// An ASCII name for object names and tests: "Ok", "YesForAll".
inline QString buttonKeyName(ButtonKind kind)
{
    const std::string_view key = captionOf(kind).key;
    return QString::fromLatin1(key.data(), qsizetype(key.size()));
}

// One set: its buttons in the order shown.
struct ButtonSet {
    std::array<ButtonKind, 4> kinds;
    size_t count;
    constexpr std::span<const ButtonKind> buttons() const { return {kinds.data(), count}; }
};

namespace detail
{
template <typename... Kinds> constexpr ButtonSet setOf(Kinds... kinds)
{
    return {{kinds...}, sizeof...(kinds)};
}
} // namespace detail

// ButtonsType 0..14; set 0 has no buttons.
inline constexpr std::array<ButtonSet, 15> buttonSets = [] {
    using K = ButtonKind;
    using detail::setOf;
    return std::array<ButtonSet, 15>{
        setOf(),
        setOf(K::Abort, K::Retry, K::Ignore),
        setOf(K::Back, K::Close),
        setOf(K::Back, K::Next, K::Close),
        setOf(K::Back, K::Next, K::Snooze),
        setOf(K::Cancel),
        setOf(K::Next, K::Close),
        setOf(K::Ok),
        setOf(K::Ok, K::Cancel),
        setOf(K::Retry, K::Cancel),
        setOf(K::Find, K::Close),
        setOf(K::Tips, K::Options, K::Close),
        setOf(K::Yes, K::YesForAll, K::No, K::Cancel),
        setOf(K::Yes, K::No, K::Cancel),
        setOf(K::Yes, K::No),
    };
}();
inline constexpr int buttonSetCount = int(buttonSets.size());

// The buttons of one set in the order shown; empty for set 0 and for an
// index out of range.
constexpr std::span<const ButtonKind> buttonSet(int buttonsType)
{
    if (buttonsType < 0 || buttonsType >= buttonSetCount) return {};
    return buttonSets[size_t(buttonsType)].buttons();
}

// What Esc answers for a set: the number of its cancel-like button, or 0.
constexpr int escapeButton(std::span<const ButtonKind> set)
{
    using K = ButtonKind;
    for (K preferred : {K::Cancel, K::Close, K::No, K::Snooze, K::Ok})
        if (std::find(set.begin(), set.end(), preferred) != set.end()) return int(preferred);
    return 0;
}

} // namespace component
