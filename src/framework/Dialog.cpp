#include "framework/Dialog.h"

#include "framework/Exceptions.h"
#include "framework/StandardIds.h"
#include "framework/WinApp.h"

CDialog::CDialog(UINT templateId, CWnd* parent) : m_nIDTemplate(templateId), m_pParentWnd(parent) {}

INT_PTR CDialog::DoModal()
{
    HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    return ::DialogBoxParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_nIDTemplate), owner, DialogProc,
                             reinterpret_cast<LPARAM>(this));
}

void CDialog::EndDialog(int result)
{
    ::EndDialog(m_hWnd, result);
}

BOOL CDialog::OnInitDialog()
{
    DoDataExchange();
    return TRUE;
}

void CDialog::OnOK()
{
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::CenterOverOwner(const RECT& before)
{
    // Only an owned popup that is still hidden and that its own initialisation left in place: the main
    // window and a dialog that placed itself keep their positions.
    const LONG style = ::GetWindowLongA(m_hWnd, GWL_STYLE);
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    if ((style & (WS_CHILD | WS_VISIBLE)) || !owner)
        return;
    RECT window{};
    ::GetWindowRect(m_hWnd, &window);
    if (window.left != before.left || window.top != before.top)
        return;

    RECT area{};
    if (!::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0))
        ::GetWindowRect(::GetDesktopWindow(), &area);
    // A hidden or minimised owner gives no place to centre over: the work area does.
    RECT center = area;
    if (::IsWindowVisible(owner) && !::IsIconic(owner))
        ::GetWindowRect(owner, &center);

    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    int left = (center.left + center.right) / 2 - width / 2;
    int top = (center.top + center.bottom) / 2 - height / 2;
    // Kept within the work area; a dialog larger than it keeps its top left corner visible.
    if (left + width > area.right)
        left = area.right - width;
    if (left < area.left)
        left = area.left;
    if (top + height > area.bottom)
        top = area.bottom - height;
    if (top < area.top)
        top = area.top;
    ::SetWindowPos(m_hWnd, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool CDialog::OnCommand(UINT id)
{
    switch (id)
    {
    case IDOK: OnOK(); return true;
    case IDCANCEL: OnCancel(); return true;
    default: return false;
    }
}

bool CDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message)
    {
    case WM_INITDIALOG: // BOOL OnInitDialog(), then the centring over the owner
    {
        RECT before{};
        ::GetWindowRect(m_hWnd, &before);
        result = OnInitDialog();
        CenterOverOwner(before);
        return true;
    }
    case WM_HELP: // F1 in a top-level window asks the main window for the help command.
    {
        // F1 with Shift, Ctrl or Alt held is not a request for the contents.
        const bool plainF1 =
            ::GetKeyState(VK_SHIFT) >= 0 && ::GetKeyState(VK_CONTROL) >= 0 && ::GetKeyState(VK_MENU) >= 0;
        CWnd* main = AfxGetMainWnd();
        if ((::GetWindowLongA(m_hWnd, GWL_STYLE) & WS_CHILD) || !plainF1 || !main || !main->m_hWnd)
            return false;
        ::SendMessageA(main->m_hWnd, WM_COMMAND, ID_HELP, 0);
        result = TRUE;
        return true;
    }
    default: return CWnd::OnMessage(message, wParam, lParam, result);
    }
}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
    {
        auto* dialog = reinterpret_cast<CDialog*>(lParam);
        dialog->m_hWnd = window;
        ::SetWindowLongPtrA(window, DWLP_USER, lParam);
    }
    auto* dialog = reinterpret_cast<CDialog*>(::GetWindowLongPtrA(window, DWLP_USER));
    if (!dialog)
        return FALSE;

    LRESULT result = 0;
    bool handled = false;
    try
    {
        handled = dialog->OnMessage(message, wParam, lParam, result);
    }
    catch (...)
    {
        // Reported, and the window goes on.
        ReportCurrentException(Barrier::handler);
        handled = message != WM_INITDIALOG;
    }

    if (message == WM_NCDESTROY)
    {
        ::SetWindowLongPtrA(window, DWLP_USER, 0);
        dialog->m_hWnd = nullptr;
        if (CWinApp* app = AfxGetApp(); app && app->m_pMainWnd == dialog)
            app->m_pMainWnd = nullptr;
    }
    if (!handled)
        return FALSE;
    switch (message)
    {
    // These answer through the procedure's own result.
    case WM_INITDIALOG:
    case WM_QUERYDRAGICON:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM: return static_cast<INT_PTR>(result);
    default: ::SetWindowLongPtrA(window, DWLP_MSGRESULT, result); return TRUE;
    }
}
