#include "framework/Exceptions.h"

#include "framework/WinApp.h"

#include <new>

bool CException::GetErrorMessage(std::string& text) const
{
    text.clear();
    return false;
}

void CException::ReportError(UINT type, std::string_view fallback) const
{
    std::string text;
    if (!GetErrorMessage(text))
        text = fallback;
    AfxMessageBox(text.c_str(), type);
}

bool CMemoryException::GetErrorMessage(std::string& text) const
{
    text = kTextOutOfMemory;
    return true;
}

bool CResourceException::GetErrorMessage(std::string& text) const
{
    text = kTextResourceFailure;
    return true;
}

bool CNotSupportedException::GetErrorMessage(std::string& text) const
{
    text = kTextNotSupported;
    return true;
}

CFileException::CFileException(FileCause cause, LONG osError, std::string fileName)
    : m_cause(cause), m_lOsError(osError), m_strFileName(std::move(fileName))
{
}

bool CFileException::GetErrorMessage(std::string& text) const
{
    text = FileErrorText(m_cause, m_strFileName);
    return true;
}

FileCause CFileException::OsErrorToCause(LONG osError)
{
    switch (osError)
    {
    case NO_ERROR: return FileCause::none;
    case ERROR_FILE_NOT_FOUND: return FileCause::fileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_DIRECTORY:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME: return FileCause::badPath;
    case ERROR_TOO_MANY_OPEN_FILES: return FileCause::tooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_NETWORK_ACCESS_DENIED:
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return FileCause::accessDenied;
    case ERROR_INVALID_HANDLE: return FileCause::invalidFile;
    case ERROR_CURRENT_DIRECTORY: return FileCause::removeCurrentDir;
    case ERROR_CANNOT_MAKE: return FileCause::directoryFull;
    case ERROR_NEGATIVE_SEEK:
    case ERROR_SEEK_ON_DEVICE: return FileCause::badSeek;
    case ERROR_CRC:
    case ERROR_SEEK:
    case ERROR_SECTOR_NOT_FOUND:
    case ERROR_WRITE_FAULT:
    case ERROR_READ_FAULT:
    case ERROR_GEN_FAILURE:
    case ERROR_NOT_READY: return FileCause::hardIO;
    case ERROR_SHARING_VIOLATION: return FileCause::sharingViolation;
    case ERROR_LOCK_VIOLATION:
    case ERROR_LOCK_FAILED: return FileCause::lockViolation;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return FileCause::diskFull;
    case ERROR_HANDLE_EOF: return FileCause::endOfFile;
    default: return FileCause::genericException;
    }
}

void CFileException::ThrowOsError(LONG osError, const std::string& fileName)
{
    throw CFileException(OsErrorToCause(osError), osError, fileName);
}

void CFileException::Throw(FileCause cause, const std::string& fileName)
{
    throw CFileException(cause, -1, fileName);
}

namespace
{
void Report(const CException& e, Barrier barrier)
{
    if (dynamic_cast<const CUserException*>(&e))
        return;
    if (barrier == Barrier::startup)
        e.ReportError(MB_ICONEXCLAMATION);
    else if (dynamic_cast<const CMemoryException*>(&e))
        e.ReportError(MB_ICONEXCLAMATION | MB_SYSTEMMODAL);
    else
        e.ReportError(MB_ICONSTOP);
}
} // namespace

void ReportCurrentException(Barrier barrier)
{
    try
    {
        throw;
    }
    catch (const CException& e)
    {
        Report(e, barrier);
    }
    catch (const std::bad_alloc&)
    {
        Report(CMemoryException(), barrier);
    }
    catch (...)
    {
        Report(CException(), barrier);
    }
}
