// The text palette formats: Vexa's dump, GIMP, JASC-PAL, plain hex lines and Paint.NET. Lines may end
// in CR LF, LF or CR alike; faults name the line where the text stops being what it should be.
#include "palette/PaletteFormats.h"
#include "palette/TextDump.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace
{
constexpr const char* kColourExpected = "a colour: red, green and blue from 0 to 255";

// The lines of a text, each without its line end, counted from 1.
class LineReader
{
  public:
    LineReader(const std::uint8_t* data, std::size_t size) : m_text(reinterpret_cast<const char*>(data), size) {}

    bool Next(std::string_view& line)
    {
        if (m_text.empty())
            return false;
        const std::size_t end = std::min(m_text.find_first_of("\r\n"), m_text.size());
        line = m_text.substr(0, end);
        const bool crLf = m_text.substr(end, 2) == "\r\n";
        m_text.remove_prefix(std::min(end + (crLf ? 2 : 1), m_text.size()));
        ++m_number;
        return true;
    }

    // The number of the line Next gave last; one more once the text has ended.
    std::size_t Number() const { return m_number; }

    // True when every line left holds only blanks.
    bool OnlyBlankLinesLeft()
    {
        std::string_view line;
        while (Next(line))
        {
            if (line.find_first_not_of(" \t") != std::string_view::npos)
                return false;
        }
        ++m_number;
        return true;
    }

  private:
    std::string_view m_text;
    std::size_t m_number = 0;
};

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

// Skips blanks, then takes a decimal number of at most max.
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

// Skips blanks, then takes the character c.
bool TakeChar(std::string_view& rest, char c)
{
    while (!rest.empty() && IsBlank(rest.front()))
        rest.remove_prefix(1);
    if (rest.empty() || rest.front() != c)
        return false;
    rest.remove_prefix(1);
    return true;
}

// Red, green and blue from 0 to 255, separated by blanks; what follows must be nothing or a blank.
bool TakeColour(std::string_view& rest, PaletteColour& colour)
{
    unsigned red = 0, green = 0, blue = 0;
    if (!TakeNumber(rest, 255, red) || !TakeNumber(rest, 255, green) || !TakeNumber(rest, 255, blue) ||
        (!rest.empty() && !IsBlank(rest.front())))
        return false;
    colour = {static_cast<std::uint8_t>(red), static_cast<std::uint8_t>(green), static_cast<std::uint8_t>(blue), {}};
    return true;
}

// Six hex digits RRGGBB as a colour.
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

PaletteReadResult Fault(PaletteFormat format, std::size_t line, std::string expected)
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
} // namespace

PaletteReadResult ReadGplPalette(const std::uint8_t* data, std::size_t size)
{
    LineReader lines(data, size);
    std::string_view line;
    if (!lines.Next(line) || Trim(line) != "GIMP Palette")
        return Fault(PaletteFormat::gpl, 1, "\"GIMP Palette\"");

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
                return Fault(PaletteFormat::gpl, lines.Number(), "a number of columns from 0 to 256");
            palette.columns = static_cast<int>(columns);
            continue;
        }
        if (StartsWith(rest, "Channels:"))
        {
            const std::string_view channels = Trim(rest.substr(9));
            if (channels != "RGB" && channels != "RGBA")
                return Fault(PaletteFormat::gpl, lines.Number(), "\"Channels: RGB\" or \"Channels: RGBA\"");
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
            return Fault(PaletteFormat::gpl, lines.Number(),
                         alpha ? "a colour: red, green, blue and alpha from 0 to 255, then a name if any"
                               : std::string(kColourExpected) + ", then a name if any");
        if (palette.colours.size() == kMaxExchangeColours)
            return Fault(PaletteFormat::gpl, lines.Number(), "at most 65535 colours");
        colour.name = rest.substr(rest.empty() ? 0 : 1);
        palette.colours.push_back(std::move(colour));
    }
    if (palette.colours.empty())
        return Fault(PaletteFormat::gpl, lines.Number() + 1, "at least one colour");
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

