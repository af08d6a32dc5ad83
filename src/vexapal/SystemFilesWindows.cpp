// Windows: every name goes through the wide functions, so that a name the ANSI code page cannot spell
// is neither refused nor replaced with a look-alike ("best fit"); the rest of vexapal sees UTF-8.
#include "vexapal/SystemFiles.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace
{
// The console mode flag of Windows 10 consoles that read colour escapes; older consoles refuse it.
constexpr DWORD kVirtualTerminalProcessing = 0x0004;

// Where the interface level this builds for does not declare them.
constexpr DWORD kOpenReparsePoint = 0x00200000;                         // FILE_FLAG_OPEN_REPARSE_POINT
constexpr DWORD kReparsePointAttribute = 0x00000400;                    // FILE_ATTRIBUTE_REPARSE_POINT
constexpr DWORD kSymbolicLinkTag = 0xA000000C;                          // IO_REPARSE_TAG_SYMLINK
using FinalPathFunction = DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD, DWORD); // GetFinalPathNameByHandleW

// The file to remove on Ctrl+C or a console's closing; the handler runs on a thread of its own, and
// takes the lock that a file's creation and its registration hold together.
wchar_t g_removeOnInterrupt[32768];
volatile LONG g_removeOnInterruptSet = 0;
CRITICAL_SECTION g_removalLock;

// The console's output code page before the program made it UTF-8, and the mode of the console before
// it took colour escapes; 0 when the program did not change them.
UINT g_consoleCodePage = 0;
DWORD g_consoleMode = 0;
bool g_consoleModeSet = false;

void RestoreConsole()
{
    if (g_consoleCodePage != 0)
        ::SetConsoleOutputCP(g_consoleCodePage);
    if (g_consoleModeSet)
        ::SetConsoleMode(::GetStdHandle(STD_OUTPUT_HANDLE), g_consoleMode);
}

std::wstring Widen(const std::string& text)
{
    const int size = static_cast<int>(text.size());
    std::wstring wide(static_cast<std::size_t>(::MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0)),
                      L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), static_cast<int>(wide.size()));
    return wide;
}

std::string Narrow(const wchar_t* text)
{
    const int size = static_cast<int>(std::wcslen(text));
    std::string narrow(
        static_cast<std::size_t>(::WideCharToMultiByte(CP_UTF8, 0, text, size, nullptr, 0, nullptr, nullptr)), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, size, narrow.data(), static_cast<int>(narrow.size()), nullptr, nullptr);
    return narrow;
}

// The system's text for the error in UTF-8, as file names are printed, whatever the ANSI code page.
std::string SystemReason(DWORD error)
{
    wchar_t text[512] = L"";
    const DWORD length = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                                          text, sizeof text / sizeof text[0], nullptr);
    text[length < sizeof text / sizeof text[0] ? length : 0] = L'\0';
    std::string reason = Narrow(text);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == ' '))
        reason.pop_back();
    return reason.empty() ? "system error " + std::to_string(error) : reason;
}

// An open handle to an existing name, following a link (or, with kOpenReparsePoint, the link itself).
HANDLE OpenExisting(const std::wstring& path, DWORD flags)
{
    return ::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | flags, nullptr);
}

// Whether the name is a device (NUL, CON, COM1 in any folder, \\.\ names, pipes) rather than a file.
bool IsDevice(const std::wstring& path)
{
    std::wstring full(32768, L'\0');
    const DWORD size = ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (size > 0 && size < full.size() && full.compare(0, 4, L"\\\\.\\") == 0)
        return true;
    const HANDLE handle = OpenExisting(path, kOpenReparsePoint);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    const DWORD type = ::GetFileType(handle);
    ::CloseHandle(handle);
    return type != FILE_TYPE_DISK;
}

BOOL WINAPI OnConsoleControl(DWORD)
{
    // The file was opened to be shared for deletion: it goes when the ending process closes it.
    ::EnterCriticalSection(&g_removalLock);
    if (::InterlockedCompareExchange(&g_removeOnInterruptSet, 0, 0) != 0)
        ::DeleteFileW(g_removeOnInterrupt);
    ::LeaveCriticalSection(&g_removalLock);
    RestoreConsole();
    return FALSE; // and the default handler ends the program
}

void HandleConsoleControl()
{
    static const bool installed =
        (::InitializeCriticalSection(&g_removalLock), ::SetConsoleCtrlHandler(OnConsoleControl, TRUE) != FALSE);
    (void)installed;
}
} // namespace

std::vector<std::string> ProgramArguments(int argc, char** argv)
{
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (wide == nullptr)
        return {argv + 1, argv + argc};
    std::vector<std::string> arguments;
    for (int i = 1; i < count; ++i)
        arguments.push_back(Narrow(wide[i]));
    ::LocalFree(wide);
    return arguments;
}

void PrepareConsoleForUtf8()
{
    DWORD mode = 0;
    const UINT codePage = ::GetConsoleOutputCP();
    if ((!::GetConsoleMode(::GetStdHandle(STD_OUTPUT_HANDLE), &mode) &&
         !::GetConsoleMode(::GetStdHandle(STD_ERROR_HANDLE), &mode)) ||
        codePage == 0 || codePage == CP_UTF8 || !::SetConsoleOutputCP(CP_UTF8))
        return;
    // The console outlives the program: it gets its code page back at the end, Ctrl+C included.
    g_consoleCodePage = codePage;
    HandleConsoleControl();
    std::atexit(RestoreConsole);
}

