// Text helpers: UTF-8 conversion, case folding and names fit for messages.
#include "casefolding.h"
#include "characterdata.h"

#include <algorithm>
#include <cstdio>

namespace acs
{
namespace
{

void appendUtf8(std::string &out, char32_t code)
{
    if (code < 0x80) {
        out += char(code);
    } else if (code < 0x800) {
        out += char(0xc0 | (code >> 6));
        out += char(0x80 | (code & 0x3f));
    } else if (code < 0x10000) {
        out += char(0xe0 | (code >> 12));
        out += char(0x80 | ((code >> 6) & 0x3f));
        out += char(0x80 | (code & 0x3f));
    } else {
        out += char(0xf0 | (code >> 18));
        out += char(0x80 | ((code >> 12) & 0x3f));
        out += char(0x80 | ((code >> 6) & 0x3f));
        out += char(0x80 | (code & 0x3f));
    }
}

bool isHighSurrogate(char16_t unit)
{
    return unit >= 0xd800 && unit <= 0xdbff;
}
bool isLowSurrogate(char16_t unit)
{
    return unit >= 0xdc00 && unit <= 0xdfff;
}

// Calls `visit` with each code point; unpaired surrogates come as U+FFFD.
template <typename Visit> void forEachCodePoint(std::u16string_view text, Visit visit)
{
    constexpr char32_t replacement = 0xfffd;
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (isHighSurrogate(unit) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
            visit(0x10000 + ((char32_t(unit) - 0xd800) << 10) + (char32_t(text[i + 1]) - 0xdc00));
            ++i;
        } else if (isHighSurrogate(unit) || isLowSurrogate(unit)) {
            visit(replacement);
        } else {
            visit(char32_t(unit));
        }
    }
}

void appendUtf16(std::u16string &out, char32_t code)
{
    if (code < 0x10000) {
        out += char16_t(code);
    } else {
        out += char16_t(0xd800 + ((code - 0x10000) >> 10));
        out += char16_t(0xdc00 + ((code - 0x10000) & 0x3ff));
    }
}

// Control characters, and the marks that reorder text around them.
bool needsEscape(char32_t code)
{
    return code < 0x20 || (code >= 0x7f && code < 0xa0) || code == 0x200e || code == 0x200f ||
           (code >= 0x202a && code <= 0x202e) || (code >= 0x2066 && code <= 0x2069);
}

} // namespace

std::string toUtf8(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size());
    forEachCodePoint(text, [&](char32_t code) { appendUtf8(out, code); });
    return out;
}

bool namesEqual(std::u16string_view a, std::u16string_view b)
{
    return a.size() == b.size() && detail::foldName(a) == detail::foldName(b);
}

std::string displayName(std::u16string_view name)
{
    constexpr size_t maxCodePoints = 64;
    std::string out;
    size_t shown = 0;
    forEachCodePoint(name, [&](char32_t code) {
        if (shown++ == maxCodePoints) out += "\u2026"; // an ellipsis: the name goes on
        if (shown > maxCodePoints) return;
        if (needsEscape(code)) {
            char escaped[16];
            std::snprintf(escaped, sizeof escaped, code < 0x100 ? "\\x%02x" : "\\u%04x", unsigned(code));
            out += escaped;
        } else {
            appendUtf8(out, code);
        }
    });
    return out;
}

std::string Error::describe() const
{
    if (offset == noOffset) return message;
    return message + " (offset " + detail::hex(offset) + ")";
}

namespace detail
{

char32_t foldCodePoint(char32_t code)
{
    const CaseFoldRange *end = caseFoldRanges + caseFoldRangeCount;
    const CaseFoldRange *range = std::upper_bound(
        caseFoldRanges, end, code, [](char32_t c, const CaseFoldRange &r) { return c < r.first; });
    if (range == caseFoldRanges) return code;
    --range;
    if (code > range->last || (code - range->first) % char32_t(range->stride) != 0) return code;
    return char32_t(int32_t(code) + range->delta);
}

std::u16string foldName(std::u16string_view name)
{
    std::u16string folded;
    folded.reserve(name.size());
    forEachCodePoint(name, [&](char32_t code) { appendUtf16(folded, foldCodePoint(code)); });
    return folded;
}

std::u16string fromAscii(std::string_view text)
{
    std::u16string out;
    for (unsigned char c : text)
        out += char16_t(c);
    return out;
}

} // namespace detail
} // namespace acs
