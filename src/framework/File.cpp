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

void CFile::Flush()
{
    if (m_hFile != INVALID_HANDLE_VALUE && !::FlushFileBuffers(m_hFile))
        CFileException::ThrowOsError(static_cast<LONG>(::GetLastError()), m_strFileName);
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

namespace
{
// The folder part of the path, "." for a bare name.
std::string FolderOf(const std::string& path)
{
    const std::size_t name = FileNameOffset(path, IsAnsiLeadByte);
    return name == 0 ? std::string(".") : path.substr(0, name);
}

// Makes an empty file of a fresh name in the folder; its errors name reportName.
std::string MakeTemporaryFile(const std::string& folder, const std::string& reportName)
{
    char temporary[MAX_PATH];
    if (folder.size() >= MAX_PATH - 14 || !::GetTempFileNameA(folder.c_str(), "vxa", 0, temporary))
    {
        const DWORD error = folder.size() >= MAX_PATH - 14 ? ERROR_FILENAME_EXCED_RANGE : ::GetLastError();
        CFileException::ThrowOsError(static_cast<LONG>(error), reportName);
    }
    return temporary;
}

// Puts the file in the target's place with the system's replacing move, written through to the disk.
// False where the system has none (Windows 95, 98 and Me); throws when the move fails.
bool ReplaceByMove(const std::string& from, const std::string& target)
{
    using MoveFileExFunction = BOOL(WINAPI*)(LPCSTR, LPCSTR, DWORD);
    const auto moveFileEx = reinterpret_cast<MoveFileExFunction>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("KERNEL32"), "MoveFileExA")));
    if (!moveFileEx)
        return false;
    BOOL moved = moveFileEx(from.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    // Systems before Windows 2000 may not know the write-through flag.
    if (!moved && ::GetLastError() == ERROR_INVALID_PARAMETER)
        moved = moveFileEx(from.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING);
    if (moved)
        return true;
    const DWORD error = ::GetLastError();
    if (error == ERROR_CALL_NOT_IMPLEMENTED)
        return false;
    CFileException::ThrowOsError(static_cast<LONG>(error), target);
}

// Puts the file in the target's place without a replacing move: the old file steps aside under a
// fresh name until the new one is in its place, and comes back when the new one cannot move in, so
// one of them is always on the disk.
void ReplaceStepByStep(const std::string& from, const std::string& target)
{
    std::string aside;
    const DWORD attributes = ::GetFileAttributesA(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES)
    {
        // What the replacing move refuses too.
        if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))
            CFileException::ThrowOsError(ERROR_ACCESS_DENIED, target);
        aside = MakeTemporaryFile(FolderOf(target), target);
        ::DeleteFileA(aside.c_str()); // a move does not replace it
        if (!::MoveFileA(target.c_str(), aside.c_str()))
            CFileException::ThrowOsError(static_cast<LONG>(::GetLastError()), target);
    }
    if (!::MoveFileA(from.c_str(), target.c_str()))
    {
        const DWORD error = ::GetLastError();
        if (!aside.empty())
            ::MoveFileA(aside.c_str(), target.c_str());
        CFileException::ThrowOsError(static_cast<LONG>(error), target);
    }
    if (!aside.empty())
        ::DeleteFileA(aside.c_str());
}
} // namespace

CReplacingFile::CReplacingFile(const std::string& targetPath)
{
    // Beside the target, so that putting it in place is a rename within one folder.
    m_temporaryPath = MakeTemporaryFile(FolderOf(targetPath), targetPath);
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
    // The data reaches the disk before its name replaces the old file's, so that a crash cannot leave
    // the name with neither the old data nor the new.
    Flush();
    Close();
    if (!ReplaceByMove(m_temporaryPath, GetFilePath()))
        ReplaceStepByStep(m_temporaryPath, GetFilePath());
    m_committed = true;
}
