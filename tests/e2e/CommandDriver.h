// Drives Vexa's File and Edit commands from outside: the common dialogs, the message boxes, and the
// system palette and clipboard as another program sees them.
#pragma once

#include <windows.h>

#include <array>
#include <string>
#include <vector>

using SystemPalette = std::array<PALETTEENTRY, 256>;

bool SameColours(const PALETTEENTRY& a, const PALETTEENTRY& b);

// A fresh folder under the temporary folder, removed with its files at the end.
class ScratchFolder
{
  public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    std::string Path(const std::string& name) const { return m_path + "\\" + name; }
    std::vector<std::string> Files() const;

  private:
    std::string m_path;
};

std::vector<unsigned char> ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::vector<unsigned char>& bytes);

// Sends a command to the window without waiting for it (a command that opens a modal dialog).
void PostCommand(HWND window, UINT id);
// Sends a command and waits until its handler has returned.
bool RunCommand(HWND window, UINT id, DWORD timeoutMs = 10000);
// Waits until the window answers messages again (a command it was running has ended).
bool WaitUntilIdle(HWND window, DWORD timeoutMs = 10000);

// A dialog or message box of the process other than the excluded window, by title (null: any).
HWND WaitForDialog(DWORD processId, const char* title, HWND exclude, DWORD timeoutMs = 10000);

// Types the name into a common file dialog and confirms it, answering Yes to a replace or create
// question. Returns false when the dialog did not close.
bool ChooseFileInDialog(DWORD processId, const char* title, HWND main, const std::string& fileName);

// The text of a message box of Vexa's process (its static 0xFFFF), which is then closed with OK;
// empty when none appears.
std::string TakeMessageBox(DWORD processId, HWND main, DWORD timeoutMs = 10000);

// An 8-bit bitmap file: headers, a colour table of tableEntries colours and pixel bytes up to size.
std::vector<unsigned char> MakeBitmap(int bitCount, unsigned compression, unsigned infoSize,
                                      const std::vector<RGBQUAD>& table, std::size_t totalSize);
// The system palette after Open accepted the bitmap: its colour table follows the info header and
// holds biClrUsed entries (256 when that is 0 or above 256); slots 10..245 that it holds take its
// colours, all others keep theirs.
SystemPalette PaletteAfterOpening(const std::vector<unsigned char>& bytes, const SystemPalette& before);
// 236 distinct colours, different from the seed's other sets.
std::vector<RGBQUAD> DistinctColours(int seed);

// Every visible dialog or message box of the process, the excluded window left out.
std::vector<HWND> ProcessDialogs(DWORD processId, HWND exclude);

// What a common file dialog made of a typed name: it closed (closed), or it answered with a message box
// of its own (refusal: that box's text; the box is closed with OK and the dialog cancelled), or neither
// within the timeout.
struct FileDialogOutcome
{
    bool closed = false;
    std::string refusal;
};
FileDialogOutcome TypeFileNameInDialog(DWORD processId, const char* title, HWND main, const std::string& fileName,
                                       DWORD timeoutMs = 10000);

// Runs File > Save As to the path and waits until the command has ended.
bool SaveAsThroughDialog(DWORD processId, HWND main, const std::string& path);
// The system palette as Vexa sees it: the colour table of a bitmap it saves to the path, which is then
// deleted. False when no bitmap was saved.
bool ReadPaletteThroughSaveAs(DWORD processId, HWND main, const std::string& path, SystemPalette& palette);
