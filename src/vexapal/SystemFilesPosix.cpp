#include "vexapal/SystemFiles.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

bool IsColourTerminal()
{
    return ::isatty(STDOUT_FILENO) == 1;
}

unsigned long CurrentProcessId()
{
    return static_cast<unsigned long>(::getpid());
}

bool SyncFile(std::FILE* file, std::string& reason)
{
    if (::fsync(::fileno(file)) == 0)
        return true;
    reason = std::strerror(errno);
    return false;
}

bool MoveIntoPlace(const std::string& from, const std::string& to, std::string& reason)
{
    if (std::rename(from.c_str(), to.c_str()) == 0)
        return true;
    reason = std::strerror(errno);
    return false;
}
