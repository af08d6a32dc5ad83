// What the About box and help window tests need beyond VexaDriver: resources and version values of
// the exe under test, whole window texts, the focus and the foreground of another process.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

// The bytes of a custom resource of Vexa.exe (read as a data file); empty when it has none.
std::string ExeResourceBytes(const char* name, const char* type);
// A string value of Vexa.exe's US-English version table; empty when absent.
std::string ExeVersionString(const char* name);
// The whole text of a window of any length (WM_GETTEXTLENGTH, WM_GETTEXT).
std::string FullWindowText(HWND window);
// The window that has the keyboard focus in the thread of the given window.
HWND FocusInThreadOf(HWND window);
// How many visible top-level windows of the process have that class and title.
int CountProcessWindows(DWORD processId, const char* className, const char* title);
// Chooses Help > About in the main window and waits for the About box; null when none appears.
HWND OpenAboutBox(DWORD processId, HWND main);
// Sends the dialog the command (IDOK, IDCANCEL) and waits until it is gone; true when it went.
bool CloseDialog(HWND dialog, UINT command);
// Polls the condition until it holds or the timeout passes.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000);

// A visible top-level window of the test process that takes the foreground from Vexa, so that a test
// can see Vexa take it back.
class ForegroundDecoy
{
  public:
    ForegroundDecoy();
    ~ForegroundDecoy();
    ForegroundDecoy(const ForegroundDecoy&) = delete;
    ForegroundDecoy& operator=(const ForegroundDecoy&) = delete;

    // Takes the foreground from the other window, a window of Vexa; true when the decoy has it.
    bool TakeForegroundFrom(HWND other);
    HWND Window() const { return m_window; }

  private:
    HWND m_window = nullptr;
};
