#include "framework/File.h"

#include "framework/Exceptions.h"
#include "framework/FileNameText.h"

#include <cstring>

bool IsAnsiLeadByte(unsigned char byte)
{
    return ::IsDBCSLeadByte(byte) != FALSE;
}

CFile::CFile(const std::string& path, UINT flags)
{
    OpenAs(path, flags, path);
}

void CFile::OpenAs(const std::string& path, UINT flags, const std::string& reportName)
{
    m_strFileName = reportName;
    DWORD access = GENERIC_READ;
    if ((flags & 3) == modeWrite)
        access = GENERIC_WRITE;
    else if ((flags & 3) == modeReadWrite)
        access = GENERIC_READ | GENERIC_WRITE;

    DWORD share = 0;
    switch (flags & 0x70)
    {
    case shareDenyWrite: share = FILE_SHARE_READ; break;
    case shareDenyNone: share = FILE_SHARE_READ | FILE_SHARE_WRITE; break;
    default: break; // exclusive
    }
    const DWORD creation = (flags & modeCreate) ? CREATE_ALWAYS : OPEN_EXISTING;
    m_hFile = ::CreateFileA(path.c_str(), access, share, nullptr, creation, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (m_hFile == INVALID_HANDLE_VALUE)
        CFileException::ThrowOsError(static_cast<LONG>(::GetLastError()), m_strFileName);
}

CFile::~CFile()
{
    if (m_hFile != INVALID_HANDLE_VALUE)
        ::CloseHandle(m_hFile);
}

UINT CFile::Read(void* buffer, UINT count)
{
    DWORD read = 0;
    if (!::ReadFile(m_hFile, buffer, count, &read, nullptr))
        CFileException::ThrowOsError(static_cast<LONG>(::GetLastError()), m_strFileName);
    return read;
}

void CFile::Write(const void* buffer, UINT count)
{
    DWORD written = 0;
    if (!::WriteFile(m_hFile, buffer, count, &written, nullptr))
        CFileException::ThrowOsError(static_cast<LONG>(::GetLastError()), m_strFileName);
    if (written != count)
        CFileException::Throw(FileCause::diskFull, m_strFileName);
}

void CFile::Close()
{
    const HANDLE file = m_hFile;
    m_hFile = INVALID_HANDLE_VALUE;
    if (file != INVALID_HANDLE_VALUE && !::CloseHandle(file))
        CFileException::ThrowOsError(static_cast<LONG>(::GetLastError()), m_strFileName);
}

void CStdioFile::WriteString(const char* text)
{
    std::string expanded;
    for (const char* p = text; *p; ++p)
    {
        if (*p == '\n')
            expanded += '\r';
        expanded += *p;
    }
    Write(expanded.data(), static_cast<UINT>(expanded.size()));
}

CReplacingFile::CReplacingFile(const std::string& targetPath)
{
    // Beside the target, so that putting it in place is a rename within one folder.
    const std::size_t name = FileNameOffset(targetPath, IsAnsiLeadByte);
    const std::string folder = name == 0 ? std::string(".") : targetPath.substr(0, name);
    char temporary[MAX_PATH];
    if (folder.size() >= MAX_PATH - 14 || !::GetTempFileNameA(folder.c_str(), "vxa", 0, temporary))
    {
        const DWORD error = folder.size() >= MAX_PATH - 14 ? ERROR_FILENAME_EXCED_RANGE : ::GetLastError();
        CFileException::ThrowOsError(static_cast<LONG>(error), targetPath);
    }
    m_temporaryPath = temporary;
    try
    {
        OpenAs(m_temporaryPath, modeCreate | modeWrite | shareExclusive, targetPath);
    }
    catch (...)
    {
        ::DeleteFileA(m_temporaryPath.c_str());
        throw;
    }
}

CReplacingFile::~CReplacingFile()
{
    if (!m_committed)
    {
        try
        {
            Close();
        }
        catch (const CFileException&)
        {
        }
        ::DeleteFileA(m_temporaryPath.c_str());
    }
}

void CReplacingFile::Commit()
{
    Close();
    const std::string& target = GetFilePath();
    using MoveFileExFunction = BOOL(WINAPI*)(LPCSTR, LPCSTR, DWORD);
    // Windows 95 has no MoveFileExA: there the target is deleted first and the file renamed.
    const auto moveFileEx = reinterpret_cast<MoveFileExFunction>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("KERNEL32"), "MoveFileExA")));
    BOOL moved = moveFileEx && moveFileEx(m_temporaryPath.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING);
    if (!moved && (!moveFileEx || ::GetLastError() == ERROR_CALL_NOT_IMPLEMENTED))
    {
        if (::DeleteFileA(target.c_str()) || ::GetLastError() == ERROR_FILE_NOT_FOUND)
            moved = ::MoveFileA(m_temporaryPath.c_str(), target.c_str());
    }
    if (!moved)
        CFileException::ThrowOsError(static_cast<LONG>(::GetLastError()), target);
    m_committed = true;
}
