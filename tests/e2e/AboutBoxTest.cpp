// The About box of the real program: its texts and icon, its owner, one box at a time.
#include "driver/Commands.h"
#include "driver/Files.h"
#include "driver/Fixture.h"
#include "driver/Wait.h"
#include "resource.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace
{
// Where the framework puts an owned dialog: centred over its owner, kept within the work area.
POINT ExpectedTopLeft(HWND dialog, HWND owner)
{
    RECT area{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    const RECT box = WindowRect(dialog), center = WindowRect(owner);
    const LONG width = box.right - box.left, height = box.bottom - box.top;
    LONG left = (center.left + center.right) / 2 - width / 2;
    LONG top = (center.top + center.bottom) / 2 - height / 2;
    left = std::max(area.left, std::min(left, area.right - width));
    top = std::max(area.top, std::min(top, area.bottom - height));
    return {left, top};
}

class AboutBox : public VexaTest
{
  protected:
    void SetUp() override { Start({.exitAtEnd = true}); }
};
} // namespace

TEST_F(AboutBox, ShowsVersionTextsIconAndClosesOnOk)
{
    HWND about = OpenAboutBox(m_vexa.Id(), m_main);
    ASSERT_NE(about, nullptr);

    EXPECT_EQ(DialogItemText(about, IDC_ABOUT_PRODUCT), "Vexa v1.7");
    const std::string copyright = ExeVersionString("LegalCopyright");
    EXPECT_FALSE(copyright.empty());
    EXPECT_EQ(DialogItemText(about, IDC_ABOUT_NOTICE), copyright + "\nAll rights reserved");
    EXPECT_EQ(DialogItemText(about, IDC_ABOUT_DESCRIPTION), "Color Palette Tool\n");
    for (int id : {IDC_ABOUT_PRODUCT, IDC_ABOUT_NOTICE, IDC_ABOUT_DESCRIPTION})
        EXPECT_TRUE(::GetWindowLongA(::GetDlgItem(about, id), GWL_STYLE) & SS_NOPREFIX) << id;
    HWND web = FindChild(about, [](HWND child) {
        return WindowText(child).rfind("For more information about our products and services, please visit us at ",
                                       0) == 0;
    });
    ASSERT_NE(web, nullptr);
    EXPECT_GT(WindowText(web).size(), 80u);

    HWND icon =
        FindChild(about, [](HWND child) { return (::GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON; });
    ASSERT_NE(icon, nullptr);
    EXPECT_NE(::SendMessageA(icon, STM_GETICON, 0, 0), 0);

    EXPECT_EQ(FocusInThreadOf(about), ::GetDlgItem(about, IDOK));

    // Owned by the palette window, which is disabled while the box is open, and centred over it.
    EXPECT_EQ(::GetWindow(about, GW_OWNER), m_main);
    EXPECT_FALSE(::IsWindowEnabled(m_main));
    const RECT box = WindowRect(about);
    const POINT expected = ExpectedTopLeft(about, m_main);
    EXPECT_EQ(box.left, expected.x);
    EXPECT_EQ(box.top, expected.y);

    EXPECT_TRUE(CloseDialog(about, IDOK));
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(m_main) != FALSE; }));
}

TEST_F(AboutBox, SecondCommandBringsTheOpenBoxToTheFront)
{
    HWND about = OpenAboutBox(m_vexa.Id(), m_main);
    ASSERT_NE(about, nullptr);

    ForegroundDecoy decoy;
    ASSERT_TRUE(decoy.TakeForegroundFrom(about));
    PostCommand(m_main, ID_APP_ABOUT);
    EXPECT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == about; }))
        << "foreground: '" << WindowText(::GetForegroundWindow()) << "'";
    ::Sleep(300);
    EXPECT_EQ(CountDialogs(m_vexa.Id(), "About Vexa"), 1u);

    // Escape closes it like OK; afterwards the command opens a new box.
    ::PostMessageA(about, WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(about); }));
    HWND again = OpenAboutBox(m_vexa.Id(), m_main);
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(CloseDialog(again, IDCANCEL));
}
