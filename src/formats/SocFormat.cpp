// LibreOffice's and OpenOffice's colour tables: an XML file whose root is office:color-table (or
// ooo:color-table) holding draw:color elements, each with a draw:name and a draw:color="#rrggbb".
#include "formats/SwatchFields.h"
#include "formats/TextLines.h"
#include "formats/XmlScan.h"

namespace
{
// The part of a qualified name after its prefix: "color" of "draw:color".
std::string_view LocalName(std::string_view name)
{
    const std::size_t colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

// A fault at a byte of the file, told by its 1-based line as LineReader counts them.
PaletteReadResult Fault(const std::uint8_t* data, std::size_t offset, std::string expected)
{
    const std::string upTo = std::string(reinterpret_cast<const char*>(data), offset) + "."; // the byte's own line
    LineReader lines(reinterpret_cast<const std::uint8_t*>(upTo.data()), upTo.size());
    std::string_view line;
    while (lines.Next(line))
        ;
    return LineFault(PaletteFormat::soc, lines.Number(), std::move(expected));
}

// The value of the attribute whose name after its prefix is that one, or nullptr.
const std::string* LocalAttribute(const XmlTag& tag, std::string_view localName)
{
    for (const auto& [name, value] : tag.attributes)
        if (LocalName(name) == localName)
            return &value;
    return nullptr;
}

bool IsColourValue(std::string_view value)
{
    return value.size() == 7 && value[0] == '#' &&
           value.find_first_not_of("0123456789abcdefABCDEF", 1) == std::string_view::npos;
}
} // namespace

PaletteReadResult ReadSocPalette(const std::uint8_t* data, std::size_t size)
{
    const XmlScan xml = ScanXml(data, size);
    if (xml.fault)
        return Fault(data, xml.fault->first, xml.fault->second);
    const XmlTag& root = xml.tags.front();
    if (LocalName(root.name) != "color-table")
        return Fault(data, root.offset, "the root element office:color-table");

    PaletteReadResult result{PaletteFormat::soc, {}, std::nullopt};
    std::vector<PaletteColour>& colours = result.palette.colours;
    std::size_t depth = 0; // of the elements open around the tag, the root's included
    for (const XmlTag& tag : xml.tags)
    {
        if (tag.end)
        {
            --depth;
            continue;
        }
        if (depth == 1 && LocalName(tag.name) == "color")
        {
            const std::string* colour = LocalAttribute(tag, "color");
            if (!colour || !IsColourValue(*colour))
                return Fault(data, tag.offset, "a draw:color attribute \"#rrggbb\"");
            if (colours.size() == kMaxExchangeColours)
                return Fault(data, tag.offset, "at most 65535 colours");
            PaletteColour entry = HexColour(std::string_view(*colour).substr(1));
            if (const std::string* name = LocalAttribute(tag, "name"))
                entry.name = ValidUtf8(CleanName(*name));
            colours.push_back(std::move(entry));
        }
        depth += tag.selfClosing ? 0 : 1;
    }
    if (colours.empty())
        return Fault(data, root.offset, "at least one draw:color");
    return result;
}

std::vector<std::uint8_t> WriteSocPalette(const Palette& palette)
{
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<ooo:color-table xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
                       "xmlns:draw=\"urn:oasis:names:tc:opendocument:xmlns:drawing:1.0\" "
                       "xmlns:xlink=\"http://www.w3.org/1999/xlink\" xmlns:svg=\"http://www.w3.org/2000/svg\" "
                       "xmlns:ooo=\"http://openoffice.org/2004/office\">\n";
    for (const PaletteColour& colour : palette.colours)
        text += "  <draw:color draw:name=\"" + EscapeXml(ValidUtf8(CleanName(colour.name))) + "\" draw:color=\"" +
                ColourNumbers(colour, "#%02x%02x%02x") + "\"/>\n";
    text += "</ooo:color-table>\n";
    return Bytes(text);
}
