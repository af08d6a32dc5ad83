#include "framework/NumberText.h"

namespace
{
void AppendDigits(std::string& text, std::uint32_t magnitude, std::uint32_t base, bool negative, int width, char fill)
{
    // 4294967295 has the most digits of any 32-bit magnitude in either base.
    char digits[10];
    int count = 0;
    do
    {
        digits[count++] = "0123456789ABCDEF"[magnitude % base];
        magnitude /= base;
    } while (magnitude != 0);
    const int padding = width - count - (negative ? 1 : 0);
    if (negative && fill == '0')
        text += '-';
    if (padding > 0)
        text.append(static_cast<std::size_t>(padding), fill);
    if (negative && fill != '0')
        text += '-';
    while (count > 0)
        text += digits[--count];
}
} // namespace

void AppendDecimal(std::string& text, int value, int width, char fill)
{
    // The magnitude in unsigned arithmetic, so INT_MIN has one too.
    const std::uint32_t magnitude =
        value < 0 ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
    AppendDigits(text, magnitude, 10, value < 0, width, fill);
}

void AppendHex(std::string& text, std::uint32_t value, int width)
{
    AppendDigits(text, value, 16, false, width, '0');
}
