#include "framework/FileDialog.h"

#include "framework/Exceptions.h"
#include "framework/File.h"
#include "framework/FileNameText.h"

#include <commdlg.h>

#include <algorithm>
#include <cstddef>

namespace
{
// Windows 95 and NT 4.0 refuse the larger structure that newer headers declare.
constexpr DWORD kOpenFileNameSize400 = offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR);
// Long enough for any path the dialogs return on these systems.
constexpr std::size_t kPathBufferSize = 1024;

using FileDialogFunction = BOOL(WINAPI*)(LPOPENFILENAMEA);

// The common dialogs' library is loaded when a file dialog is first needed rather than at start-up,
// where it would cost every run of the program its loading time. It stays loaded to the end.
FileDialogFunction FindFileDialogFunction(const char* name)
{
    static HMODULE library = ::LoadLibraryA("COMDLG32.DLL");
    return library ? reinterpret_cast<FileDialogFunction>(reinterpret_cast<void*>(::GetProcAddress(library, name)))
                   : nullptr;
}
} // namespace

CFileDialog::CFileDialog(bool openDialog, const char* defaultExtension, const char* fileName, DWORD flags,
                         const char* filter, CWnd* parent)
    : m_open(openDialog), m_defaultExtension(defaultExtension ? defaultExtension : ""),
      m_fileName(fileName ? fileName : ""), m_flags(flags), m_filter(filter ? filter : ""), m_parent(parent)
{
    // The system wants the filter's parts separated by NUL characters.
    ReplaceSingleByteCharacters(m_filter, '|', '\0', IsAnsiLeadByte);
}

INT_PTR CFileDialog::DoModal()
{
    std::string buffer(kPathBufferSize, '\0');
    m_fileName.copy(buffer.data(), std::min(m_fileName.size(), kPathBufferSize - 1));

    OPENFILENAMEA ofn{};
    ofn.lStructSize = kOpenFileNameSize400;
    ofn.hwndOwner = m_parent ? m_parent->m_hWnd : nullptr;
    ofn.lpstrFilter = m_filter.empty() ? nullptr : m_filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    ofn.lpstrDefExt = m_defaultExtension.empty() ? nullptr : m_defaultExtension.c_str();
    ofn.Flags = m_flags;

    const FileDialogFunction run = FindFileDialogFunction(m_open ? "GetOpenFileNameA" : "GetSaveFileNameA");
    if (!run)
        throw CResourceException();
    if (!run(&ofn))
        return IDCANCEL;
    m_path = buffer.c_str();
    // Not the dialog's nFileExtension: for "pic.bmp." it reports none, yet the disk stores "pic.bmp".
    m_extension = StoredFileExtension(m_path, IsAnsiLeadByte);
    return IDOK;
}
