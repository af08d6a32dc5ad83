// The main window's placement across real starts: where it reopens, how it comes back onto the screen,
// "On top", a minimised close, and runs that change nothing and so write nothing.
#include "driver/Process.h"
#include "driver/Registry.h"
#include "driver/Wait.h"

#include <gtest/gtest.h>

namespace
{
// Runs Vexa once with what is stored, checks the window rectangle it opens with, and closes it again
// without touching it; the registry must come out exactly as it went in.
void ExpectOpensAtWithoutWriting(const RECT& expected, bool topmost)
{
    const std::string before = ExportVexaSettings();
    RegistryWatch watch;
    ASSERT_TRUE(watch.Armed());
    VexaProcess vexa;
    HWND main = vexa.StartAndWaitForMain();
    ASSERT_NE(main, nullptr);
    const RECT opened = WindowRect(main);
    EXPECT_TRUE(SameRect(opened, expected))
        << opened.left << "," << opened.top << "," << opened.right << "," << opened.bottom;
    EXPECT_FALSE(::IsIconic(main));
    EXPECT_EQ(IsTopmost(main), topmost);
    ASSERT_TRUE(vexa.Exit(main));
    EXPECT_FALSE(watch.Written());
    EXPECT_EQ(ExportVexaSettings(), before);
}
} // namespace

TEST(Placement, ReopensWhereClosedAndAMinimisedCloseKeepsTheRectangle)
{
    ResetVexaSettings();
    const RECT placed{100, 120, 500, 320};
    RECT templateRect{};
    {
        VexaProcess vexa;
        HWND main = vexa.StartAndWaitForMain();
        ASSERT_NE(main, nullptr);
        templateRect = WindowRect(main);
        EXPECT_FALSE(IsTopmost(main));
        ::SetWindowPos(main, nullptr, placed.left, placed.top, placed.right - placed.left, placed.bottom - placed.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
        ASSERT_TRUE(vexa.Exit(main));
    }
    EXPECT_NE(ExportVexaSettings().find("[Vexa\\Window]\n" + BoundsText(placed) + "On top=dword:0\nState=dword:0\n"),
              std::string::npos);

    // Moved, then minimised and closed: State 2, and the rectangle of the previous start stays.
    {
        VexaProcess vexa;
        HWND main = vexa.StartAndWaitForMain();
        ASSERT_NE(main, nullptr);
        EXPECT_TRUE(SameRect(WindowRect(main), placed));
        ::SetWindowPos(main, nullptr, 300, 300, 300, 200, SWP_NOZORDER | SWP_NOACTIVATE);
        ::SendMessageA(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        ASSERT_TRUE(WaitUntil([main] { return ::IsIconic(main) != FALSE; }));
        ASSERT_TRUE(vexa.Exit(main));
    }
    EXPECT_NE(ExportVexaSettings().find("[Vexa\\Window]\n" + BoundsText(placed) + "On top=dword:0\nState=dword:2\n"),
              std::string::npos)
        << ExportVexaSettings();

    // The stored minimised state is not applied; closing in the normal state stores State 0.
    {
        VexaProcess vexa;
        HWND main = vexa.StartAndWaitForMain();
        ASSERT_NE(main, nullptr);
        EXPECT_FALSE(::IsIconic(main));
        EXPECT_TRUE(SameRect(WindowRect(main), placed));
        ASSERT_TRUE(vexa.Exit(main));
    }
    EXPECT_NE(ExportVexaSettings().find("On top=dword:0\nState=dword:0\n"), std::string::npos);

    // Rectangles without width or height are not restored: the window opens as on a first start.
    for (const RECT& unusable : {RECT{300, 300, 300, 500}, RECT{300, 300, 600, 100}})
    {
        ResetVexaSettings();
        PutBounds(unusable);
        VexaProcess vexa;
        HWND main = vexa.StartAndWaitForMain();
        ASSERT_NE(main, nullptr);
        EXPECT_TRUE(SameRect(WindowRect(main), templateRect));
        ::TerminateProcess(vexa.Handle(), 0);
    }
}

TEST(Placement, ARectangleOffTheScreenComesBackOnlyOnScreenAndOnTopHolds)
{
    // Entirely left of the screen, "On top" and a State of 1 (read as 0): the window opens with its
    // right edge at 32 and its size, topmost; nothing changes, so the registry keeps the old rectangle.
    ResetVexaSettings();
    PutBounds({-500, 100, -300, 300});
    PutInt("Window", "On top", 1);
    PutInt("Window", "State", 1);
    ExpectOpensAtWithoutWriting({-168, 100, 32, 300}, true);

    // Exactly 32 pixels on the screen is left where it is; State 3 reads as 0 as well.
    ResetVexaSettings();
    PutBounds({-268, 100, 32, 300});
    PutInt("Window", "On top", 0);
    PutInt("Window", "State", 3);
    ExpectOpensAtWithoutWriting({-268, 100, 32, 300}, false);
}

TEST(Placement, ARectangleAtTheEndsOfTheRangeNeitherCrashesNorWraps)
{
    ResetVexaSettings();
    PutBounds({-2147483647 - 1, 0, 2147483647, 10});
    VexaProcess vexa;
    HWND main = vexa.StartAndWaitForMain();
    ASSERT_NE(main, nullptr);
    // However the system limits the huge rectangle, at least 32 pixels of the window are on the screen.
    const RECT opened = WindowRect(main);
    EXPECT_GE(opened.right, 32);
    EXPECT_LE(opened.left, 1024 - 32);
    EXPECT_GE(opened.bottom, 32);
    EXPECT_LE(opened.top, 768 - 32);
    ASSERT_TRUE(vexa.Exit(main));
    // The rectangle the window really had is what the next start gets.
    EXPECT_NE(ExportVexaSettings().find(BoundsText(opened)), std::string::npos);
}
