#include "CommandDriver.h"

#include "VexaDriver.h"
#include "resource.h"

#include <cstring>

bool SameColours(const PALETTEENTRY& a, const PALETTEENTRY& b)
{
    return a.peRed == b.peRed && a.peGreen == b.peGreen && a.peBlue == b.peBlue;
}

ScratchFolder::ScratchFolder()
{
    char base[MAX_PATH];
    ::GetTempPathA(MAX_PATH, base);
    char name[MAX_PATH];
    ::GetTempFileNameA(base, "vxt", 0, name);
    ::DeleteFileA(name);
    ::CreateDirectoryA(name, nullptr);
    m_path = name;
}

ScratchFolder::~ScratchFolder()
{
    for (const std::string& file : Files())
        ::DeleteFileA(Path(file).c_str());
    ::RemoveDirectoryA(m_path.c_str());
}

std::vector<std::string> ScratchFolder::Files() const
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA(Path("*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do
    {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(found.cFileName);
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
    return names;
}

std::vector<unsigned char> ReadFileBytes(const std::string& path)
{
    std::vector<unsigned char> bytes;
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    bytes.resize(::GetFileSize(file, nullptr));
    DWORD read = 0;
    ::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    bytes.resize(read);
    ::CloseHandle(file);
    return bytes;
}

void WriteFileBytes(const std::string& path, const std::vector<unsigned char>& bytes)
{
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
}

void PostCommand(HWND window, UINT id)
{
    ::PostMessageA(window, WM_COMMAND, id, 0);
}

bool RunCommand(HWND window, UINT id, DWORD timeoutMs)
{
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutA(window, WM_COMMAND, id, 0, SMTO_NORMAL, timeoutMs, &result) != 0;
}

bool WaitUntilIdle(HWND window, DWORD timeoutMs)
{
    // A sent message is answered whenever the thread looks for messages, which a closing common dialog
    // may do before the command that opened it has finished: ask twice, a moment apart.
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result))
        return false;
    ::Sleep(100);
    return ::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result) != 0;
}

namespace
{
HWND FindDialog(DWORD processId, const char* title, HWND exclude)
{
    for (HWND window : ProcessWindows(processId, "#32770", title))
        if (window != exclude)
            return window;
    return nullptr;
}
} // namespace

HWND WaitForDialog(DWORD processId, const char* title, HWND exclude, DWORD timeoutMs)
{
    const DWORD start = ::GetTickCount();
    do
    {
        if (HWND found = FindDialog(processId, title, exclude))
            return found;
        ::Sleep(50);
    } while (::GetTickCount() - start < timeoutMs);
    return nullptr;
}

bool ChooseFileInDialog(DWORD processId, const char* title, HWND main, const std::string& fileName)
{
    HWND dialog = WaitForDialog(processId, title, main);
    if (!dialog)
        return false;
    HWND name = ::GetDlgItem(dialog, 1148); // the explorer-style file name box
    if (!name)
        name = ::GetDlgItem(dialog, 1152);
    ::SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(fileName.c_str()));
    ::PostMessageA(dialog, WM_COMMAND, IDOK, 0);

    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < 10000)
    {
        if (!::IsWindow(dialog))
            return true;
        // A question whether to replace or create the file: answer Yes.
        if (HWND question = FindDialog(processId, nullptr, main); question && question != dialog)
        {
            if (HWND yes = ::GetDlgItem(question, IDYES))
                ::PostMessageA(question, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), reinterpret_cast<LPARAM>(yes));
        }
        ::Sleep(50);
    }
    return false;
}

std::string TakeMessageBox(DWORD processId, HWND main, DWORD timeoutMs)
{
    HWND box = WaitForDialog(processId, "Vexa", main, timeoutMs);
    if (!box)
        return {};
    std::string text = DialogItemText(box, 0xFFFF);
    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    const DWORD start = ::GetTickCount();
    while (::IsWindow(box) && ::GetTickCount() - start < 5000)
        ::Sleep(20);
    return text;
}

std::vector<unsigned char> MakeBitmap(int bitCount, unsigned compression, unsigned infoSize,
                                      const std::vector<RGBQUAD>& table, std::size_t totalSize)
{
    std::vector<unsigned char> bytes(std::max<std::size_t>(totalSize, 0));
    auto put = [&](std::size_t offset, unsigned value, int size) {
        for (int i = 0; i < size && offset + i < bytes.size(); ++i)
            bytes[offset + i] = static_cast<unsigned char>(value >> (8 * i));
    };
    put(0, 'B' | ('M' << 8), 2);
    put(2, static_cast<unsigned>(totalSize), 4);
    put(10, static_cast<unsigned>(14 + infoSize + 4 * table.size()), 4);
    put(14, infoSize, 4);
    put(18, 256, 4);
    put(22, 32, 4);
    put(26, 1, 2);
    put(28, static_cast<unsigned>(bitCount), 2);
    put(30, compression, 4);
    put(46, static_cast<unsigned>(table.size()), 4);
    std::size_t offset = 14 + infoSize;
    for (const RGBQUAD& c : table)
    {
        put(offset, c.rgbBlue | (c.rgbGreen << 8) | (c.rgbRed << 16), 4);
        offset += 4;
    }
    for (; offset < bytes.size(); ++offset)
        bytes[offset] = static_cast<unsigned char>(offset * 7 + 3);
    return bytes;
}

