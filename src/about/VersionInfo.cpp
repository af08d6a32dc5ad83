#include "about/VersionInfo.h"

#include "framework/Exceptions.h"
#include "framework/WinApp.h"

#include <cstdio>
#include <cstring>

VersionInfo::VersionInfo(const char* fileName) : m_fileName(fileName)
{
    if (!m_fileName)
    {
        m_path = AfxGetModuleFileName();
        if (!m_path.empty())
            m_fileName = m_path.c_str();
    }
    if (!m_fileName)
        throw CResourceException();

    DWORD handle = 0;
    const DWORD size = ::GetFileVersionInfoSizeA(m_fileName, &handle);
    if (size == 0)
        return;
    auto record = std::make_unique<BYTE[]>(size);
    if (::GetFileVersionInfoA(m_fileName, 0, size, record.get()))
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
    char path[256];
    const int length = std::snprintf(path, sizeof path, "\\StringFileInfo\\040904B0\\%s", name);
    if (length < 0 || static_cast<std::size_t>(length) >= sizeof path)
        return nullptr;
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
