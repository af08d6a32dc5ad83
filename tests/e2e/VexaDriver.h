// Starts the real Vexa.exe and finds its windows, as a user's actions would reach them.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The path of the Vexa.exe under test (environment VEXA_EXE).
std::string VexaExePath();

// Vexa's settings key, HKEY_LOCAL_MACHINE\Software\Quillon\Vexa.
inline constexpr const char* kVexaKey = "Software\\Quillon\\Vexa";

// Deletes Vexa's whole settings key. Unless firstStart, then stores the install record of the exe under
// test (Path and Version 1.7), so that the program starts without its first-start About and help.
void ResetVexaSettings(bool firstStart = false);

// The text of a window (WM_GETTEXT, so it works across processes).
std::string WindowText(HWND window);

// The visible top-level windows of the process whose class (null: any) and title (null: any) match.
std::vector<HWND> ProcessWindows(DWORD processId, const char* className, const char* title);

// The first visible top-level window of the process whose class (null: any) and title (null: any)
// match, waiting up to the timeout; null when none appears.
HWND WaitForProcessWindow(DWORD processId, const char* className, const char* title, DWORD timeoutMs = 10000);

// The text of the static with the given id in a dialog or message box.
std::string DialogItemText(HWND dialog, int id);

// A copy of the Vexa.exe under test in folders of its own below the temporary folder (made as needed),
// for starts from unusual places; the copy and the folders go with the object.
class VexaCopy
{
  public:
    VexaCopy(const std::vector<std::wstring>& folders, const std::wstring& fileName);
    ~VexaCopy();
    VexaCopy(const VexaCopy&) = delete;
    VexaCopy& operator=(const VexaCopy&) = delete;

    bool Made() const { return m_made; }
    const std::wstring& Path() const { return m_path; }

  private:
    std::vector<std::wstring> m_folders;
    std::wstring m_path;
    bool m_made = false;
};

// A running Vexa.exe; the destructor ends it if it is still running.
class VexaProcess
{
  public:
    VexaProcess() = default;
    ~VexaProcess();
    VexaProcess(const VexaProcess&) = delete;
    VexaProcess& operator=(const VexaProcess&) = delete;

    // Starts the program (exe: Vexa.exe under test unless given) and waits until it is idle.
    bool Start(const std::string& exe = {});
    bool Start(const std::wstring& exe);
    // Starts it and waits for its main window ("Vexa", dialog class); null when none appears.
    HWND StartAndWaitForMain(const std::string& exe = {});
    // Waits for the process to end; true when it ended within the timeout.
    bool WaitForExit(DWORD timeoutMs = 10000);
    DWORD ExitCode() const;
    DWORD Id() const { return m_info.dwProcessId; }
    HANDLE Handle() const { return m_info.hProcess; }
    HWND Main() const { return m_main; }

  private:
    PROCESS_INFORMATION m_info{};
    HWND m_main = nullptr;
};
