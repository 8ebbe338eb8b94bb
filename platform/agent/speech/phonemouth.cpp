#include "phonemouth.h"

#include <array>

namespace speech
{

namespace
{

using acs::MouthShape;

struct PhoneMouth {
    std::string_view phone;
    MouthShape shape;
};

// Lips together for silence and m/b/p, rounded for o/u/w, open in four
// steps for the vowels by how far the jaw drops, medium for the rest.
constexpr std::array<PhoneMouth, 41> Table{{
    {"pau", MouthShape::Closed}, {"h#", MouthShape::Closed}, {"m", MouthShape::Closed},
    {"b", MouthShape::Closed},   {"p", MouthShape::Closed},  {"aa", MouthShape::Wide4},
    {"ae", MouthShape::Wide4},   {"aw", MouthShape::Wide3},  {"ay", MouthShape::Wide3},
    {"ah", MouthShape::Wide3},   {"eh", MouthShape::Wide2},  {"ax", MouthShape::Wide2},
    {"ey", MouthShape::Wide2},   {"ih", MouthShape::Wide1},  {"iy", MouthShape::Wide1},
    {"y", MouthShape::Wide1},    {"er", MouthShape::Narrow}, {"axr", MouthShape::Narrow},
    {"ao", MouthShape::Narrow},  {"ow", MouthShape::Narrow}, {"oy", MouthShape::Narrow},
    {"uh", MouthShape::Narrow},  {"uw", MouthShape::Narrow}, {"w", MouthShape::Narrow},
    {"r", MouthShape::Narrow},   {"ch", MouthShape::Medium}, {"d", MouthShape::Medium},
    {"dh", MouthShape::Medium},  {"f", MouthShape::Medium},  {"g", MouthShape::Medium},
    {"hh", MouthShape::Medium},  {"jh", MouthShape::Medium}, {"k", MouthShape::Medium},
    {"l", MouthShape::Medium},   {"n", MouthShape::Medium},  {"ng", MouthShape::Medium},
    {"s", MouthShape::Medium},   {"sh", MouthShape::Medium}, {"t", MouthShape::Medium},
    {"th", MouthShape::Medium},  {"v", MouthShape::Medium},
}};

} // namespace

acs::MouthShape mouthForPhone(std::string_view phone)
{
    for (const PhoneMouth &entry : Table)
        if (entry.phone == phone) return entry.shape;
    return MouthShape::Medium;
}

} // namespace speech
