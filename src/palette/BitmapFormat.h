// The 8-bit bitmap palette file as bytes: the 256 x 32 strip of every palette index that Save As
// writes, and the checks and colour table that Open takes from the leading bytes of any 8-bit BMP.
#pragma once

#include "palette/PaletteSnapshot.h"

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr std::size_t kBitmapFileHeaderSize = 14;
constexpr std::size_t kBitmapInfoHeaderSize = 40;
constexpr std::size_t kBitmapColourTableOffset = kBitmapFileHeaderSize + kBitmapInfoHeaderSize; // 54
constexpr std::size_t kBitmapColourTableSize = 256 * 4;                                         // 1,024
// How many leading bytes of a file the reader looks at; the pixel data after them is never read.
constexpr std::size_t kBitmapHeadSize = kBitmapColourTableOffset + kBitmapColourTableSize; // 1,078
constexpr int kBitmapWidth = 256;
constexpr int kBitmapHeight = 32;
constexpr std::size_t kBitmapFileSize = kBitmapHeadSize + std::size_t{kBitmapWidth} * kBitmapHeight; // 9,270

// What the reader makes of a file, in the order the checks run.
enum class BitmapVerdict
{
    ok,
    genericFileError, // fewer than 14 bytes, or no "BM" at the start
    notSupported,     // fewer than 40 info header bytes, not 8 bits per pixel, or a short colour table
};

struct BitmapTableResult
{
    BitmapVerdict verdict;
    // Bytes 54..1077 as red/green/blue with flags 0 when the verdict is ok; all zero otherwise.
    PaletteEntry table[256];
};

// The whole 9,270-byte file: headers, the captured entries' colours as the colour table (flags
// dropped), then 32 rows of the bytes 0..255.
std::vector<std::uint8_t> BuildBitmapFile(const PaletteSnapshot& captured);

// Checks the first size bytes of a file and takes its colour table. The table is always bytes
// 54..1077, whatever the headers say about their own size, the pixel offset or the colours used.
BitmapTableResult ReadBitmapColourTable(const std::uint8_t* data, std::size_t size);
