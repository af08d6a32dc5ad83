#include "AboutHelpDriver.h"

#include "VexaDriver.h"
#include "resource.h"

#include <vector>

std::string ExeResourceBytes(const char* name, const char* type)
{
    HMODULE exe = ::LoadLibraryExA(VexaExePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!exe)
        return {};
    std::string bytes;
    if (HRSRC resource = ::FindResourceA(exe, name, type))
    {
        if (const void* data = ::LockResource(::LoadResource(exe, resource)))
            bytes.assign(static_cast<const char*>(data), ::SizeofResource(exe, resource));
    }
    ::FreeLibrary(exe);
    return bytes;
}

std::string ExeVersionString(const char* name)
{
    // version.dll is not linked into the driver; it is only needed here.
    HMODULE version = ::LoadLibraryA("version.dll");
    if (!version)
        return {};
    using SizeFn = DWORD(WINAPI*)(LPCSTR, LPDWORD);
    using InfoFn = BOOL(WINAPI*)(LPCSTR, DWORD, DWORD, LPVOID);
    using QueryFn = BOOL(WINAPI*)(LPCVOID, LPCSTR, LPVOID*, PUINT);
    auto size = reinterpret_cast<SizeFn>(reinterpret_cast<void*>(::GetProcAddress(version, "GetFileVersionInfoSizeA")));
    auto info = reinterpret_cast<InfoFn>(reinterpret_cast<void*>(::GetProcAddress(version, "GetFileVersionInfoA")));
    auto query = reinterpret_cast<QueryFn>(reinterpret_cast<void*>(::GetProcAddress(version, "VerQueryValueA")));
    std::string value;
    const std::string exe = VexaExePath();
    DWORD handle = 0;
    if (const DWORD bytes = size ? size(exe.c_str(), &handle) : 0)
    {
        std::vector<char> record(bytes);
        void* text = nullptr;
        UINT length = 0;
        const std::string path = std::string("\\StringFileInfo\\040904B0\\") + name;
        if (info(exe.c_str(), 0, bytes, record.data()) && query(record.data(), path.c_str(), &text, &length) && text)
            value = static_cast<const char*>(text);
    }
    ::FreeLibrary(version);
    return value;
}

std::string FullWindowText(HWND window)
{
    DWORD_PTR length = 0;
    ::SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_BLOCK, 5000, &length);
    std::string text(length + 1, '\0');
    DWORD_PTR copied = 0;
    ::SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_BLOCK, 5000,
                          &copied);
    text.resize(copied);
    return text;
}

HWND FocusInThreadOf(HWND window)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info))
        return nullptr;
    return info.hwndFocus;
}

int CountProcessWindows(DWORD processId, const char* className, const char* title)
{
    return static_cast<int>(ProcessWindows(processId, className, title).size());
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    const DWORD start = ::GetTickCount();
    while (!condition())
    {
        if (::GetTickCount() - start > timeoutMs)
            return false;
        MSG message;
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageA(&message);
        ::Sleep(50);
    }
    return true;
}

ForegroundDecoy::ForegroundDecoy()
{
    m_window = ::CreateWindowExA(0, "STATIC", "Decoy", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600, 500, 200, 100, nullptr,
                                 nullptr, ::GetModuleHandleA(nullptr), nullptr);
}

ForegroundDecoy::~ForegroundDecoy()
{
    if (m_window)
        ::DestroyWindow(m_window);
}

bool ForegroundDecoy::TakeForegroundFrom(HWND other)
{
    ::SetForegroundWindow(m_window);
    if (!WaitUntil([this] { return ::GetForegroundWindow() == m_window; }, 2000))
        return false;
    // Under Wine the window that lost the focus hears of it from X a little later; should that news
    // come after Vexa has brought its window back, it would hand the foreground to the desktop. A
    // message round trip lets Vexa's thread read its X events first.
    ::Sleep(200);
    ::SendMessageTimeoutA(other, WM_NULL, 0, 0, SMTO_BLOCK, 5000, nullptr);
    return ::GetForegroundWindow() == m_window;
}

HWND OpenAboutBox(DWORD processId, HWND main)
{
    ::PostMessageA(main, WM_COMMAND, ID_APP_ABOUT, 0);
    return WaitForProcessWindow(processId, "#32770", "About Vexa");
}

bool CloseDialog(HWND dialog, UINT command)
{
    ::PostMessageA(dialog, WM_COMMAND, command, 0);
    return WaitUntil([&] { return !::IsWindow(dialog); });
}
