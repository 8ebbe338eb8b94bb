#include "framing.h"

namespace wire
{

Bytes frame(const Bytes &payload)
{
    Bytes out;
    out.reserve(payload.size() + 4);
    const auto n = uint32_t(payload.size());
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(uint8_t(n >> shift));
    out.insert(out.end(), payload.begin(), payload.end());
    return out;
}

void FrameReader::append(const uint8_t *data, size_t size)
{
    if (!error_.empty()) return;
    // Drop what was handed out before growing, so the buffer stays small.
    if (start_ > 0 && start_ == buffer_.size()) {
        buffer_.clear();
        start_ = 0;
    }
    buffer_.insert(buffer_.end(), data, data + size);
}

std::optional<Bytes> FrameReader::next()
{
    if (!error_.empty() || buffered() < 4) return std::nullopt;
    const uint8_t *p = buffer_.data() + start_;
    const uint32_t n = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    if (n > MaxFrame) {
        error_ = "frame of " + std::to_string(n) + " bytes exceeds the limit";
        return std::nullopt;
    }
    if (buffered() - 4 < n) return std::nullopt;
    Bytes payload(p + 4, p + 4 + n);
    start_ += 4 + size_t(n);
    if (start_ == buffer_.size()) {
        buffer_.clear();
        start_ = 0;
    }
    return payload;
}

} // namespace wire
