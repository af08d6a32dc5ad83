// The About box of the real program: its texts and icon, its owner, one box at a time.
#include "AboutHelpDriver.h"
#include "VexaDriver.h"
#include "resource.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace
{
struct Child
{
    const char* prefix;
    HWND found;
};

BOOL CALLBACK FindChildByText(HWND window, LPARAM param)
{
    auto* child = reinterpret_cast<Child*>(param);
    if (WindowText(window).rfind(child->prefix, 0) != 0)
        return TRUE;
    child->found = window;
    return FALSE;
}

BOOL CALLBACK FindIconStatic(HWND window, LPARAM param)
{
    if ((::GetWindowLongA(window, GWL_STYLE) & SS_TYPEMASK) != SS_ICON)
        return TRUE;
    *reinterpret_cast<HWND*>(param) = window;
    return FALSE;
}

HWND ChildStartingWith(HWND dialog, const char* prefix)
{
    Child child{prefix, nullptr};
    ::EnumChildWindows(dialog, FindChildByText, reinterpret_cast<LPARAM>(&child));
    return child.found;
}

// Where the framework puts an owned dialog: centred over its owner, kept within the work area.
POINT ExpectedTopLeft(HWND dialog, HWND owner)
{
    RECT area{}, box{}, center{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    ::GetWindowRect(dialog, &box);
    ::GetWindowRect(owner, &center);
    const LONG width = box.right - box.left, height = box.bottom - box.top;
    LONG left = (center.left + center.right) / 2 - width / 2;
    LONG top = (center.top + center.bottom) / 2 - height / 2;
    left = std::max(area.left, std::min(left, area.right - width));
    top = std::max(area.top, std::min(top, area.bottom - height));
    return {left, top};
}
} // namespace

TEST(AboutBox, ShowsVersionTextsIconAndClosesOnOk)
{
    ResetVexaSettings();
    VexaProcess vexa;
    HWND main = vexa.StartAndWaitForMain();
    ASSERT_NE(main, nullptr);
    HWND about = OpenAboutBox(vexa.Id(), main);
    ASSERT_NE(about, nullptr);

    EXPECT_EQ(DialogItemText(about, IDC_ABOUT_PRODUCT), "Vexa v1.7");
    const std::string copyright = ExeVersionString("LegalCopyright");
    EXPECT_FALSE(copyright.empty());
    EXPECT_EQ(DialogItemText(about, IDC_ABOUT_NOTICE), copyright + "\nAll rights reserved");
    EXPECT_EQ(DialogItemText(about, IDC_ABOUT_DESCRIPTION), "Color Palette Tool\n");
    for (int id : {IDC_ABOUT_PRODUCT, IDC_ABOUT_NOTICE, IDC_ABOUT_DESCRIPTION})
        EXPECT_TRUE(::GetWindowLongA(::GetDlgItem(about, id), GWL_STYLE) & SS_NOPREFIX) << id;
    HWND web = ChildStartingWith(about, "For more information about our products and services, please visit us at ");
    ASSERT_NE(web, nullptr);
    EXPECT_GT(WindowText(web).size(), 80u);

    HWND icon = nullptr;
    ::EnumChildWindows(about, FindIconStatic, reinterpret_cast<LPARAM>(&icon));
    ASSERT_NE(icon, nullptr);
    EXPECT_NE(::SendMessageA(icon, STM_GETICON, 0, 0), 0);

    EXPECT_EQ(FocusInThreadOf(about), ::GetDlgItem(about, IDOK));

    // Owned by the palette window, which is disabled while the box is open, and centred over it.
    EXPECT_EQ(::GetWindow(about, GW_OWNER), main);
    EXPECT_FALSE(::IsWindowEnabled(main));
    RECT box{};
    ::GetWindowRect(about, &box);
    const POINT expected = ExpectedTopLeft(about, main);
    EXPECT_EQ(box.left, expected.x);
    EXPECT_EQ(box.top, expected.y);

    EXPECT_TRUE(CloseDialog(about, IDOK));
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(main) != FALSE; }));
    ::PostMessageA(main, WM_COMMAND, ID_APP_EXIT, 0);
    EXPECT_TRUE(vexa.WaitForExit());
}

TEST(AboutBox, SecondCommandBringsTheOpenBoxToTheFront)
{
    ResetVexaSettings();
    VexaProcess vexa;
    HWND main = vexa.StartAndWaitForMain();
    ASSERT_NE(main, nullptr);
    HWND about = OpenAboutBox(vexa.Id(), main);
    ASSERT_NE(about, nullptr);

    ForegroundDecoy decoy;
    ASSERT_TRUE(decoy.TakeForegroundFrom(about));
    ::PostMessageA(main, WM_COMMAND, ID_APP_ABOUT, 0);
    EXPECT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == about; }))
        << "foreground: '" << WindowText(::GetForegroundWindow()) << "'";
    ::Sleep(300);
    EXPECT_EQ(CountProcessWindows(vexa.Id(), "#32770", "About Vexa"), 1);

    // Escape closes it like OK; afterwards the command opens a new box.
    ::PostMessageA(about, WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(about); }));
    HWND again = OpenAboutBox(vexa.Id(), main);
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(CloseDialog(again, IDCANCEL));
    ::PostMessageA(main, WM_COMMAND, ID_APP_EXIT, 0);
    EXPECT_TRUE(vexa.WaitForExit());
}
