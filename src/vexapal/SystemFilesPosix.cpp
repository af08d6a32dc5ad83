#include "vexapal/SystemFiles.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>

namespace
{
// The file to remove on a signal, where the handler can read it without a call that is not safe there.
char g_removeOnSignal[4096];
volatile std::sig_atomic_t g_removeOnSignalSet = 0;

extern "C" void RemoveAndEnd(int signal)
{
    if (g_removeOnSignalSet)
        ::unlink(g_removeOnSignal);
    // The handler was reset to the default on entry, so the signal now ends the program as it would have.
    ::raise(signal);
}

void InstallSignalHandlers()
{
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
    {
        struct sigaction action = {};
        // A signal the program was started to ignore (nohup, a background job) stays ignored.
        if (::sigaction(signal, nullptr, &action) != 0 || action.sa_handler == SIG_IGN)
            continue;
        action.sa_handler = RemoveAndEnd;
        action.sa_flags = SA_RESETHAND | SA_NODEFER;
        sigemptyset(&action.sa_mask);
        ::sigaction(signal, &action, nullptr);
    }
}
} // namespace

std::vector<std::string> ProgramArguments(int argc, char** argv)
{
    return {argv + 1, argv + argc};
}

void PrepareConsoleForUtf8()
{
    // A terminal takes the bytes as its locale says; names are printed as the system keeps them.
}

bool IsColourTerminal()
{
    return ::isatty(STDOUT_FILENO) == 1;
}

std::FILE* OpenToRead(const std::string& path)
{
    return std::fopen(path.c_str(), "rb");
}

std::FILE* CreateNewFile(const std::string& path, bool& taken, std::string& reason)
{
    // O_EXCL refuses any name that exists, a link (even a dangling one) included.
    const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    taken = descriptor < 0 && errno == EEXIST;
    std::FILE* file = descriptor < 0 ? nullptr : ::fdopen(descriptor, "wb");
    if (file == nullptr)
    {
        reason = std::strerror(errno);
        if (descriptor >= 0)
        {
            ::close(descriptor);
            ::unlink(path.c_str());
        }
    }
    return file;
}

void RemoveOnInterrupt(const std::string& path)
{
    static const bool installed = (InstallSignalHandlers(), true);
    (void)installed;
    g_removeOnSignalSet = 0;
    if (path.empty() || path.size() >= sizeof g_removeOnSignal)
        return;
    std::memcpy(g_removeOnSignal, path.c_str(), path.size() + 1);
    g_removeOnSignalSet = 1;
}

bool RemoveFile(const std::string& path)
{
    return std::remove(path.c_str()) == 0;
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
