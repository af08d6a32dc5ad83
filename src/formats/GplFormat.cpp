// GIMP palettes: "GIMP Palette", Name:, Columns: and Channels: lines, "#" comments, and "R G B name"
// lines whose names survive exactly.
#include "formats/TextLines.h"

PaletteReadResult ReadGplPalette(const std::uint8_t* data, std::size_t size)
{
    LineReader lines(data, size);
    std::string_view line;
    if (!lines.Next(line) || Trim(line) != "GIMP Palette")
        return LineFault(PaletteFormat::gpl, 1, "\"GIMP Palette\"");

    PaletteReadResult result{PaletteFormat::gpl, {}, std::nullopt};
    Palette& palette = result.palette;
    bool alpha = false; // "Channels: RGBA" (as Aseprite writes) puts an alpha after each blue
    while (lines.Next(line))
    {
        std::string_view rest = Trim(line);
        if (rest.empty() || rest.front() == '#')
            continue;
        if (StartsWith(rest, "Name:"))
        {
            palette.name = Trim(rest.substr(5));
            continue;
        }
        unsigned columns = 0;
        if (StartsWith(rest, "Columns:"))
        {
            rest.remove_prefix(8);
            if (!TakeNumber(rest, 256, columns) || !Trim(rest).empty())
                return LineFault(PaletteFormat::gpl, lines.Number(), "a number of columns from 0 to 256");
            palette.columns = static_cast<int>(columns);
            continue;
        }
        if (StartsWith(rest, "Channels:"))
        {
            const std::string_view channels = Trim(rest.substr(9));
            if (channels != "RGB" && channels != "RGBA")
                return LineFault(PaletteFormat::gpl, lines.Number(), "\"Channels: RGB\" or \"Channels: RGBA\"");
            alpha = channels == "RGBA";
            continue;
        }
        // The name is what follows the one blank after the last number, as GIMP takes it: blanks around it
        // are part of it.
        rest = line;
        PaletteColour colour;
        unsigned ignoredAlpha = 0;
        if (!TakeColour(rest, colour) ||
            (alpha && (!TakeNumber(rest, 255, ignoredAlpha) || (!rest.empty() && !IsBlank(rest.front())))))
            return LineFault(PaletteFormat::gpl, lines.Number(),
                             alpha ? "a colour: red, green, blue and alpha from 0 to 255, then a name if any"
                                   : std::string(kColourExpected) + ", then a name if any");
        if (palette.colours.size() == kMaxExchangeColours)
            return LineFault(PaletteFormat::gpl, lines.Number(), "at most 65535 colours");
        colour.name = rest.substr(rest.empty() ? 0 : 1);
        palette.colours.push_back(std::move(colour));
    }
    if (palette.colours.empty())
        return LineFault(PaletteFormat::gpl, lines.Number() + 1, "at least one colour");
    return result;
}

std::vector<std::uint8_t> WriteGplPalette(const Palette& palette)
{
    std::string text = "GIMP Palette\nName: " + palette.name + "\n";
    if (palette.columns)
        text += "Columns: " + std::to_string(*palette.columns) + "\n";
    text += "#\n";
    for (const PaletteColour& colour : palette.colours)
    {
        text += ColourNumbers(colour, "%3d %3d %3d");
        if (!colour.name.empty())
            text += "\t" + colour.name;
        text += "\n";
    }
    return Bytes(text);
}
