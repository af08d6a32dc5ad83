// The first start of a new version: the About box, then the help window, then the palette window.
#include "AboutHelpDriver.h"
#include "CommandDriver.h"
#include "SettingsDriver.h"
#include "resource.h"

#include <gtest/gtest.h>

namespace
{
bool MainWindowShown(const VexaProcess& vexa)
{
    return CountProcessWindows(vexa.Id(), "#32770", "Vexa") > 0;
}
} // namespace

TEST(FirstStart, AboutThenHelpThenTheWindowAndNeitherOnTheNextStart)
{
    ResetVexaSettings(true);
    {
        VexaProcess vexa;
        ASSERT_TRUE(vexa.Start());
        HWND about = WaitForProcessWindow(vexa.Id(), "#32770", "About Vexa");
        ASSERT_NE(about, nullptr);
        EXPECT_FALSE(MainWindowShown(vexa));
        EXPECT_EQ(CountProcessWindows(vexa.Id(), "#32770", "Vexa Help"), 0);
        // With its owner not shown yet, the box is centred on the work area.
        RECT area{}, box{};
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
        ::GetWindowRect(about, &box);
        EXPECT_NEAR((box.left + box.right) / 2, (area.left + area.right) / 2, 1);
        EXPECT_NEAR((box.top + box.bottom) / 2, (area.top + area.bottom) / 2, 1);

        ::PostMessageA(about, WM_COMMAND, IDOK, 0);
        HWND help = WaitForProcessWindow(vexa.Id(), "#32770", "Vexa Help");
        ASSERT_NE(help, nullptr);
        EXPECT_FALSE(::IsWindow(about));
        EXPECT_FALSE(MainWindowShown(vexa));

        ::PostMessageA(help, WM_COMMAND, IDCANCEL, 0);
        HWND main = WaitForProcessWindow(vexa.Id(), "#32770", "Vexa");
        ASSERT_NE(main, nullptr);
        ::PostMessageA(main, WM_COMMAND, ID_APP_EXIT, 0);
        ASSERT_TRUE(vexa.WaitForExit());
    }

    VexaProcess again;
    HWND main = again.StartAndWaitForMain();
    ASSERT_NE(main, nullptr);
    ::Sleep(500);
    EXPECT_EQ(CountProcessWindows(again.Id(), "#32770", "About Vexa"), 0);
    EXPECT_EQ(CountProcessWindows(again.Id(), "#32770", "Vexa Help"), 0);
    ::PostMessageA(main, WM_COMMAND, ID_APP_EXIT, 0);
    EXPECT_TRUE(again.WaitForExit());
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
        ResetVexaSettings(!storedBounds);
        if (storedBounds)
            settings_test::PutBounds(templateBounds);
        VexaProcess vexa;
        int boxes = 0;
        HWND main = settings_test::StartPastFirstStart(vexa, boxes);
        ASSERT_NE(main, nullptr);
        RECT bounds{};
        ::GetWindowRect(main, &bounds);
        if (!storedBounds)
            templateBounds = bounds;
        EXPECT_TRUE(::EqualRect(&bounds, &templateBounds));

        RECT client{};
        ::GetClientRect(main, &client);
        const SIZE tile{client.right / 256, client.bottom};
        ASSERT_GT(tile.cx, 0);
        const POINT tile17{(client.right - tile.cx * 256) / 2 + 17 * tile.cx + tile.cx / 2, tile.cy / 2};
        ::SendMessageA(main, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(tile17.x, tile17.y));
        EXPECT_EQ(WindowText(main).substr(0, 15), "Vexa - [017] = ");
        ::SendMessageA(main, WM_LBUTTONUP, 0, MAKELPARAM(tile17.x, tile17.y));

        ASSERT_TRUE(RunCommand(main, ID_VIEW_SHRINK_TO_FIT));
        ::GetClientRect(main, &client);
        EXPECT_EQ(client.right, tile.cx * 256);
        EXPECT_EQ(client.bottom, tile.cy);
        EXPECT_TRUE(settings_test::Exit(vexa, main));
    }
}
