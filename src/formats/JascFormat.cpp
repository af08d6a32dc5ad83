// JASC-PAL palettes: the heading, the version "0100", the count, then "R G B" lines.
#include "formats/TextLines.h"

PaletteReadResult ReadJascPalette(const std::uint8_t* data, std::size_t size)
{
    LineReader lines(data, size);
    std::string_view line;
    if (!lines.Next(line) || Trim(line) != "JASC-PAL")
        return LineFault(PaletteFormat::jasc, 1, "\"JASC-PAL\"");
    if (!lines.Next(line) || Trim(line) != "0100")
        return LineFault(PaletteFormat::jasc, 2, "the version \"0100\"");
    unsigned count = 0;
    std::string_view rest;
    if (!lines.Next(line) || !TakeNumber(rest = line, kMaxExchangeColours, count) || count == 0 || !Trim(rest).empty())
        return LineFault(PaletteFormat::jasc, 3, "a colour count from 1 to 65535");

    PaletteReadResult result{PaletteFormat::jasc, {}, std::nullopt};
    std::vector<PaletteColour>& colours = result.palette.colours;
    while (colours.size() < count)
    {
        if (!lines.Next(line))
            return LineFault(PaletteFormat::jasc, lines.Number() + 1,
                             std::to_string(count) + " colours, found " + std::to_string(colours.size()));
        PaletteColour colour;
        rest = line;
        if (!TakeColour(rest, colour) || !Trim(rest).empty())
            return LineFault(PaletteFormat::jasc, lines.Number(), kColourExpected);
        colours.push_back(colour);
    }
    if (!lines.OnlyBlankLinesLeft())
        return LineFault(PaletteFormat::jasc, lines.Number(),
                         "the end of the file after " + std::to_string(count) + " colours");
    return result;
}

std::vector<std::uint8_t> WriteJascPalette(const Palette& palette)
{
    std::string text = "JASC-PAL\r\n0100\r\n" + std::to_string(palette.colours.size()) + "\r\n";
    for (const PaletteColour& colour : palette.colours)
        text += ColourNumbers(colour, "%d %d %d\r\n");
    return Bytes(text);
}
