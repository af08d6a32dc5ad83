#include "formats/SwatchFields.h"

void PutUtf8(std::string& out, std::uint32_t code)
{
    if (code < 0x80)
        out += static_cast<char>(code);
    else if (code < 0x800)
        out += {static_cast<char>(0xC0 | code >> 6), static_cast<char>(0x80 | (code & 0x3F))};
    else if (code < 0x10000)
        out += {static_cast<char>(0xE0 | code >> 12), static_cast<char>(0x80 | (code >> 6 & 0x3F)),
                static_cast<char>(0x80 | (code & 0x3F))};
    else
        out += {static_cast<char>(0xF0 | code >> 18), static_cast<char>(0x80 | (code >> 12 & 0x3F)),
                static_cast<char>(0x80 | (code >> 6 & 0x3F)), static_cast<char>(0x80 | (code & 0x3F))};
}

std::optional<std::string> Utf16BeToUtf8(const std::uint8_t* data, std::size_t units, std::size_t& badUnit)
{
    std::string text;
    for (std::size_t i = 0; i < units; ++i)
    {
        const std::uint32_t unit = Be16(data + 2 * i);
        if (unit == 0)
            break;
        if (unit >= 0xDC00 && unit <= 0xDFFF)
        {
            badUnit = i;
            return std::nullopt;
        }
        if (unit >= 0xD800 && unit <= 0xDBFF)
        {
            const std::uint32_t low = i + 1 < units ? Be16(data + 2 * (i + 1)) : 0;
            if (low < 0xDC00 || low > 0xDFFF)
            {
                badUnit = i;
                return std::nullopt;
            }
            PutUtf8(text, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
            ++i;
            continue;
        }
        PutUtf8(text, unit);
    }
    return text;
}

std::u16string Utf8ToUtf16(std::string_view text)
{
    std::u16string units;
    for (std::size_t i = 0; i < text.size();)
    {
        const auto byte = [&text](std::size_t at) { return static_cast<std::uint8_t>(text[at]); };
        const std::uint8_t lead = byte(i);
        std::size_t length = lead < 0x80                   ? 1
                             : lead >= 0xC2 && lead < 0xE0 ? 2
                             : lead >= 0xE0 && lead < 0xF0 ? 3
                             : lead >= 0xF0 && lead < 0xF5 ? 4
                                                           : 0;
        std::uint32_t code = length == 1 ? lead : length == 2 ? lead & 0x1F : length == 3 ? lead & 0x0F : lead & 0x07;
        for (std::size_t k = 1; k < length; ++k)
        {
            if (i + k >= text.size() || (byte(i + k) & 0xC0) != 0x80)
            {
                length = 0;
                break;
            }
            code = code << 6 | (byte(i + k) & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF are no valid sequence either.
        if (length == 0 || (length == 3 && code < 0x800) || (length == 4 && (code < 0x10000 || code > 0x10FFFF)) ||
            (code >= 0xD800 && code <= 0xDFFF))
        {
            units += u'\uFFFD';
            ++i;
            continue;
        }
        if (code >= 0x10000)
        {
            units += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
            units += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
        }
        else
            units += static_cast<char16_t>(code);
        i += length;
    }
    return units;
}

void TruncateUtf16(std::u16string& units, std::size_t most)
{
    if (units.size() <= most)
        return;
    const bool splitsPair = most > 0 && units[most - 1] >= 0xD800 && units[most - 1] <= 0xDBFF;
    units.resize(splitsPair ? most - 1 : most);
}

void PutUtf16Be(std::vector<std::uint8_t>& out, const std::u16string& units)
{
    for (const char16_t unit : units)
        PutBe16(out, unit);
    PutBe16(out, 0);
}

std::string CleanName(std::string name)
{
    for (char& c : name)
        if ((static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7F)
            c = ' ';
    return name;
}

std::string ValidUtf8(std::string_view text)
{
    std::vector<std::uint8_t> units;
    PutUtf16Be(units, Utf8ToUtf16(text));
    std::size_t badUnit = 0;
    return Utf16BeToUtf8(units.data(), units.size() / 2, badUnit).value_or(std::string{});
}
