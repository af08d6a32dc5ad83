#include "window/PixelTitle.h"

#include "framework/NumberText.h"

std::string PixelTitle(std::string_view appName, int index, std::uint32_t colour)
{
    std::string title(appName);
    title += " - [";
    AppendDecimal(title, index, 3, '0');
    title += "] = 0x";
    AppendHex(title, colour, 6);
    title += " = RGB(";
    AppendDecimal(title, colour & 0xFF);
    title += ", ";
    AppendDecimal(title, (colour >> 8) & 0xFF);
    title += ", ";
    AppendDecimal(title, (colour >> 16) & 0xFF);
    title += ')';
    return title;
}
