#include "framework/Wnd.h"

#include "framework/WinApp.h"
#ifdef VEXA_FAULT_SWITCH
#include "FaultSwitch.h"
#endif

std::string CWnd::GetWindowText() const
{
    const int length = ::GetWindowTextLengthA(m_hWnd);
    std::string text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, '\0');
    const int copied = ::GetWindowTextA(m_hWnd, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

bool CWnd::OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result)
{
    switch (message)
    {
    case WM_COMMAND: // bool RouteCommand(UINT id)
        // Menus, accelerators (codes 0 and 1) and button clicks (0) carry commands; other notifications
        // don't.
        if (HIWORD(wParam) > 1 || !RouteCommand(LOWORD(wParam)))
            return false;
        result = 0;
        return true;
    case WM_ENDSESSION: // void OnEndSession(BOOL ending), then the default processing
        OnEndSession(static_cast<BOOL>(wParam));
        return false;
    default: return false;
    }
}

void CWnd::OnEndSession(BOOL ending)
{
    // After this message the system may end the process at any moment, and the main window is never
    // destroyed: the application finishes its work now.
    CWinApp* app = AfxGetApp();
    if (ending && app && app->m_pMainWnd == this)
        app->ExitInstance();
}

bool CWnd::OnCommand(UINT)
{
    return false;
}

bool CWnd::RouteCommand(UINT id)
{
#ifdef VEXA_FAULT_SWITCH
    FaultSwitch::BeforeCommand(id); // test builds only: the command fails as its handler could
#endif
    if (OnCommand(id))
        return true;
    CWinApp* app = AfxGetApp();
    return app && app->OnCommand(id);
}
