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

// The file to remove on Ctrl+C or a console's closing; the handler runs on a thread of its own.
wchar_t g_removeOnInterrupt[32768];
volatile LONG g_removeOnInterruptSet = 0;

// The console's output code page before the program made it UTF-8; 0 when it did not.
UINT g_consoleCodePage = 0;

void RestoreConsoleCodePage()
{
    if (g_consoleCodePage != 0)
        ::SetConsoleOutputCP(g_consoleCodePage);
}

std::string SystemReason(DWORD error)
{
    char text[512] = "";
    const DWORD length = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                                          text, sizeof text, nullptr);
    std::string reason(text, length);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == ' '))
        reason.pop_back();
    return reason.empty() ? "system error " + std::to_string(error) : reason;
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

BOOL WINAPI OnConsoleControl(DWORD)
{
    // The file was opened to be shared for deletion: it goes when the ending process closes it.
    if (g_removeOnInterruptSet)
        ::DeleteFileW(g_removeOnInterrupt);
    RestoreConsoleCodePage();
    return FALSE; // and the default handler ends the program
}

void HandleConsoleControl()
{
    static const bool installed = ::SetConsoleCtrlHandler(OnConsoleControl, TRUE) != FALSE;
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
    std::atexit(RestoreConsoleCodePage);
}

bool IsColourTerminal()
{
    if (!::_isatty(::_fileno(stdout)))
        return false;
    const HANDLE output = ::GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    return ::GetConsoleMode(output, &mode) && ::SetConsoleMode(output, mode | kVirtualTerminalProcessing);
}

std::FILE* OpenToRead(const std::string& path)
{
    return ::_wfopen(Widen(path).c_str(), L"rb");
}

std::FILE* CreateNewFile(const std::string& path, bool& taken, std::string& reason)
{
    // CREATE_NEW refuses any name that exists, a symbolic link (even a dangling one) included.
    const HANDLE handle = ::CreateFileW(Widen(path).c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
    const DWORD error = ::GetLastError();
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
    g_removeOnInterruptSet = 0;
    const std::wstring wide = Widen(path);
    if (wide.empty() || wide.size() >= sizeof g_removeOnInterrupt / sizeof g_removeOnInterrupt[0])
        return;
    std::memcpy(g_removeOnInterrupt, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
    g_removeOnInterruptSet = 1;
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
