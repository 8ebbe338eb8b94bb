// One walk over a character that drives every part of the decoder reading
// file data: loading, every image, every frame composed with and without a
// mouth overlay, what plays next, return animations, sounds and names.
// The fuzzer and the corruption tests share it, so both reach the same code.
#pragma once

#include "acs.h"

#include <string>

namespace acswalk
{

// The first error met (as Error::describe() gives it), or an empty string.
std::string walk(std::span<const uint8_t> bytes);

} // namespace acswalk
