// The About box's texts and the dialogs' captions.
#include "about/AboutTexts.h"

#include <gtest/gtest.h>

TEST(AboutTexts, BuildsTheThreeTextsFromTheRecord)
{
    const AboutTexts texts =
        AboutTexts::Build("%1\n%2", "Vexa", "1.7", "Copyright (C) Quillon Computing", "Color Palette Tool");
    EXPECT_EQ(texts.m_product, "Vexa v1.7");
    EXPECT_EQ(texts.m_notice, "Copyright (C) Quillon Computing\nAll rights reserved");
    EXPECT_EQ(texts.m_description, "Color Palette Tool\n");
}

TEST(AboutTexts, MissingValuesCountAsEmpty)
{
    const AboutTexts texts = AboutTexts::Build("%1\n%2", nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(texts.m_product, " v");
    EXPECT_EQ(texts.m_notice, "\nAll rights reserved");
    EXPECT_EQ(texts.m_description, "\n");
    // Without its string resource the description is empty rather than a stray format.
    EXPECT_EQ(AboutTexts::Build("", "Vexa", "1.7", "", "Tool").m_description, "");
}

TEST(AboutTexts, ValuesAreTakenLiterally)
{
    // Format characters inside a value are text, not formats.
    const AboutTexts texts = AboutTexts::Build("%1\n%2", "A&B %s", "%d", "50% & more", "%2 %1");
    EXPECT_EQ(texts.m_product, "A&B %s v%d");
    EXPECT_EQ(texts.m_notice, "50% & more\nAll rights reserved");
    EXPECT_EQ(texts.m_description, "%2 %1\n");
}

TEST(AboutTexts, CaptionsTakeTheApplicationName)
{
    EXPECT_EQ(FormatCaption("About %s", "Vexa"), "About Vexa");
    EXPECT_EQ(FormatCaption("%s Help", "Vexa"), "Vexa Help");
    EXPECT_EQ(FormatCaption("%s Help", ""), " Help");
    EXPECT_EQ(FormatCaption("No name", "Vexa"), "No name");
    EXPECT_EQ(FormatCaption("100%% %s", "Vexa"), "100% Vexa");
    // Other formats stay as they are; a lone percent sign at the end too.
    EXPECT_EQ(FormatCaption("%d %n %s%", "Vexa"), "%d %n Vexa%");
    EXPECT_EQ(FormatCaption("%s", "%s"), "%s");
}
