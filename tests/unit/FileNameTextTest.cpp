// File names walked a character at a time: single-byte names and names in code page 932, whose
// second bytes can be '\\' (0x5C) or '|' (0x7C).
#include "framework/FileNameText.h"

#include <gtest/gtest.h>

namespace
{
bool NoLeadBytes(unsigned char)
{
    return false;
}

bool IsCp932LeadByte(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// "ソフト" in code page 932: the first character's second byte is a backslash.
#define SOFUTO "\x83\x5C\x83\x74\x83\x67"

TEST(FileNameText, FileNameStartsAfterTheLastSeparatorCharacter)
{
    struct Case
    {
        const char* path;
        std::size_t offset;
    };
    const Case cases[] = {
        {"", 0},
        {"pic.bmp", 0},
        {"C:\\pal\\pic.bmp", 7},
        {"C:/pal/pic.bmp", 7},
        {"C:\\pal\\", 7},
        {"C:\\pal\\" SOFUTO ".bmp", 7},
        {"C:\\" SOFUTO "\\pic.bmp", 10},
        {"\x83\\", 0},        // one two-byte character
        {"C:\\pal\\\x83", 7}, // a lead byte cut off at the end is a character of its own
    };
    for (const Case& c : cases)
        EXPECT_EQ(FileNameOffset(c.path, IsCp932LeadByte), c.offset) << c.path;
    EXPECT_EQ(FileNameOffset("C:\\pal\\" SOFUTO ".bmp", NoLeadBytes), 9u);
}

TEST(FileNameText, ExtensionIsTheStoredNamesOne)
{
    struct Case
    {
        const char* path;
        const char* extension;
    };
    const Case cases[] = {
        {"", ""},
        {"pic", ""},
        {"pic.", ""},
        {"pic. .", ""},
        {"C:\\a.b\\pic", ""},
        {"C:\\a.b\\pic.", ""},
        {"C:\\pal\\pic.bmp", "bmp"},
        {"pic.BMP", "BMP"},
        {"pic.bmp.", "bmp"},
        {"pic.bmp...", "bmp"},
        {"pic.bmp. . ", "bmp"},
        {"pic.bmp  ", "bmp"},
        {"pic.txt.bmp", "bmp"},
        {"pic.bmp.txt", "txt"},
        {"pic.b p", "b p"},
        {".bmp", "bmp"},
        {"C:\\pal\\" SOFUTO ".bmp", "bmp"},
        {"C:\\pal\\" SOFUTO ".bmp.", "bmp"},
        {"C:\\a.b\\" SOFUTO, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StoredFileExtension(c.path, IsCp932LeadByte), c.extension) << c.path;
}

TEST(FileNameText, OnlySingleByteCharactersAreReplaced)
{
    struct Case
    {
        std::string text;
        std::string replaced;
    };
    // "ポ" in code page 932 ends in 0x7C, the bar.
    const Case cases[] = {
        {"", ""},
        {"Bitmap (*.bmp)|*.bmp||", std::string("Bitmap (*.bmp)\0*.bmp\0", 22)},
        {"\x83\x7C|*.pal|", std::string("\x83\x7C\0*.pal\0", 9)},
        {"|\x83", std::string("\0\x83", 2)},
    };
    for (Case c : cases)
    {
        ReplaceSingleByteCharacters(c.text, '|', '\0', IsCp932LeadByte);
        EXPECT_EQ(c.text, c.replaced);
    }
}
} // namespace
