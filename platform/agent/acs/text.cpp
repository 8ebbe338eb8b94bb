#include "characterdata.h"

namespace acs
{
namespace
{

// Lower-case letter ranges and the distance to their upper case. Names in the
// files are mostly ASCII; the rest covers the scripts the localized names use.
struct FoldRange {
    char16_t first;
    char16_t last;
    char16_t down;
};
constexpr FoldRange foldRanges[] = {
    {u'a', u'z', 32},           {u'\u00e0', u'\u00f6', 32}, {u'\u00f8', u'\u00fe', 32},
    {u'\u03b1', u'\u03c1', 32}, {u'\u03c3', u'\u03c9', 32}, {u'\u0430', u'\u044f', 32},
    {u'\u0450', u'\u045f', 80},
};
constexpr char16_t greekFinalSigma = u'\u03c2';
constexpr char16_t greekCapitalSigma = u'\u03a3';

char16_t foldUnit(char16_t unit)
{
    if (unit == greekFinalSigma) return greekCapitalSigma;
    for (const auto &range : foldRanges) {
        if (unit >= range.first && unit <= range.last) return char16_t(unit - range.down);
    }
    return unit;
}

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

} // namespace

std::string toUtf8(std::u16string_view text)
{
    constexpr char32_t replacement = 0xfffd;
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (isHighSurrogate(unit) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
            appendUtf8(out, 0x10000 + ((char32_t(unit) - 0xd800) << 10) + (char32_t(text[i + 1]) - 0xdc00));
            ++i;
        } else if (isHighSurrogate(unit) || isLowSurrogate(unit)) {
            appendUtf8(out, replacement);
        } else {
            appendUtf8(out, unit);
        }
    }
    return out;
}

bool namesEqual(std::u16string_view a, std::u16string_view b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (foldUnit(a[i]) != foldUnit(b[i])) return false;
    }
    return true;
}

std::string Error::describe() const
{
    if (offset == noOffset) return message;
    return message + " (offset " + detail::hex(offset) + ")";
}

namespace detail
{

std::u16string foldName(std::u16string_view name)
{
    std::u16string folded(name);
    for (auto &unit : folded)
        unit = foldUnit(unit);
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
