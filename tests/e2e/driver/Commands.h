// Drives Vexa's menu commands from outside: the commands themselves, the common file dialogs, the
// message boxes and the About box.
#pragma once

#include <windows.h>

#include <string>

// Posts a command to the window without waiting for it (a command that opens a modal dialog).
void PostCommand(HWND window, UINT id);
// Sends a command and waits until its handler has returned; false after the timeout.
bool RunCommand(HWND window, UINT id, DWORD timeoutMs = 10000);
// Posts the dialog the command (IDOK, IDCANCEL) and waits until it is gone; true when it went.
bool CloseDialog(HWND dialog, UINT command);
// Chooses Help > About in the main window and waits for the About box; null when none appears.
HWND OpenAboutBox(DWORD processId, HWND main);

// Types the name into a common file dialog (title null: any dialog but the main window) and confirms
// it, answering Yes to a replace or create question. Returns false when the dialog did not close.
bool ChooseFileInDialog(DWORD processId, const char* title, HWND main, const std::string& fileName);

// What a common file dialog made of a typed name: it closed (closed), or it answered with a message box
// of its own (refusal: that box's text; the box is closed with OK and the dialog cancelled), or neither
// within the timeout.
struct FileDialogOutcome
{
    bool closed = false;
    std::string refusal;
};
// Types the name into a common file dialog, confirms it and tells what the dialog made of it.
FileDialogOutcome TypeFileNameInDialog(DWORD processId, const char* title, HWND main, const std::string& fileName,
                                       DWORD timeoutMs = 10000);

// Runs File > Save As to the path and waits until the command has ended (title null: the dialog's title
// is not checked).
bool SaveAsThroughDialog(DWORD processId, HWND main, const std::string& path, const char* title = "Save As");

// The text of a message box of Vexa's process (its static 0xFFFF), which is then closed with OK;
// empty when none appears.
std::string TakeMessageBox(DWORD processId, HWND main, DWORD timeoutMs = 10000);

// What Shrink to Fit makes of a client area of 400 x 200, which tells every grid of the program apart:
// the client size the window got (client) and the one the command left (fitted). The window is put back
// where it was afterwards, so that the check itself leaves no placement change behind.
struct ShrinkToFitResult
{
    SIZE client{};
    SIZE fitted{};
    bool answered = false; // the command returned within its time
};
ShrinkToFitResult ShrinkToFitFrom400x200(HWND main);
// Whether Shrink to Fit from 400 x 200 gives whole tiles of a grid of columns x rows, which tells the
// grid the window shows.
bool ShowsGrid(HWND main, int columns, int rows);
