#include "FaultSwitch.h"

#include "ImportHook.h"
#include "framework/Exceptions.h"
#include "framework/WinApp.h"
#include "framework/Wnd.h"
#include "resource.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace
{
// The menu's commands of the palette window and of the application object.
bool IsMenuCommand(UINT id)
{
    switch (id)
    {
    case ID_FILE_OPEN:
    case ID_FILE_SAVE_AS:
    case ID_EDIT_COPY:
    case ID_EDIT_CLEAR:
    case ID_APP_ABOUT:
    case ID_HELP:
    case ID_APP_EXIT: return true;
    default: return id >= ID_VIEW_SHRINK_TO_FIT && id <= ID_VIEW_TOGGLE_BORDER;
    }
}

std::vector<std::string> SplitKinds(const char* text)
{
    std::vector<std::string> kinds;
    std::string kind;
    for (const char* p = text ? text : "";; ++p)
    {
        if (*p && *p != ',')
        {
            kind += *p;
            continue;
        }
        if (!kind.empty())
            kinds.push_back(kind);
        kind.clear();
        if (!*p)
            return kinds;
    }
}

[[noreturn]] void ThrowFault(const char* kind)
{
    if (std::strcmp(kind, "file") == 0)
        throw CFileException(FileCause::accessDenied, ERROR_ACCESS_DENIED, "C:\\fault\\switch.bmp");
    if (std::strcmp(kind, "notsupported") == 0)
        throw CNotSupportedException();
    if (std::strcmp(kind, "memory") == 0)
        throw CMemoryException();
    if (std::strcmp(kind, "resource") == 0)
        throw CResourceException();
    if (std::strcmp(kind, "user") == 0)
        throw CUserException();
    if (std::strcmp(kind, "badalloc") == 0)
        throw std::bad_alloc();
    if (std::strcmp(kind, "foreign") == 0)
        throw std::runtime_error("not one of the framework's exceptions");
    throw CException();
}

// The system's own count where it keeps one (Windows 2000 and later: looked up, so that the test build
// still loads where the function is missing); 0 otherwise, as Wine answers.
DWORD SystemObjectCount(DWORD which)
{
    using GetGuiResourcesFunction = DWORD(WINAPI*)(HANDLE, DWORD);
    const auto getGuiResources = reinterpret_cast<GetGuiResourcesFunction>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("USER32"), "GetGuiResources")));
    return getGuiResources ? getGuiResources(::GetCurrentProcess(), which) : 0;
}

// Wine lends window DCs (GetDC, BeginPaint) from a cache that grows whenever more are out at once
// than it holds, up to 64 before it reuses them, and never shrinks; each DC there keeps, as a region,
// the visible area of the window it was last lent to. How far a common dialog's painting has grown it
// is a matter of timing. Borrowing 64 of the main window's at once and giving them back brings the
// cache to that size with every DC in it the main window's, the same state before each count.
void FillWindowDcCache(HWND window)
{
    constexpr int kCacheSize = 64;
    HDC lent[kCacheSize] = {};
    for (HDC& dc : lent)
        dc = ::GetDCEx(window, nullptr, DCX_CACHE);
    for (HDC dc : lent)
        if (dc)
            ::ReleaseDC(window, dc);
}

// Without the system's count the objects are found by their handles: under Wine a handle's low word
// alone names its slot in the process's tables.
DWORD CountGdiObjects(HWND main)
{
    if (const DWORD count = SystemObjectCount(GR_GDIOBJECTS))
        return count;
    FillWindowDcCache(main);
    DWORD count = 0;
    for (ULONG_PTR handle = 1; handle < 0x10000; ++handle)
        count += ::GetObjectType(reinterpret_cast<HGDIOBJ>(handle)) != 0;
    return count;
}

