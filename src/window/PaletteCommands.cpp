// The File and Edit commands of the palette window: the file dialogs and the checks around the palette
// exchange.
#include "framework/Exceptions.h"
#include "framework/FileDialog.h"
#include "framework/WinApp.h"
#include "palette/DisplayPalette.h"
#include "palette/PaletteExchange.h"
#include "resource.h"
#include "window/PaletteWindow.h"

#include <commdlg.h>

namespace
{
constexpr DWORD kOpenFlags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_EXPLORER | OFN_LONGNAMES;
constexpr DWORD kSaveFlags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_CREATEPROMPT | OFN_EXPLORER | OFN_LONGNAMES;
static_assert(kOpenFlags == 0x281800 && kSaveFlags == 0x282006);

bool IsBitmapExtension(const std::string& extension)
{
    return ::lstrcmpiA(extension.c_str(), "bmp") == 0;
}
} // namespace

void PaletteWindow::OnFileOpen()
{
    RequirePaletteDisplay();
    CFileDialog dialog(true, "bmp", nullptr, kOpenFlags, "Bitmap (*.bmp)|*.bmp||", this);
    if (dialog.DoModal() != IDOK)
        return;
    RequirePaletteDisplay(); // the mode may have changed while the dialog was open
    ApplyBitmapPalette(m_hWnd, dialog.GetPathName());
}

void PaletteWindow::OnFileSaveAs()
{
    RequirePaletteDisplay();
    CFileDialog dialog(false, "bmp", "SysPal", kSaveFlags, "Bitmap (*.bmp)|*.bmp|Text (*.txt)|*.txt||", this);
    if (dialog.DoModal() != IDOK)
        return;
    RequirePaletteDisplay(); // the mode may have changed while the dialog was open
    if (IsBitmapExtension(dialog.GetFileExt()))
        WriteBitmapPalette(dialog.GetPathName());
    else
        WriteTextDump(dialog.GetPathName(), m_logPalette.palNumEntries);
}

void PaletteWindow::OnEditCopy()
{
    RequirePaletteDisplay();
    // Another program may hold the clipboard: say so rather than look like success.
    if (!CopySystemPalette(m_hWnd, m_logPalette.palNumEntries))
        AfxMessageBox(IDS_COPY_FAILED, MB_ICONEXCLAMATION | MB_OK);
}

void PaletteWindow::OnEditClear()
{
    RequirePaletteDisplay();
    ClearSystemPalette(m_hWnd, m_logPalette.palNumEntries);
}

void PaletteWindow::RequirePaletteDisplay()
{
    // The display's mode can change while the program runs; the palette size stays as read at start-up.
    if (ReadDisplayPaletteSize() == 0)
        throw PaletteDisplayNeeded();
}
