// A dialog that looks at itself once it is on the screen, for tests of where and how dialogs open.
#pragma once

#include "framework/Dialog.h"

// Runs OnShown once the dialog is shown and its modal loop idle (a timer fires only then), then ends the
// dialog with IDOK.
class ShownDialog : public CDialog
{
  public:
    using CDialog::CDialog;

  protected:
    virtual void OnShown() = 0;

    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        ::SetTimer(m_hWnd, 1, 20, nullptr);
        return TRUE;
    }

    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override
    {
        if (message != WM_TIMER)
            return CDialog::OnMessage(message, wParam, lParam, result);
        ::KillTimer(m_hWnd, 1);
        OnShown();
        EndDialog(IDOK);
        return true;
    }
};
