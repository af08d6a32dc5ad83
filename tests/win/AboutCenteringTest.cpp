// Where modal dialogs open: over their owner, over the work area when the owner is hidden or minimised,
// always within the work area; an unowned dialog and one that places itself keep their positions.
#include "ShownDialog.h"
#include "resource.h"

#include <gtest/gtest.h>

namespace
{
// Records where it is once shown, then closes.
class PlacedDialog : public ShownDialog
{
  public:
    PlacedDialog(CWnd* owner, bool placeItself = false) : ShownDialog(IDD_ABOUT, owner), m_placeItself(placeItself) {}

    RECT m_rect{};

  protected:
    BOOL OnInitDialog() override
    {
        ShownDialog::OnInitDialog();
        if (m_placeItself)
            ::SetWindowPos(m_hWnd, nullptr, 5, 6, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return TRUE;
    }

    void OnShown() override { ::GetWindowRect(m_hWnd, &m_rect); }

  private:
    bool m_placeItself;
};

RECT WorkArea()
{
    RECT area{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

POINT Center(const RECT& r)
{
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// Opens a dialog owned by a window at the given place and in the given show state; its rectangle.
RECT OpenOver(RECT ownerRect, int show)
{
    HWND ownerWindow =
        ::CreateWindowExA(0, "STATIC", "Owner", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, ownerRect.left,
                          ownerRect.top, ownerRect.right - ownerRect.left, ownerRect.bottom - ownerRect.top, nullptr,
                          nullptr, ::GetModuleHandleA(nullptr), nullptr);
    ::ShowWindow(ownerWindow, show);
    CWnd owner(ownerWindow);
    PlacedDialog dialog(&owner);
    dialog.DoModal();
    ::DestroyWindow(ownerWindow);
    return dialog.m_rect;
}
} // namespace

TEST(AboutCentering, OwnedDialogsOpenCentredWithinTheWorkArea)
{
    const RECT area = WorkArea();
    const POINT areaCenter = Center(area);

    // Over a visible owner: centre on centre (within a pixel of rounding).
    const RECT owner{100, 100, 500, 400};
    const RECT over = OpenOver(owner, SW_SHOWNOACTIVATE);
    EXPECT_NEAR(Center(over).x, Center(owner).x, 1);
    EXPECT_NEAR(Center(over).y, Center(owner).y, 1);

    // An owner at the corner of the work area: the dialog stays within it, against its edges.
    const RECT corner{area.right - 100, area.bottom - 50, area.right + 300, area.bottom + 250};
    const RECT clamped = OpenOver(corner, SW_SHOWNOACTIVATE);
    EXPECT_EQ(clamped.right, area.right);
    EXPECT_EQ(clamped.bottom, area.bottom);
    const RECT farLeft{area.left - 600, area.top - 500, area.left - 200, area.top - 200};
    const RECT clampedLeft = OpenOver(farLeft, SW_SHOWNOACTIVATE);
    EXPECT_EQ(clampedLeft.left, area.left);
    EXPECT_EQ(clampedLeft.top, area.top);

    // A hidden or minimised owner gives no place: the work area's centre does.
    for (int show : {SW_HIDE, SW_SHOWMINNOACTIVE})
    {
        const RECT placed = OpenOver(owner, show);
        EXPECT_NEAR(Center(placed).x, areaCenter.x, 1) << show;
        EXPECT_NEAR(Center(placed).y, areaCenter.y, 1) << show;
    }
}

TEST(AboutCentering, UnownedAndSelfPlacedDialogsKeepTheirPositions)
{
    PlacedDialog unowned(nullptr);
    unowned.DoModal();
    EXPECT_EQ(unowned.m_rect.left, 0);
    EXPECT_EQ(unowned.m_rect.top, 0);

    HWND ownerWindow = ::CreateWindowExA(0, "STATIC", "Owner", WS_POPUP | WS_CAPTION | WS_VISIBLE, 100, 100, 400, 300,
                                         nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    CWnd owner(ownerWindow);
    PlacedDialog placed(&owner, true);
    placed.DoModal();
    EXPECT_EQ(placed.m_rect.left, 5);
    EXPECT_EQ(placed.m_rect.top, 6);
    ::DestroyWindow(ownerWindow);
}
