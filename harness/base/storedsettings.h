// The named values stored with Vellix1 and handed to it at creation.
#pragma once

#include "component/contract.h"
#include "programdescription.h"

namespace harness
{

component::NamedValues storedSettings(const ProgramDescription &program);

} // namespace harness
