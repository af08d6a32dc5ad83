#include "app/PaletteApp.h"

#include "framework/Exceptions.h"
#include "resource.h"
#include "window/PaletteWindow.h"

namespace
{
PaletteApp g_theApp;

// Windows 95 and NT 4.0 on: a non-NT platform (top bit set) needs major version 4.
bool IsPlatformSupported(DWORD version)
{
    const bool nonNt = (version & 0x80000000u) != 0;
    return !nonNt || LOBYTE(LOWORD(version)) >= 4;
}
} // namespace

PaletteApp& GetPaletteApp()
{
    return g_theApp;
}

BOOL PaletteApp::InitInstance()
{
    if (!IsPlatformSupported(::GetVersion()))
    {
        AfxMessageBox(IDS_PLATFORM_REFUSED, MB_ICONSTOP | MB_OK);
        return FALSE;
    }
    try
    {
        PaletteWindow window;
        m_pMainWnd = &window;
        window.DoModal();
        m_pMainWnd = nullptr;
    }
    catch (const CUserException&)
    {
        AfxMessageBox(IDS_PALETTE_DISPLAY_NEEDED, MB_ICONSTOP | MB_OK);
    }
    catch (const CException& e)
    {
        e.ReportError(MB_ICONEXCLAMATION);
        return FALSE;
    }
    return FALSE;
}

bool PaletteApp::OnCommand(UINT id)
{
    return CWinApp::OnCommand(id);
}
