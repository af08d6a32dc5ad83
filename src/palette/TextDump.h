// The text palette dump as lines: a header with the time of the dump and the entry count, then one
// line per entry. Lines end in a bare line feed; the file writer's text mode makes that CR LF.
#pragma once

#include "palette/PaletteSnapshot.h"

#include <string>
#include <vector>

// A broken-down local time, as the C runtime's localtime gives it but with a 1-based month and the
// full year.
struct LocalTimeFields
{
    int year;    // 0..9999
    int month;   // 1..12
    int day;     // 1..31
    int weekday; // 0..6, 0 = Sunday
    int hour;    // 0..23
    int minute;  // 0..59
    int second;  // 0..60, 60 for a leap second
};

// "Tuesday, December 08, 2026 @6:10:30": the C locale's "%A, %B %d, %Y @%X". Empty for a null
// pointer or any field out of its range, which the dump shows as a time line with no time.
std::string FormatDumpTime(const LocalTimeFields* time);

// The 8 header lines and one line per entry 0..entryCount-1, each ending in "\n". The entry count is
// held to 0..256; the time text goes into the time line as it is.
std::vector<std::string> FormatTextDump(const PaletteSnapshot& captured, int entryCount, const std::string& timeText);
