// A small reader of the XML that palette files are kept in: the elements in document order with their
// attributes, entities decoded; text, comments, declarations and CDATA are skipped.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// One start or end tag. An empty element (<a/>) is a start tag with selfClosing set and no end tag.
struct XmlTag
{
    std::string name; // as written, with its prefix ("draw:color")
    std::vector<std::pair<std::string, std::string>> attributes;
    bool end = false;         // </name>
    bool selfClosing = false; // <name/>
    std::size_t offset = 0;   // of its '<'

    // The value of the attribute of that name, or nullptr when the tag has none.
    const std::string* Attribute(std::string_view attributeName) const;
};

struct XmlScan
{
    std::vector<XmlTag> tags;
    // Where the bytes stop being well-formed XML, and what was expected there.
    std::optional<std::pair<std::size_t, std::string>> fault;
};

// Every tag of the document, or the first fault (an unclosed or mismatched element, an element after
// the root's end, an unknown entity, a character reference that is no Unicode scalar value, an
// attribute without a quoted value, ...).
XmlScan ScanXml(const std::uint8_t* data, std::size_t size);

// Text made safe for an attribute value: & < > " ' escaped, and tabs and line ends as references so
// that they read back as themselves.
std::string EscapeXml(std::string_view text);
