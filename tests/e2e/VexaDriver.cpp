#include "VexaDriver.h"

#include <cstdlib>

std::string VexaExePath()
{
    const char* path = std::getenv("VEXA_EXE");
    return path ? path : "Vexa.exe";
}

std::string WindowText(HWND window)
{
    char text[1024] = "";
    ::SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_BLOCK, 5000, nullptr);
    return text;
}

void ResetVexaSettings(bool firstStart)
{
    ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, kVexaKey);
    if (firstStart)
        return;
    HKEY key = nullptr;
    const std::string section = std::string(kVexaKey) + "\\CurrentVersion";
    if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, section.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr))
        return;
    const DWORD version = 0x00010007;
    ::RegSetValueExA(key, "Version", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&version), sizeof version);
    const std::string path = VexaExePath();
    ::RegSetValueExA(key, "Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                     static_cast<DWORD>(path.size() + 1));
    ::RegCloseKey(key);
}

namespace
{
struct Search
{
    DWORD processId;
    const char* className;
    const char* title;
    std::vector<HWND> found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !::IsWindowVisible(window))
        return TRUE;
    char className[256] = "";
    ::GetClassNameA(window, className, sizeof className);
    if (search->className && std::string(className) != search->className)
        return TRUE;
    if (search->title && WindowText(window) != search->title)
        return TRUE;
    search->found.push_back(window);
    return TRUE;
}
} // namespace

std::vector<HWND> ProcessWindows(DWORD processId, const char* className, const char* title)
{
    Search search{processId, className, title, {}};
    ::EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForProcessWindow(DWORD processId, const char* className, const char* title, DWORD timeoutMs)
{
    const DWORD start = ::GetTickCount();
    do
    {
        const std::vector<HWND> found = ProcessWindows(processId, className, title);
        if (!found.empty())
            return found.front();
        ::Sleep(50);
    } while (::GetTickCount() - start < timeoutMs);
    return nullptr;
}

std::string DialogItemText(HWND dialog, int id)
{
    return WindowText(::GetDlgItem(dialog, id));
}

VexaCopy::VexaCopy(const std::vector<std::wstring>& folders, const std::wstring& fileName)
{
    wchar_t temp[MAX_PATH] = L"";
    ::GetTempPathW(MAX_PATH, temp);
    std::wstring path = temp;
    for (const std::wstring& folder : folders)
    {
        path += folder;
        if (!::CreateDirectoryW(path.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS)
            return;
        m_folders.push_back(path);
        path += L'\\';
    }
    m_path = path + fileName;
    const std::string exe = VexaExePath();
    m_made = ::CopyFileW(std::wstring(exe.begin(), exe.end()).c_str(), m_path.c_str(), FALSE);
}

VexaCopy::~VexaCopy()
{
    ::DeleteFileW(m_path.c_str());
    for (auto folder = m_folders.rbegin(); folder != m_folders.rend(); ++folder)
        ::RemoveDirectoryW(folder->c_str());
}

VexaProcess::~VexaProcess()
{
    if (!m_info.hProcess)
        return;
    if (::WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT)
    {
        ::TerminateProcess(m_info.hProcess, 99);
        ::WaitForSingleObject(m_info.hProcess, 5000);
    }
    ::CloseHandle(m_info.hThread);
    ::CloseHandle(m_info.hProcess);
}

bool VexaProcess::Start(const std::string& exe)
{
    std::string command = "\"" + (exe.empty() ? VexaExePath() : exe) + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (!::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &m_info))
        return false;
    ::WaitForInputIdle(m_info.hProcess, 10000);
    return true;
}

bool VexaProcess::Start(const std::wstring& exe)
{
    std::wstring command = L"\"" + exe + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &m_info))
        return false;
    ::WaitForInputIdle(m_info.hProcess, 10000);
    return true;
}

HWND VexaProcess::StartAndWaitForMain(const std::string& exe)
{
    if (!Start(exe))
        return nullptr;
    m_main = WaitForProcessWindow(m_info.dwProcessId, "#32770", "Vexa");
    return m_main;
}

bool VexaProcess::WaitForExit(DWORD timeoutMs)
{
    return m_info.hProcess && ::WaitForSingleObject(m_info.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

DWORD VexaProcess::ExitCode() const
{
    DWORD code = STILL_ACTIVE;
    ::GetExitCodeProcess(m_info.hProcess, &code);
    return code;
}
