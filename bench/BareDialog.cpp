// The start-up floor: a dialog program with Vexa's own template, menu and icon and no work of its own.
// Built with VEXA_BARE_IMPORTS it also imports the DLLs Vexa imports, which shows what loading them costs.
#include <windows.h>
#ifdef VEXA_BARE_IMPORTS
#include <commdlg.h>
#endif

#include "resource.h"

namespace
{
INT_PTR CALLBACK FloorProc(HWND window, UINT message, WPARAM wParam, LPARAM)
{
    switch (message)
    {
    case WM_INITDIALOG: {
        // The same icon calls as Vexa, so that the floor loads the same resources.
        HINSTANCE module = ::GetModuleHandleA(nullptr);
        HICON large = ::LoadIconA(module, MAKEINTRESOURCEA(IDI_VEXA));
        ::SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(large));
        HANDLE small = ::LoadImageA(module, MAKEINTRESOURCEA(IDI_VEXA), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR);
        ::SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == ID_APP_EXIT)
            ::EndDialog(window, 0);
        return TRUE;
    default: return FALSE;
    }
}
} // namespace

#ifdef VEXA_BARE_IMPORTS
// Never set: the calls below only have to be linked, so that the loader maps their DLLs at start-up.
volatile bool g_never = false;
#endif

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
#ifdef VEXA_BARE_IMPORTS
    if (g_never)
    {
        OPENFILENAMEA open{};
        ::GetOpenFileNameA(&open);
        ::GetFileVersionInfoSizeA("", nullptr);
        ::RegCloseKey(nullptr);
        ::DeleteObject(nullptr);
    }
#endif
    return static_cast<int>(::DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_PALETTE), nullptr, FloorProc, 0));
}
