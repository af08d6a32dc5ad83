#include "formats/ImageSignatures.h"
#include "formats/PaletteCodecs.h"
#include "formats/SwatchSignatures.h"

#include <algorithm>
#include <cctype>
#include <cstring>

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

// The words of a text separated by blanks.
std::vector<std::string_view> Words(std::string_view text)
{
    std::vector<std::string_view> words;
    while (!text.empty())
    {
        const std::size_t end = std::min(text.find(' '), text.size());
        if (end > 0)
            words.push_back(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return words;
}

// "a, b or c" (or "a, b and c").
std::string Listed(const std::vector<std::string>& items, const char* last = " or ")
{
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i)
        text += (i == 0 ? "" : i + 1 == items.size() ? last : ", ") + items[i];
    return text;
}

// "1 name", "16 names".
std::string Counted(std::size_t count, const std::string& noun)
{
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

// Whether a channel survives a format of that many bits: a VGA table's 6 hold 0, 4, 8, ... 255 as
// (v * 255 + 31) / 63.
bool KeepsChannel(std::uint8_t value, int bits)
{
    if (bits >= 8)
        return true;
    const unsigned most = (1u << bits) - 1;
    const unsigned stored = (value * most + 127) / 255;
    return (stored * 255 + most / 2) / most == value;
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

// The formats' signatures. A file that starts with one is that format, or a broken file of it.
bool IsBmp(const std::uint8_t* data, std::size_t size)
{
    return StartsWith(data, size, "BM");
}

bool IsRiff(const std::uint8_t* data, std::size_t size)
{
    return StartsWith(data, size, "RIFF");
}

bool IsGpl(const std::uint8_t* data, std::size_t size)
{
    return TextOf(data, size).substr(0, 12) == "GIMP Palette";
}

bool IsJasc(const std::uint8_t* data, std::size_t size)
{
    return FirstLine(TextOf(data, size), false) == "JASC-PAL";
}

bool IsTxt(const std::uint8_t* data, std::size_t size)
{
    return FirstLine(TextOf(data, size), false) == "Vexa - Win32 Color Palette Tool";
}

bool IsAse(const std::uint8_t* data, std::size_t size)
{
    return StartsWith(data, size, "ASEF");
}

// An XML file whose root element is a colour table (office:color-table, or ooo:color-table as newer
// LibreOffice writes), after an XML declaration and comments.
bool IsSoc(const std::uint8_t* data, std::size_t size)
{
    std::string_view text = TextOf(data, size);
    for (;;)
    {
        text.remove_prefix(std::min(text.find_first_not_of(" \t\r\n"), text.size()));
        const std::string_view close = text.substr(0, 4) == "<!--" ? "-->" : text.substr(0, 2) == "<?" ? "?>" : "";
        if (close.empty())
            break;
        const std::size_t end = text.find(close);
        if (end == std::string_view::npos)
            return false;
        text.remove_prefix(end + close.size());
    }
    if (text.substr(0, 1) != "<")
        return false;
    const std::string_view name = text.substr(1, text.find_first_of(" \t\r\n/>") - 1);
    const std::size_t colon = name.find(':');
    return colon != std::string_view::npos && name.substr(colon + 1) == "color-table";
}

// The writers as the table holds them: each takes the time text and the scale, and uses what it needs.
template <std::vector<std::uint8_t> (*Write)(const Palette&)>
std::vector<std::uint8_t> Plain(const Palette& palette, const std::string&, int)
{
    return Write(palette);
}

std::vector<std::uint8_t> Txt(const Palette& palette, const std::string& timeText, int)
{
    return WriteTxtPalette(palette, timeText);
}

std::vector<std::uint8_t> Png(const Palette& palette, const std::string&, int scale)
{
    return WritePngPalette(palette, scale);
}
} // namespace

const PaletteFormatInfo kPaletteFormats[18] = {
    {PaletteFormat::bmp, "bmp", ".bmp", IsBmp, 256, true, kKeepsNothing, 8, false, ReadBmpPalette,
     Plain<WriteBmpPalette>, "Windows bitmap of 1, 4 or 8 bits (OS/2 too); written as Vexa's 9,270-byte strip"},
    {PaletteFormat::txt, "txt", ".txt", IsTxt, 256, false, kKeepsNothing, 8, true, ReadTxtPalette, Txt,
     "Vexa's text dump"},
    {PaletteFormat::act, "act", ".act", nullptr, 256, false, kKeepsNothing, 8, false, ReadActPalette,
     Plain<WriteActPalette>, "Adobe colour table (768 or 772 bytes)"},
    {PaletteFormat::gpl, "gpl", ".gpl", IsGpl, kMaxExchangeColours, false, kKeepsNames | kKeepsColumns, 8, true,
     ReadGplPalette, Plain<WriteGplPalette>, "GIMP palette, with colour names"},
    // Paint Shop Pro's palettes hold at most 256 colours, and GIMP's importer reads only 4,095 bytes of one.
    {PaletteFormat::jasc, "jasc", ".pal", IsJasc, 256, false, kKeepsNothing, 8, true, ReadJascPalette,
     Plain<WriteJascPalette>, "JASC-PAL text palette (read with up to 65,535)"},
    {PaletteFormat::riff, "riff", "", IsRiff, kMaxExchangeColours, false, kKeepsNothing, 8, false, ReadRiffPalette,
     Plain<WriteRiffPalette>, "Microsoft RIFF palette (also .pal)"},
    // Hex lines and Paint.NET's have no signature: they are told by their lines.
    {PaletteFormat::hex, "hex", ".hex", nullptr, kMaxExchangeColours, false, kKeepsNothing, 8, true, ReadHexPalette,
     Plain<WriteHexPalette>, "one RRGGBB per line"},
    {PaletteFormat::paintnet, "paintnet", "", nullptr, 96, false, kKeepsNothing, 8, true, ReadPaintNetPalette,
     Plain<WritePaintNetPalette>, "Paint.NET palette, one AARRGGBB per line (a .txt)"},
    {PaletteFormat::ase, "ase", ".ase", IsAse, kMaxExchangeColours, false, kKeepsNames, 8, false, ReadAsePalette,
     Plain<WriteAsePalette>, "Adobe Swatch Exchange, with names (read: RGB, CMYK, Lab, Gray; groups)"},
    {PaletteFormat::aco, "aco", ".aco", LooksLikeAco, kMaxExchangeColours, false, kKeepsNames, 8, false, ReadAcoPalette,
     Plain<WriteAcoPalette>, "Photoshop swatches, with names (read: RGB, HSB, CMYK, Lab, Gray)"},
    {PaletteFormat::kpl, "kpl", ".kpl", LooksLikeKpl, kMaxExchangeColours, false, kKeepsNames | kKeepsColumns, 8, false,
     ReadKplPalette, Plain<WriteKplPalette>, "Krita palette, with names"},
    {PaletteFormat::soc, "soc", ".soc", IsSoc, kMaxExchangeColours, false, kKeepsNames, 8, true, ReadSocPalette,
     Plain<WriteSocPalette>, "LibreOffice colour table, with names"},
    {PaletteFormat::aseprite, "aseprite", ".aseprite", LooksLikeAseprite, kMaxExchangeColours, false,
     kKeepsNames | kKeepsAlpha, 8, false, ReadAsepritePalette, nullptr,
     "Aseprite sprite: its first frame's palette (read only)"},
    {PaletteFormat::png, "png", ".png", LooksLikePng, 256, false, kKeepsNothing, 8, false, ReadPngPalette, Png,
     "PNG: an indexed image's palette, or a strip's colours; written as one row of cells (--scale)"},
    {PaletteFormat::gif, "gif", ".gif", LooksLikeGif, 256, false, kKeepsNothing, 8, false, ReadGifPalette, nullptr,
     "GIF: the global colour table, else the first image's (read only)"},
    {PaletteFormat::pcx, "pcx", ".pcx", LooksLikePcx, 256, false, kKeepsNothing, 8, false, ReadPcxPalette, nullptr,
     "PCX: the 256-colour table at its end, else the header's 16 (read only)"},
    {PaletteFormat::ilbm, "ilbm", ".lbm .iff", LooksLikeIlbm, 256, false, kKeepsNothing, 8, false, ReadIlbmPalette,
     nullptr, "IFF ILBM or PBM (Deluxe Paint): its CMAP chunk (read only)"},
    {PaletteFormat::vga, "vga", ".vga", nullptr, 256, true, kKeepsNothing, 6, false, ReadVgaPalette,
     Plain<WriteVgaPalette>, "DOS VGA table, 768 bytes of 6-bit values (read only with --from vga)"},
};

const PaletteFormatInfo& FormatInfo(PaletteFormat format)
{
    return *std::find_if(std::begin(kPaletteFormats), std::end(kPaletteFormats),
                         [format](const PaletteFormatInfo& info) { return info.format == format; });
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

std::string FormatNames(bool writableOnly)
{
    std::vector<std::string> names;
    for (const PaletteFormatInfo& info : kPaletteFormats)
    {
        if (!writableOnly || info.write != nullptr)
            names.push_back(info.name);
    }
    return Listed(names);
}

std::optional<PaletteFormat> FormatByExtension(std::string_view path)
{
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string_view::npos || path.find_first_of("/\\", dot) != std::string_view::npos)
        return std::nullopt;
    for (const PaletteFormatInfo& info : kPaletteFormats)
    {
        for (const std::string_view extension : Words(info.extensions))
        {
            if (EqualIgnoringCase(path.substr(dot), extension))
                return info.format;
        }
    }
    return std::nullopt;
}

std::string OutputExtensions()
{
    std::vector<std::string> extensions;
    for (const PaletteFormatInfo& info : kPaletteFormats)
    {
        const std::vector<std::string_view> words = Words(info.extensions);
        if (info.write != nullptr && !words.empty())
            extensions.emplace_back(words.front());
    }
    return Listed(extensions);
}

std::vector<std::string> DescribeLosses(const Palette& palette, PaletteFormat format)
{
    const PaletteFormatInfo& info = FormatInfo(format);
    std::size_t names = 0, alphas = 0, rounded = 0;
    std::size_t spaces[5] = {}; // by ColourSpace
    for (const PaletteColour& colour : palette.colours)
    {
        names += !colour.name.empty();
        alphas += colour.alpha.has_value() && *colour.alpha != 255;
        ++spaces[static_cast<int>(colour.space)];
        rounded += !KeepsChannel(colour.red, info.channelBits) || !KeepsChannel(colour.green, info.channelBits) ||
                   !KeepsChannel(colour.blue, info.channelBits);
    }
    const std::string name = info.name;
    std::vector<std::string> losses;
    if (!(info.keeps & kKeepsNames) && names > 0)
        losses.push_back(name + " keeps no colour names: " + Counted(names, "name") + " dropped");
    if (!(info.keeps & kKeepsAlpha) && alphas > 0)
        losses.push_back(name + " keeps no alpha: " + Counted(alphas, "colour") + " made opaque");
    if (!(info.keeps & kKeepsColumns) && palette.columns.value_or(0) > 0)
        losses.push_back(name + " keeps no columns: the palette's " + std::to_string(*palette.columns) +
                         " columns dropped");
    if (!(info.keeps & kKeepsGroups) && palette.groups > 0)
        losses.push_back(name + " keeps no groups: " + Counted(palette.groups, "group") + " flattened into one list");
    // Every format holds sRGB: a colour given in another space was converted on reading, approximately.
    std::vector<std::string> converted;
    const char* const spaceNames[5] = {"RGB", "CMYK", "Lab", "HSB", "Gray"};
    for (int space = 1; space < 5; ++space)
    {
        if (spaces[space] > 0)
            converted.push_back(std::to_string(spaces[space]) + " from " + spaceNames[space]);
    }
    if (!converted.empty())
        losses.push_back(name + " holds sRGB only: " + Counted(palette.colours.size() - spaces[0], "colour") +
                         " converted (" + Listed(converted, " and ") + ") are approximations");
    if (rounded > 0)
        losses.push_back(name + " keeps " + std::to_string(info.channelBits) +
                         " bits a channel: " + Counted(rounded, "colour") + " rounded");
    return losses;
}

std::string DescribeFault(const PaletteFault& fault)
{
    return (fault.inLine ? "line " : "byte ") + std::to_string(fault.position) + ": expected " + fault.expected;
}

std::optional<PaletteFormat> DetectPaletteFormat(const std::uint8_t* data, std::size_t size)
{
    if (data == nullptr)
        size = 0;
    for (const PaletteFormatInfo& info : kPaletteFormats)
    {
        if (info.signature != nullptr && info.signature(data, size))
            return info.format;
    }
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
    const PaletteFormatInfo& info = FormatInfo(format);
    if (info.text && StartsWith(data, size, kUtf8Mark))
    {
        data += kUtf8Mark.size();
        size -= kUtf8Mark.size();
    }
    static const std::uint8_t kNothing = 0;
    if (size == 0)
        data = &kNothing;
    return info.read(data, size);
}

std::vector<std::uint8_t> WritePalette(PaletteFormat format, const Palette& palette, const std::string& timeText,
                                       int scale)
{
    const PaletteFormatInfo& info = FormatInfo(format);
    return info.write != nullptr ? info.write(palette, timeText, scale) : std::vector<std::uint8_t>{};
}

bool SameColours(const Palette& a, const Palette& b)
{
    return std::equal(a.colours.begin(), a.colours.end(), b.colours.begin(), b.colours.end(),
                      [](const PaletteColour& x, const PaletteColour& y) {
                          return x.red == y.red && x.green == y.green && x.blue == y.blue;
                      });
}
