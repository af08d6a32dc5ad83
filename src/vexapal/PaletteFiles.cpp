#include "vexapal/PaletteFiles.h"

#include "vexapal/SystemFiles.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>

namespace
{
struct FileCloser
{
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileOwner = std::unique_ptr<std::FILE, FileCloser>;

#ifdef _WIN32
constexpr const char* kFolderSeparators = "/\\";
#else
constexpr const char* kFolderSeparators = "/";
#endif

// "out.pal.vexapal-0123456789abcdef.tmp": beside the file, under a name that no one can guess. The copy of
// the file's name is shortened (never inside a UTF-8 character) so that the whole stays within the limit.
std::string TemporaryName(const std::string& path, std::size_t nameLimit)
{
    std::random_device random;
    char number[24];
    std::snprintf(number, sizeof number, "%08x%08x", random(), random());
    const std::string suffix = std::string(".vexapal-") + number + ".tmp";
    const std::size_t slash = path.find_last_of(kFolderSeparators);
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    std::size_t end = path.size();
    if (end - nameStart + suffix.size() > nameLimit)
    {
        end = nameStart + (nameLimit > suffix.size() + 1 ? nameLimit - suffix.size() : 1);
        while (end > nameStart + 1 && (static_cast<unsigned char>(path[end]) & 0xC0) == 0x80)
            --end;
    }
    return path.substr(0, end) + suffix;
}
} // namespace

bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::string& reason)
{
    errno = 0;
    const FileOwner file(OpenToRead(path));
    if (!file)
    {
        reason = std::strerror(errno);
        return false;
    }
    bytes.clear();
    std::uint8_t block[65536];
    std::size_t got = 0;
    while ((got = std::fread(block, 1, sizeof block, file.get())) > 0)
    {
        if (bytes.size() + got > kMaxPaletteFileSize)
        {
            reason = "it is larger than " + std::to_string(kMaxPaletteFileSize / (1024 * 1024)) + " MiB";
            return false;
        }
        bytes.insert(bytes.end(), block, block + got);
    }
    if (std::ferror(file.get()))
    {
        reason = std::strerror(errno);
        return false;
    }
    return true;
}

bool WriteWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes, std::string& reason)
{
    OutputFile output;
    if (!FindOutputFile(path, output, reason))
        return false;
    // A name that is taken belongs to another file, or to a link planted there: another name is drawn.
    std::string temporary;
    std::FILE* file = nullptr;
    bool taken = true;
    for (int attempt = 0; file == nullptr && taken && attempt < 10; ++attempt)
    {
        temporary = TemporaryName(output.path, NameLimit(output.path));
        file = CreateNewFile(temporary, taken, reason);
    }
    if (file == nullptr)
        return false;
    errno = 0;
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() && std::fflush(file) == 0;
    if (!written)
        reason = std::strerror(errno);
    written = written && GivePermissions(file, output, reason) && SyncFile(file, reason);
    if (std::fclose(file) != 0 && written)
    {
        reason = std::strerror(errno);
        written = false;
    }
    written = written && MoveIntoPlace(temporary, output.path, reason);
    if (!written)
        RemoveFile(temporary);
    RemoveOnInterrupt("");
    return written;
}
