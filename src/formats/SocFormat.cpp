// LibreOffice's and OpenOffice's colour tables: an XML file whose root is office:color-table (or
// ooo:color-table) holding draw:color elements, each with a draw:name and a draw:color="#rrggbb".
#include "formats/SwatchFields.h"
#include "formats/TextLines.h"

namespace
{
// The parts of XML that a colour table uses: elements and their attributes, comments, processing
// instructions and CDATA, and the five named entities and character references in values.
class XmlScanner
{
  public:
    XmlScanner(const std::uint8_t* data, std::size_t size) : m_text(reinterpret_cast<const char*>(data), size) {}

    // The 1-based line of the position, counted as LineReader counts them.
    std::size_t Line() const
    {
        const std::string upTo = std::string(m_text.substr(0, m_at)) + "."; // the position's own line
        LineReader lines(reinterpret_cast<const std::uint8_t*>(upTo.data()), upTo.size());
        std::string_view line;
        while (lines.Next(line))
            ;
        return lines.Number();
    }

    bool AtEnd() const { return m_at >= m_text.size(); }
    bool Sees(std::string_view text) const { return m_text.substr(m_at, text.size()) == text; }

    void SkipSpace()
    {
        while (!AtEnd() && IsSpace(m_text[m_at]))
            ++m_at;
    }

    // Skips blanks, comments and processing instructions; false when one of them does not end.
    bool SkipMisc()
    {
        for (;;)
        {
            SkipSpace();
            const std::string_view close = Sees("<!--") ? "-->" : Sees("<?") ? "?>" : "";
            if (close.empty())
                return true;
            if (!SkipPast(close))
                return false;
        }
    }

    // Skips to the next "<", or to the end.
    void SkipText() { m_at = std::min(m_text.find('<', m_at), m_text.size()); }

    bool SkipPast(std::string_view close)
    {
        const std::size_t end = m_text.find(close, m_at);
        if (end == std::string_view::npos)
            return false;
        m_at = end + close.size();
        return true;
    }

    // A name after "<" or "</", or of an attribute.
    std::string_view TakeName()
    {
        const std::size_t start = m_at;
        while (!AtEnd() && !IsSpace(m_text[m_at]) &&
               std::string_view("=/<>\"'").find(m_text[m_at]) == std::string_view::npos)
            ++m_at;
        return m_text.substr(start, m_at - start);
    }

    bool Take(std::string_view text)
    {
        if (!Sees(text))
            return false;
        m_at += text.size();
        return true;
    }

    // A quoted attribute value, its references decoded and its line ends and tabs made blanks.
    bool TakeValue(std::string& value)
    {
        if (AtEnd() || (m_text[m_at] != '"' && m_text[m_at] != '\''))
            return false;
        const char quote = m_text[m_at++];
        value.clear();
        while (!AtEnd() && m_text[m_at] != quote)
        {
            const char c = m_text[m_at];
            if (c == '<')
                return false;
            if (c == '&')
            {
                if (!TakeReference(value))
                    return false;
                continue;
            }
            value += IsSpace(c) ? ' ' : c;
            ++m_at;
        }
        return Take(std::string_view(&quote, 1));
    }

  private:
    static bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

