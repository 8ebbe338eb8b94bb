// Reading the seven arguments of a message method.
#pragma once

#include "balloonstyle.h"

#include <component/contract.h>

#include <variant>

namespace balloon
{

// The request the arguments describe, or the error to report for them.
std::variant<BalloonRequest, component::DispatchError> readMessageArguments(component::Method method,
                                                                            const component::Args &args);

} // namespace balloon
