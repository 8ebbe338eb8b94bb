// Colours cross the boundary as 32-bit integers laid out 0x00BBGGRR.
#pragma once

#include <QColor>

#include <cstdint>

namespace component
{

inline QColor colorFromRef(int32_t ref)
{
    const auto v = static_cast<uint32_t>(ref);
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

inline int32_t colorRefFrom(const QColor &c)
{
    return static_cast<int32_t>(uint32_t(c.red()) | (uint32_t(c.green()) << 8) | (uint32_t(c.blue()) << 16));
}

} // namespace component
