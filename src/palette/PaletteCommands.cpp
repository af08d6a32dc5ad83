// The File and Edit commands of the palette window: palettes in and out of the system.
#include "framework/Exceptions.h"
#include "framework/File.h"
#include "framework/FileDialog.h"
#include "framework/WinApp.h"
#include "palette/BitmapFormat.h"
#include "palette/DisplayPalette.h"
#include "palette/TextDump.h"
#include "resource.h"
#include "window/PaletteWindow.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

namespace
{
constexpr DWORD kOpenFlags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_EXPLORER | OFN_LONGNAMES;
constexpr DWORD kSaveFlags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_CREATEPROMPT | OFN_EXPLORER | OFN_LONGNAMES;
static_assert(kOpenFlags == 0x281800 && kSaveFlags == 0x282006);

bool IsBitmapExtension(const std::string& extension)
{
    return ::lstrcmpiA(extension.c_str(), "bmp") == 0;
}

PaletteSnapshot CaptureAll()
{
    PaletteSnapshot captured = EmptySnapshot(kMaxPaletteEntries);
    CaptureSystemPalette(captured, kMaxPaletteEntries);
    return captured;
}

// False only for a name that opens as something other than a disk file: a serial port or the console
// would keep a read waiting for input that never comes. The query-only handle reads nothing; a name that
// does not open at all is left to the real open, which reports why.
bool IsDiskFileOrUnopenable(const std::string& path)
{
    const HANDLE file = ::CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return true;
    const DWORD type = ::GetFileType(file);
    ::CloseHandle(file);
    return type == FILE_TYPE_DISK;
}

LocalTimeFields CurrentLocalTime()
{
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wDayOfWeek, now.wHour, now.wMinute, now.wSecond};
}
} // namespace

void PaletteWindow::OnFileOpen()
{
    RequirePaletteDisplay();
    CFileDialog dialog(true, "bmp", nullptr, kOpenFlags, "Bitmap (*.bmp)|*.bmp||", this);
    if (dialog.DoModal() != IDOK)
        return;
    RequirePaletteDisplay(); // the mode may have changed while the dialog was open
    ApplyBitmapPalette(dialog.GetPathName());
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
        WriteTextDump(dialog.GetPathName());
}

void PaletteWindow::OnEditCopy()
{
    RequirePaletteDisplay();
    PaletteSnapshot snapshot = m_logPalette;
    CaptureSystemPalette(snapshot, snapshot.palNumEntries);
    CPalette palette = CreatePaletteOrThrow(snapshot);

    bool copied = false;
    if (::OpenClipboard(m_hWnd))
    {
        copied = ::EmptyClipboard() && ::SetClipboardData(CF_PALETTE, palette.GetSafeHandle());
        ::CloseClipboard();
    }
    if (!copied)
    {
        // Another program may hold the clipboard: say so rather than look like success.
        AfxMessageBox(IDS_COPY_FAILED, MB_ICONEXCLAMATION | MB_OK);
        return;
    }
    palette.Detach(); // the clipboard owns it now
}

void PaletteWindow::OnEditClear()
{
    RequirePaletteDisplay();
    const CPalette palette = CreatePaletteOrThrow(BlackPalette(m_logPalette.palNumEntries));
    RealizeInWindow(m_hWnd, palette);
}

void PaletteWindow::WriteBitmapPalette(const std::string& path)
{
    CReplacingFile file(path);
    const std::vector<std::uint8_t> bytes = BuildBitmapFile(CaptureAll());
    file.Write(bytes.data(), static_cast<UINT>(bytes.size()));
    file.Commit();
}

void PaletteWindow::ApplyBitmapPalette(const std::string& path)
{
    // A device is no bitmap file: it answers like a file too short to be one.
    if (!IsDiskFileOrUnopenable(path))
        throw CFileException(FileCause::genericException, -1, {});
    CFile file(path, CFile::modeRead | CFile::shareDenyWrite);
    std::vector<std::uint8_t> head(kBitmapLargestHeadSize);
    std::size_t filled = 0;
    while (filled < head.size())
    {
        const UINT read = file.Read(head.data() + filled, static_cast<UINT>(head.size() - filled));
        if (read == 0)
            break;
        filled += read;
    }

    const BitmapTableResult table = ReadBitmapColourTable(head.data(), filled);
    switch (table.verdict)
    {
    case BitmapVerdict::ok: break;
    case BitmapVerdict::genericFileError: throw CFileException(FileCause::genericException, -1, {});
    case BitmapVerdict::notSupported: throw CNotSupportedException();
    }

    const CPalette palette = CreatePaletteOrThrow(MergeBitmapColours(CaptureAll(), table.table, table.entryCount));
    RealizeInWindow(m_hWnd, palette);
}

void PaletteWindow::WriteTextDump(const std::string& path)
{
    CReplacingFile file(path);
    const LocalTimeFields now = CurrentLocalTime();
    for (const std::string& line : FormatTextDump(CaptureAll(), m_logPalette.palNumEntries, FormatDumpTime(&now)))
        file.WriteString(line.c_str());
    file.Commit();
}

void PaletteWindow::RequirePaletteDisplay()
{
    // The display's mode can change while the program runs; the palette size stays as read at start-up.
    if (ReadDisplayPaletteSize() != 0)
        return;
    AfxMessageBox(IDS_PALETTE_DISPLAY_NEEDED, MB_ICONSTOP | MB_OK);
    throw CUserException();
}
