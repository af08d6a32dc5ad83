// One open instance per dialog class: a second request while one runs, a stale slot, a later request.
#include "ShownDialog.h"
#include "about/RunModalOnce.h"
#include "resource.h"

#include <gtest/gtest.h>

namespace
{
CDialog* g_slot = nullptr;

// Ends its modal run as soon as it initialises, with a result of its own.
class SelfClosingDialog : public CDialog
{
  public:
    static constexpr int kResult = 77;
    SelfClosingDialog() : CDialog(IDD_HELP, nullptr) {}

  protected:
    BOOL OnInitDialog() override
    {
        EndDialog(kResult);
        return TRUE;
    }
};

HWND MakeForegroundDecoy()
{
    HWND decoy = ::CreateWindowExA(0, "STATIC", "Decoy", WS_POPUP | WS_VISIBLE | WS_CAPTION, 600, 500, 200, 100,
                                   nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    ::SetForegroundWindow(decoy);
    return decoy;
}

// Once shown, asks for a second instance through the same slot while a decoy holds the foreground,
// and records what happened.
class ProbeDialog : public ShownDialog
{
  public:
    ProbeDialog() : ShownDialog(IDD_HELP, nullptr) {}

    CDialog* m_slotWhileOpen = nullptr;
    bool m_decoyWasForeground = false;
    int m_secondResult = 0;
    bool m_broughtToFront = false;

  protected:
    void OnShown() override
    {
        m_slotWhileOpen = g_slot;
        HWND decoy = MakeForegroundDecoy();
        m_decoyWasForeground = ::GetForegroundWindow() == decoy;
        SelfClosingDialog second;
        m_secondResult = RunModalOnce(second, &g_slot);
        m_broughtToFront = ::GetForegroundWindow() == m_hWnd;
        ::DestroyWindow(decoy);
    }
};
} // namespace

TEST(AboutRunModalOnce, SecondRequestBringsTheOpenOneToTheFront)
{
    ProbeDialog first;
    EXPECT_EQ(RunModalOnce(first, &g_slot), IDOK);
    EXPECT_EQ(first.m_slotWhileOpen, &first);
    EXPECT_TRUE(first.m_decoyWasForeground);
    EXPECT_EQ(first.m_secondResult, kModalAlreadyOpen);
    EXPECT_TRUE(first.m_broughtToFront);
    EXPECT_EQ(g_slot, nullptr);

    // Once the first is closed, the next request shows its dialog.
    SelfClosingDialog later;
    EXPECT_EQ(RunModalOnce(later, &g_slot), SelfClosingDialog::kResult);
    EXPECT_EQ(g_slot, nullptr);
}

TEST(AboutRunModalOnce, StaleSlotRefusesWithoutTouchingTheForeground)
{
    CDialog gone(IDD_HELP, nullptr);
    gone.m_hWnd = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                    ::GetModuleHandleA(nullptr), nullptr);
    ::DestroyWindow(gone.m_hWnd);
    g_slot = &gone;
    HWND decoy = MakeForegroundDecoy();
    ASSERT_EQ(::GetForegroundWindow(), decoy);

    SelfClosingDialog dialog;
    EXPECT_EQ(RunModalOnce(dialog, &g_slot), kModalAlreadyOpen);
    EXPECT_EQ(::GetForegroundWindow(), decoy);
    EXPECT_EQ(g_slot, &gone);
    ::DestroyWindow(decoy);
    g_slot = nullptr;
}
