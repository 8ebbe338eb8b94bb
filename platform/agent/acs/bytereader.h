// Bounded little-endian reader over one block of a file. The first failure is
// kept and every later read returns zero without moving, so a parser can read
// a run of fields and check failed() once before it trusts or allocates.
#pragma once

#include "acs.h"

#include <cstdio>
#include <string>

namespace acs::detail
{

struct Locator {
    uint32_t offset = 0;
    uint32_t size = 0;
};

inline std::string hex(uint64_t value)
{
    char text[24];
    std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(value));
    return text;
}

class ByteReader
{
  public:
    // Reads bytes [begin, end) of file; errors name `context` and carry absolute offsets.
    ByteReader(std::span<const uint8_t> file, uint64_t begin, uint64_t end, std::string context)
        : m_file(file), m_pos(begin), m_end(end), m_context(std::move(context))
    {
    }

    bool failed() const { return m_error.has_value(); }
    const Error &error() const { return *m_error; }
    Error takeError() { return std::move(*m_error); }
    uint64_t offset() const { return m_pos; }
    uint64_t remaining() const { return failed() ? 0 : m_end - m_pos; }
    const std::string &context() const { return m_context; }

    void fail(std::string message) { fail(std::move(message), m_pos); }
    void fail(std::string message, uint64_t offset)
    {
        if (!m_error) m_error = Error{m_context + ": " + message, offset};
    }

    uint8_t u8(const char *field) { return uint8_t(number(field, 1)); }
    uint16_t u16(const char *field) { return uint16_t(number(field, 2)); }
    int16_t i16(const char *field) { return int16_t(uint16_t(number(field, 2))); }
    uint32_t u32(const char *field) { return uint32_t(number(field, 4)); }
    int32_t i32(const char *field) { return int32_t(uint32_t(number(field, 4))); }
    Locator locator(const char *field)
    {
        Locator l;
        l.offset = u32(field);
        l.size = u32(field);
        return l;
    }

    std::span<const uint8_t> bytes(uint64_t count, const char *field)
    {
        if (!has(count, field)) return {};
        auto result = m_file.subspan(size_t(m_pos), size_t(count));
        m_pos += count;
        return result;
    }

    template <size_t N> std::array<uint8_t, N> array(const char *field)
    {
        std::array<uint8_t, N> out{};
        auto in = bytes(N, field);
        std::copy(in.begin(), in.end(), out.begin());
        return out;
    }

    void skip(uint64_t count, const char *field) { bytes(count, field); }

    // STRING: ULONG count of UTF-16 units, the units, then a zero unit unless empty.
    std::u16string string(const char *field)
    {
        const uint64_t start = m_pos;
        const uint32_t units = u32(field);
        if (failed() || units == 0) return {};
        const uint64_t needed = uint64_t(units) * 2 + 2;
        if (needed > remaining()) {
            fail(std::string(field) + ": length " + std::to_string(units) + " needs " +
                     std::to_string(needed) + " bytes but only " + std::to_string(remaining()) + " remain",
                 start);
            return {};
        }
        std::u16string text(units, u'\0');
        for (auto &unit : text)
            unit = char16_t(u16(field));
        if (u16(field) != 0) fail(std::string(field) + ": string is not zero-terminated", m_pos - 2);
        return text;
    }

    // A count of records, each at least minRecordSize bytes, must fit in what
    // is left. `field` names the count ("frame count").
    bool fits(uint64_t count, uint64_t minRecordSize, const char *field)
    {
        if (failed()) return false;
        const uint64_t needed = count * minRecordSize;
        if (needed > remaining()) {
            fail(std::string(field) + " " + std::to_string(count) + " needs " + std::to_string(needed) +
                     " bytes but only " + std::to_string(remaining()) + " remain",
                 m_pos);
            return false;
        }
        return true;
    }

    // A count must stay within a limit; checked before anything is allocated.
    bool within(uint64_t count, uint64_t limit, const char *field, uint64_t at)
    {
        if (!failed() && count > limit)
            fail(std::string(field) + " " + std::to_string(count) + " exceeds the limit of " +
                     std::to_string(limit),
                 at);
        return !failed();
    }

    // Counts that add up across a file must stay within `limit` together:
    // `left` is what earlier counts have left of it.
    bool withinTotal(uint64_t count, size_t &left, uint64_t limit, const char *field, uint64_t at)
    {
        if (failed()) return false;
        if (count > left) {
            fail(std::string(field) + " " + std::to_string(count) +
                     " takes the character past the limit of " + std::to_string(limit) + " in all",
                 at);
            return false;
        }
        left -= size_t(count);
        return true;
    }

  private:
    bool has(uint64_t count, const char *field)
    {
        if (failed()) return false;
        if (count > m_end - m_pos) {
            fail(std::string(field) + ": needs " + std::to_string(count) + " bytes but only " +
                 std::to_string(m_end - m_pos) + " remain");
            return false;
        }
        return true;
    }

    uint64_t number(const char *field, int size)
    {
        if (!has(uint64_t(size), field)) return 0;
        uint64_t value = 0;
        for (int i = size - 1; i >= 0; --i)
            value = value << 8 | m_file[size_t(m_pos) + size_t(i)];
        m_pos += uint64_t(size);
        return value;
    }

    std::span<const uint8_t> m_file;
    uint64_t m_pos;
    uint64_t m_end;
    std::string m_context;
    std::optional<Error> m_error;
};

} // namespace acs::detail
