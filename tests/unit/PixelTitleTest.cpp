// The pixel readout's title text and the search of a colour in the system palette.
#include "window/PixelTitle.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace
{
TEST(PixelTitle, ShowsIndexColourReferenceAndComponents)
{
    struct Case
    {
        int index;
        std::uint32_t colour;
        const char* title;
    };
    const Case cases[] = {
        {0, 0x000000, "Vexa - [000] = 0x000000 = RGB(0, 0, 0)"},
        {17, 0x00FF80, "Vexa - [017] = 0x00FF80 = RGB(128, 255, 0)"},
        {1, 0x0000FF, "Vexa - [001] = 0x0000FF = RGB(255, 0, 0)"},
        {2, 0xFF0000, "Vexa - [002] = 0xFF0000 = RGB(0, 0, 255)"},
        {255, 0xFFFFFF, "Vexa - [255] = 0xFFFFFF = RGB(255, 255, 255)"},
        // No matching entry on a 256-colour display.
        {256, 0x123456, "Vexa - [256] = 0x123456 = RGB(86, 52, 18)"},
        // GetPixel's CLR_INVALID: the whole value in hex, the low three bytes as components.
        {256, 0xFFFFFFFF, "Vexa - [256] = 0xFFFFFFFF = RGB(255, 255, 255)"},
        {1234, 0x01000011, "Vexa - [1234] = 0x1000011 = RGB(17, 0, 0)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PixelTitle("Vexa", c.index, c.colour), c.title);
}

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
} // namespace