PaletteReadResult ReadJascPalette(const std::uint8_t* data, std::size_t size)
{
    LineReader lines(data, size);
    std::string_view line;
    if (!lines.Next(line) || Trim(line) != "JASC-PAL")
        return Fault(PaletteFormat::jasc, 1, "\"JASC-PAL\"");
    if (!lines.Next(line) || Trim(line) != "0100")
        return Fault(PaletteFormat::jasc, 2, "the version \"0100\"");
    unsigned count = 0;
    std::string_view rest;
    if (!lines.Next(line) || !TakeNumber(rest = line, kMaxExchangeColours, count) || count == 0 || !Trim(rest).empty())
        return Fault(PaletteFormat::jasc, 3, "a colour count from 1 to 65535");

    PaletteReadResult result{PaletteFormat::jasc, {}, std::nullopt};
    std::vector<PaletteColour>& colours = result.palette.colours;
    while (colours.size() < count)
    {
        if (!lines.Next(line))
            return Fault(PaletteFormat::jasc, lines.Number() + 1,
                         std::to_string(count) + " colours, found " + std::to_string(colours.size()));
        PaletteColour colour;
        rest = line;
        if (!TakeColour(rest, colour) || !Trim(rest).empty())
            return Fault(PaletteFormat::jasc, lines.Number(), kColourExpected);
        colours.push_back(colour);
    }
    if (!lines.OnlyBlankLinesLeft())
        return Fault(PaletteFormat::jasc, lines.Number(),
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
            return Fault(format, lines.Number(),
                         paintNet ? "a colour as hex digits AARRGGBB or RRGGBB" : "a colour as six hex digits RRGGBB");
        if (colours.size() == most)
            return Fault(format, lines.Number(), "at most " + std::to_string(most) + " colours");
        colours.push_back(HexColour(digits.substr(digits.size() - 6))); // the alpha has no place in a palette
    }
    if (colours.empty())
        return Fault(format, lines.Number() + 1, "at least one colour");
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
            return Fault(PaletteFormat::txt, i + 1, Quoted(timePrefix) + " and the time of the dump");
        if (i == 5 && !(present && StartsWith(line, countPrefix) &&
                        TakeNumber(rest = line.substr(countPrefix.size()), 256, count) && count > 0 && rest.empty()))
            return Fault(PaletteFormat::txt, i + 1, Quoted(countPrefix) + " and a number from 1 to 256");
        if (i != 4 && i != 5 && !(present && line == heading[i]))
            return Fault(PaletteFormat::txt, i + 1, Quoted(heading[i]));
    }

    PaletteReadResult result{PaletteFormat::txt, {}, std::nullopt};
    std::vector<PaletteColour>& colours = result.palette.colours;
    while (colours.size() < count)
    {
        if (!lines.Next(line))
            return Fault(PaletteFormat::txt, lines.Number() + 1,
                         std::to_string(count) + " entries, found " + std::to_string(colours.size()));
        std::string_view rest = line;
        unsigned index = 0, red = 0, green = 0, blue = 0;
        if (!TakeNumber(rest, 255, index) || index != colours.size() || !TakeChar(rest, ':') ||
            !TakeNumber(rest, 255, red) || !TakeChar(rest, ',') || !TakeNumber(rest, 255, green) ||
            !TakeChar(rest, ',') || !TakeNumber(rest, 255, blue) || !Trim(rest).empty())
            return Fault(PaletteFormat::txt, lines.Number(),
                         "entry " + std::to_string(colours.size()) +
                             " as \"index: R, G, B\" with values from 0 to 255");
        colours.push_back(
            {static_cast<std::uint8_t>(red), static_cast<std::uint8_t>(green), static_cast<std::uint8_t>(blue), {}});
    }
    if (!lines.OnlyBlankLinesLeft())
        return Fault(PaletteFormat::txt, lines.Number(),
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
