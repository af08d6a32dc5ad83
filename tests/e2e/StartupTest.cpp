// Start-up and shutdown of the real program on both displays.
#include "VexaDriver.h"
#include "resource.h"

#include <gtest/gtest.h>

TEST(Startup, ShowsMainWindowAndEndsOnExit)
{
    ResetVexaSettings();
    VexaProcess vexa;
    HWND main = vexa.StartAndWaitForMain();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(WindowText(main), "Vexa");
    ::PostMessageA(main, WM_COMMAND, ID_APP_EXIT, 0);
    EXPECT_TRUE(vexa.WaitForExit());
}

TEST(Depth24, RefusesDisplayWithoutPalette)
{
    VexaProcess vexa;
    ASSERT_TRUE(vexa.Start());
    HWND box = WaitForProcessWindow(vexa.Id(), "#32770", "Vexa");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(DialogItemText(box, 0xFFFF),
              "A color palette based display mode is needed for this application to run.");
    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(vexa.WaitForExit());
}
