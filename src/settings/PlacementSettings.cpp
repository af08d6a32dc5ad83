#include "settings/PlacementSettings.h"

#include "framework/WinApp.h"
#include "framework/WinGeometry.h"
#include "framework/Wnd.h"
#include "settings/DesktopRect.h"
#include "settings/DesktopWindow.h"

namespace
{
constexpr const char* kInstallSection = "CurrentVersion";
constexpr const char* kWindowSection = "Window";

HWND LiveWindow(CWnd* window)
{
    if (!window)
        window = AfxGetMainWnd();
    return window && ::IsWindow(window->m_hWnd) ? window->m_hWnd : nullptr;
}

// Letter case aside, the same file name (the system's comparison, which knows multibyte characters).
bool SamePath(const char* a, const char* b)
{
    return ::CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE | SORT_STRINGSORT, a, -1, b, -1) == CSTR_EQUAL;
}
} // namespace

void PlacementSettings::SetDefaults()
{
    PersistentSettings::SetDefaults();

    const std::string storedPath = ReadString(kInstallSection, "Path", "");
    const std::string path = AfxGetModuleFileName();
    if (!path.empty() && !SamePath(path.c_str(), storedPath.c_str()))
        WriteString(kInstallSection, "Path", path.c_str());

    m_storedVersion = static_cast<DWORD>(ReadInt(kInstallSection, "Version", static_cast<int>(m_storedVersion)));
    if (m_storedVersion != m_currentVersion)
        WriteInt(kInstallSection, "Version", static_cast<int>(m_currentVersion));

    m_onTop = 0;
    m_bounds = {0, 0, 0, 0};
    m_showState = 0;
}

void PlacementSettings::Load()
{
    m_onTop = ReadInt(kWindowSection, "On top", m_onTop);
    m_bounds = ReadRect(kWindowSection, "Bounds", m_bounds);
    m_showState = ReadInt(kWindowSection, "State", m_showState);
    if (m_showState != SW_SHOWMINIMIZED)
        m_showState = 0;
    PersistentSettings::Load();
}

void PlacementSettings::Save()
{
    WriteInt(kWindowSection, "On top", m_onTop);
    if (!::IsRectEmpty(&m_bounds))
        WriteRect(kWindowSection, "Bounds", m_bounds);
    WriteInt(kWindowSection, "State", m_showState);
    PersistentSettings::Save();
}

BOOL PlacementSettings::RestorePlacement(CWnd* window, UINT flags, BOOL applyState)
{
    HWND hwnd = LiveWindow(window);
    if (!hwnd)
        return FALSE;
    if (!::IsRectEmpty(&m_bounds))
    {
        // Only moved on screen: the registry keeps the stored rectangle unless something else is saved.
        KeepRectOnDesktop(m_bounds);
        const Rect bounds = ToRect(m_bounds);
        ::SetWindowPos(hwnd, m_onTop ? HWND_TOPMOST : HWND_NOTOPMOST, bounds.left, bounds.top, SaturatedWidth(bounds),
                       SaturatedHeight(bounds), flags);
        // The system limits a window's size and position, so a huge stored rectangle can leave the
        // window elsewhere than asked, even wholly off the screen: bring what it made back into reach.
        RECT placed{};
        ::GetWindowRect(hwnd, &placed);
        RECT reachable = placed;
        KeepRectOnDesktop(reachable);
        if (!::EqualRect(&placed, &reachable))
            ::SetWindowPos(hwnd, nullptr, reachable.left, reachable.top, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    else if (flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW))
    {
        ::ShowWindow(hwnd, (flags & SWP_SHOWWINDOW) ? SW_SHOWNORMAL : SW_HIDE);
    }
    if (applyState && m_showState == SW_SHOWMINIMIZED)
        ::ShowWindow(hwnd, SW_SHOWMINIMIZED);
    if (!(flags & (SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER)))
        ::SetForegroundWindow(hwnd);
    return TRUE;
}

void PlacementSettings::CapturePlacement(CWnd* window)
{
    HWND hwnd = LiveWindow(window);
    if (!hwnd)
        return;
    const int state = ::IsIconic(hwnd) ? SW_SHOWMINIMIZED : 0;
    if (state != m_showState)
    {
        m_showState = state;
        m_modified = 1;
    }
    // A minimised window's rectangle is the icon's: the last normal one stays.
    if (state == SW_SHOWMINIMIZED)
        return;
    RECT bounds{};
    ::GetWindowRect(hwnd, &bounds);
    SetBounds(bounds);
}

void PlacementSettings::SetBounds(const RECT& bounds)
{
    if (::EqualRect(&bounds, &m_bounds))
        return;
    m_bounds = bounds;
    m_modified = 1;
}

void PlacementSettings::SetOnTop(BOOL onTop, CWnd* window)
{
    if (onTop != m_onTop)
    {
        m_onTop = onTop;
        m_modified = 1;
    }
    ApplyOnTop(window);
}

void PlacementSettings::ApplyOnTop(CWnd* window)
{
    if (HWND hwnd = LiveWindow(window))
        ::SetWindowPos(hwnd, m_onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
}
