#include "settings/DesktopRect.h"

#include <cstdint>
#include <limits>

namespace
{
int Saturate(std::int64_t value)
{
    constexpr std::int64_t low = std::numeric_limits<int>::min();
    constexpr std::int64_t high = std::numeric_limits<int>::max();
    return static_cast<int>(value < low ? low : value > high ? high : value);
}

// One axis: [low, high) against the desktop's [deskLow, deskHigh). Stored rectangles come from the
// registry and may span the whole 32-bit range, so every sum is taken in 64 bits.
void KeepSpanOnDesktop(int& low, int& high, int deskLow, int deskHigh)
{
    const std::int64_t minHigh = std::int64_t{deskLow} + kDesktopMargin;
    const std::int64_t maxLow = std::int64_t{deskHigh} - kDesktopMargin;
    std::int64_t shift = 0;
    if (high < minHigh)
        shift = minHigh - high;
    else if (low > maxLow)
        shift = maxLow - low;
    if (shift == 0)
        return;
    low = Saturate(low + shift);
    high = Saturate(high + shift);
}
} // namespace

void KeepRectOnDesktop(Rect& rect, const Rect& desktop)
{
    KeepSpanOnDesktop(rect.left, rect.right, desktop.left, desktop.right);
    KeepSpanOnDesktop(rect.top, rect.bottom, desktop.top, desktop.bottom);
}

int SaturatedWidth(const Rect& rect)
{
    return Saturate(std::int64_t{rect.right} - rect.left);
}

int SaturatedHeight(const Rect& rect)
{
    return Saturate(std::int64_t{rect.bottom} - rect.top);
}
