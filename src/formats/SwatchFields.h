// What the swatch formats share: big-endian fields, and colour names kept in UTF-16.
#pragma once

#include "formats/BigEndian.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline float BeFloat(const std::uint8_t* p)
{
    const std::uint32_t bits = Be32(p);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// The code point (a Unicode scalar value) as UTF-8 onto out.
void PutUtf8(std::string& out, std::uint32_t code);
// Big-endian UTF-16 code units as UTF-8, up to the first NUL; none when a surrogate is unpaired, and
// then badUnit is the index of the unit.
std::optional<std::string> Utf16BeToUtf8(const std::uint8_t* data, std::size_t units, std::size_t& badUnit);
// UTF-8 as UTF-16 code units; a byte that starts no valid sequence becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);
// At most that many units, without splitting a surrogate pair.
void TruncateUtf16(std::u16string& units, std::size_t most);
// The units big-endian, then a NUL unit.
void PutUtf16Be(std::vector<std::uint8_t>& out, const std::u16string& units);
// The text with every byte that starts no valid UTF-8 sequence replaced by U+FFFD.
std::string ValidUtf8(std::string_view text);
// A name as a palette keeps it: control characters but the tab (a line break in a name would break the
// lines of a text format; XML holds no other) become spaces.
std::string CleanName(std::string name);
