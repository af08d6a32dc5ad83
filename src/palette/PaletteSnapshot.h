// The palette model shared by every palette operation: a block laid out as a LOGPALETTE with room for
// 256 entries, so that the Win32 layer can hand it to CreatePalette as it is.
#pragma once

#include <cstdint>

struct PaletteEntry
{
    std::uint8_t peRed;
    std::uint8_t peGreen;
    std::uint8_t peBlue;
    std::uint8_t peFlags;
};

constexpr int kMaxPaletteEntries = 256;
constexpr std::uint16_t kPaletteVersion = 0x300;
constexpr std::uint8_t kPcExplicit = 0x02;
constexpr std::uint8_t kPcNoCollapse = 0x04;

struct PaletteSnapshot
{
    std::uint16_t palVersion;
    std::uint16_t palNumEntries;
    PaletteEntry palPalEntry[kMaxPaletteEntries];
};

// A zero-filled snapshot of version 0x300 with the given entry count.
PaletteSnapshot EmptySnapshot(int entryCount);

// The window's explicit palette: entry i refers to hardware slot i, for i below the palette size.
// A size above 256 is held to 256; nothing beyond the 256th entry is ever written.
PaletteSnapshot ExplicitPalette(int paletteSize);

// Clear's palette: every one of the 256 slots black with PC_NOCOLLAPSE, entryCount of them in use.
PaletteSnapshot BlackPalette(int entryCount);

// Open's palette: the captured system palette with entries 10..245 flagged PC_NOCOLLAPSE and coloured
// from a bitmap colour table (red/green/blue order) where it holds them (below entryCount), otherwise
// with their captured colours; the 20 static places keep the capture.
PaletteSnapshot MergeBitmapColours(const PaletteSnapshot& captured, const PaletteEntry (&table)[256], int entryCount);

// The position of the first of the count entries whose red, green and blue equal the colour reference's
// (0x00BBGGRR; the flags byte is ignored); count when none does. A negative count reads as none read.
int FindPaletteColour(const PaletteEntry* entries, int count, std::uint32_t colour);