    bool TakeReference(std::string& value)
    {
        const std::size_t end = m_text.find(';', m_at);
        if (end == std::string_view::npos || end - m_at > 10)
            return false;
        const std::string_view name = m_text.substr(m_at + 1, end - m_at - 1);
        static const std::pair<std::string_view, char> kNamed[] = {
            {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
        m_at = end + 1;
        for (const auto& [entity, c] : kNamed)
        {
            if (name == entity)
            {
                value += c;
                return true;
            }
        }
        // &#nnn; or &#xhh;: a code point, put into the value as UTF-8.
        const bool hex = StartsWith(name, "#x");
        const std::string_view digits = name.substr(hex ? 2 : 1);
        if (!StartsWith(name, "#") || digits.empty() ||
            digits.find_first_not_of(hex ? "0123456789abcdefABCDEF" : "0123456789") != std::string_view::npos)
            return false;
        unsigned long point = 0;
        for (const char c : digits)
        {
            point = point * (hex ? 16 : 10) + static_cast<unsigned>(c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10);
            if (point > 0x10FFFF)
                return false;
        }
        if (point == 0 || (point >= 0xD800 && point <= 0xDFFF))
            return false;
        PutUtf8(value, static_cast<std::uint32_t>(point));
        return true;
    }

    std::string_view m_text;
    std::size_t m_at = 0;
};

// The part of a qualified name after its prefix: "color" of "draw:color".
std::string_view LocalName(std::string_view name)
{
    const std::size_t colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

PaletteReadResult Fault(const XmlScanner& xml, std::string expected)
{
    return LineFault(PaletteFormat::soc, xml.Line(), std::move(expected));
}

bool IsColourValue(std::string_view value)
{
    return value.size() == 7 && value[0] == '#' &&
           value.find_first_not_of("0123456789abcdefABCDEF", 1) == std::string_view::npos;
}

// The text with the five characters that XML gives meaning to written as entities.
std::string Escaped(std::string_view text)
{
    std::string escaped;
    for (const char c : text)
    {
        switch (c)
        {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '"': escaped += "&quot;"; break;
        case '\'': escaped += "&apos;"; break;
        // A tab or a line end would become a blank on reading: a reference keeps it.
        case '\t': escaped += "&#9;"; break;
        case '\n': escaped += "&#10;"; break;
        case '\r': escaped += "&#13;"; break;
        default: escaped += c;
        }
    }
    return escaped;
}
} // namespace

PaletteReadResult ReadSocPalette(const std::uint8_t* data, std::size_t size)
{
    XmlScanner xml(data, size);
    constexpr const char* kRoot = "the root element office:color-table";
    if (!xml.SkipMisc() || !xml.Take("<") || xml.Sees("!") || xml.Sees("?"))
        return Fault(xml, kRoot);
    const std::string_view root = xml.TakeName();
    if (LocalName(root) != "color-table")
        return Fault(xml, kRoot);

    PaletteReadResult result{PaletteFormat::soc, {}, std::nullopt};
    std::vector<PaletteColour>& colours = result.palette.colours;
    std::size_t depth = 0; // of the element being read, the root's 0
    bool rootEnded = false;
    // The root's attributes, then its content: each start tag with its attributes, end tags, and what
    // lies between them.
    bool inTag = true;
    std::string_view element = root;
    std::string name, colour;
    bool named = false, coloured = false;
    while (!rootEnded)
    {
        if (inTag)
        {
            xml.SkipSpace();
            const bool empty = xml.Take("/>");
            if (empty || xml.Take(">"))
            {
                if (depth == 1 && LocalName(element) == "color")
                {
                    if (!coloured)
                        return Fault(xml, "a draw:color attribute \"#rrggbb\"");
                    if (colours.size() == kMaxExchangeColours)
                        return Fault(xml, "at most 65535 colours");
                    PaletteColour entry = HexColour(std::string_view(colour).substr(1));
                    entry.name = named ? name : "";
                    colours.push_back(std::move(entry));
                }
                inTag = false;
                if (empty && depth-- == 0)
                    rootEnded = true;
                continue;
            }
            const std::string_view attribute = xml.TakeName();
            std::string value;
            xml.SkipSpace();
            if (attribute.empty() || !xml.Take("="))
                return Fault(xml, "an attribute as name=\"value\"");
            xml.SkipSpace();
            if (!xml.TakeValue(value))
                return Fault(xml, "a quoted attribute value, its \"&\" as &amp; &lt; &gt; &quot; &apos; or &#number;");
            if (depth == 1 && LocalName(element) == "color")
            {
                if (LocalName(attribute) == "color")
                {
                    if (!IsColourValue(value))
                        return Fault(xml, "a draw:color attribute \"#rrggbb\"");
                    colour = value;
                    coloured = true;
                }
                else if (LocalName(attribute) == "name")
                {
                    name = value;
                    named = true;
                }
            }
            continue;
        }
        // Between tags: text, which a colour table does not use, comments, CDATA and instructions.
        if (xml.AtEnd())
            return Fault(xml, "the end tag </" + std::string(root) + ">");
        if (xml.Sees("<!--") || xml.Sees("<?") || xml.Sees("<![CDATA["))
        {
            if (!xml.SkipPast(xml.Sees("<!--") ? "-->" : xml.Sees("<?") ? "?>" : "]]>"))
                return Fault(xml, "the end of the comment, CDATA or processing instruction");
            continue;
        }
        if (xml.Take("</"))
        {
            const std::string_view end = xml.TakeName();
            xml.SkipSpace();
            if (end.empty() || !xml.Take(">"))
                return Fault(xml, "an end tag");
            if (depth-- == 0)
                rootEnded = true;
            continue;
        }
        if (xml.Take("<"))
        {
            element = xml.TakeName();
            if (element.empty())
                return Fault(xml, "an element's name");
            ++depth;
            inTag = true;
            named = coloured = false;
            continue;
        }
        xml.SkipText();
    }
    if (!xml.SkipMisc() || !xml.AtEnd())
        return Fault(xml, "the end of the file after </" + std::string(root) + ">");
    if (colours.empty())
        return Fault(xml, "at least one draw:color");
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
        text += "  <draw:color draw:name=\"" + Escaped(colour.name) + "\" draw:color=\"" +
                ColourNumbers(colour, "#%02x%02x%02x") + "\"/>\n";
    text += "</ooo:color-table>\n";
    return Bytes(text);
}
