// Errors that say what was wrong: which member or argument, the value that
// came and what it may be. The numbers are the stock ones; the descriptions
// start with the stock text.
#pragma once

#include <component/contract.h>

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcBalloon)

namespace balloon
{

using component::IntRange;

// "Invalid property value: <what> must be 0 to 4 and was 7"
component::DispatchError outOfRange(const QString &what, const IntRange &range, int32_t value);
// "Type mismatch: <what> must be <wanted> and was <came>"
component::DispatchError wrongType(const QString &what, const QString &wanted, component::ValueType came);
// "Wrong number of arguments or invalid property assignment: <what> takes
// <wanted> and was given <count>"
component::DispatchError wrongCount(const QString &what, const QString &wanted, size_t count);
// "Object doesn't support this property or method: <why>"
component::DispatchError unsupported(const QString &why);

// The name of a type with its article, for descriptions: "a Long".
QString typePhrase(component::ValueType type);

// An identifier as the descriptions show it: 0x68030000.
QString idText(component::DispId id);

} // namespace balloon
