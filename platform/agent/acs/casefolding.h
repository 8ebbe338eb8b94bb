// Unicode simple case folding, so names compare case-insensitively in any script.
#pragma once

#include <cstddef>
#include <cstdint>

namespace acs::detail
{

struct CaseFoldRange {
    char32_t first;
    char32_t last;
    int32_t delta;
    int32_t stride; // 1: every code point in the range folds; 2: every other one
};

// Sorted by `first`, ranges do not overlap.
extern const CaseFoldRange caseFoldRanges[];
extern const size_t caseFoldRangeCount;

char32_t foldCodePoint(char32_t code);

} // namespace acs::detail
