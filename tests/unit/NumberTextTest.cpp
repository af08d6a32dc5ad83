// Whole numbers as text, in printf's "%d", "%3d", "%03d" and "%06X" layouts.
#include "framework/NumberText.h"

#include <climits>
#include <gtest/gtest.h>
#include <tuple>

namespace
{
TEST(NumberText, AppendsPrintfLayouts)
{
    // Value, width, fill ('X' for upper-case hexadecimal, which fills with zeros) and the text.
    const std::tuple<int, int, char, const char*> cases[] = {
        {0, 0, ' ', "0"},    {255, 3, ' ', "255"},     {0x00FF80, 6, 'X', "00FF80"},
        {7, 3, ' ', "  7"},  {1234, 3, '0', "1234"},   {0xABCDEF, 0, 'X', "ABCDEF"},
        {-7, 3, ' ', " -7"}, {-123, 3, '0', "-123"},   {0x1000011, 6, 'X', "1000011"},
        {17, 3, '0', "017"}, {0, 6, 'X', "000000"},    {INT_MIN, 0, ' ', "-2147483648"},
        {-7, 3, '0', "-07"}, {-1, 6, 'X', "FFFFFFFF"}, {INT_MAX, 11, '0', "02147483647"},
    };
    for (const auto& [value, width, fill, text] : cases)
    {
        std::string appended = "x";
        if (fill == 'X')
            AppendHex(appended, static_cast<std::uint32_t>(value), width);
        else
            AppendDecimal(appended, value, width, fill);
        EXPECT_EQ(appended, std::string("x") + text) << value;
    }
}
} // namespace
