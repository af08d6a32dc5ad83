// The text a text resource's bytes stand for: the end at NUL or size, and the 0x02 end mark.
#include "about/HelpText.h"

#include <gtest/gtest.h>
#include <string>

namespace
{
std::string Trim(const std::string& bytes)
{
    return TextFromResourceBytes(bytes.data(), bytes.size());
}
} // namespace

TEST(HelpText, EmptyResourcesGiveEmptyText)
{
    EXPECT_EQ(TextFromResourceBytes(nullptr, 0), "");
    EXPECT_EQ(TextFromResourceBytes("abc", 0), "");
    EXPECT_EQ(Trim(std::string(1, '\0')), "");
    EXPECT_EQ(Trim(std::string("\0\0\0", 3)), "");
}

TEST(HelpText, TextEndsAtSizeOrFirstNul)
{
    EXPECT_EQ(Trim("Line one\r\nLine two\r\n"), "Line one\r\nLine two\r\n");
    EXPECT_EQ(Trim(std::string("first\0second", 12)), "first");
    EXPECT_EQ(Trim(std::string("ab\0\x02", 4)), "ab");
    // No terminating NUL is needed: the size alone ends the text.
    const char unterminated[3] = {'x', 'y', 'z'};
    EXPECT_EQ(TextFromResourceBytes(unterminated, 3), "xyz");
    EXPECT_EQ(TextFromResourceBytes(unterminated, 2), "xy");
}

TEST(HelpText, TrailingEndMarkIsDropped)
{
    EXPECT_EQ(Trim("text\r\n\x02"), "text\r\n");
    EXPECT_EQ(Trim("\x02"), "");
    // Only the last character, and only one of them.
    EXPECT_EQ(Trim("a\x02\x02"), "a\x02");
    EXPECT_EQ(Trim("a\x02z"), "a\x02z");
    // The mark before a NUL is the text's last character.
    EXPECT_EQ(Trim(std::string("text\x02\0tail", 10)), "text");
}

TEST(HelpText, OtherControlBytesAreKept)
{
    EXPECT_EQ(Trim("text\x01"), "text\x01");
    EXPECT_EQ(Trim("text\x03"), "text\x03");
    EXPECT_EQ(Trim("\xff\xfe"), "\xff\xfe");
}
