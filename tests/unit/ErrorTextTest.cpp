// The framework's report texts for file errors and its numbered-argument formatting.
#include "framework/ErrorText.h"

#include <gtest/gtest.h>

namespace
{
TEST(ErrorText, FileErrorTextNamesTheFileOrAnUnnamedFile)
{
    EXPECT_EQ(FileErrorText(FileCause::genericException, ""),
              "An unknown error occurred while accessing an unnamed file.");
    EXPECT_EQ(FileErrorText(FileCause::fileNotFound, "C:\\pal.bmp"), "C:\\pal.bmp was not found.");
    EXPECT_EQ(FileErrorText(FileCause::accessDenied, "C:\\pal.txt"), "Access to C:\\pal.txt was denied.");
    EXPECT_EQ(FileErrorText(FileCause::diskFull, "A:\\x.bmp"), "Disk full while accessing A:\\x.bmp.");
    // A name that itself holds %1 is not expanded again.
    EXPECT_EQ(FileErrorText(FileCause::fileNotFound, "%1"), "%1 was not found.");
    // A cause outside the table reads as the generic one.
    EXPECT_EQ(FileErrorText(static_cast<FileCause>(99), "f"), "An unknown error occurred while accessing f.");
}

TEST(ErrorText, EveryFileCauseHasItsPattern)
{
    // By cause, from none (0) to endOfFile (14).
    const char* const patterns[] = {"No error occurred while accessing %1.",
                                    "An unknown error occurred while accessing %1.",
                                    "%1 was not found.",
                                    "%1 contains an invalid path.",
                                    "%1 could not be opened because there are too many open files.",
                                    "Access to %1 was denied.",
                                    "An invalid file handle was associated with %1.",
                                    "%1 could not be removed because it is the current directory.",
                                    "%1 could not be created because the directory is full.",
                                    "Seek failed on %1.",
                                    "A hardware I/O error was reported while accessing %1.",
                                    "A sharing violation occurred while accessing %1.",
                                    "A locking violation occurred while accessing %1.",
                                    "Disk full while accessing %1.",
                                    "An attempt was made to access %1 past its end."};
    for (int cause = 0; cause <= 14; ++cause)
    {
        const std::string_view pattern = FileErrorPattern(static_cast<FileCause>(cause));
        EXPECT_EQ(pattern, patterns[cause]) << "cause " << cause;
    }
}

TEST(ErrorText, FormatNumberedReplacesOnlyNumberedArguments)
{
    struct Case
    {
        const char* pattern;
        const char* text;
    };
    const Case cases[] = {
        {"", ""},
        {"%", "%"},
        {"100%", "100%"},
        {"%0", "%0"},
        {"%%1", "%one"},
        {"a %1 b %2 c", "a one b two c"},
        {"%2 before %1", "two before one"},
        {"%1%1", "oneone"},
        {"%3 is missing", " is missing"},
        {"%9", ""},
        {"%a%", "%a%"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatNumbered(c.pattern, {"one", "two"}), c.text) << c.pattern;
    EXPECT_EQ(FormatNumbered("%1 and %2", {}), " and ");
}
} // namespace
