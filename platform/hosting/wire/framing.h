// Length-prefixed frames over a byte stream: a 32-bit little-endian length,
// then that many bytes. Plain C++, so that the host, the harness and the fuzz
// target share it and nothing here depends on a GUI.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace wire
{

using Bytes = std::vector<uint8_t>;

// Large enough for a full-screen picture, small enough that a corrupt length
// cannot make the reader allocate the machine's memory.
inline constexpr uint32_t MaxFrame = 64u * 1024u * 1024u;

// Prefixes payload with its length.
Bytes frame(const Bytes &payload);

// Collects bytes as they arrive and hands out whole frames.
class FrameReader
{
  public:
    void append(const uint8_t *data, size_t size);
    // The next whole frame, or nothing until more bytes arrive. A length
    // beyond MaxFrame sets error() and nothing more is read.
    std::optional<Bytes> next();
    const std::string &error() const { return error_; }
    size_t buffered() const { return buffer_.size() - start_; }

  private:
    Bytes buffer_;
    size_t start_ = 0;
    std::string error_;
};

} // namespace wire
