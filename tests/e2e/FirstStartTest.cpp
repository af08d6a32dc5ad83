// The first start of a new version: the About box, then the help window, then the palette window.
#include "driver/Commands.h"
#include "driver/Fixture.h"
#include "driver/Registry.h"
#include "resource.h"

#include <gtest/gtest.h>

namespace
{
bool MainWindowShown(const VexaProcess& vexa)
{
    return CountDialogs(vexa.Id(), "Vexa") > 0;
}
} // namespace

TEST(FirstStart, AboutThenHelpThenTheWindowAndNeitherOnTheNextStart)
{
    ResetVexaSettings(true);
    {
        VexaProcess vexa;
        ASSERT_TRUE(vexa.Start());
        HWND about = WaitForDialog(vexa.Id(), "About Vexa");
        ASSERT_NE(about, nullptr);
        EXPECT_FALSE(MainWindowShown(vexa));
        EXPECT_EQ(CountDialogs(vexa.Id(), "Vexa Help"), 0u);
        // With its owner not shown yet, the box is centred on the work area.
        RECT area{};
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
        const RECT box = WindowRect(about);
        EXPECT_NEAR((box.left + box.right) / 2, (area.left + area.right) / 2, 1);
        EXPECT_NEAR((box.top + box.bottom) / 2, (area.top + area.bottom) / 2, 1);

        PostCommand(about, IDOK);
        HWND help = WaitForDialog(vexa.Id(), "Vexa Help");
        ASSERT_NE(help, nullptr);
        EXPECT_FALSE(::IsWindow(about));
        EXPECT_FALSE(MainWindowShown(vexa));

        PostCommand(help, IDCANCEL);
        HWND main = WaitForDialog(vexa.Id(), "Vexa");
        ASSERT_NE(main, nullptr);
        ASSERT_TRUE(vexa.Exit(main));
    }

    VexaProcess again;
    HWND main = again.StartAndWaitForMain();
    ASSERT_NE(main, nullptr);
    ::Sleep(500);
    EXPECT_EQ(CountDialogs(again.Id(), "About Vexa"), 0u);
    EXPECT_EQ(CountDialogs(again.Id(), "Vexa Help"), 0u);
    EXPECT_TRUE(again.Exit(main));
}

// Before anything is resized or any View command sent, the grid is where it is drawn: a press over a
// tile names it, and Shrink to Fit fits the grid. Once with no settings at all, once with stored bounds
// of exactly the template's size (a user who never resized the window).
TEST(FirstStart, TheGridIsLaidOutFromTheStart)
{
    RECT templateBounds{};
    for (const bool storedBounds : {false, true})
    {
        SCOPED_TRACE(storedBounds ? "bounds of the template's size stored" : "no settings");
        VexaProcess vexa;
        HWND main = StartVexa(vexa, {.firstStart = !storedBounds, .store = [&] {
                                         if (storedBounds)
                                             PutBounds(templateBounds);
                                     }});
        ASSERT_NE(main, nullptr);
        const RECT bounds = WindowRect(main);
        if (!storedBounds)
            templateBounds = bounds;
        EXPECT_TRUE(::EqualRect(&bounds, &templateBounds));

        const SIZE client = ClientSize(main);
        const SIZE tile{client.cx / 256, client.cy};
        ASSERT_GT(tile.cx, 0);
        const POINT tile17{(client.cx - tile.cx * 256) / 2 + 17 * tile.cx + tile.cx / 2, tile.cy / 2};
        ::SendMessageA(main, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(tile17.x, tile17.y));
        EXPECT_EQ(WindowText(main).substr(0, 15), "Vexa - [017] = ");
        ::SendMessageA(main, WM_LBUTTONUP, 0, MAKELPARAM(tile17.x, tile17.y));

        ASSERT_TRUE(RunCommand(main, ID_VIEW_SHRINK_TO_FIT));
        EXPECT_EQ(ClientSize(main).cx, tile.cx * 256);
        EXPECT_EQ(ClientSize(main).cy, tile.cy);
        EXPECT_TRUE(vexa.Exit(main));
    }
}
