#include "driver/Commands.h"

#include "driver/Process.h"
#include "driver/Wait.h"
#include "resource.h"

void PostCommand(HWND window, UINT id)
{
    ::PostMessageA(window, WM_COMMAND, id, 0);
}

bool RunCommand(HWND window, UINT id, DWORD timeoutMs)
{
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutA(window, WM_COMMAND, id, 0, SMTO_NORMAL, timeoutMs, &result) != 0;
}

bool CloseDialog(HWND dialog, UINT command)
{
    PostCommand(dialog, command);
    return WaitUntil([dialog] { return !::IsWindow(dialog); });
}

HWND OpenAboutBox(DWORD processId, HWND main)
{
    PostCommand(main, ID_APP_ABOUT);
    return WaitForDialog(processId, "About Vexa");
}

namespace
{
// Waits for the file dialog, types the name into its name box and confirms it; the dialog, or null
// when none appeared.
HWND TypeAndConfirm(DWORD processId, const char* title, HWND main, const std::string& fileName)
{
    HWND dialog = WaitForDialog(processId, title, main);
    if (!dialog)
        return nullptr;
    HWND name = ::GetDlgItem(dialog, 1148); // the explorer-style file name box
    if (!name)
        name = ::GetDlgItem(dialog, 1152);
    ::SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(fileName.c_str()));
    PostCommand(dialog, IDOK);
    return dialog;
}
} // namespace

bool ChooseFileInDialog(DWORD processId, const char* title, HWND main, const std::string& fileName)
{
    HWND dialog = TypeAndConfirm(processId, title, main, fileName);
    return dialog && WaitUntil(
                         [&] {
                             if (!::IsWindow(dialog))
                                 return true;
                             // A question whether to replace or create the file: answer Yes.
                             for (HWND question : ProcessDialogs(processId, main))
                             {
                                 HWND yes = question != dialog ? ::GetDlgItem(question, IDYES) : nullptr;
                                 if (yes)
                                     ::PostMessageA(question, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED),
                                                    reinterpret_cast<LPARAM>(yes));
                             }
                             return false;
                         },
                         10000);
}

FileDialogOutcome TypeFileNameInDialog(DWORD processId, const char* title, HWND main, const std::string& fileName,
                                       DWORD timeoutMs)
{
    FileDialogOutcome outcome;
    HWND dialog = TypeAndConfirm(processId, title, main, fileName);
    if (!dialog)
        return outcome;
    HWND refusal = nullptr;
    WaitUntil(
        [&] {
            outcome.closed = !::IsWindow(dialog) || !::IsWindowVisible(dialog);
            for (HWND box : ProcessDialogs(processId, main))
                if (!outcome.closed && box != dialog && ::GetWindow(box, GW_OWNER) == dialog)
                    refusal = box;
            return outcome.closed || refusal;
        },
        timeoutMs);
    if (refusal)
    {
        outcome.refusal = DialogItemText(refusal, 0xFFFF);
        CloseDialog(refusal, IDOK);
        CloseDialog(dialog, IDCANCEL);
    }
    return outcome;
}

bool SaveAsThroughDialog(DWORD processId, HWND main, const std::string& path, const char* title)
{
    PostCommand(main, ID_FILE_SAVE_AS);
    return ChooseFileInDialog(processId, title, main, path) && WaitUntilIdle(main);
}

std::string TakeMessageBox(DWORD processId, HWND main, DWORD timeoutMs)
{
    HWND box = WaitForDialog(processId, "Vexa", main, timeoutMs);
    if (!box)
        return {};
    std::string text = DialogItemText(box, 0xFFFF);
    CloseDialog(box, IDOK);
    return text;
}

ShrinkToFitResult ShrinkToFitFrom400x200(HWND main)
{
    ShrinkToFitResult result;
    const RECT before = WindowRect(main);
    const SIZE oldClient = ClientSize(main);
    ::SetWindowPos(main, nullptr, 0, 0, before.right - before.left - oldClient.cx + 400,
                   before.bottom - before.top - oldClient.cy + 200, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    result.client = ClientSize(main);
    result.answered = RunCommand(main, ID_VIEW_SHRINK_TO_FIT);
    result.fitted = ClientSize(main);
    ::SetWindowPos(main, nullptr, before.left, before.top, before.right - before.left, before.bottom - before.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    return result;
}

bool ShowsGrid(HWND main, int columns, int rows)
{
    const ShrinkToFitResult fit = ShrinkToFitFrom400x200(main);
    return fit.fitted.cx == fit.client.cx / columns * columns && fit.fitted.cy == fit.client.cy / rows * rows;
}
