// The signatures of the image formats whose palettes vexapal reads, for detection by content.
#pragma once

#include <cstddef>
#include <cstdint>

// The largest cells, in pixels square, that WritePngPalette draws each colour in.
constexpr int kMostPngScale = 256;

// "\x89PNG\r\n\x1a\n".
bool LooksLikePng(const std::uint8_t* data, std::size_t size);
// "GIF87a" or "GIF89a".
bool LooksLikeGif(const std::uint8_t* data, std::size_t size);
// A 128-byte ZSoft header: manufacturer 0x0A, version 0, 2, 3, 4 or 5, run-length encoding 1, 1, 2, 4 or
// 8 bits per pixel in 1 to 4 planes, and a window whose ends are not before its starts.
bool LooksLikePcx(const std::uint8_t* data, std::size_t size);
// "FORM", a size, then "ILBM" or "PBM ".
bool LooksLikeIlbm(const std::uint8_t* data, std::size_t size);
