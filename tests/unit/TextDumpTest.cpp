// The text palette dump: its time text and its lines.
#include "palette/TextDump.h"

#include <climits>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{
constexpr LocalTimeFields kTuesday{2026, 12, 8, 2, 6, 10, 30};

TEST(TextDump, TimeTextOfAKnownMoment)
{
    EXPECT_EQ(FormatDumpTime(&kTuesday), "Tuesday, December 08, 2026 @6:10:30");

    struct Case
    {
        LocalTimeFields time;
        const char* text;
    };
    const Case cases[] = {
        {{2026, 1, 1, 4, 0, 0, 0}, "Thursday, January 01, 2026 @0:00:00"},
        {{1999, 12, 31, 5, 23, 59, 59}, "Friday, December 31, 1999 @23:59:59"},
        {{2016, 12, 31, 6, 23, 59, 60}, "Saturday, December 31, 2016 @23:59:60"},
        {{0, 1, 9, 0, 9, 5, 7}, "Sunday, January 09, 0000 @9:05:07"},
        {{9999, 12, 31, 5, 12, 0, 0}, "Friday, December 31, 9999 @12:00:00"},
        {{2030, 9, 25, 3, 10, 1, 2}, "Wednesday, September 25, 2030 @10:01:02"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatDumpTime(&c.time), c.text);
}

TEST(TextDump, TimeTextNamesEveryWeekdayAndMonth)
{
    const char* weekdays[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
    const char* months[] = {"January", "February", "March",     "April",   "May",      "June",
                            "July",    "August",   "September", "October", "November", "December"};
    for (int weekday = 0; weekday < 7; ++weekday)
    {
        LocalTimeFields time = kTuesday;
        time.weekday = weekday;
        EXPECT_EQ(FormatDumpTime(&time), std::string(weekdays[weekday]) + ", December 08, 2026 @6:10:30");
    }
    for (int month = 1; month <= 12; ++month)
    {
        LocalTimeFields time = kTuesday;
        time.month = month;
        EXPECT_EQ(FormatDumpTime(&time), std::string("Tuesday, ") + months[month - 1] + " 08, 2026 @6:10:30");
    }
}

TEST(TextDump, TimeTextIsEmptyForAnyFieldOutOfRange)
{
    EXPECT_EQ(FormatDumpTime(nullptr), "");
    struct Field
    {
        int LocalTimeFields::*member;
        int low;
        int high;
    };
    const Field fields[] = {
        {&LocalTimeFields::year, 0, 9999}, {&LocalTimeFields::month, 1, 12}, {&LocalTimeFields::day, 1, 31},
        {&LocalTimeFields::weekday, 0, 6}, {&LocalTimeFields::hour, 0, 23},  {&LocalTimeFields::minute, 0, 59},
        {&LocalTimeFields::second, 0, 60},
    };
    for (const Field& f : fields)
    {
        for (const int value : {INT_MIN, f.low - 1, f.high + 1, INT_MAX})
        {
            LocalTimeFields time = kTuesday;
            time.*f.member = value;
            EXPECT_EQ(FormatDumpTime(&time), "") << value;
        }
        for (const int value : {f.low, f.high})
        {
            LocalTimeFields time = kTuesday;
            time.*f.member = value;
            EXPECT_NE(FormatDumpTime(&time), "") << value;
        }
    }
}

PaletteSnapshot SampleCapture()
{
    PaletteSnapshot captured = EmptySnapshot(256);
    for (int i = 0; i < 256; ++i)
        captured.palPalEntry[i] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                                   static_cast<std::uint8_t>(i * 3), 0xFF};
    return captured;
}

TEST(TextDump, HeaderLines)
{
    const std::vector<std::string> lines = FormatTextDump(SampleCapture(), 256, "Tuesday, December 08, 2026 @6:10:30");
    ASSERT_EQ(lines.size(), 264u);
    EXPECT_EQ(lines[0], "Vexa - Win32 Color Palette Tool\n");
    EXPECT_EQ(lines[2], "\n");
    EXPECT_EQ(lines[3], "Content: System palette dump\n");
    EXPECT_EQ(lines[4], "Time: Tuesday, December 08, 2026 @6:10:30\n");
    EXPECT_EQ(lines[5], "Number of entries: 256\n");
    EXPECT_EQ(lines[6], "\n");
    EXPECT_EQ(lines[7], "Index: R,   G,   B\n");
    EXPECT_EQ(lines[263], "255: 255,   0, 253\n");
    // Every line, the notice of line 2 included, is one line ending in a bare line feed.
    for (const std::string& line : lines)
    {
        ASSERT_FALSE(line.empty());
        EXPECT_EQ(line.find('\n'), line.size() - 1) << line;
        EXPECT_EQ(line.find('\r'), std::string::npos) << line;
    }
    EXPECT_GT(lines[1].size(), 1u);
}

TEST(TextDump, EntryLinesAlignEveryNumberInThreeCharacters)
{
    const std::vector<std::string> lines = FormatTextDump(SampleCapture(), 256, "");
    EXPECT_EQ(lines[4], "Time: \n");
    EXPECT_EQ(lines[8], "  0:   0, 255,   0\n");
    EXPECT_EQ(lines[9], "  1:   1, 254,   3\n");
    EXPECT_EQ(lines[8 + 10], " 10:  10, 245,  30\n");
    EXPECT_EQ(lines[8 + 100], "100: 100, 155,  44\n");
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(lines[8 + i].size(), 19u) << i;
}

TEST(TextDump, EntryCountIsHeldTo0Through256)
{
    struct Case
    {
        int entryCount;
        int shown;
    };
    for (const Case c : {Case{INT_MIN, 0}, Case{-1, 0}, Case{0, 0}, Case{1, 1}, Case{16, 16}, Case{256, 256},
                         Case{257, 256}, Case{INT_MAX, 256}})
    {
        const std::vector<std::string> lines = FormatTextDump(SampleCapture(), c.entryCount, "x");
        ASSERT_EQ(lines.size(), 8u + static_cast<std::size_t>(c.shown)) << c.entryCount;
        EXPECT_EQ(lines[5], "Number of entries: " + std::to_string(c.shown) + "\n");
        EXPECT_EQ(lines.back(),
                  c.shown == 0 ? "Index: R,   G,   B\n" : FormatTextDump(SampleCapture(), 256, "x")[7 + c.shown]);
    }
}

TEST(TextDump, ZeroFilledEntriesPrintAsBlack)
{
    const std::vector<std::string> lines = FormatTextDump(EmptySnapshot(256), 3, "t");
    EXPECT_EQ(lines[8], "  0:   0,   0,   0\n");
    EXPECT_EQ(lines[10], "  2:   0,   0,   0\n");
}
} // namespace
