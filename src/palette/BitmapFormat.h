// The 8-bit bitmap palette file as bytes: the 256 x 32 strip of every palette index that Save As
// writes, and the checks and colour table that Open takes from the leading bytes of any 8-bit BMP.
#pragma once

#include "palette/PaletteSnapshot.h"

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr std::size_t kBitmapFileHeaderSize = 14;
constexpr std::size_t kBitmapInfoHeaderSize = 40; // the one the writer writes, and the smallest read
// The largest info header read: the newest kind, with colour space and profile fields.
constexpr std::size_t kBitmapLargestInfoHeaderSize = 124;
constexpr std::size_t kBitmapColourTableOffset = kBitmapFileHeaderSize + kBitmapInfoHeaderSize; // 54
constexpr std::size_t kBitmapColourTableSize = 256 * 4;                                         // 1,024
// Headers and colour table of the written file: where its pixels start.
constexpr std::size_t kBitmapHeadSize = kBitmapColourTableOffset + kBitmapColourTableSize; // 1,078
// How many leading bytes of a file the reader may need; the pixel data after its table is never read.
constexpr std::size_t kBitmapLargestHeadSize =
    kBitmapFileHeaderSize + kBitmapLargestInfoHeaderSize + kBitmapColourTableSize; // 1,162
constexpr int kBitmapWidth = 256;
constexpr int kBitmapHeight = 32;
constexpr std::size_t kBitmapFileSize = kBitmapHeadSize + std::size_t{kBitmapWidth} * kBitmapHeight; // 9,270

// What the reader makes of a file, in the order the checks run.
enum class BitmapVerdict
{
    ok,
    genericFileError, // fewer than 14 bytes, or no "BM" at the start
    notSupported,     // fewer than 40 info header bytes, not 8 bits per pixel, an info header size outside
                      // 40..124, or fewer bytes than the colour table the header declares
};

struct BitmapTableResult
{
    BitmapVerdict verdict;
    // How many entries the file's colour table holds (1..256) when the verdict is ok; 0 otherwise.
    int entryCount;
    // The file's colour table as red/green/blue with flags 0, entryCount entries; the rest all zero.
    PaletteEntry table[256];
    // When the verdict is not ok: the byte offset that the refusing check looked at (the end of the file
    // when it stops short) and what it expected there, for a reader that tells where (vexapal).
    std::size_t faultOffset;
    const char* expected;
};

// The whole 9,270-byte file: headers, the captured entries' colours as the colour table (flags
// dropped), then 32 rows of the bytes 0..255.
std::vector<std::uint8_t> BuildBitmapFile(const PaletteSnapshot& captured);

// Checks the first size bytes of a file and takes its colour table: it follows the info header, at
// 14 + biSize, and holds biClrUsed entries when that is 1..256, otherwise 256. The pixel offset,
// compression and picture size are not examined.
BitmapTableResult ReadBitmapColourTable(const std::uint8_t* data, std::size_t size);
