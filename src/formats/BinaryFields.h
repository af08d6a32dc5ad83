// What the binary palette formats share: faults at a byte offset, and text put into a file.
#pragma once

#include "formats/PaletteCodecs.h"

#include <algorithm>
#include <cstring>

// A fault at the offset where something was expected, or at the end of a file that stops before it.
inline PaletteReadResult ByteFault(PaletteFormat format, std::size_t size, std::size_t offset, std::string expected)
{
    return {format, {}, PaletteFault{false, std::min(offset, size), std::move(expected)}};
}

inline void PutText(std::vector<std::uint8_t>& out, const char* text)
{
    out.insert(out.end(), text, text + std::strlen(text));
}
