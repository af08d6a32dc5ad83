// Files: an owned handle whose failures are CFileExceptions naming the file.
#pragma once

#include "framework/Object.h"

#include <windows.h>

#include <string>

// The lead-byte test of the system's ANSI code page, the code page of file names given to the A functions.
bool IsAnsiLeadByte(unsigned char byte);

class CFile : public CObject
{
  public:
    enum OpenFlags : UINT
    {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyNone = 0x0040,
        modeCreate = 0x1000,
    };

    CFile() = default;
    // Opens the file or throws CFileException with the system's cause and the path.
    CFile(const std::string& path, UINT flags);
    ~CFile() override;
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // Reads up to count bytes; fewer at the end of the file.
    UINT Read(void* buffer, UINT count);
    // Writes all bytes; a short write is a disk-full error.
    void Write(const void* buffer, UINT count);
    // Writes what the system still holds of the file to the disk.
    void Flush();
    // Closes the file; a failing close throws.
    void Close();
    const std::string& GetFilePath() const { return m_strFileName; }

  protected:
    // Opens openPath but names reportName in every error.
    void OpenAs(const std::string& openPath, UINT flags, const std::string& reportName);

  private:
    HANDLE m_hFile = INVALID_HANDLE_VALUE;
    std::string m_strFileName;
};

// A text file for writing: each line feed is written as carriage return and line feed.
class CStdioFile : public CFile
{
  public:
    using CFile::CFile;
    void WriteString(const char* text);
};

// A file that replaces its target only when it was written completely: the bytes go to a temporary
// file in the target's folder, which Commit writes through to the disk and puts in the target's place.
// Until then the target is untouched, and a failing Commit leaves it as it was; without Commit the
// temporary file is removed. Errors name the target.
class CReplacingFile : public CStdioFile
{
  public:
    explicit CReplacingFile(const std::string& targetPath);
    ~CReplacingFile() override;

    void Commit();

  private:
    std::string m_temporaryPath;
    bool m_committed = false;
};
