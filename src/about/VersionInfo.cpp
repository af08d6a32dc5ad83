#include "about/VersionInfo.h"

#include <cstring>

VersionInfo::VersionInfo(const char* fileName)
{
    if (!fileName)
    {
        LoadOwnRecord();
        return;
    }
    DWORD handle = 0;
    const DWORD size = ::GetFileVersionInfoSizeA(fileName, &handle);
    if (size == 0)
        return;
    auto record = std::make_unique<BYTE[]>(size);
    if (::GetFileVersionInfoA(fileName, 0, size, record.get()))
        m_record = std::move(record);
}

void VersionInfo::LoadOwnRecord()
{
    // From the loaded image rather than through the program's file name: the ANSI name spells
    // characters outside the code page as '?', a file that does not exist.
    HMODULE module = ::GetModuleHandleA(nullptr);
    HRSRC resource = ::FindResourceA(module, MAKEINTRESOURCEA(VS_VERSION_INFO), RT_VERSION);
    HGLOBAL loaded = resource ? ::LoadResource(module, resource) : nullptr;
    const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
    const DWORD size = resource ? ::SizeofResource(module, resource) : 0;
    WORD length = 0; // the record's own length, its first field
    if (!bytes || size < sizeof length)
        return;
    std::memcpy(&length, bytes, sizeof length);
    if (length < sizeof length || length > size)
        return;
    // VerQueryValueA writes the ANSI forms of the record's Unicode strings behind it, into the room that
    // GetFileVersionInfoA leaves there: twice the record and four bytes, the first of them a signature.
    // The resource itself is read-only, so the record is copied into such a block.
    auto record = std::make_unique<BYTE[]>(2 * static_cast<std::size_t>(length) + 4);
    std::memcpy(record.get(), bytes, length);
    std::memcpy(record.get() + length, "FE2X", 4);
    m_record = std::move(record);
}

const void* VersionInfo::QueryValue(const char* subBlock) const
{
    if (!m_record || !subBlock)
        return nullptr;
    void* value = nullptr;
    UINT length = 0;
    if (!::VerQueryValueA(m_record.get(), subBlock, &value, &length))
        return nullptr;
    return value;
}

const char* VersionInfo::GetStringValue(const char* name) const
{
    if (!name)
        return nullptr;
    static constexpr char kTable[] = "\\StringFileInfo\\040904B0\\";
    constexpr std::size_t kTableLength = sizeof kTable - 1;
    char path[256];
    const std::size_t length = std::strlen(name);
    if (length >= sizeof path - kTableLength)
        return nullptr;
    std::memcpy(path, kTable, kTableLength);
    std::memcpy(path + kTableLength, name, length + 1);
    return static_cast<const char*>(QueryValue(path));
}

std::string VersionInfo::GetCompanyKeyName() const
{
    const char* company = GetStringValue("CompanyName");
    if (!company)
        return {};
    const char* blank = std::strchr(company, ' ');
    return blank ? std::string(company, blank) : std::string(company);
}
