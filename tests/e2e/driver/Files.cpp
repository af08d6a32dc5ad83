#include "driver/Files.h"

#include "driver/Process.h"

ScratchFolder::ScratchFolder()
{
    char base[MAX_PATH];
    ::GetTempPathA(MAX_PATH, base);
    char name[MAX_PATH];
    ::GetTempFileNameA(base, "vxt", 0, name);
    ::DeleteFileA(name);
    ::CreateDirectoryA(name, nullptr);
    m_path = name;
}

ScratchFolder::~ScratchFolder()
{
    for (const std::string& file : Files())
        ::DeleteFileA(Path(file).c_str());
    ::RemoveDirectoryA(m_path.c_str());
}

std::vector<unsigned char> ReadFileBytes(const std::string& path)
{
    std::vector<unsigned char> bytes;
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    bytes.resize(::GetFileSize(file, nullptr));
    DWORD read = 0;
    ::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    bytes.resize(read);
    ::CloseHandle(file);
    return bytes;
}

void WriteFileBytes(const std::string& path, const std::vector<unsigned char>& bytes)
{
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
}

std::string ExeResourceBytes(const char* name, const char* type)
{
    HMODULE exe = ::LoadLibraryExA(VexaExePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!exe)
        return {};
    std::string bytes;
    if (HRSRC resource = ::FindResourceA(exe, name, type))
    {
        if (const void* data = ::LockResource(::LoadResource(exe, resource)))
            bytes.assign(static_cast<const char*>(data), ::SizeofResource(exe, resource));
    }
    ::FreeLibrary(exe);
    return bytes;
}

std::string ExeVersionString(const char* name)
{
    // version.dll is not linked into the driver; it is only needed here.
    HMODULE version = ::LoadLibraryA("version.dll");
    if (!version)
        return {};
    using SizeFn = DWORD(WINAPI*)(LPCSTR, LPDWORD);
    using InfoFn = BOOL(WINAPI*)(LPCSTR, DWORD, DWORD, LPVOID);
    using QueryFn = BOOL(WINAPI*)(LPCVOID, LPCSTR, LPVOID*, PUINT);
    auto size = reinterpret_cast<SizeFn>(reinterpret_cast<void*>(::GetProcAddress(version, "GetFileVersionInfoSizeA")));
    auto info = reinterpret_cast<InfoFn>(reinterpret_cast<void*>(::GetProcAddress(version, "GetFileVersionInfoA")));
    auto query = reinterpret_cast<QueryFn>(reinterpret_cast<void*>(::GetProcAddress(version, "VerQueryValueA")));
    std::string value;
    const std::string exe = VexaExePath();
    DWORD handle = 0;
    if (const DWORD bytes = size ? size(exe.c_str(), &handle) : 0)
    {
        std::vector<char> record(bytes);
        void* text = nullptr;
        UINT length = 0;
        const std::string path = std::string("\\StringFileInfo\\040904B0\\") + name;
        if (info(exe.c_str(), 0, bytes, record.data()) && query(record.data(), path.c_str(), &text, &length) && text)
            value = static_cast<const char*>(text);
    }
    ::FreeLibrary(version);
    return value;
}
