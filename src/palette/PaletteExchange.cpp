#include "palette/PaletteExchange.h"

#include "framework/Exceptions.h"
#include "framework/File.h"
#include "palette/BitmapFormat.h"
#include "palette/DisplayPalette.h"
#include "palette/TextDump.h"

#include <vector>

namespace
{
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

void ApplyBitmapPalette(HWND window, const std::string& path)
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
    RealizeInWindow(window, palette);
}

void WriteBitmapPalette(const std::string& path)
{
    CReplacingFile file(path);
    const std::vector<std::uint8_t> bytes = BuildBitmapFile(CaptureAll());
    file.Write(bytes.data(), static_cast<UINT>(bytes.size()));
    file.Commit();
}

void WriteTextDump(const std::string& path, int entryCount)
{
    CReplacingFile file(path);
    const LocalTimeFields now = CurrentLocalTime();
    for (const std::string& line : FormatTextDump(CaptureAll(), entryCount, FormatDumpTime(&now)))
        file.WriteString(line.c_str());
    file.Commit();
}

bool CopySystemPalette(HWND owner, int entryCount)
{
    PaletteSnapshot snapshot = EmptySnapshot(entryCount);
    CaptureSystemPalette(snapshot, entryCount);
    CPalette palette = CreatePaletteOrThrow(snapshot);
    bool copied = false;
    if (::OpenClipboard(owner))
    {
        copied = ::EmptyClipboard() && ::SetClipboardData(CF_PALETTE, palette.GetSafeHandle());
        ::CloseClipboard();
    }
    if (copied)
        palette.Detach(); // the clipboard owns it now
    return copied;
}

void ClearSystemPalette(HWND window, int entryCount)
{
    const CPalette palette = CreatePaletteOrThrow(BlackPalette(entryCount));
    RealizeInWindow(window, palette);
}
