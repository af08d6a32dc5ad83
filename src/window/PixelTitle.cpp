#include "window/PixelTitle.h"

#include <cstdio>

std::string PixelTitle(std::string_view appName, int index, std::uint32_t colour)
{
    const unsigned red = colour & 0xFF;
    const unsigned green = (colour >> 8) & 0xFF;
    const unsigned blue = (colour >> 16) & 0xFF;
    char reading[80];
    std::snprintf(reading, sizeof reading, " - [%03d] = 0x%06X = RGB(%u, %u, %u)", index, colour, red, green, blue);
    return std::string(appName) + reading;
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
