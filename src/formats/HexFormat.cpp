// Palettes of hex lines: plain RRGGBB lines (hex), and Paint.NET's ";" comments and AARRGGBB lines.
#include "formats/TextLines.h"

namespace
{
// Lines of one colour each in hex digits, blank lines skipped: RRGGBB after an optional "#" (hex), or
// AARRGGBB or RRGGBB with ";" starting a comment, on a line of its own or after a colour (Paint.NET).
PaletteReadResult ReadHexLines(PaletteFormat format, const std::uint8_t* data, std::size_t size)
{
    const bool paintNet = format == PaletteFormat::paintnet;
    const std::size_t most = FormatInfo(format).maxColours;
    LineReader lines(data, size);
    std::string_view line;
    PaletteReadResult result{format, {}, std::nullopt};
    std::vector<PaletteColour>& colours = result.palette.colours;
    while (lines.Next(line))
    {
        std::string_view digits = Trim(paintNet ? line.substr(0, line.find(';')) : line);
        if (digits.empty())
            continue;
        if (!paintNet && digits.front() == '#')
            digits.remove_prefix(1);
        if ((digits.size() != 6 && !(paintNet && digits.size() == 8)) ||
            digits.find_first_not_of("0123456789abcdefABCDEF") != std::string_view::npos)
            return LineFault(format, lines.Number(),
                             paintNet ? "a colour as hex digits AARRGGBB or RRGGBB"
                                      : "a colour as six hex digits RRGGBB");
        if (colours.size() == most)
            return LineFault(format, lines.Number(), "at most " + std::to_string(most) + " colours");
        colours.push_back(HexColour(digits.substr(digits.size() - 6))); // the alpha has no place in a palette
    }
    if (colours.empty())
        return LineFault(format, lines.Number() + 1, "at least one colour");
    return result;
}
} // namespace

PaletteReadResult ReadHexPalette(const std::uint8_t* data, std::size_t size)
{
    return ReadHexLines(PaletteFormat::hex, data, size);
}

PaletteReadResult ReadPaintNetPalette(const std::uint8_t* data, std::size_t size)
{
    return ReadHexLines(PaletteFormat::paintnet, data, size);
}

std::vector<std::uint8_t> WriteHexPalette(const Palette& palette)
{
    std::string text;
    for (const PaletteColour& colour : palette.colours)
        text += ColourNumbers(colour, "%02x%02x%02x\n");
    return Bytes(text);
}

std::vector<std::uint8_t> WritePaintNetPalette(const Palette& palette)
{
    std::string text = "; Paint.NET palette: one colour per line as AARRGGBB\r\n";
    for (const PaletteColour& colour : palette.colours)
        text += ColourNumbers(colour, "FF%02X%02X%02X\r\n");
    return Bytes(text);
}
