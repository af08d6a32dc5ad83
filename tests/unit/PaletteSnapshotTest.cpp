// The palette blocks that the window and the palette commands build.
#include "palette/PaletteSnapshot.h"

#include <cstddef>
#include <gtest/gtest.h>

namespace
{
bool SameEntry(const PaletteEntry& a, const PaletteEntry& b)
{
    return a.peRed == b.peRed && a.peGreen == b.peGreen && a.peBlue == b.peBlue && a.peFlags == b.peFlags;
}

TEST(PaletteSnapshot, HasTheLayoutOfALogPalette)
{
    static_assert(sizeof(PaletteEntry) == 4);
    static_assert(sizeof(PaletteSnapshot) == 4 + 256 * 4);
    static_assert(offsetof(PaletteSnapshot, palPalEntry) == 4);
}

TEST(PaletteSnapshot, ExplicitPaletteRefersToEachSlot)
{
    struct Case
    {
        int size;
        int entries;
    };
    for (const Case c :
         {Case{-1, 0}, Case{0, 0}, Case{1, 1}, Case{16, 16}, Case{256, 256}, Case{257, 256}, Case{65536, 256}})
    {
        SCOPED_TRACE(c.size);
        const PaletteSnapshot snapshot = ExplicitPalette(c.size);
        EXPECT_EQ(snapshot.palVersion, 0x300);
        EXPECT_EQ(snapshot.palNumEntries, c.entries);
        for (int i = 0; i < 256; ++i)
        {
            const PaletteEntry expected = i < c.entries ? PaletteEntry{static_cast<std::uint8_t>(i), 0, 0, kPcExplicit}
                                                        : PaletteEntry{0, 0, 0, 0};
            EXPECT_TRUE(SameEntry(snapshot.palPalEntry[i], expected)) << "entry " << i;
        }
    }
    const PaletteSnapshot full = ExplicitPalette(256);
    EXPECT_TRUE(SameEntry(full.palPalEntry[255], {255, 0, 0, 0x02}));
}

TEST(PaletteSnapshot, BlackPaletteIsBlackWithNoCollapseEverywhere)
{
    for (const int count : {0, 20, 256, 300})
    {
        const PaletteSnapshot snapshot = BlackPalette(count);
        EXPECT_EQ(snapshot.palVersion, 0x300);
        EXPECT_EQ(snapshot.palNumEntries, count > 256 ? 256 : count);
        for (const PaletteEntry& entry : snapshot.palPalEntry)
            EXPECT_TRUE(SameEntry(entry, {0, 0, 0, kPcNoCollapse}));
    }
}

TEST(PaletteSnapshot, MergeKeepsTheStaticPlacesAndTakesWhatTheTableHolds)
{
    PaletteSnapshot captured = EmptySnapshot(256);
    PaletteEntry table[256];
    for (int i = 0; i < 256; ++i)
    {
        captured.palPalEntry[i] = {static_cast<std::uint8_t>(i), 1, 2, static_cast<std::uint8_t>(i % 3)};
        table[i] = {3, static_cast<std::uint8_t>(i), 4, 0x55};
    }
    // A free entry the table does not hold keeps its captured colour, flagged like the rest so that
    // it is realised back into its own slot.
    for (const int entryCount : {0, 1, 10, 11, 16, 245, 246, 256})
    {
        SCOPED_TRACE(entryCount);
        const PaletteSnapshot merged = MergeBitmapColours(captured, table, entryCount);
        EXPECT_EQ(merged.palVersion, 0x300);
        EXPECT_EQ(merged.palNumEntries, 256);
        for (int i = 0; i < 256; ++i)
        {
            const PaletteEntry& kept = captured.palPalEntry[i];
            PaletteEntry expected = {kept.peRed, kept.peGreen, kept.peBlue, kPcNoCollapse};
            if (i <= 9 || i >= 246)
                expected = kept;
            else if (i < entryCount)
                expected = {3, static_cast<std::uint8_t>(i), 4, kPcNoCollapse};
            EXPECT_TRUE(SameEntry(merged.palPalEntry[i], expected)) << "entry " << i;
        }
    }
}
} // namespace

TEST(FindPaletteColour, FindsTheFirstMatchIgnoringFlags)
{
    const PaletteEntry entries[] = {
        {0, 0, 0, 0}, {255, 0, 0, 0}, {128, 255, 0, kPcNoCollapse}, {128, 255, 0, 0}, {0, 0, 255, 0},
    };
    const int n = 5;
    EXPECT_EQ(FindPaletteColour(entries, n, 0x000000), 0);
    EXPECT_EQ(FindPaletteColour(entries, n, 0x0000FF), 1); // pure red
    EXPECT_EQ(FindPaletteColour(entries, n, 0x00FF80), 2); // the lower of two equal entries, flags aside
    EXPECT_EQ(FindPaletteColour(entries, n, 0xFF0000), 4); // pure blue
    // The high byte of a colour reference is not part of the colour.
    EXPECT_EQ(FindPaletteColour(entries, n, 0x020000FF), 1);
    // No match: the number of entries read.
    EXPECT_EQ(FindPaletteColour(entries, n, 0x010203), n);
    EXPECT_EQ(FindPaletteColour(entries, 4, 0xFF0000), 4);
    // Only the entries read count, even when a later one would match.
    EXPECT_EQ(FindPaletteColour(entries, 1, 0x0000FF), 1);
}

TEST(FindPaletteColour, NoEntriesReadGivesZero)
{
    const PaletteEntry entries[] = {{1, 2, 3, 0}};
    EXPECT_EQ(FindPaletteColour(entries, 0, 0x030201), 0);
    EXPECT_EQ(FindPaletteColour(entries, -1, 0x030201), 0);
    EXPECT_EQ(FindPaletteColour(nullptr, 0, 0), 0);
}
