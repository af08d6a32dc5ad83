// The XML reader of the formats kept in XML: one pass over the bytes, no recursion, so a hostile file
// costs at most its own size.
#include "formats/XmlScan.h"

#include "formats/SwatchFields.h"

#include <cstring>

namespace
{
bool IsNameByte(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == ':' ||
           c == '-' || c == '.' || c >= 0x80;
}

bool IsSpace(unsigned char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

class Scanner
{
  public:
    Scanner(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    XmlScan Run()
    {
        std::vector<std::string> open;
        while (m_at < m_size && !m_scan.fault)
        {
            if (m_data[m_at] != '<')
            {
                // Text between tags
                const void* next = std::memchr(m_data + m_at, '<', m_size - m_at);
                m_at = next ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(next) - m_data) : m_size;
                continue;
            }
            if (StartsWith("<?"))
                SkipPast("?>", "the end of a processing instruction (?>)");
            else if (StartsWith("<!--"))
                SkipPast("-->", "the end of a comment (-->)");
            else if (StartsWith("<![CDATA["))
                SkipPast("]]>", "the end of a CDATA section (]]>)");
            else if (StartsWith("<!"))
                SkipDeclaration();
            else
            {
                XmlTag tag;
                if (!ReadTag(tag))
                    break;
                if (open.empty() && !m_scan.tags.empty())
                {
                    Fail(tag.offset, "the end of the file after </" + m_scan.tags.front().name + ">");
                    break;
                }
                if (tag.end)
                {
                    if (open.empty() || open.back() != tag.name)
                    {
                        Fail(tag.offset, open.empty() ? "no end tag where no element is open"
                                                      : "the end tag </" + open.back() + ">");
                        break;
                    }
                    open.pop_back();
                }
                else if (!tag.selfClosing)
                    open.push_back(tag.name);
                m_scan.tags.push_back(std::move(tag));
            }
        }
        if (!m_scan.fault && !open.empty())
            Fail(m_size, "the end tag </" + open.back() + ">");
        if (!m_scan.fault && m_scan.tags.empty())
            Fail(m_size, "an XML element");
        if (m_scan.fault)
            m_scan.tags.clear();
        return std::move(m_scan);
    }

  private:
    bool Fail(std::size_t offset, std::string expected)
    {
        if (!m_scan.fault)
            m_scan.fault = std::make_pair(offset, std::move(expected));
        return false;
    }

    bool StartsWith(const char* text) const
    {
        const std::size_t length = std::strlen(text);
        return m_size - m_at >= length && std::memcmp(m_data + m_at, text, length) == 0;
    }

    void SkipPast(const char* end, const char* expected)
    {
        const std::size_t length = std::strlen(end);
        for (std::size_t i = m_at + 2; m_size - i >= length; ++i)
        {
            if (std::memcmp(m_data + i, end, length) == 0)
            {
                m_at = i + length;
                return;
            }
        }
        Fail(m_size, expected);
    }

    // <!DOCTYPE ...> with an internal subset in brackets, which may hold '>'.
    void SkipDeclaration()
    {
        bool inSubset = false;
        for (std::size_t i = m_at + 2; i < m_size; ++i)
        {
            if (m_data[i] == '[')
                inSubset = true;
            else if (m_data[i] == ']')
                inSubset = false;
            else if (m_data[i] == '>' && !inSubset)
            {
                m_at = i + 1;
                return;
            }
        }
        Fail(m_size, "the end of a declaration (>)");
    }

    void SkipSpace()
    {
        while (m_at < m_size && IsSpace(m_data[m_at]))
            ++m_at;
    }

    bool ReadName(std::string& name)
    {
        const std::size_t start = m_at;
        while (m_at < m_size && IsNameByte(m_data[m_at]))
            ++m_at;
        name.assign(reinterpret_cast<const char*>(m_data + start), m_at - start);
        return !name.empty();
    }

    bool ReadTag(XmlTag& tag)
    {
        tag.offset = m_at++;
        if (m_at < m_size && m_data[m_at] == '/')
        {
            tag.end = true;
            ++m_at;
        }
        if (!ReadName(tag.name))
            return Fail(m_at, "an element name");
        for (;;)
        {
            const std::size_t before = m_at;
            SkipSpace();
            if (m_at >= m_size)
                return Fail(m_size, "the end of the tag <" + tag.name + ">");
            if (m_data[m_at] == '>')
            {
                ++m_at;
                return true;
            }
            if (!tag.end && m_data[m_at] == '/' && m_size - m_at >= 2 && m_data[m_at + 1] == '>')
            {
                tag.selfClosing = true;
                m_at += 2;
                return true;
            }
            std::string name;
            if (tag.end || before == m_at || !ReadName(name))
                return Fail(m_at, "an attribute name or the end of the tag <" + tag.name + ">");
            SkipSpace();
            if (m_at >= m_size || m_data[m_at] != '=')
                return Fail(m_at, "'=' after the attribute " + name);
            ++m_at;
            SkipSpace();
            if (m_at >= m_size || (m_data[m_at] != '"' && m_data[m_at] != '\''))
                return Fail(m_at, "a quoted value of the attribute " + name);
            std::string value;
            if (!ReadValue(value))
                return false;
            for (const auto& attribute : tag.attributes)
                if (attribute.first == name)
                    return Fail(before, "no second attribute " + name);
            tag.attributes.emplace_back(std::move(name), std::move(value));
        }
    }

    bool ReadValue(std::string& value)
    {
        const std::uint8_t quote = m_data[m_at++];
        while (m_at < m_size && m_data[m_at] != quote)
        {
            if (m_data[m_at] == '<')
                return Fail(m_at, "no '<' in an attribute value");
            if (m_data[m_at] != '&')
            {
                // A line end (CR LF, CR or LF) or a tab written into a value reads as one blank; only a
                // character reference keeps it.
                const std::uint8_t c = m_data[m_at++];
                if (c == '\r' && m_at < m_size && m_data[m_at] == '\n')
                    ++m_at;
                value += IsSpace(c) ? ' ' : static_cast<char>(c);
                continue;
            }
            if (!ReadEntity(value))
                return false;
        }
        if (m_at >= m_size)
            return Fail(m_size, "the closing quote of an attribute value");
        ++m_at;
        return true;
    }

    bool ReadEntity(std::string& value)
    {
        static const struct
        {
            const char* text;
            char character;
        } kNamed[] = {{"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
        for (const auto& named : kNamed)
        {
            if (StartsWith(named.text))
            {
                value += named.character;
                m_at += std::strlen(named.text);
                return true;
            }
        }
        const std::size_t start = m_at;
        if (!StartsWith("&#"))
            return Fail(start, "an entity: &amp; &lt; &gt; &quot; &apos; or &#number;");
        m_at += 2;
        const bool hex = m_at < m_size && m_data[m_at] == 'x';
        if (hex)
            ++m_at;
        std::uint32_t code = 0;
        std::size_t digits = 0;
        for (; m_at < m_size && m_data[m_at] != ';'; ++m_at, ++digits)
        {
            const unsigned char c = m_data[m_at];
            int digit = -1;
            if (c >= '0' && c <= '9')
                digit = c - '0';
            else if (hex && (c | 0x20) >= 'a' && (c | 0x20) <= 'f')
                digit = (c | 0x20) - 'a' + 10;
            if (digit < 0 || code > 0x10FFFF)
                break;
            code = code * (hex ? 16 : 10) + static_cast<std::uint32_t>(digit);
        }
        if (m_at >= m_size || m_data[m_at] != ';' || digits == 0 || code == 0 || code > 0x10FFFF ||
            (code >= 0xD800 && code <= 0xDFFF))
            return Fail(start, "a character reference to a Unicode character (&#NN; or &#xNN;)");
        ++m_at;
        PutUtf8(value, code);
        return true;
    }

    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
    XmlScan m_scan;
};
} // namespace

const std::string* XmlTag::Attribute(std::string_view attributeName) const
{
    for (const auto& attribute : attributes)
        if (attribute.first == attributeName)
            return &attribute.second;
    return nullptr;
}

XmlScan ScanXml(const std::uint8_t* data, std::size_t size)
{
    return Scanner(data, size).Run();
}

std::string EscapeXml(std::string_view text)
{
    std::string out;
    for (const char c : text)
    {
        switch (c)
        {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        // A tab or a line end would read back as a blank: a reference keeps it.
        case '\t': out += "&#9;"; break;
        case '\n': out += "&#10;"; break;
        case '\r': out += "&#13;"; break;
        default: out += c;
        }
    }
    return out;
}
