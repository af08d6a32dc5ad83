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

// Shows an exception that left a message handler: none for CUserException, a system-modal "Out of
// memory." for CMemoryException, the exception's text with a stop icon for the others.
void ReportHandlerException(const CException& e);
