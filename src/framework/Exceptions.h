// The framework's exceptions. Each carries what its report needs and knows its standard report.
#pragma once

#include "framework/ErrorText.h"
#include "framework/Object.h"

#include <windows.h>

#include <string>

class CException : public CObject
{
  public:
    // The text the user is shown, or false when the exception has none of its own.
    virtual bool GetErrorMessage(std::string& text) const;
    // A message box with the application's name as caption: the exception's own text, or the
    // fallback text when it has none.
    virtual void ReportError(UINT type = MB_ICONEXCLAMATION, std::string_view fallback = kTextCommandFailed) const;
};

// Ends an operation silently.
class CUserException : public CException
{
};

class CMemoryException : public CException
{
  public:
    bool GetErrorMessage(std::string& text) const override;
};

class CResourceException : public CException
{
  public:
    bool GetErrorMessage(std::string& text) const override;
};

class CNotSupportedException : public CException
{
  public:
    bool GetErrorMessage(std::string& text) const override;
};

class CFileException : public CException
{
  public:
    CFileException(FileCause cause = FileCause::none, LONG osError = -1, std::string fileName = {});

    bool GetErrorMessage(std::string& text) const override;

    // The cause that an operating-system error code stands for.
    static FileCause OsErrorToCause(LONG osError);
    [[noreturn]] static void ThrowOsError(LONG osError, const std::string& fileName);
    [[noreturn]] static void Throw(FileCause cause, const std::string& fileName);

    FileCause m_cause;
    LONG m_lOsError;
    std::string m_strFileName;
};

// The two barriers an exception can reach: around a message handler, after which the window goes on,
// and around the start-up, after which the program ends.
enum class Barrier
{
    handler,
    startup,
};

// Reports the exception in flight; call it only inside a catch block. CUserException is quiet at both
// barriers. At a handler: a system-modal "Out of memory." for CMemoryException and std::bad_alloc, the
// exception's text with a stop icon for the others. At start-up: the text with an exclamation icon.
// An exception that is none of the framework's has no text of its own: "Command failed.".
void ReportCurrentException(Barrier barrier);
