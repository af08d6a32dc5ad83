#include "app/PaletteApp.h"

#include "about/AboutDialog.h"
#include "about/HelpDialog.h"
#include "about/VersionInfo.h"
#include "framework/Exceptions.h"
#include "palette/DisplayPalette.h"
#include "resource.h"
#include "window/PaletteWindow.h"

namespace
{
PaletteApp g_theApp;

// The exit code of a start that showed its reason in a message box and ended; a normal end gives 0.
constexpr int kStartFailed = 1;

// Windows 95 and NT 4.0 on: a non-NT platform (top bit set) needs major version 4.
bool IsPlatformSupported(DWORD version)
{
    const bool nonNt = (version & 0x80000000u) != 0;
    return !nonNt || LOBYTE(LOWORD(version)) >= 4;
}

// The About box and the help window belong to whatever popup of the program is active, so that one
// opened from the other stays above it.
HWND DialogOwner()
{
    CWnd* main = AfxGetMainWnd();
    return main && ::IsWindow(main->m_hWnd) ? ::GetLastActivePopup(main->m_hWnd) : nullptr;
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
        m_exitCode = kStartFailed;
        return FALSE;
    }
    try
    {
        const VersionInfo version;
        SetRegistryKey(version.GetCompanyKeyName().c_str());
        const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(version.QueryValue("\\"));
        m_settings.m_currentVersion = fixed ? fixed->dwProductVersionMS : 0;
        m_settings.SetRootPath(nullptr);
        m_settings.SetDefaults();
        m_settings.Load();
        m_saveAtExit = true;

        PaletteWindow window(nullptr, &m_settings);
        m_pMainWnd = &window;
        const INT_PTR result = window.DoModal();
        m_pMainWnd = nullptr;
        // No window at all: its template or menu is missing from the program's resources.
        if (result == -1)
            throw CResourceException();
    }
    catch (const PaletteDisplayNeeded& refusal)
    {
        // Not an error of this run: the settings it read are kept.
        refusal.ReportError();
        m_exitCode = kStartFailed;
    }
    catch (...)
    {
        // Nothing of this run is kept.
        m_saveAtExit = false;
        ReportCurrentException(Barrier::startup);
        m_exitCode = kStartFailed;
    }
    return FALSE;
}

int PaletteApp::ExitInstance()
{
    // Runs after InitInstance and, at the end of the session, while the window still runs: whichever
    // comes first saves.
    if (m_saveAtExit)
    {
        m_saveAtExit = false;
        m_settings.PrepareSave();
        if (m_settings.IsModified())
            m_settings.Save();
    }
    return m_exitCode;
}

bool PaletteApp::OnCommand(UINT id)
{
    switch (id)
    {
    case ID_APP_ABOUT: OnAppAbout(); return true;
    case ID_HELP: OnHelp(); return true;
    default: return CWinApp::OnCommand(id);
    }
}

void PaletteApp::OnAppAbout()
{
    CWnd owner(DialogOwner());
    AboutDialog dialog(&owner);
    dialog.DoModal();
}

void PaletteApp::OnHelp()
{
    CWnd owner(DialogOwner());
    HelpDialog dialog(&owner, "HELP");
    dialog.DoModal();
}
