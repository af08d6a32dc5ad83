// A Krita palette: a ZIP whose first entry is a stored "mimetype", then colorset.xml (a ColorSet of
// ColorSetEntry elements, each with one colour element, grouped or not by Group elements) and
// profiles.xml (the ICC profiles the ZIP holds).
#include "formats/BinaryFields.h"
#include "formats/ColourSpaces.h"
#include "formats/SwatchFields.h"
#include "formats/SwatchSignatures.h"
#include "formats/XmlScan.h"
#include "formats/Zip.h"
#include "palette/LittleEndian.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace
{
constexpr char kMimeType[] = "krita/x-colorset";
constexpr char kOtherMimeType[] = "application/x-krita-palette"; // as Krita's documentation names it
constexpr std::size_t kLocalSize = 30;
constexpr char kSrgbProfile[] = "sRGB-elle-V2-srgbtrc.icc"; // Krita's own sRGB, which it does not bundle

PaletteReadResult Fault(std::size_t size, std::size_t offset, std::string expected)
{
    return ByteFault(PaletteFormat::kpl, size, offset, std::move(expected));
}

bool IsMimeType(const std::uint8_t* bytes, std::size_t length)
{
    const std::string_view text(reinterpret_cast<const char*>(bytes), length);
    return text == kMimeType || text == kOtherMimeType;
}

std::optional<double> Number(const XmlTag& tag, const char* name)
{
    const std::string* text = tag.Attribute(name);
    if (!text)
        return std::nullopt;
    const char* first = text->data();
    const char* last = first + text->size();
    while (first < last && *first == ' ')
        ++first;
    if (first < last && *first == '+')
        ++first;
    double value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc{} || end != last || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// A colour as sRGB, and the space the file gave it in.
struct Swatch
{
    Srgb8 rgb{};
    ColourSpace space = ColourSpace::rgb;
};

// One colour element, as the Create swatch definition that Krita follows gives it: RGB and sRGB r, g, b
// from 0 to 1; CMYK c, m, y, k ink from 0 to 1; Lab L* from 0 to 100 with a* and b* (in version 1.0 files
// scaled as below); Gray g from 0 (black) to 1. Empty when the tag is none of these; a fault text when one
// of its numbers is missing.
std::optional<Swatch> ReadColour(const XmlTag& tag, bool scaledLab, std::string& fault)
{
    const auto numbers = [&](std::initializer_list<const char*> names, double* out) {
        for (const char* name : names)
        {
            const std::optional<double> value = Number(tag, name);
            if (!value)
            {
                fault = "a number in the attribute " + std::string(name) + " of <" + tag.name + ">";
                return false;
            }
            *out++ = *value;
        }
        return true;
    };
    double v[4] = {};
    if (tag.name == "RGB" || tag.name == "sRGB")
    {
        if (!numbers({"r", "g", "b"}, v))
            return Swatch{};
        return Swatch{{GrayToSrgb(v[0]).red, GrayToSrgb(v[1]).red, GrayToSrgb(v[2]).red}, ColourSpace::rgb};
    }
    if (tag.name == "CMYK")
        return numbers({"c", "m", "y", "k"}, v) ? Swatch{CmykToSrgb(v[0], v[1], v[2], v[3]), ColourSpace::cmyk}
                                                : Swatch{};
    if (tag.name == "Lab")
    {
        if (!numbers({"L", "a", "b"}, v))
            return Swatch{};
        if (scaledLab)
        {
            // Palettes of version 1.0 hold Lab scaled to 0..1: L* times 100; a* and b* from 0.5 down
            // to 0 for 0 to -128, from 0.5 up to 1 for 0 to 127.
            v[0] *= 100;
            for (double* ab : {&v[1], &v[2]})
                *ab = *ab <= 0.5 ? (0.5 - *ab) * 2 * -128.0 : (*ab - 0.5) * 2 * 127.0;
        }
        return Swatch{LabToSrgb(v[0], v[1], v[2]), ColourSpace::lab};
    }
    if (tag.name == "Gray")
        return numbers({"g"}, v) ? Swatch{GrayToSrgb(v[0]), ColourSpace::gray} : Swatch{};
    return std::nullopt;
}

// A swatch and where Krita shows it in its group's grid, when the file says.
struct Entry
{
    PaletteColour colour;
    std::optional<std::pair<double, double>> position; // row, column
};

// A group's swatches in the order of their grid positions where every one has a position, else in
// the order the file lists them.
void Flush(std::vector<Entry>& group, std::vector<PaletteColour>& colours)
{
    if (std::all_of(group.begin(), group.end(), [](const Entry& e) { return e.position.has_value(); }))
        std::stable_sort(group.begin(), group.end(),
                         [](const Entry& a, const Entry& b) { return *a.position < *b.position; });
    for (Entry& entry : group)
        colours.push_back(std::move(entry.colour));
    group.clear();
}

std::string Attribute(const XmlTag& tag, const char* name)
{
    const std::string* value = tag.Attribute(name);
    return value ? ValidUtf8(CleanName(*value)) : std::string{};
}
} // namespace

bool LooksLikeKpl(const std::uint8_t* data, std::size_t size)
{
    constexpr std::size_t nameAt = kLocalSize, length = 8;
    if (size < kLocalSize + length || std::memcmp(data, "PK\3\4", 4) != 0 || data[8] != 0 || data[9] != 0 ||
        data[26] != length || data[27] != 0 || std::memcmp(data + nameAt, "mimetype", length) != 0)
        return false;
    const std::size_t packed = Get32(data + 18), extra = Get16(data + 28);
    const std::size_t content = nameAt + length + extra;
    return content <= size && packed <= size - content && IsMimeType(data + content, packed);
}

PaletteReadResult ReadKplPalette(const std::uint8_t* data, std::size_t size)
{
    const ZipDirectory zip = ReadZipDirectory(data, size);
    if (zip.fault)
        return Fault(size, zip.fault->offset, zip.fault->expected);
    const auto entry = [&zip](std::string_view name) {
        return std::find_if(zip.entries.begin(), zip.entries.end(),
                            [name](const ZipEntry& e) { return e.name == name; });
    };
    const auto mime = entry("mimetype");
    if (mime == zip.entries.end() || mime->headerOffset != 0 || mime->method != 0 ||
        !IsMimeType(data + mime->dataOffset, mime->size))
        return Fault(size, 0, "a Krita palette's first entry: mimetype, stored, holding krita/x-colorset");
    const auto colorset = entry("colorset.xml");
    if (colorset == zip.entries.end())
        return Fault(size, size, "an entry colorset.xml");
    ZipFault zipFault;
    const std::optional<std::vector<std::uint8_t>> xml = ReadZipEntry(data, *colorset, zipFault);
    if (!xml)
        return Fault(size, zipFault.offset, zipFault.expected);
    const XmlScan scan = ScanXml(xml->data(), xml->size());
    // A fault inside the XML is at the entry's local header, with its place in the XML in the text.
    const auto xmlFault = [&](std::size_t offset, const std::string& expected) {
        return Fault(size, colorset->headerOffset, "colorset.xml byte " + std::to_string(offset) + ": " + expected);
    };
    if (scan.fault)
        return xmlFault(scan.fault->first, scan.fault->second);
    const XmlTag& root = scan.tags.front();
    if (root.name != "ColorSet" && root.name != "Colorset")
        return xmlFault(root.offset, "the root element <ColorSet>");

    PaletteReadResult result{PaletteFormat::kpl, {}, std::nullopt};
    Palette& palette = result.palette;
    palette.name = Attribute(root, "name");
    if (const std::optional<double> columns = Number(root, "columns"); columns && *columns >= 1 && *columns <= 256)
        palette.columns = static_cast<int>(*columns);
    const std::string* version = root.Attribute("version");
    const bool scaledLab = version && *version == "1.0";
    std::vector<Entry> group;
    std::optional<Entry> open; // the ColorSetEntry being read
    const XmlTag* openTag = nullptr;
    bool haveColour = false;
    for (const XmlTag& tag : scan.tags)
    {
        if (tag.name == "Group" && !open)
        {
            Flush(group, palette.colours);
            palette.groups += tag.end ? 0 : 1;
        }
        else if (tag.name == "ColorSetEntry" && !tag.end)
        {
            if (open)
                return xmlFault(tag.offset, "the end of the entry before another");
            open = Entry{{0, 0, 0, Attribute(tag, "name")}, std::nullopt};
            openTag = &tag;
            haveColour = false;
        }
        else if (open && !tag.end && tag.name == "Position")
        {
            const std::optional<double> row = Number(tag, "row"), column = Number(tag, "column");
            if (row && column)
                open->position = std::make_pair(*row, *column);
        }
        else if (open && !tag.end && !haveColour)
        {
            std::string fault;
            const std::optional<Swatch> swatch = ReadColour(tag, scaledLab, fault);
            if (!fault.empty())
                return xmlFault(tag.offset, fault);
            if (swatch)
            {
                open->colour.red = swatch->rgb.red;
                open->colour.green = swatch->rgb.green;
                open->colour.blue = swatch->rgb.blue;
                open->colour.space = swatch->space;
                haveColour = true;
            }
        }
        if (open && tag.name == "ColorSetEntry" && (tag.end || tag.selfClosing))
        {
            if (!haveColour)
                return xmlFault(openTag->offset, "a colour in the entry: <RGB>, <sRGB>, <CMYK>, <Lab> or <Gray>");
            if (palette.colours.size() + group.size() == kMaxExchangeColours)
                return xmlFault(openTag->offset, "at most 65535 colours");
            group.push_back(std::move(*open));
            open.reset();
        }
    }
    Flush(group, palette.colours);
    if (palette.colours.empty())
        return xmlFault(root.offset, "at least one <ColorSetEntry>");
    return result;
}

std::vector<std::uint8_t> WriteKplPalette(const Palette& palette)
{
    const std::size_t count = std::min(palette.colours.size(), kMaxExchangeColours);
    const std::size_t columns =
        palette.columns && *palette.columns > 0 ? static_cast<std::size_t>(*palette.columns) : 16;
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ColorSet version=\"1.0\" readonly=\"false\" name=\"" +
        EscapeXml(ValidUtf8(CleanName(palette.name))) + "\" comment=\"\" columns=\"" + std::to_string(columns) +
        "\" rows=\"" + std::to_string((count + columns - 1) / columns) + "\">\n";
    // Each channel as value / 255 in as many digits as it takes to give the value back.
    const auto channel = [](std::uint8_t value) {
        char text[32];
        const auto result = std::to_chars(text, text + sizeof text, value / 255.0);
        return std::string(text, result.ptr);
    };
    for (std::size_t i = 0; i < count; ++i)
    {
        const PaletteColour& colour = palette.colours[i];
        xml += " <ColorSetEntry name=\"" + EscapeXml(ValidUtf8(CleanName(colour.name))) + "\" id=\"" +
               std::to_string(i + 1) + "\" spot=\"false\" bitdepth=\"U8\">\n  <RGB space=\"" + kSrgbProfile +
               "\" r=\"" + channel(colour.red) + "\" g=\"" + channel(colour.green) + "\" b=\"" + channel(colour.blue) +
               "\"/>\n  <Position row=\"" + std::to_string(i / columns) + "\" column=\"" + std::to_string(i % columns) +
               "\"/>\n </ColorSetEntry>\n";
    }
    xml += "</ColorSet>\n";
    const auto bytes = [](std::string_view text) { return std::vector<std::uint8_t>(text.begin(), text.end()); };
    return WriteZip({{"mimetype", bytes(kMimeType), false},
                     {"colorset.xml", bytes(xml), true},
                     {"profiles.xml", bytes("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Profiles/>\n"), true}});
}
