// The palette window from outside: its menu and frame, the View commands and the system menu.
#include "driver/Commands.h"
#include "driver/Fixture.h"
#include "driver/Wait.h"
#include "resource.h"

#include <gtest/gtest.h>
#include <string>

namespace
{
// The menu as an indented outline, one item a line: "text id", "text >" for a popup whose items
// follow one level deeper, "-" for a separator. A checked or disabled item gets a marker.
void AppendOutline(HMENU menu, int depth, std::string& outline)
{
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i)
    {
        char text[128] = "";
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = sizeof text;
        ASSERT_TRUE(::GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info));
        outline.append(static_cast<std::size_t>(depth) * 2, ' ');
        if (info.fType & MFT_SEPARATOR)
            outline += "-";
        else if (info.hSubMenu)
            outline += std::string(text) + " >";
        else
            outline += std::string(text) + " " + std::to_string(info.wID);
        // Separators come greyed from the resource compiler; only commands must never be.
        if (info.fState & MFS_CHECKED)
            outline += " [checked]";
        if ((info.fState & MFS_DISABLED) && !(info.fType & MFT_SEPARATOR))
            outline += " [disabled]";
        outline += "\n";
        if (info.hSubMenu)
            AppendOutline(info.hSubMenu, depth + 1, outline);
    }
}

// The window rectangle in screen coordinates as text, for comparisons with readable failures.
std::string Placement(HWND window)
{
    const RECT r = WindowRect(window);
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ")-(" + std::to_string(r.right) + ", " +
           std::to_string(r.bottom) + ")";
}

// Posts a message, then waits until everything posted before has been handled, so that a message that
// would start a modal loop of its own (moving, sizing) cannot block the test.
void PostAndSettle(HWND window, UINT message, WPARAM wParam)
{
    ::PostMessageA(window, message, wParam, 0);
    ::Sleep(200);
    RoundTrip(window);
}

bool InMoveOrSizeLoop(HWND window)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info) && (info.flags & GUI_INMOVESIZE) != 0;
}

class Window : public VexaTest
{
  protected:
    void SetUp() override { Start({.exitAtEnd = true}); }
};
} // namespace

TEST(WindowResources, MenuFollowsTheCommandTable)
{
    HMODULE exe = ::LoadLibraryExA(VexaExePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(exe, nullptr) << VexaExePath();
    HMENU menu = ::LoadMenuA(exe, MAKEINTRESOURCEA(IDR_MAINMENU));
    ASSERT_NE(menu, nullptr);
    std::string outline;
    AppendOutline(menu, 0, outline);
    EXPECT_EQ(outline, "&File >\n"
                       "  &Open... 57601\n"
                       "  &Save As... 57604\n"
                       "  -\n"
                       "  E&xit 57665\n"
                       "&Edit >\n"
                       "  &Copy 57634\n"
                       "  Clea&r 57632\n"
                       "&View >\n"
                       "  Set &Columns >\n"
                       "    &8 2002\n"
                       "    &16 2003\n"
                       "    &32 2004\n"
                       "    &64 2005\n"
                       "    1&28 2006\n"
                       "    2&56 2007\n"
                       "  -\n"
                       "  Toggle &Border 2008\n"
                       "  -\n"
                       "  &Shrink to Fit 2001\n"
                       "&Help >\n"
                       "  &Contents... 57670\n"
                       "  -\n"
                       "  &About Vexa... 57664\n");
    ::DestroyMenu(menu);
    ::FreeLibrary(exe);
}

// A resizable, minimisable window without a maximise box, on the taskbar, with a menu.
TEST_F(Window, FrameIsResizableAndCannotBeMaximised)
{
    EXPECT_EQ(WindowText(m_main), "Vexa");
    const LONG style = ::GetWindowLongA(m_main, GWL_STYLE);
    const LONG exStyle = ::GetWindowLongA(m_main, GWL_EXSTYLE);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_THICKFRAME);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_CHILD);
    EXPECT_TRUE(exStyle & WS_EX_APPWINDOW);
    EXPECT_NE(::GetMenu(m_main), nullptr);
}

