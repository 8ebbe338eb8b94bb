// Reading the arguments of a dispatch call the way every member here does:
// the count first, then each argument's type, each failure a contract error.
#pragma once

#include "component/dispatch.h"

#include <optional>

namespace agent::dispatchargs
{

inline std::optional<component::DispatchError> expectCount(const component::Args &args, size_t least,
                                                           size_t most)
{
    if (args.size() < least || args.size() > most) return component::error::wrongArgCount();
    return std::nullopt;
}

// Integer and Long both serve as a number.
inline std::optional<int32_t> integer(const component::Arg &arg)
{
    return component::asLong(arg);
}

inline std::optional<QString> string(const component::Arg &arg)
{
    return component::as<QString>(arg);
}

} // namespace agent::dispatchargs
