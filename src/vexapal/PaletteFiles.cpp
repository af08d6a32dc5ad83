#include "vexapal/PaletteFiles.h"

#include "vexapal/SystemFiles.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace
{
struct FileCloser
{
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileOwner = std::unique_ptr<std::FILE, FileCloser>;
} // namespace

bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::string& reason)
{
    errno = 0;
    const FileOwner file(std::fopen(path.c_str(), "rb"));
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
    const std::string temporary = path + ".vexapal-" + std::to_string(CurrentProcessId()) + ".tmp";
    errno = 0;
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (file == nullptr)
    {
        reason = std::strerror(errno);
        return false;
    }
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() && std::fflush(file) == 0;
    if (!written)
        reason = std::strerror(errno);
    written = written && SyncFile(file, reason);
    if (std::fclose(file) != 0 && written)
    {
        reason = std::strerror(errno);
        written = false;
    }
    if (!written || !MoveIntoPlace(temporary, path, reason))
    {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}
