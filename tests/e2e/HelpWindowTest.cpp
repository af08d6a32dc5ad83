// The help window of the real program: its text, its keys, one window at a time, F1 everywhere.
#include "driver/Commands.h"
#include "driver/Files.h"
#include "driver/Fixture.h"
#include "driver/Wait.h"
#include "resource.h"

#include <gtest/gtest.h>
#include <vector>

namespace
{
HWND WaitForHelp(const VexaProcess& vexa)
{
    return WaitForDialog(vexa.Id(), "Vexa Help");
}

// F1 as the user presses it on the keyboard, in a window of Vexa that the test brings to the front.
bool PressF1In(HWND topLevel, WORD modifier = 0)
{
    ::SetForegroundWindow(topLevel);
    if (!WaitUntil([&] { return ::GetForegroundWindow() == topLevel; }, 2000))
        return false;
    std::vector<INPUT> keys;
    for (WORD key : {modifier, WORD{VK_F1}})
    {
        if (key)
            keys.push_back(INPUT{INPUT_KEYBOARD, {.ki = {key, 0, 0, 0, 0}}});
    }
    for (WORD key : {WORD{VK_F1}, modifier})
    {
        if (key)
            keys.push_back(INPUT{INPUT_KEYBOARD, {.ki = {key, 0, KEYEVENTF_KEYUP, 0, 0}}});
    }
    return ::SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT)) == keys.size();
}

// The help request that F1 makes of a window (WM_KEYF1), for a window that is not in the foreground:
// the window's default processing turns it into WM_HELP.
void RequestHelpFrom(HWND window)
{
    constexpr UINT kKeyF1 = 0x004D;
    ::PostMessageA(window, kKeyF1, 0, 0);
}

class HelpWindow : public VexaTest
{
  protected:
    void SetUp() override { Start({.exitAtEnd = true}); }
};
} // namespace

TEST_F(HelpWindow, ShowsTheWholeTextAndClosesOnEscapeInTheText)
{
    // F1 with Shift or Ctrl held asks for no help.
    for (WORD modifier : {VK_SHIFT, VK_CONTROL})
    {
        ASSERT_TRUE(PressF1In(m_main, modifier));
        ::Sleep(700);
        EXPECT_EQ(CountDialogs(m_vexa.Id(), "Vexa Help"), 0u) << modifier;
    }
    PostCommand(m_main, ID_HELP);
    HWND help = WaitForHelp(m_vexa);
    ASSERT_NE(help, nullptr);

    const std::string resource = ExeResourceBytes("HELP", "TXT");
    ASSERT_EQ(resource.size(), 1299u);
    HWND text = ::GetDlgItem(help, IDC_HELP_TEXT);
    EXPECT_EQ(WindowText(text), resource);
    EXPECT_EQ(::SendMessageA(text, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    EXPECT_EQ(FocusInThreadOf(help), ::GetDlgItem(help, IDCANCEL));
    // Read-only, wrapping lines: no horizontal scrolling.
    const LONG style = ::GetWindowLongA(text, GWL_STYLE);
    EXPECT_TRUE(style & ES_READONLY);
    EXPECT_FALSE(style & (ES_AUTOHSCROLL | WS_HSCROLL));
    EXPECT_TRUE(::GetWindowLongA(help, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    EXPECT_EQ(::GetWindow(help, GW_OWNER), m_main);
    EXPECT_FALSE(::IsWindowEnabled(m_main));

    ::PostMessageA(text, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(help); }));
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(m_main) != FALSE; }));
}

TEST_F(HelpWindow, SecondContentsAndF1BringTheOpenWindowToTheFront)
{
    ASSERT_TRUE(PressF1In(m_main));
    HWND help = WaitForHelp(m_vexa);
    ASSERT_NE(help, nullptr);

    ForegroundDecoy decoy;
    ASSERT_TRUE(decoy.TakeForegroundFrom(help));
    PostCommand(m_main, ID_HELP);
    EXPECT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == help; }));

    ASSERT_TRUE(decoy.TakeForegroundFrom(help));
    RequestHelpFrom(::GetDlgItem(help, IDC_HELP_TEXT));
    EXPECT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == help; }));
    ::Sleep(300);
    EXPECT_EQ(CountDialogs(m_vexa.Id(), "Vexa Help"), 1u);

    EXPECT_TRUE(CloseDialog(help, IDCANCEL));
}

TEST_F(HelpWindow, F1InTheAboutBoxOpensHelpOwnedByIt)
{
    HWND about = OpenAboutBox(m_vexa.Id(), m_main);
    ASSERT_NE(about, nullptr);
    ASSERT_TRUE(PressF1In(about));
    HWND help = WaitForHelp(m_vexa);
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(::GetWindow(help, GW_OWNER), about);
    EXPECT_FALSE(::IsWindowEnabled(about));

    EXPECT_TRUE(CloseDialog(help, IDCANCEL));
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(about) != FALSE; }));
    EXPECT_TRUE(CloseDialog(about, IDOK));
}
