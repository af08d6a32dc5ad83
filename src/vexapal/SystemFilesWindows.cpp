#include "vexapal/SystemFiles.h"

#include <windows.h>

#include <io.h>

namespace
{
// The console mode flag of Windows 10 consoles that read colour escapes; older consoles refuse it.
constexpr DWORD kVirtualTerminalProcessing = 0x0004;

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
} // namespace

bool IsColourTerminal()
{
    if (!::_isatty(::_fileno(stdout)))
        return false;
    const HANDLE output = ::GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    return ::GetConsoleMode(output, &mode) && ::SetConsoleMode(output, mode | kVirtualTerminalProcessing);
}

unsigned long CurrentProcessId()
{
    return ::GetCurrentProcessId();
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
    if (::MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    reason = SystemReason(::GetLastError());
    return false;
}
