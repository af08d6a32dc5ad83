// Vexa's own text dump, its heading checked as Vexa writes it.
#include "formats/TextLines.h"
#include "palette/TextDump.h"

PaletteReadResult ReadTxtPalette(const std::uint8_t* data, std::size_t size)
{
    // The heading as Vexa writes it; only the time and the count vary.
    std::vector<std::string> heading = FormatTextDump(EmptySnapshot(0), 0, "");
    for (std::string& text : heading)
        text.pop_back();
    const std::string timePrefix = heading[4];
    const std::string countPrefix = heading[5].substr(0, heading[5].size() - 1); // without the "0"

    LineReader lines(data, size);
    std::string_view line;
    unsigned count = 0;
    for (std::size_t i = 0; i < heading.size(); ++i)
    {
        const bool present = lines.Next(line);
        std::string_view rest = line;
        if (i == 4 && !(present && StartsWith(line, timePrefix)))
            return LineFault(PaletteFormat::txt, i + 1, Quoted(timePrefix) + " and the time of the dump");
        if (i == 5 && !(present && StartsWith(line, countPrefix) &&
                        TakeNumber(rest = line.substr(countPrefix.size()), 256, count) && count > 0 && rest.empty()))
            return LineFault(PaletteFormat::txt, i + 1, Quoted(countPrefix) + " and a number from 1 to 256");
        if (i != 4 && i != 5 && !(present && line == heading[i]))
            return LineFault(PaletteFormat::txt, i + 1, Quoted(heading[i]));
    }

    PaletteReadResult result{PaletteFormat::txt, {}, std::nullopt};
    std::vector<PaletteColour>& colours = result.palette.colours;
    while (colours.size() < count)
    {
        if (!lines.Next(line))
            return LineFault(PaletteFormat::txt, lines.Number() + 1,
                             std::to_string(count) + " entries, found " + std::to_string(colours.size()));
        std::string_view rest = line;
        unsigned index = 0, red = 0, green = 0, blue = 0;
        if (!TakeNumber(rest, 255, index) || index != colours.size() || !TakeChar(rest, ':') ||
            !TakeNumber(rest, 255, red) || !TakeChar(rest, ',') || !TakeNumber(rest, 255, green) ||
            !TakeChar(rest, ',') || !TakeNumber(rest, 255, blue) || !Trim(rest).empty())
            return LineFault(PaletteFormat::txt, lines.Number(),
                             "entry " + std::to_string(colours.size()) +
                                 " as \"index: R, G, B\" with values from 0 to 255");
        colours.push_back(
            {static_cast<std::uint8_t>(red), static_cast<std::uint8_t>(green), static_cast<std::uint8_t>(blue), {}});
    }
    if (!lines.OnlyBlankLinesLeft())
        return LineFault(PaletteFormat::txt, lines.Number(),
                         "the end of the dump after " + std::to_string(count) + " entries");
    return result;
}

std::vector<std::uint8_t> WriteTxtPalette(const Palette& palette, const std::string& timeText)
{
    PaletteSnapshot snapshot = EmptySnapshot(kMaxPaletteEntries);
    const int count = static_cast<int>(std::min<std::size_t>(palette.colours.size(), kMaxPaletteEntries));
    for (int i = 0; i < count; ++i)
    {
        const PaletteColour& colour = palette.colours[static_cast<std::size_t>(i)];
        snapshot.palPalEntry[i] = {colour.red, colour.green, colour.blue, 0};
    }
    // The dump's lines end in CR LF, as Vexa's text-mode file writes them.
    std::string text;
    for (std::string line : FormatTextDump(snapshot, count, timeText))
    {
        line.pop_back();
        text += line + "\r\n";
    }
    return Bytes(text);
}
