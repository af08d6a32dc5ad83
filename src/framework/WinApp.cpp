#include "framework/WinApp.h"

#include "framework/StandardIds.h"
#include "framework/Wnd.h"

namespace
{
CWinApp* g_app = nullptr;
HINSTANCE g_resources = nullptr;
} // namespace

CWinApp::CWinApp(const char* appName)
{
    if (appName)
    {
        m_appName = appName;
        m_pszAppName = m_appName.c_str();
    }
    g_app = this;
}

CWinApp::~CWinApp()
{
    if (g_app == this)
        g_app = nullptr;
}

void CWinApp::SetCurrentHandles(HINSTANCE instance)
{
    m_hInstance = instance;
    if (!m_pszAppName)
    {
        m_appName = AfxLoadString(IDS_APP_TITLE);
        m_pszAppName = m_appName.c_str();
    }
}

BOOL CWinApp::InitInstance()
{
    return FALSE;
}

int CWinApp::ExitInstance()
{
    return 0;
}

bool CWinApp::OnCommand(UINT id)
{
    if (id != ID_APP_EXIT)
        return false;
    if (m_pMainWnd && m_pMainWnd->m_hWnd)
        ::SendMessageA(m_pMainWnd->m_hWnd, WM_CLOSE, 0, 0);
    return true;
}

void CWinApp::SetRegistryKey(const char* key)
{
    m_registryKey = key ? key : "";
    m_pszRegistryKey = m_registryKey.c_str();
    m_profileName = m_pszAppName ? m_pszAppName : "";
    m_pszProfileName = m_profileName.c_str();
}

CWinApp* AfxGetApp()
{
    return g_app;
}

const char* AfxGetAppName()
{
    return g_app && g_app->m_pszAppName ? g_app->m_pszAppName : "";
}

CWnd* AfxGetMainWnd()
{
    return g_app ? g_app->m_pMainWnd : nullptr;
}

HINSTANCE AfxGetResourceHandle()
{
    if (g_resources)
        return g_resources;
    return g_app && g_app->m_hInstance ? g_app->m_hInstance : ::GetModuleHandleA(nullptr);
}

void AfxSetResourceHandle(HINSTANCE module)
{
    g_resources = module;
}

std::string AfxLoadString(UINT id)
{
    // A string table entry holds at most 4,095 characters.
    char buffer[4096];
    const int length = ::LoadStringA(AfxGetResourceHandle(), id, buffer, sizeof buffer);
    return std::string(buffer, length > 0 ? static_cast<std::size_t>(length) : 0);
}

std::string AfxGetModuleFileName(HMODULE module)
{
    // Windows cuts a name that does not fit short, and not every version terminates it or says so: only
    // a name with room to spare is surely whole. Names of up to 32,767 characters exist.
    for (DWORD size = MAX_PATH + 1; size <= 0x10000; size *= 2)
    {
        std::string name(size, '\0');
        const DWORD length = ::GetModuleFileNameA(module, name.data(), size);
        if (length == 0)
            return {};
        if (length + 1 < size)
        {
            name.resize(length);
            return name;
        }
    }
    return {};
}

int AfxMessageBox(const char* text, UINT type)
{
    HWND owner = nullptr;
    if (CWnd* main = AfxGetMainWnd(); main && ::IsWindow(main->m_hWnd))
        owner = ::GetLastActivePopup(main->m_hWnd);
    return ::MessageBoxA(owner, text, AfxGetAppName(), type);
}

int AfxMessageBox(UINT promptId, UINT type)
{
    return AfxMessageBox(AfxLoadString(promptId).c_str(), type);
}
