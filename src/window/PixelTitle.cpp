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
