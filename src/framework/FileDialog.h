// The system's common Open and Save As dialogs.
#pragma once

#include "framework/Wnd.h"

#include <string>

class CFileDialog
{
  public:
    // The filter is "Name|pattern|...||", as the framework writes it.
    CFileDialog(bool openDialog, const char* defaultExtension, const char* fileName, DWORD flags, const char* filter,
                CWnd* parent);

    // IDOK when the user chose a file, IDCANCEL otherwise.
    INT_PTR DoModal();
    std::string GetPathName() const { return m_path; }
    // The extension of the chosen file's name as the file system stores it (trailing periods and spaces
    // dropped): the text after its last period, empty if none.
    std::string GetFileExt() const { return m_extension; }

  private:
    bool m_open;
    std::string m_defaultExtension;
    std::string m_fileName;
    DWORD m_flags;
    std::string m_filter;
    CWnd* m_parent;
    std::string m_path;
    std::string m_extension;
};
