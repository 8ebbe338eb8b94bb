// Which mouth shape a character shows for each phone of speech. The phones
// are those of the synthesiser's US English phone set.
#pragma once

#include "acs.h"

#include <string_view>

namespace speech
{

// Unknown phones get the medium shape, the one that fits most sounds.
acs::MouthShape mouthForPhone(std::string_view phone);

} // namespace speech
