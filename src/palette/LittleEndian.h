// Little-endian fields of the binary palette files, by hand: a file's layout must not depend on the
// host's byte order or padding.
#pragma once

#include <cstdint>
#include <vector>

inline std::uint16_t Get16(const std::uint8_t* bytes)
{
    return static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8);
}

inline std::uint32_t Get32(const std::uint8_t* bytes)
{
    return std::uint32_t{Get16(bytes)} | std::uint32_t{Get16(bytes + 2)} << 16;
}

inline void Put16(std::vector<std::uint8_t>& out, std::uint16_t value)
{
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

inline void Put32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}
