// The picture imgCustomIcon holds until the user picks an icon file.
#pragma once

#include "component/value.h"

namespace harness
{

component::Picture defaultCustomIcon();

} // namespace harness
