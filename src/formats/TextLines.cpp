#include "formats/TextLines.h"

#include <cctype>
#include <cstdio>

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool StartsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

bool TakeNumber(std::string_view& rest, unsigned max, unsigned& value)
{
    while (!rest.empty() && IsBlank(rest.front()))
        rest.remove_prefix(1);
    if (rest.empty() || !std::isdigit(static_cast<unsigned char>(rest.front())))
        return false;
    value = 0;
    while (!rest.empty() && std::isdigit(static_cast<unsigned char>(rest.front())))
    {
        value = value * 10 + static_cast<unsigned>(rest.front() - '0');
        if (value > max)
            return false;
        rest.remove_prefix(1);
    }
    return true;
}

bool TakeChar(std::string_view& rest, char c)
{
    while (!rest.empty() && IsBlank(rest.front()))
        rest.remove_prefix(1);
    if (rest.empty() || rest.front() != c)
        return false;
    rest.remove_prefix(1);
    return true;
}

bool TakeColour(std::string_view& rest, PaletteColour& colour)
{
    unsigned red = 0, green = 0, blue = 0;
    if (!TakeNumber(rest, 255, red) || !TakeNumber(rest, 255, green) || !TakeNumber(rest, 255, blue) ||
        (!rest.empty() && !IsBlank(rest.front())))
        return false;
    colour = {static_cast<std::uint8_t>(red), static_cast<std::uint8_t>(green), static_cast<std::uint8_t>(blue), {}};
    return true;
}

PaletteColour HexColour(std::string_view digits)
{
    unsigned value = 0;
    for (const char c : digits)
        value = value << 4 | static_cast<unsigned>(c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10);
    return {static_cast<std::uint8_t>(value >> 16),
            static_cast<std::uint8_t>(value >> 8),
            static_cast<std::uint8_t>(value),
            {}};
}

PaletteReadResult LineFault(PaletteFormat format, std::size_t line, std::string expected)
{
    return {format, {}, PaletteFault{true, line, std::move(expected)}};
}

std::string Quoted(std::string_view text)
{
    return "\"" + std::string(text) + "\"";
}

std::vector<std::uint8_t> Bytes(const std::string& text)
{
    return {text.begin(), text.end()};
}

std::string ColourNumbers(const PaletteColour& colour, const char* format)
{
    char text[32];
    std::snprintf(text, sizeof text, format, colour.red, colour.green, colour.blue);
    return text;
}
