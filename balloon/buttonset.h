// The balloon's button sets and the numbers the methods return in Button.
//
//   Button  kind          English        Russian
//    0      (none)        closed without a button: a click on a balloon
//                         without buttons, or Esc where no button is cancel-like
//    1      Ok            "Ok"           "ОК"
//    2      Cancel        "Cancel"       "Отмена"
//    3      Abort         "Abort"        "Прервать"
//    4      Retry         "Retry"        "Повтор"
//    5      Ignore        "Ignore"       "Пропустить"
//    6      Yes           "Yes"          "Да"
//    7      No            "No"           "Нет"
//    8      Back          "Back"         "Назад"
//    9      Next          "Next"         "Далее"
//   10      Close         "Close"        "Закрыть"
//   11      Snooze        "Snooze"       "Отложить"
//   12      Find          "Find"         "Найти"
//   13      Tips          "Tips"         "Советы"
//   14      Options       "Options"      "Параметры"
//   15      YesForAll     "Yes for all"  "Да для всех"
//
// Esc closes with the first of Cancel, Close, No, Snooze, Ok that the set
// has, else with 0 (so Abort, Retry, Ignore is never answered by Esc).
#pragma once

#include <QString>

#include <span>

namespace balloon
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

enum class Language { Russian = 100, English = 200 };

inline constexpr int buttonSetCount = 15; // ButtonsType 0..14

// The buttons of one set in the order shown; empty for set 0 and for an
// index out of range.
std::span<const ButtonKind> buttonSet(int buttonsType);

QString buttonCaption(ButtonKind kind, Language language);

// An ASCII name for object names and tests: "Ok", "YesForAll".
QString buttonKeyName(ButtonKind kind);

// What Esc answers for a set: the number of its cancel-like button, or 0.
int escapeButton(std::span<const ButtonKind> set);

} // namespace balloon
