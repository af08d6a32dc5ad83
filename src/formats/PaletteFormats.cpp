#include "formats/PaletteCodecs.h"

#include <algorithm>
#include <cctype>
#include <cstring>

const PaletteFormatInfo kPaletteFormats[8] = {
    {PaletteFormat::bmp, "bmp", ".bmp", 256, true,
     "Windows bitmap of 1, 4 or 8 bits (OS/2 too); written as Vexa's 9,270-byte strip"},
    {PaletteFormat::txt, "txt", ".txt", 256, false, "Vexa's text dump"},
    {PaletteFormat::act, "act", ".act", 256, false, "Adobe colour table (768 or 772 bytes)"},
    {PaletteFormat::gpl, "gpl", ".gpl", kMaxExchangeColours, false, "GIMP palette, with colour names"},
    // Paint Shop Pro's palettes hold at most 256 colours, and GIMP's importer reads only 4,095 bytes of one.
    {PaletteFormat::jasc, "jasc", ".pal", 256, false, "JASC-PAL text palette (read with up to 65,535)"},
    {PaletteFormat::riff, "riff", nullptr, kMaxExchangeColours, false, "Microsoft RIFF palette (also .pal)"},
    {PaletteFormat::hex, "hex", ".hex", kMaxExchangeColours, false, "one RRGGBB per line"},
    {PaletteFormat::paintnet, "paintnet", nullptr, 96, false, "Paint.NET palette, one AARRGGBB per line (a .txt)"},
};

namespace
{
bool EqualIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

bool StartsWith(const std::uint8_t* data, std::size_t size, std::string_view prefix)
{
    return size >= prefix.size() && std::memcmp(data, prefix.data(), prefix.size()) == 0;
}

bool IsTextFormat(PaletteFormat format)
{
    return format != PaletteFormat::bmp && format != PaletteFormat::act && format != PaletteFormat::riff;
}

// The bytes as text, without a UTF-8 byte order mark.
std::string_view TextOf(const std::uint8_t* data, std::size_t size)
{
    std::string_view text(reinterpret_cast<const char*>(data), size);
    if (text.substr(0, kUtf8Mark.size()) == kUtf8Mark)
        text.remove_prefix(kUtf8Mark.size());
    return text;
}

// The first line (with skipEmpty, the first that holds more than blanks), without its line end (LF, CR
// LF or CR) and surrounding blanks.
std::string_view FirstLine(std::string_view text, bool skipEmpty)
{
    while (!text.empty())
    {
        const std::size_t end = std::min(text.find_first_of("\r\n"), text.size());
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

bool IsHexDigits(std::string_view text, std::size_t count)
{
    return text.size() == count &&
           std::all_of(text.begin(), text.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); });
}

// The format whose signature starts the bytes: they are that format or a broken file of it.
std::optional<PaletteFormat> SignedFormat(const std::uint8_t* data, std::size_t size)
{
    if (StartsWith(data, size, "BM"))
        return PaletteFormat::bmp;
    if (StartsWith(data, size, "RIFF"))
        return PaletteFormat::riff;
    const std::string_view text = TextOf(data, size);
    if (text.substr(0, 12) == "GIMP Palette")
        return PaletteFormat::gpl;
    const std::string_view first = FirstLine(text, false);
    if (first == "JASC-PAL")
        return PaletteFormat::jasc;
    if (first == "Vexa - Win32 Color Palette Tool")
        return PaletteFormat::txt;
    return std::nullopt;
}

// The formats known only by their lines. Bytes are hex only when they all read as hex lines (RRGGBB);
// otherwise a first line of Paint.NET's (a ";" comment, or AARRGGBB or RRGGBB before one) makes them
// Paint.NET, and a first line of hex's a broken hex file.
std::optional<PaletteFormat> UnsignedTextFormat(const std::uint8_t* data, std::size_t size)
{
    const std::string_view first = FirstLine(TextOf(data, size), true);
    const bool hexLine = IsHexDigits(first.substr(0, 1) == "#" ? first.substr(1) : first, 6);
    if (hexLine && !ReadPaletteAs(PaletteFormat::hex, data, size).fault)
        return PaletteFormat::hex;
    std::string_view colour = first.substr(0, first.find(';'));
    while (!colour.empty() && std::isspace(static_cast<unsigned char>(colour.back())))
        colour.remove_suffix(1);
    if (first.substr(0, 1) == ";" || IsHexDigits(colour, 8) || IsHexDigits(colour, 6))
        return PaletteFormat::paintnet;
    if (hexLine)
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
        if (EqualIgnoringCase(name, info.name))
            return info.format;
    }
    return std::nullopt;
}

std::string FormatNames()
{
    std::string names;
    for (const PaletteFormatInfo& info : kPaletteFormats)
        names += std::string(names.empty() ? "" : &info == std::end(kPaletteFormats) - 1 ? " or " : ", ") + info.name;
    return names;
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
    if (const std::optional<PaletteFormat> format = SignedFormat(data, size))
        return format;
    // An Adobe colour table has no signature, only its size: bytes of that size are one unless they
    // read as the text format their lines look like.
    const std::optional<PaletteFormat> format = UnsignedTextFormat(data, size);
    if ((size == 768 || size == 772) && (!format || ReadPaletteAs(*format, data, size).fault))
        return PaletteFormat::act;
    return format;
}

PaletteReadResult ReadPaletteAs(PaletteFormat format, const std::uint8_t* data, std::size_t size)
{
    if (data == nullptr)
        size = 0;
    if (IsTextFormat(format) && StartsWith(data, size, kUtf8Mark))
    {
        data += kUtf8Mark.size();
        size -= kUtf8Mark.size();
    }
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
    case PaletteFormat::paintnet: return ReadPaintNetPalette(data, size);
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
    case PaletteFormat::paintnet: return WritePaintNetPalette(palette);
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
