#include "palette/PaletteSnapshot.h"

#include <algorithm>

PaletteSnapshot EmptySnapshot(int entryCount)
{
    PaletteSnapshot snapshot{};
    snapshot.palVersion = kPaletteVersion;
    snapshot.palNumEntries = static_cast<std::uint16_t>(std::clamp(entryCount, 0, kMaxPaletteEntries));
    return snapshot;
}

PaletteSnapshot ExplicitPalette(int paletteSize)
{
    PaletteSnapshot snapshot = EmptySnapshot(paletteSize);
    for (int i = 0; i < snapshot.palNumEntries; ++i)
    {
        // The slot number as a 16-bit little-endian value in the first two bytes.
        snapshot.palPalEntry[i] = {static_cast<std::uint8_t>(i & 0xFF), static_cast<std::uint8_t>(i >> 8), 0,
                                   kPcExplicit};
    }
    return snapshot;
}

PaletteSnapshot BlackPalette(int entryCount)
{
    PaletteSnapshot snapshot = EmptySnapshot(entryCount);
    for (PaletteEntry& entry : snapshot.palPalEntry)
        entry.peFlags = kPcNoCollapse;
    return snapshot;
}

PaletteSnapshot MergeBitmapColours(const PaletteSnapshot& captured, const PaletteEntry (&table)[256], int entryCount)
{
    // The static system colours sit in slots 0..9 and 246..255 of a 256-slot display.
    constexpr int kFirstFree = 10;
    constexpr int kLastFree = 245;
    PaletteSnapshot snapshot = captured;
    for (int i = kFirstFree; i <= kLastFree; ++i)
    {
        // Every free entry takes a slot of its own in order, so one that keeps its captured colour
        // lands back in its own slot.
        const PaletteEntry& colour = i < entryCount ? table[i] : captured.palPalEntry[i];
        snapshot.palPalEntry[i] = {colour.peRed, colour.peGreen, colour.peBlue, kPcNoCollapse};
    }
    return snapshot;
}

int FindPaletteColour(const PaletteEntry* entries, int count, std::uint32_t colour)
{
    if (count <= 0)
        return 0;
    const PaletteEntry wanted{static_cast<std::uint8_t>(colour), static_cast<std::uint8_t>(colour >> 8),
                              static_cast<std::uint8_t>(colour >> 16), 0};
    for (int i = 0; i < count; ++i)
    {
        if (entries[i].peRed == wanted.peRed && entries[i].peGreen == wanted.peGreen &&
            entries[i].peBlue == wanted.peBlue)
            return i;
    }
    return count;
}
