#include "palette/TextDump.h"

#include <algorithm>
#include <cstdio>

namespace
{
constexpr const char* kWeekdays[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
constexpr const char* kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                                   "July",    "August",   "September", "October", "November", "December"};

bool InRange(int value, int low, int high)
{
    return value >= low && value <= high;
}
} // namespace

std::string FormatDumpTime(const LocalTimeFields* time)
{
    if (time == nullptr || !InRange(time->year, 0, 9999) || !InRange(time->month, 1, 12) ||
        !InRange(time->day, 1, 31) || !InRange(time->weekday, 0, 6) || !InRange(time->hour, 0, 23) ||
        !InRange(time->minute, 0, 59) || !InRange(time->second, 0, 60))
        return {};

    // The longest text, "Wednesday, September 30, 2026 @23:59:59", takes 39 characters.
    char text[64];
    const int length =
        std::snprintf(text, sizeof text, "%s, %s %02d, %04d @%d:%02d:%02d", kWeekdays[time->weekday],
                      kMonths[time->month - 1], time->day, time->year, time->hour, time->minute, time->second);
    if (length < 0 || static_cast<std::size_t>(length) >= sizeof text)
        return {};
    return std::string(text, static_cast<std::size_t>(length));
}

std::vector<std::string> FormatTextDump(const PaletteSnapshot& captured, int entryCount, const std::string& timeText)
{
    const int count = std::clamp(entryCount, 0, kMaxPaletteEntries);
    std::vector<std::string> lines;
    lines.reserve(8 + static_cast<std::size_t>(count));
    lines.emplace_back("Vexa - Win32 Color Palette Tool\n");
    lines.emplace_back("Written by Vexa, the color palette tool of Quillon Computing\n");
    lines.emplace_back("\n");
    lines.emplace_back("Content: System palette dump\n");
    lines.push_back("Time: " + timeText + "\n");
    lines.push_back("Number of entries: " + std::to_string(count) + "\n");
    lines.emplace_back("\n");
    lines.emplace_back("Index: R,   G,   B\n");

    for (int i = 0; i < count; ++i)
    {
        const PaletteEntry& entry = captured.palPalEntry[i];
        // "255: 255, 255, 255\n" is 19 characters.
        char line[32];
        std::snprintf(line, sizeof line, "%3d: %3d, %3d, %3d\n", i, entry.peRed, entry.peGreen, entry.peBlue);
        lines.emplace_back(line);
    }
    return lines;
}
