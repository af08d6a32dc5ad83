// A modal dialog built from a dialog template, with the framework's one exception barrier.
#pragma once

#include "framework/Wnd.h"

class CDialog : public CWnd
{
  public:
    CDialog(UINT templateId, CWnd* parent);

    // Runs the dialog modally; the result of EndDialog, or -1 when it could not be created.
    virtual INT_PTR DoModal();
    void EndDialog(int result);

  protected:
    // Runs the data exchange; returns TRUE to let the system set the focus.
    virtual BOOL OnInitDialog();
    virtual void DoDataExchange() {}
    virtual void OnOK();
    virtual void OnCancel();

    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool OnCommand(UINT id) override;

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

  private:
    // Centres an owned dialog over its owner (over the work area when the owner is hidden or minimised),
    // within the work area, unless OnInitDialog moved it from where it was before.
    void CenterOverOwner(const RECT& before);

    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};
