// The pixel readout's title text.
#include "window/PixelTitle.h"

#include <cstdint>
#include <gtest/gtest.h>

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
} // namespace
