#include "framework/Wnd.h"

#include "framework/WinApp.h"
#ifdef VEXA_FAULT_SWITCH
#include "framework/FaultSwitch.h"
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
    // Menus, accelerators (codes 0 and 1) and button clicks (0) carry commands; other notifications don't.
    if (message == WM_COMMAND && HIWORD(wParam) <= 1 && RouteCommand(LOWORD(wParam)))
    {
        result = 0;
        return true;
    }
    return false;
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