DWORD CountUserObjects()
{
    if (const DWORD count = SystemObjectCount(GR_USEROBJECTS))
        return count;
    DWORD count = 0;
    for (ULONG_PTR handle = 0x20; handle < 0x10000; handle += 2)
    {
        if (HWND window = reinterpret_cast<HWND>(handle); ::IsWindow(window))
        {
            DWORD process = 0;
            ::GetWindowThreadProcessId(window, &process);
            count += process == ::GetCurrentProcessId();
        }
        else if (::IsMenu(reinterpret_cast<HMENU>(handle)))
        {
            ++count;
        }
        else if (ICONINFO info{}; ::GetIconInfo(reinterpret_cast<HICON>(handle), &info))
        {
            ++count;
            if (info.hbmMask)
                ::DeleteObject(info.hbmMask);
            if (info.hbmColor)
                ::DeleteObject(info.hbmColor);
        }
    }
    return count;
}

void PublishObjectCounts()
{
    CWnd* main = AfxGetMainWnd();
    if (!main || !main->m_hWnd)
        return;
    // GDI first: the USER count borrows an icon's bitmaps for a moment.
    const DWORD gdi = CountGdiObjects(main->m_hWnd);
    const DWORD user = CountUserObjects();
    ::SetPropA(main->m_hWnd, "VexaGdiObjects", reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(gdi)));
    ::SetPropA(main->m_hWnd, "VexaUserObjects", reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(user)));
}

HDC WINAPI NoPaintContext(HWND, PAINTSTRUCT*)
{
    return nullptr;
}

HBRUSH WINAPI NoBrush(COLORREF)
{
    return nullptr;
}

using GetDeviceCapsFunction = int(WINAPI*)(HDC, int);
GetDeviceCapsFunction g_getDeviceCaps = nullptr;

// The answers of a true-colour display, as Wine's at depth 24 gives them.
int WINAPI TrueColourDeviceCaps(HDC dc, int index)
{
    switch (index)
    {
    case RASTERCAPS: return g_getDeviceCaps(dc, index) & ~RC_PALETTE;
    case SIZEPALETTE: return 0;
    case BITSPIXEL: return 32;
    default: return g_getDeviceCaps(dc, index);
    }
}

UINT WINAPI NoSystemPaletteEntries(HDC, UINT, UINT, PALETTEENTRY*)
{
    return 0;
}

// The system calls redirected by the commands, until kRestoreSystem.
std::vector<std::unique_ptr<ImportHook>> g_systemFaults;

void* FailSystemCall(const char* dll, const char* function, void* replacement)
{
    g_systemFaults.push_back(std::make_unique<ImportHook>(dll, function, replacement));
    return g_systemFaults.back()->Original();
}

void LeavePaletteMode()
{
    void* original = FailSystemCall("gdi32.dll", "GetDeviceCaps", reinterpret_cast<void*>(&TrueColourDeviceCaps));
    // Asked twice, the second hook finds the first one's replacement: the system's stays the one called.
    if (original != reinterpret_cast<void*>(&TrueColourDeviceCaps))
        g_getDeviceCaps = reinterpret_cast<GetDeviceCapsFunction>(original);
    FailSystemCall("gdi32.dll", "GetSystemPaletteEntries", reinterpret_cast<void*>(&NoSystemPaletteEntries));
}

// The test build's own commands; false for any other id.
bool RunSwitchCommand(UINT id)
{
    switch (id)
    {
    case FaultSwitch::kCountObjects: PublishObjectCounts(); return true;
    case FaultSwitch::kFailBeginPaint:
        FailSystemCall("user32.dll", "BeginPaint", reinterpret_cast<void*>(&NoPaintContext));
        return true;
    case FaultSwitch::kFailBrushes:
        FailSystemCall("gdi32.dll", "CreateSolidBrush", reinterpret_cast<void*>(&NoBrush));
        return true;
    case FaultSwitch::kLeavePaletteMode: LeavePaletteMode(); return true;
    case FaultSwitch::kRestoreSystem:
        // The latest first, so that each hook puts back what it found.
        while (!g_systemFaults.empty())
            g_systemFaults.pop_back();
        return true;
    default: return false;
    }
}
} // namespace

void FaultSwitch::BeforeCommand(UINT id)
{
    static const std::vector<std::string> kinds = SplitKinds(std::getenv("VEXA_FAULT"));
    static std::set<UINT> failed;
    if (RunSwitchCommand(id))
        return;
    if (kinds.empty() || !IsMenuCommand(id) || !failed.insert(id).second)
        return;
    ThrowFault(kinds[(failed.size() - 1) % kinds.size()].c_str());
}
