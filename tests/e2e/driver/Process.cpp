#include "driver/Process.h"

#include "driver/Wait.h"
#include "resource.h"

#include <cstdio>
#include <cstdlib>

namespace
{
std::string Environment(const char* name, const char* fallback)
{
    const char* value = std::getenv(name);
    return value ? value : fallback;
}

std::wstring Wide(const std::string& text)
{
    const int length = ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 1), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), length);
    wide.resize(wide.size() - 1);
    return wide;
}
} // namespace

std::string VexaExePath()
{
    return Environment("VEXA_EXE", "Vexa.exe");
}

std::string FaultsExePath()
{
    return Environment("VEXA_FAULTS_EXE", "VexaFaults.exe");
}

std::string WindowText(HWND window)
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

std::string DialogItemText(HWND dialog, int id)
{
    return WindowText(::GetDlgItem(dialog, id));
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

BOOL CALLBACK MatchChild(HWND window, LPARAM param)
{
    auto* match = reinterpret_cast<std::pair<const std::function<bool(HWND)>*, HWND>*>(param);
    if (!(*match->first)(window))
        return TRUE;
    match->second = window;
    return FALSE;
}
} // namespace

std::vector<HWND> ProcessWindows(DWORD processId, const char* className, const char* title)
{
    Search search{processId, className, title, {}};
    ::EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> ProcessDialogs(DWORD processId, HWND exclude)
{
    std::vector<HWND> dialogs = ProcessWindows(processId, kDialogClass);
    std::erase(dialogs, exclude);
    return dialogs;
}

std::size_t CountDialogs(DWORD processId, const char* title)
{
    return ProcessWindows(processId, kDialogClass, title).size();
}

HWND WaitForDialog(DWORD processId, const char* title, HWND exclude, DWORD timeoutMs)
{
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND window : ProcessWindows(processId, kDialogClass, title))
                if (window != exclude)
                    return (found = window) != nullptr;
            return false;
        },
        timeoutMs);
    return found;
}

HWND FindChild(HWND parent, const std::function<bool(HWND)>& match)
{
    std::pair<const std::function<bool(HWND)>*, HWND> search{&match, nullptr};
    ::EnumChildWindows(parent, MatchChild, reinterpret_cast<LPARAM>(&search));
    return search.second;
}

HWND FocusInThreadOf(HWND window)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info))
        return nullptr;
    return info.hwndFocus;
}

RECT WindowRect(HWND window)
{
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return rect;
}

SIZE ClientSize(HWND window)
{
    RECT rect{};
    ::GetClientRect(window, &rect);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

bool IsTopmost(HWND window)
{
    return (::GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

ScopedEnvironment::ScopedEnvironment(const char* name, const char* value) : m_name(name)
{
    ::SetEnvironmentVariableA(name, value);
}

ScopedEnvironment::~ScopedEnvironment()
{
    ::SetEnvironmentVariableA(m_name, nullptr);
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
    m_made = ::CopyFileW(Wide(VexaExePath()).c_str(), m_path.c_str(), FALSE);
}

VexaCopy::~VexaCopy()
{
    ::DeleteFileW(m_path.c_str());
    for (auto folder = m_folders.rbegin(); folder != m_folders.rend(); ++folder)
        ::RemoveDirectoryW(folder->c_str());
}

std::string VexaCopy::AnsiPath() const
{
    const int length = ::WideCharToMultiByte(CP_ACP, 0, m_path.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string path(static_cast<std::size_t>(length > 0 ? length : 1), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, m_path.c_str(), -1, path.data(), length, nullptr, nullptr);
    path.resize(path.size() - 1);
    return path;
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
    return Start(Wide(exe.empty() ? VexaExePath() : exe));
}

bool VexaProcess::Start(const std::wstring& exe)
{
    std::wstring command = L"\"" + exe + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    // Wine's CreateProcess fails when the new process ends before its loader hands over to the program,
    // so before any of Vexa's code runs; a loaded machine has shown that once (a start that failed
    // within 33 ms). Such a start is tried again, and said.
    for (int attempt = 1;; ++attempt)
    {
        if (::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &m_info))
            break;
        const DWORD error = ::GetLastError();
        std::printf("[ start    ] CreateProcess failed with error %lu (attempt %d of 3)\n", error, attempt);
        std::fflush(stdout);
        if (attempt == 3 || error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return false;
        ::Sleep(500);
    }
    ::WaitForInputIdle(m_info.hProcess, 10000);
    return true;
}

HWND VexaProcess::StartAndWaitForMain(const std::string& exe)
{
    return StartAndWaitForMain(Wide(exe.empty() ? VexaExePath() : exe));
}

HWND VexaProcess::StartAndWaitForMain(const std::wstring& exe)
{
    return Start(exe) ? WaitForDialog(m_info.dwProcessId, "Vexa") : nullptr;
}

HWND VexaProcess::StartPastFirstStart(int& firstStartBoxes, const std::string& exe)
{
    firstStartBoxes = 0;
    if (!Start(exe))
        return nullptr;
    for (int round = 0; round < 10; ++round)
    {
        HWND window = WaitForDialog(m_info.dwProcessId, nullptr);
        if (!window)
            return nullptr;
        if (WindowText(window) == "Vexa" && ::GetMenu(window))
            return window;
        ++firstStartBoxes;
        ::PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        WaitUntil([window] { return !::IsWindow(window) || !::IsWindowVisible(window); });
    }
    return nullptr;
}

bool VexaProcess::Exit(HWND main)
{
    ::PostMessageA(main, WM_COMMAND, ID_APP_EXIT, 0);
    return WaitForExit();
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
    RoundTrip(other);
    return ::GetForegroundWindow() == m_window;
}
