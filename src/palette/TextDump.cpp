#include "palette/TextDump.h"

#include "framework/NumberText.h"

#include <algorithm>
#include <utility>

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

    // "Tuesday, December 08, 2026 @6:10:30"
    std::string text = kWeekdays[time->weekday];
    text += ", ";
    text += kMonths[time->month - 1];
    text += ' ';
    AppendDecimal(text, time->day, 2, '0');
    text += ", ";
    AppendDecimal(text, time->year, 4, '0');
    text += " @";
    AppendDecimal(text, time->hour);
    text += ':';
    AppendDecimal(text, time->minute, 2, '0');
    text += ':';
    AppendDecimal(text, time->second, 2, '0');
    return text;
}

std::vector<std::string> FormatTextDump(const PaletteSnapshot& captured, int entryCount, const std::string& timeText)
{
    const int count = std::clamp(entryCount, 0, kMaxPaletteEntries);
    std::vector<std::string> lines;
    lines.reserve(8 + static_cast<std::size_t>(count));
    // Every line starts as the same type of text, so the vector's insertion is instantiated once; the
    // time and the entry count complete lines 4 and 5.
    const char* const heading[] = {"Vexa - Win32 Color Palette Tool\n",
                                   "Written by Vexa, the color palette tool of Quillon Computing\n",
                                   "\n",
                                   "Content: System palette dump\n",
                                   "Time: ",
                                   "Number of entries: ",
                                   "\n",
                                   "Index: R,   G,   B\n"};
    for (const char* text : heading)
        lines.emplace_back(text);
    lines[4] += timeText + "\n";
    AppendDecimal(lines[5], count);
    lines[5] += '\n';

    for (int i = 0; i < count; ++i)
    {
        const PaletteEntry& entry = captured.palPalEntry[i];
        // "255: 255, 255, 255\n"
        std::string line;
        AppendDecimal(line, i, 3);
        line += ": ";
        AppendDecimal(line, entry.peRed, 3);
        line += ", ";
        AppendDecimal(line, entry.peGreen, 3);
        line += ", ";
        AppendDecimal(line, entry.peBlue, 3);
        line += '\n';
        lines.push_back(std::move(line));
    }
    return lines;
}
