#include "palette/PaletteFormats.h"

#include <algorithm>
#include <cctype>
#include <cstring>

const PaletteFormatInfo kPaletteFormats[7] = {
    {PaletteFormat::bmp, "bmp", ".bmp", 256, true, "8-bit Windows bitmap, Vexa's 256 x 32 strip (9,270 bytes)"},
    {PaletteFormat::txt, "txt", ".txt", 256, false, "Vexa's text dump"},
    {PaletteFormat::act, "act", ".act", 256, false, "Adobe colour table (768 or 772 bytes)"},
    {PaletteFormat::gpl, "gpl", ".gpl", kMaxExchangeColours, false, "GIMP palette, with colour names"},
    {PaletteFormat::jasc, "jasc", ".pal", kMaxExchangeColours, false, "JASC-PAL text palette"},
    {PaletteFormat::riff, "riff", nullptr, kMaxExchangeColours, false, "Microsoft RIFF palette (also .pal)"},
    {PaletteFormat::hex, "hex", ".hex", kMaxExchangeColours, false, "one RRGGBB per line"},
};

namespace
{
bool EqualIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

bool StartsWith(const std::uint8_t* data, std::size_t size, std::string_view prefix)
{
    return size >= prefix.size() && std::memcmp(data, prefix.data(), prefix.size()) == 0;
}

// The first line that holds more than blanks, without its line end and surrounding blanks.
std::string_view FirstLine(const std::uint8_t* data, std::size_t size, bool skipEmpty)
{
    std::string_view text(reinterpret_cast<const char*>(data), size);
    while (!text.empty())
    {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back())))
            line.remove_suffix(1);
        while (!line.empty() && std::isspace(static_cast<unsigned char>(line.front())))
            line.remove_prefix(1);
        if (!line.empty() || !skipEmpty)
            return line;
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return {};
}

bool IsHexColour(std::string_view line)
{
    if (!line.empty() && line.front() == '#')
        line.remove_prefix(1);
    return line.size() == 6 &&
           std::all_of(line.begin(), line.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); });
}

// The format the content announces: a magic text at the start, or a first line of RRGGBB.
std::optional<PaletteFormat> AnnouncedFormat(const std::uint8_t* data, std::size_t size)
{
    if (StartsWith(data, size, "BM"))
        return PaletteFormat::bmp;
    if (StartsWith(data, size, "RIFF") && size >= 12 && std::memcmp(data + 8, "PAL ", 4) == 0)
        return PaletteFormat::riff;
    if (StartsWith(data, size, "GIMP Palette"))
        return PaletteFormat::gpl;
    const std::string_view first = FirstLine(data, size, false);
    if (first == "JASC-PAL")
        return PaletteFormat::jasc;
    if (first == "Vexa - Win32 Color Palette Tool")
        return PaletteFormat::txt;
    if (IsHexColour(FirstLine(data, size, true)))
        return PaletteFormat::hex;
    return std::nullopt;
}
} // namespace

const PaletteFormatInfo& FormatInfo(PaletteFormat format)
{
    return kPaletteFormats[static_cast<int>(format)];
}

std::optional<PaletteFormat> FormatByName(std::string_view name)
{
    for (const PaletteFormatInfo& info : kPaletteFormats)
    {
        if (name == info.name)
            return info.format;
    }
    return std::nullopt;
}

std::optional<PaletteFormat> FormatByExtension(std::string_view path)
{
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string_view::npos || path.find_first_of("/\\", dot) != std::string_view::npos)
        return std::nullopt;
    for (const PaletteFormatInfo& info : kPaletteFormats)
    {
        if (info.extension != nullptr && EqualIgnoringCase(path.substr(dot), info.extension))
            return info.format;
    }
    return std::nullopt;
}

std::string DescribeFault(const PaletteFault& fault)
{
    return (fault.inLine ? "line " : "byte ") + std::to_string(fault.position) + ": expected " + fault.expected;
}

std::optional<PaletteFormat> DetectPaletteFormat(const std::uint8_t* data, std::size_t size)
{
    if (data == nullptr)
        size = 0;
    const std::optional<PaletteFormat> announced = AnnouncedFormat(data, size);
    // An Adobe colour table has no magic, only its size: it is one unless the bytes read as the format
    // they seem to announce.
    if (size == 768 || size == 772)
    {
        if (!announced || !ReadPaletteAs(*announced, data, size).fault)
            return announced ? announced : PaletteFormat::act;
        if (!ReadActPalette(data, size).fault)
            return PaletteFormat::act;
    }
    return announced;
}

PaletteReadResult ReadPaletteAs(PaletteFormat format, const std::uint8_t* data, std::size_t size)
{
    if (data == nullptr)
        size = 0;
    static const std::uint8_t kNothing = 0;
    if (size == 0)
        data = &kNothing;
    switch (format)
    {
    case PaletteFormat::bmp: return ReadBmpPalette(data, size);
    case PaletteFormat::txt: return ReadTxtPalette(data, size);
    case PaletteFormat::act: return ReadActPalette(data, size);
    case PaletteFormat::gpl: return ReadGplPalette(data, size);
    case PaletteFormat::jasc: return ReadJascPalette(data, size);
    case PaletteFormat::riff: return ReadRiffPalette(data, size);
    case PaletteFormat::hex: return ReadHexPalette(data, size);
    }
    return {format, {}, PaletteFault{false, 0, "a known format"}};
}

std::vector<std::uint8_t> WritePalette(PaletteFormat format, const Palette& palette, const std::string& timeText)
{
    switch (format)
    {
    case PaletteFormat::bmp: return WriteBmpPalette(palette);
    case PaletteFormat::txt: return WriteTxtPalette(palette, timeText);
    case PaletteFormat::act: return WriteActPalette(palette);
    case PaletteFormat::gpl: return WriteGplPalette(palette);
    case PaletteFormat::jasc: return WriteJascPalette(palette);
    case PaletteFormat::riff: return WriteRiffPalette(palette);
    case PaletteFormat::hex: return WriteHexPalette(palette);
    }
    return {};
}

bool SameColours(const Palette& a, const Palette& b)
{
    return std::equal(a.colours.begin(), a.colours.end(), b.colours.begin(), b.colours.end(),
                      [](const PaletteColour& x, const PaletteColour& y) {
                          return x.red == y.red && x.green == y.green && x.blue == y.blue;
                      });
}
