// Starts the real Vexa.exe and finds its windows, as a user's actions would reach them.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// A base of the driver's owners of processes, windows, files and keys, which are not copied.
class NoCopy
{
  public:
    NoCopy(const NoCopy&) = delete;
    NoCopy& operator=(const NoCopy&) = delete;

  protected:
    NoCopy() = default;
    ~NoCopy() = default;
};

// The class of dialogs and message boxes, Vexa's main window included.
inline constexpr const char* kDialogClass = "#32770";

// The path of the Vexa.exe under test (environment VEXA_EXE).
std::string VexaExePath();
// The path of the test build VexaFaults.exe (environment VEXA_FAULTS_EXE).
std::string FaultsExePath();

// The whole text of a window (WM_GETTEXTLENGTH, WM_GETTEXT: it works across processes).
std::string WindowText(HWND window);
// The text of the control with the given id in a dialog or message box (0xFFFF: a message box's text).
std::string DialogItemText(HWND dialog, int id);

// The visible top-level windows of the process whose class (null: any) and title (null: any) match.
std::vector<HWND> ProcessWindows(DWORD processId, const char* className = nullptr, const char* title = nullptr);
// The visible dialogs and message boxes of the process, the excluded window left out.
std::vector<HWND> ProcessDialogs(DWORD processId, HWND exclude = nullptr);
// How many visible dialogs of the process have that title.
std::size_t CountDialogs(DWORD processId, const char* title);
// The first visible dialog of the process with the title (null: any) other than the excluded window,
// waiting up to the timeout; null when none appears. The first window of a new Wine prefix can take
// over 10 s to appear while Wine starts its services.
HWND WaitForDialog(DWORD processId, const char* title, HWND exclude = nullptr, DWORD timeoutMs = 30000);
// The first child window of the parent that matches; null when none does.
HWND FindChild(HWND parent, const std::function<bool(HWND)>& match);
// The window that has the keyboard focus in the thread of the given window.
HWND FocusInThreadOf(HWND window);

// The window's rectangle on the screen.
RECT WindowRect(HWND window);
// The size of the window's client area.
SIZE ClientSize(HWND window);
// Whether two rectangles are the same.
bool SameRect(const RECT& a, const RECT& b);
// Whether the window stays above all others.
bool IsTopmost(HWND window);

// Sets an environment variable of this process, which the programs it starts inherit, for a scope.
class ScopedEnvironment : NoCopy
{
  public:
    ScopedEnvironment(const char* name, const char* value);
    ~ScopedEnvironment();

  private:
    const char* m_name;
};

// A copy of the Vexa.exe under test in folders of its own below the temporary folder (made as needed),
// for starts from unusual places; the copy and the folders go with the object.
class VexaCopy : NoCopy
{
  public:
    VexaCopy(const std::vector<std::wstring>& folders, const std::wstring& fileName);
    ~VexaCopy();

    // Whether the copy was made; its full path.
    bool Made() const { return m_made; }
    const std::wstring& Path() const { return m_path; }
    // The path in the ANSI code page (for names it can spell).
    std::string AnsiPath() const;

  private:
    std::vector<std::wstring> m_folders;
    std::wstring m_path;
    bool m_made = false;
};

// A running Vexa.exe; the destructor ends it if it is still running.
class VexaProcess : NoCopy
{
  public:
    VexaProcess() = default;
    ~VexaProcess();

    // Starts the program (exe: Vexa.exe under test unless given) and waits until it is idle.
    bool Start(const std::string& exe = {});
    bool Start(const std::wstring& exe);
    // Starts it and waits for its main window (the first dialog titled "Vexa", which may also be a
    // message box of a start that failed); null when none appears.
    HWND StartAndWaitForMain(const std::string& exe = {});
    HWND StartAndWaitForMain(const std::wstring& exe);
    // Starts it and waits for its main window, closing on the way every other dialog it shows (the
    // About box and help window of a first start), which firstStartBoxes counts; null when none appears.
    HWND StartPastFirstStart(int& firstStartBoxes, const std::string& exe = {});
    // Chooses File > Exit in the main window and waits for the process to end; true when it ended.
    bool Exit(HWND main);
    // Waits for the process to end; true when it ended within the timeout.
    bool WaitForExit(DWORD timeoutMs = 10000);
    // The process's exit code; STILL_ACTIVE while it runs.
    DWORD ExitCode() const;
    // The process id and handle.
    DWORD Id() const { return m_info.dwProcessId; }
    HANDLE Handle() const { return m_info.hProcess; }

  private:
    PROCESS_INFORMATION m_info{};
};

// A visible top-level window of the test process that takes the foreground from Vexa, so that a test
// can see Vexa take it back.
class ForegroundDecoy : NoCopy
{
  public:
    ForegroundDecoy();
    ~ForegroundDecoy();

    // Takes the foreground from the other window, a window of Vexa; true when the decoy has it.
    bool TakeForegroundFrom(HWND other);

  private:
    HWND m_window = nullptr;
};
