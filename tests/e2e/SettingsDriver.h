// What the settings and placement tests need beyond VexaDriver: Vexa's registry key as text, a watch
// for any write below it, access rights on it, and a start that gets past the first-start dialogs.
#pragma once

#include "../common/KeyAccess.h"
#include "VexaDriver.h"
#include "resource.h"

#include <aclapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace settings_test
{
inline HKEY OpenVexaKey(const std::string& sub, REGSAM access)
{
    HKEY key = nullptr;
    const std::string path = sub.empty() ? std::string(kVexaKey) : std::string(kVexaKey) + "\\" + sub;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, access, &key) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

// Values in name order: the registry's own enumeration order differs between Windows and Wine.
inline void ExportKey(HKEY key, const std::string& name, std::string& out)
{
    out += "[" + name + "]\n";
    std::vector<std::string> lines;
    char value[512];
    BYTE data[1024];
    for (DWORD i = 0;; ++i)
    {
        DWORD nameLength = sizeof value;
        DWORD size = sizeof data;
        DWORD type = 0;
        if (::RegEnumValueA(key, i, value, &nameLength, nullptr, &type, data, &size) != ERROR_SUCCESS)
            break;
        char line[128];
        if (type == REG_DWORD && size == 4)
            std::snprintf(line, sizeof line, "dword:%ld", static_cast<long>(*reinterpret_cast<LONG*>(data)));
        else if (type == REG_SZ)
            std::snprintf(line, sizeof line, "sz:");
        else
            std::snprintf(line, sizeof line, "type%lu:%lu bytes", type, size);
        std::string text = line;
        if (type == REG_SZ)
            text += std::string(reinterpret_cast<char*>(data), size).c_str();
        lines.push_back(std::string(value) + "=" + text + "\n");
    }
    std::sort(lines.begin(), lines.end());
    for (const std::string& line : lines)
        out += line;
    char subName[256];
    for (DWORD i = 0;; ++i)
    {
        DWORD length = sizeof subName;
        if (::RegEnumKeyExA(key, i, subName, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        HKEY sub = nullptr;
        if (::RegOpenKeyExA(key, subName, 0, KEY_READ, &sub) == ERROR_SUCCESS)
        {
            ExportKey(sub, name + "\\" + subName, out);
            ::RegCloseKey(sub);
        }
    }
}

// The whole HKLM\Software\Quillon\Vexa tree as text, one line per key and value; "" when it is absent.
inline std::string ExportVexaSettings()
{
    std::string out;
    if (HKEY key = OpenVexaKey("", KEY_READ))
    {
        ExportKey(key, "Vexa", out);
        ::RegCloseKey(key);
    }
    return out;
}

inline void PutInt(const char* section, const char* name, LONG value)
{
    HKEY key = nullptr;
    const std::string path = std::string(kVexaKey) + "\\" + section;
    ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    ::RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    ::RegCloseKey(key);
}

inline void PutString(const char* section, const char* name, const std::string& text)
{
    HKEY key = nullptr;
    const std::string path = std::string(kVexaKey) + "\\" + section;
    ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                     static_cast<DWORD>(text.size() + 1));
    ::RegCloseKey(key);
}

inline void PutBounds(RECT bounds)
{
    PutInt("Window", "Bounds.left", bounds.left);
    PutInt("Window", "Bounds.top", bounds.top);
    PutInt("Window", "Bounds.right", bounds.right);
    PutInt("Window", "Bounds.bottom", bounds.bottom);
}

// The four "Bounds" lines of ExportVexaSettings for a rectangle.
inline std::string BoundsText(const RECT& r)
{
    return "Bounds.bottom=dword:" + std::to_string(r.bottom) + "\nBounds.left=dword:" + std::to_string(r.left) +
           "\nBounds.right=dword:" + std::to_string(r.right) + "\nBounds.top=dword:" + std::to_string(r.top) + "\n";
}

// Sets the access of everyone to a key and all keys below it.
inline void SetTreeAccess(HKEY parent, const std::string& path, DWORD access)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExA(parent, path.c_str(), 0, WRITE_DAC | KEY_READ, &key) != ERROR_SUCCESS)
        return;
    char name[256];
    for (DWORD i = 0;; ++i)
    {
        DWORD length = sizeof name;
        if (::RegEnumKeyExA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        SetTreeAccess(key, name, access);
    }
    SetKeyAccess(key, access);
    ::RegCloseKey(key);
}

// Signals any value or key written below Vexa's key from the moment it is made (the key must exist).
class RegistryWatch
{
  public:
    RegistryWatch()
    {
        m_event = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
        m_key = OpenVexaKey("", KEY_NOTIFY);
        if (m_key)
            m_armed = ::RegNotifyChangeKeyValue(m_key, TRUE, REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET,
                                                m_event, TRUE) == ERROR_SUCCESS;
    }
    ~RegistryWatch()
    {
        if (m_key)
            ::RegCloseKey(m_key);
        ::CloseHandle(m_event);
    }
    RegistryWatch(const RegistryWatch&) = delete;
    RegistryWatch& operator=(const RegistryWatch&) = delete;

    bool Armed() const { return m_armed; }
    bool Written() const { return ::WaitForSingleObject(m_event, 0) == WAIT_OBJECT_0; }

  private:
    HANDLE m_event = nullptr;
    HKEY m_key = nullptr;
    bool m_armed = false;
};

// Starts Vexa and waits for its main window, closing on the way every other dialog it shows (the About
// box and help window of a first start). Returns the main window; firstStartBoxes counts the others.
inline HWND StartPastFirstStart(VexaProcess& vexa, int& firstStartBoxes, const std::string& exe = {})
{
    firstStartBoxes = 0;
    if (!vexa.Start(exe))
        return nullptr;
    for (int round = 0; round < 10; ++round)
    {
        HWND window = WaitForProcessWindow(vexa.Id(), "#32770", nullptr);
        if (!window)
            return nullptr;
        if (WindowText(window) == "Vexa" && ::GetMenu(window))
            return window;
        ++firstStartBoxes;
        ::PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        for (int wait = 0; wait < 100 && ::IsWindow(window) && ::IsWindowVisible(window); ++wait)
            ::Sleep(50);
    }
    return nullptr;
}

inline bool Exit(VexaProcess& vexa, HWND main)
{
    ::PostMessageA(main, WM_COMMAND, ID_APP_EXIT, 0);
    return vexa.WaitForExit();
}

inline bool WaitForIconic(HWND window)
{
    for (int wait = 0; wait < 100 && !::IsIconic(window); ++wait)
        ::Sleep(50);
    return ::IsIconic(window) != FALSE;
}

inline RECT WindowRect(HWND window)
{
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return rect;
}

inline SIZE ClientSize(HWND window)
{
    RECT rect{};
    ::GetClientRect(window, &rect);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

inline bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Whether Shrink to Fit gives the client size of a grid of columns x rows on the current client area
// (whole tiles of client / grid each way), which tells the grid the window shows. The window is put
// back where it was afterwards, so that the check itself leaves no placement change behind.
inline bool ShowsGrid(HWND main, int columns, int rows, SIZE* shrunk = nullptr)
{
    const RECT before = WindowRect(main);
    // A client area of 400 x 200 tells every grid of the program apart.
    const SIZE oldClient = ClientSize(main);
    ::SetWindowPos(main, nullptr, 0, 0, before.right - before.left - oldClient.cx + 400,
                   before.bottom - before.top - oldClient.cy + 200, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const SIZE client = ClientSize(main);
    ::SendMessageA(main, WM_COMMAND, ID_VIEW_SHRINK_TO_FIT, 0);
    const SIZE after = ClientSize(main);
    if (shrunk)
        *shrunk = after;
    ::SetWindowPos(main, nullptr, before.left, before.top, before.right - before.left, before.bottom - before.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    return after.cx == client.cx / columns * columns && after.cy == client.cy / rows * rows;
}
} // namespace settings_test