// Each Set Columns command keeps the window's size; Shrink to Fit then makes the client area exactly
// the grid of the tiles that the client area held, and a second Shrink to Fit changes nothing.
TEST_F(Window, SetColumnsKeepsTheSizeAndShrinkToFitFitsTheGrid)
{
    struct Shape
    {
        UINT command;
        int columns;
        int rows;
    };
    const Shape shapes[] = {{ID_VIEW_COLUMNS_8, 8, 32},  {ID_VIEW_COLUMNS_16, 16, 16},  {ID_VIEW_COLUMNS_32, 32, 8},
                            {ID_VIEW_COLUMNS_64, 64, 4}, {ID_VIEW_COLUMNS_128, 128, 2}, {ID_VIEW_COLUMNS_256, 256, 1}};
    for (const Shape& shape : shapes)
    {
        SCOPED_TRACE(shape.columns);
        // A roomy window, so that the menu bar stays on one line, of a size that changes from one shape
        // to the next.
        ::SetWindowPos(m_main, nullptr, 40, 30, 700 + shape.columns % 7, 520 + shape.rows % 5,
                       SWP_NOZORDER | SWP_NOACTIVATE);
        RoundTrip(m_main);
        const std::string before = Placement(m_main);
        const RECT corner = WindowRect(m_main);
        const SIZE client = ClientSize(m_main);

        RunCommand(m_main, shape.command);
        EXPECT_EQ(Placement(m_main), before);
        EXPECT_EQ(ClientSize(m_main).cx, client.cx);

        RunCommand(m_main, ID_VIEW_SHRINK_TO_FIT);
        const SIZE fitted = ClientSize(m_main);
        EXPECT_EQ(fitted.cx, client.cx / shape.columns * shape.columns);
        EXPECT_EQ(fitted.cy, client.cy / shape.rows * shape.rows);
        const std::string shrunk = Placement(m_main);
        EXPECT_EQ(WindowRect(m_main).left, corner.left);
        EXPECT_EQ(WindowRect(m_main).top, corner.top);

        RunCommand(m_main, ID_VIEW_SHRINK_TO_FIT);
        EXPECT_EQ(Placement(m_main), shrunk);

        // Borders don't change the layout: the grid still fits.
        RunCommand(m_main, ID_VIEW_TOGGLE_BORDER);
        RunCommand(m_main, ID_VIEW_SHRINK_TO_FIT);
        EXPECT_EQ(Placement(m_main), shrunk);
    }
}

// The system menu's Size and Maximize commands do nothing; a border drag's size command still sizes.
TEST_F(Window, SystemMenuSizeAndMaximizeAreIgnored)
{
    const std::string before = Placement(m_main);
    PostAndSettle(m_main, WM_SYSCOMMAND, SC_SIZE);
    EXPECT_FALSE(InMoveOrSizeLoop(m_main)) << "SC_SIZE started a sizing loop";
    EXPECT_EQ(Placement(m_main), before);

    PostAndSettle(m_main, WM_SYSCOMMAND, SC_MAXIMIZE);
    EXPECT_FALSE(::IsZoomed(m_main));
    EXPECT_EQ(Placement(m_main), before);

    // Cross-check that the probe sees a sizing loop: a border drag's code (SC_SIZE | WMSZ_RIGHT) starts
    // one, and Esc ends it with the size unchanged.
    PostAndSettle(m_main, WM_SYSCOMMAND, SC_SIZE | WMSZ_RIGHT);
    EXPECT_TRUE(InMoveOrSizeLoop(m_main)) << "a border drag should size";
    ::PostMessageA(m_main, WM_KEYDOWN, VK_ESCAPE, 0);
    WaitUntil([this] { return !InMoveOrSizeLoop(m_main); });
    EXPECT_FALSE(InMoveOrSizeLoop(m_main));
    EXPECT_TRUE(::IsWindow(m_main));
}

// Minimising shows the icon and restoring brings the grid back at its old place; the program runs on.
TEST_F(Window, MinimiseAndRestoreKeepTheProgramRunning)
{
    const std::string before = Placement(m_main);
    PostAndSettle(m_main, WM_SYSCOMMAND, SC_MINIMIZE);
    EXPECT_TRUE(::IsIconic(m_main));
    PostAndSettle(m_main, WM_SYSCOMMAND, SC_RESTORE);
    EXPECT_FALSE(::IsIconic(m_main));
    EXPECT_EQ(Placement(m_main), before);

    ::ShowWindowAsync(m_main, SW_MINIMIZE);
    RoundTrip(m_main);
    EXPECT_TRUE(::IsIconic(m_main));
    ::ShowWindowAsync(m_main, SW_RESTORE);
    RoundTrip(m_main);
    EXPECT_FALSE(::IsIconic(m_main));
    EXPECT_EQ(Placement(m_main), before);

    EXPECT_FALSE(m_vexa.WaitForExit(0));
    EXPECT_EQ(WindowText(m_main), "Vexa");
}