SystemPalette PaletteAfterOpening(const std::vector<unsigned char>& bytes, const SystemPalette& before)
{
    const auto field = [&bytes](std::size_t offset) {
        return bytes.at(offset) | bytes.at(offset + 1) << 8 | bytes.at(offset + 2) << 16 |
               static_cast<DWORD>(bytes.at(offset + 3)) << 24;
    };
    const DWORD used = field(46);
    const DWORD entries = used == 0 || used > 256 ? 256 : used;
    const std::size_t table = 14 + field(14);
    SystemPalette after = before;
    for (DWORD i = 10; i <= 245 && i < entries; ++i)
        after[i] = {bytes.at(table + 4 * i + 2), bytes.at(table + 4 * i + 1), bytes.at(table + 4 * i), 0};
    return after;
}

std::vector<RGBQUAD> DistinctColours(int seed)
{
    std::vector<RGBQUAD> colours;
    for (int i = 0; i < 236; ++i)
    {
        const int value = i * 5 + seed;
        colours.push_back({static_cast<BYTE>(value * 3), static_cast<BYTE>(value * 7 + seed), static_cast<BYTE>(i), 0});
    }
    return colours;
}

namespace
{
struct DialogList
{
    DWORD processId;
    HWND exclude;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectDialog(HWND window, LPARAM param)
{
    auto* list = reinterpret_cast<DialogList*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    char className[64] = "";
    ::GetClassNameA(window, className, sizeof className);
    if (owner == list->processId && window != list->exclude && ::IsWindowVisible(window) &&
        std::strcmp(className, "#32770") == 0)
        list->found.push_back(window);
    return TRUE;
}
} // namespace

std::vector<HWND> ProcessDialogs(DWORD processId, HWND exclude)
{
    DialogList list{processId, exclude, {}};
    ::EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&list));
    return list.found;
}

FileDialogOutcome TypeFileNameInDialog(DWORD processId, const char* title, HWND main, const std::string& fileName,
                                       DWORD timeoutMs)
{
    FileDialogOutcome outcome;
    HWND dialog = WaitForDialog(processId, title, main);
    if (!dialog)
        return outcome;
    HWND name = ::GetDlgItem(dialog, 1148);
    if (!name)
        name = ::GetDlgItem(dialog, 1152);
    ::SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(fileName.c_str()));
    ::PostMessageA(dialog, WM_COMMAND, IDOK, 0);

    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < timeoutMs)
    {
        if (!::IsWindow(dialog) || !::IsWindowVisible(dialog))
        {
            outcome.closed = true;
            return outcome;
        }
        for (HWND box : ProcessDialogs(processId, main))
        {
            if (box == dialog || ::GetWindow(box, GW_OWNER) != dialog)
                continue;
            outcome.refusal = DialogItemText(box, 0xFFFF);
            ::PostMessageA(box, WM_COMMAND, IDOK, 0);
            while (::IsWindow(box) && ::GetTickCount() - start < timeoutMs)
                ::Sleep(20);
            ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            while (::IsWindow(dialog) && ::GetTickCount() - start < timeoutMs)
                ::Sleep(20);
            return outcome;
        }
        ::Sleep(50);
    }
    return outcome;
}

bool SaveAsThroughDialog(DWORD processId, HWND main, const std::string& path)
{
    PostCommand(main, ID_FILE_SAVE_AS);
    return ChooseFileInDialog(processId, "Save As", main, path) && WaitUntilIdle(main);
}

bool ReadPaletteThroughSaveAs(DWORD processId, HWND main, const std::string& path, SystemPalette& palette)
{
    if (!SaveAsThroughDialog(processId, main, path))
        return false;
    const std::vector<unsigned char> bytes = ReadFileBytes(path);
    ::DeleteFileA(path.c_str());
    if (bytes.size() < 1078)
        return false;
    for (int i = 0; i < 256; ++i)
        palette[i] = {bytes[56 + 4 * i], bytes[55 + 4 * i], bytes[54 + 4 * i], 0};
    return true;
}
