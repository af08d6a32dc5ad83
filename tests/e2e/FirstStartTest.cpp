// The first start of a new version: the About box, then the help window, then the palette window.
#include "AboutHelpDriver.h"
#include "VexaDriver.h"
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