bool IsColourTerminal()
{
    if (!::_isatty(::_fileno(stdout)))
        return false;
    const HANDLE output = ::GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (!::GetConsoleMode(output, &mode) || !::SetConsoleMode(output, mode | kVirtualTerminalProcessing))
        return false;
    // And back at the end, as the code page.
    if ((mode & kVirtualTerminalProcessing) == 0 && !g_consoleModeSet)
    {
        g_consoleMode = mode;
        g_consoleModeSet = true;
        HandleConsoleControl();
        std::atexit(RestoreConsole);
    }
    return true;
}

std::FILE* OpenToRead(const std::string& path)
{
    return ::_wfopen(Widen(path).c_str(), L"rb");
}

bool FindOutputFile(const std::string& path, OutputFile& output, std::string& reason)
{
    output = {path};
    const std::wstring wide = Widen(path);
    if (IsDevice(wide))
    {
        reason = "it is a device, not a file";
        return false;
    }
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return true; // a new file, or one that creating it will say why it cannot be
    output.exists = (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    if ((attributes & kReparsePointAttribute) == 0)
        return true;
    WIN32_FIND_DATAW found = {};
    const HANDLE find = ::FindFirstFileW(wide.c_str(), &found);
    if (find != INVALID_HANDLE_VALUE)
        ::FindClose(find);
    const auto finalPath = reinterpret_cast<FinalPathFunction>(reinterpret_cast<void (*)()>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "GetFinalPathNameByHandleW")));
    if (find == INVALID_HANDLE_VALUE || found.dwReserved0 != kSymbolicLinkTag || finalPath == nullptr)
    {
        reason = "it is a reparse point that is not a plain link";
        return false;
    }
    // The file the link leads to, written in its own folder.
    const HANDLE handle = OpenExisting(wide, 0);
    if (handle == INVALID_HANDLE_VALUE)
    {
        reason = SystemReason(::GetLastError());
        return false;
    }
    std::wstring target(32768, L'\0');
    const DWORD size = finalPath(handle, target.data(), static_cast<DWORD>(target.size()), 0);
    const DWORD error = ::GetLastError();
    ::CloseHandle(handle);
    if (size == 0 || size >= target.size())
    {
        reason = SystemReason(error);
        return false;
    }
    target.resize(size);
    output.path = Narrow(target.c_str());
    return !IsDevice(target) || (reason = "it is a device, not a file", false);
}

std::size_t NameLimit(const std::string&)
{
    return 255; // UTF-16 units, which a name's UTF-8 never has fewer bytes than
}

bool GivePermissions(std::FILE*, const OutputFile&, std::string&)
{
    return true; // a new file takes the folder's access rules, as the file it replaces did
}

std::FILE* CreateNewFile(const std::string& path, bool& taken, std::string& reason)
{
    // CREATE_NEW refuses any name that exists, a symbolic link (even a dangling one) included, and never
    // opens what a link there leads to. The file is registered for removal before Ctrl+C can end the
    // program: the handler waits for the lock.
    HandleConsoleControl();
    ::EnterCriticalSection(&g_removalLock);
    const HANDLE handle = ::CreateFileW(Widen(path).c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL | kOpenReparsePoint, nullptr);
    const DWORD error = ::GetLastError();
    if (handle != INVALID_HANDLE_VALUE)
        RemoveOnInterrupt(path);
    ::LeaveCriticalSection(&g_removalLock);
    taken = handle == INVALID_HANDLE_VALUE && (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS);
    if (handle == INVALID_HANDLE_VALUE)
    {
        reason = SystemReason(error);
        return nullptr;
    }
    const int descriptor = ::_open_osfhandle(reinterpret_cast<std::intptr_t>(handle), _O_WRONLY | _O_BINARY);
    std::FILE* file = descriptor == -1 ? nullptr : ::_fdopen(descriptor, "wb");
    if (file == nullptr)
    {
        reason = std::strerror(errno);
        if (descriptor == -1)
            ::CloseHandle(handle);
        else
            ::_close(descriptor);
        ::DeleteFileW(Widen(path).c_str());
    }
    return file;
}

void RemoveOnInterrupt(const std::string& path)
{
    HandleConsoleControl();
    const std::wstring wide = Widen(path);
    ::EnterCriticalSection(&g_removalLock);
    ::InterlockedExchange(&g_removeOnInterruptSet, 0);
    if (!wide.empty() && wide.size() < sizeof g_removeOnInterrupt / sizeof g_removeOnInterrupt[0])
    {
        std::memcpy(g_removeOnInterrupt, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
        ::InterlockedExchange(&g_removeOnInterruptSet, 1); // a full barrier: the name is whole before the flag
    }
    ::LeaveCriticalSection(&g_removalLock);
}

bool RemoveFile(const std::string& path)
{
    return ::DeleteFileW(Widen(path).c_str()) != FALSE;
}

bool SyncFile(std::FILE* file, std::string& reason)
{
    const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(file)));
    if (::FlushFileBuffers(handle))
        return true;
    reason = SystemReason(::GetLastError());
    return false;
}

bool MoveIntoPlace(const std::string& from, const std::string& to, std::string& reason)
{
    if (::MoveFileExW(Widen(from).c_str(), Widen(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    reason = SystemReason(::GetLastError());
    return false;
}
