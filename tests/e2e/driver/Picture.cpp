#include "driver/Picture.h"

#include "driver/Wait.h"

#include <cstdio>
#include <fstream>
#include <map>

namespace
{
std::uint32_t BigEndian32(const std::vector<unsigned char>& bytes, std::size_t at)
{
    return (std::uint32_t{bytes[at]} << 24) | (std::uint32_t{bytes[at + 1]} << 16) |
           (std::uint32_t{bytes[at + 2]} << 8) | bytes[at + 3];
}

// The Unix name of a Windows path (Wine's own export), for the Unix program that writes the file.
std::string UnixFileName(const std::string& path)
{
    using Function = char*(CDECL*)(LPCWSTR);
    const auto toUnix = reinterpret_cast<Function>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("kernel32"), "wine_get_unix_file_name")));
    wchar_t wide[MAX_PATH] = L"";
    if (!toUnix || !::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH))
        return {};
    char* unixName = toUnix(wide);
    if (!unixName)
        return {};
    std::string result = unixName;
    ::HeapFree(::GetProcessHeap(), 0, unixName);
    return result;
}

// Starts a Unix program: Wine runs a non-Windows executable as a Unix process, but cannot wait for
// it, so the caller watches for its output.
bool StartUnix(std::string command)
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return true;
}

// The bytes of an XWD file once it is complete, as its header tells; empty after the timeout.
std::vector<unsigned char> ReadWhenComplete(const std::string& path, DWORD timeoutMs)
{
    std::vector<unsigned char> bytes;
    const bool complete = WaitUntil(
        [&] {
            bytes.clear();
            if (std::ifstream in(path, std::ios::binary); in)
                bytes.assign(std::istreambuf_iterator<char>(in), {});
            return bytes.size() >= 100 &&
                   bytes.size() >= BigEndian32(bytes, 0) + std::size_t{BigEndian32(bytes, 76)} * 12 +
                                       std::size_t{BigEndian32(bytes, 48)} * BigEndian32(bytes, 20);
        },
        timeoutMs);
    return complete ? bytes : std::vector<unsigned char>{};
}

// An XWD file of an 8-bit Z-format image: a header of big-endian 32-bit fields, the colormap and the
// rows of pixel values.
bool DecodeXwd(const std::vector<unsigned char>& bytes, Picture& picture, std::string& error)
{
    if (bytes.size() < 100)
        return error = "xwd wrote no header", false;
    const std::uint32_t headerSize = BigEndian32(bytes, 0);
    const std::uint32_t format = BigEndian32(bytes, 8);
    const auto width = static_cast<int>(BigEndian32(bytes, 16));
    const auto height = static_cast<int>(BigEndian32(bytes, 20));
    const std::uint32_t bitsPerPixel = BigEndian32(bytes, 44);
    const std::uint32_t bytesPerLine = BigEndian32(bytes, 48);
    const std::uint32_t colours = BigEndian32(bytes, 76);
    if (format != 2 || bitsPerPixel != 8)
        return error = "not an 8-bit Z-format image (bits per pixel " + std::to_string(bitsPerPixel) + ")", false;
    const std::size_t image = headerSize + std::size_t{colours} * 12;
    if (bytes.size() < image + std::size_t{bytesPerLine} * height)
        return error = "xwd file cut short", false;

    std::map<std::uint32_t, Rgb> colourOf;
    for (std::size_t at = headerSize; at < image; at += 12)
        colourOf[BigEndian32(bytes, at)] = {bytes[at + 4], bytes[at + 6], bytes[at + 8]}; // high bytes
    picture.width = width;
    picture.height = height;
    picture.pixels.resize(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.pixels[static_cast<std::size_t>(y) * width + x] = colourOf[bytes[image + y * bytesPerLine + x]];
    return true;
}
} // namespace

bool CaptureWindow(HWND window, Picture& picture, std::string& error)
{
    // Wine keeps the X window of a top-level window in a window property.
    const auto xWindow = reinterpret_cast<std::uintptr_t>(::GetPropA(window, "__wine_x11_whole_window"));
    if (!xWindow)
        return error = "the window has no X window", false;
    char folder[MAX_PATH] = "", file[MAX_PATH] = "";
    ::GetTempPathA(sizeof folder, folder);
    ::GetTempFileNameA(folder, "xwd", 0, file);
    ::DeleteFileA(file);
    const std::string unixName = UnixFileName(file);
    char command[600];
    std::snprintf(command, sizeof command, "/usr/bin/xwd -silent -id 0x%llx -out %s",
                  static_cast<unsigned long long>(xWindow), unixName.c_str());
    const std::vector<unsigned char> bytes =
        !unixName.empty() && StartUnix(command) ? ReadWhenComplete(file, 10000) : std::vector<unsigned char>{};
    ::DeleteFileA(file);
    if (bytes.empty())
        return error = std::string("no picture from ") + command, false;
    return DecodeXwd(bytes, picture, error);
}

bool CaptureClientArea(HWND window, Picture& picture, std::string& error)
{
    Picture whole;
    if (!CaptureWindow(window, whole, error))
        return false;

    RECT frame{}, client{};
    ::GetWindowRect(window, &frame);
    ::GetClientRect(window, &client);
    POINT origin{0, 0};
    ::ClientToScreen(window, &origin);
    const int left = origin.x - frame.left, top = origin.y - frame.top;
    if (left < 0 || top < 0 || left + client.right > whole.width || top + client.bottom > whole.height)
        return error = "the client area lies outside the X window", false;
    picture.width = client.right;
    picture.height = client.bottom;
    picture.pixels.clear();
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            picture.pixels.push_back(whole.At(left + x, top + y));
    return true;
}

void SavePicture(const Picture& picture, const std::string& path)
{
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << picture.width << ' ' << picture.height << "\n255\n";
    for (const Rgb& pixel : picture.pixels)
        out.put(static_cast<char>(pixel.red)).put(static_cast<char>(pixel.green)).put(static_cast<char>(pixel.blue));
}
