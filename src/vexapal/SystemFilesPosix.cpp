#include "vexapal/SystemFiles.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <sys/stat.h>

namespace
{
// The file to remove on a signal, where the handler can read it without a call that is not safe there.
char g_removeOnSignal[4096];
volatile std::sig_atomic_t g_removeOnSignalSet = 0;

extern "C" void RemoveAndEnd(int signal)
{
    if (g_removeOnSignalSet)
    {
        std::atomic_signal_fence(std::memory_order_acquire);
        ::unlink(g_removeOnSignal);
    }
    // The handler was reset to the default on entry, so the signal now ends the program as it would have.
    ::raise(signal);
}

constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP};

void InstallSignalHandlers()
{
    for (const int signal : kEndingSignals)
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

bool FindOutputFile(const std::string& path, OutputFile& output, std::string& reason)
{
    output = {path};
    for (int links = 0;; ++links)
    {
        struct stat info = {};
        if (::lstat(output.path.c_str(), &info) != 0)
            return true; // a new file, or one that creating it will say why it cannot be
        if (S_ISLNK(info.st_mode))
        {
            char target[PATH_MAX];
            const ssize_t size = links < 40 ? ::readlink(output.path.c_str(), target, sizeof target) : -1;
            if (size <= 0 || static_cast<std::size_t>(size) == sizeof target)
            {
                reason = std::strerror(links < 40 ? errno : ELOOP);
                return false;
            }
            // A relative link leads from the link's folder.
            const std::size_t slash = output.path.find_last_of('/');
            output.path = target[0] == '/' || slash == std::string::npos
                              ? std::string(target, static_cast<std::size_t>(size))
                              : output.path.substr(0, slash + 1) + std::string(target, static_cast<std::size_t>(size));
            continue;
        }
        if (S_ISFIFO(info.st_mode) || S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode) || S_ISSOCK(info.st_mode))
        {
            reason = std::string("it is ") +
                     (S_ISFIFO(info.st_mode)   ? "a named pipe"
                      : S_ISSOCK(info.st_mode) ? "a socket"
                                               : "a device") +
                     ", not a file";
            return false;
        }
        output.exists = S_ISREG(info.st_mode);
        output.mode = info.st_mode & 07777;
        output.owner = info.st_uid;
        output.group = info.st_gid;
        return true;
    }
}

std::size_t NameLimit(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const long limit = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    return limit > 0 ? static_cast<std::size_t>(limit) : 255;
}

std::FILE* CreateNewFile(const std::string& path, bool& taken, std::string& reason)
{
    static const bool installed = (InstallSignalHandlers(), true);
    (void)installed;
    // The ending signals wait until the file is registered for removal, so none can leave it behind.
    sigset_t ending, before;
    sigemptyset(&ending);
    for (const int signal : kEndingSignals)
        sigaddset(&ending, signal);
    ::sigprocmask(SIG_BLOCK, &ending, &before);
    // O_EXCL refuses any name that exists, a link (even a dangling one) included.
    const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
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
    const int error = errno;
    if (file != nullptr)
        RemoveOnInterrupt(path);
    ::sigprocmask(SIG_SETMASK, &before, nullptr);
    errno = error;
    return file;
}

bool GivePermissions(std::FILE* file, const OutputFile& output, std::string& reason)
{
    const int descriptor = ::fileno(file);
    mode_t mode = 0;
    if (output.exists)
    {
        // Root keeps the owner and group; an owner keeps a group of its own. The set-user and set-group
        // bits go where the owner or the group could not be kept.
        mode = output.mode;
        const auto owner = static_cast<uid_t>(output.owner);
        const auto group = static_cast<gid_t>(output.group);
        if (::fchown(descriptor, owner, group) != 0)
        {
            if (owner != ::geteuid())
                mode &= ~static_cast<mode_t>(S_ISUID);
            if (::fchown(descriptor, static_cast<uid_t>(-1), group) != 0)
                mode &= ~static_cast<mode_t>(S_ISGID);
        }
    }
    else
    {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (::fchmod(descriptor, mode) == 0)
        return true;
    reason = std::strerror(errno);
    return false;
}

void RemoveOnInterrupt(const std::string& path)
{
    static const bool installed = (InstallSignalHandlers(), true);
    (void)installed;
    g_removeOnSignalSet = 0;
    if (path.empty() || path.size() >= sizeof g_removeOnSignal)
        return;
    std::memcpy(g_removeOnSignal, path.c_str(), path.size() + 1);
    std::atomic_signal_fence(std::memory_order_release); // the name is whole before the handler may read it
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
