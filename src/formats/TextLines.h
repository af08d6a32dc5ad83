// What the text palette formats share: their lines, whatever ends them, and the small parsers of
// numbers, colours and hex digits on a line.
#pragma once

#include "formats/PaletteCodecs.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

inline constexpr const char* kColourExpected = "a colour: red, green and blue from 0 to 255";

// The lines of a text, each without its line end (LF, CR LF, CR, or the CR CR LF that a text-mode
// writer makes of CR LF), counted from 1.
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
        const std::string_view lineEnd = m_text.substr(end, 3);
        const std::size_t endSize = lineEnd == "\r\r\n" ? 3 : lineEnd.substr(0, 2) == "\r\n" ? 2 : 1;
        m_text.remove_prefix(std::min(end + endSize, m_text.size()));
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

bool IsBlank(char c);
// The text without the blanks around it.
std::string_view Trim(std::string_view text);
bool StartsWith(std::string_view text, std::string_view prefix);
// Skips blanks, then takes a decimal number of at most max.
bool TakeNumber(std::string_view& rest, unsigned max, unsigned& value);
// Skips blanks, then takes the character c.
bool TakeChar(std::string_view& rest, char c);
// Red, green and blue from 0 to 255, separated by blanks; what follows must be nothing or a blank.
bool TakeColour(std::string_view& rest, PaletteColour& colour);
// Six hex digits RRGGBB as a colour.
PaletteColour HexColour(std::string_view digits);
// A fault on a line (1-based) of a text format.
PaletteReadResult LineFault(PaletteFormat format, std::size_t line, std::string expected);
std::string Quoted(std::string_view text);
std::vector<std::uint8_t> Bytes(const std::string& text);
// The colour's red, green and blue through a printf format of three ints.
std::string ColourNumbers(const PaletteColour& colour, const char* format);
