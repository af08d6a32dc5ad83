// The floor for painting and the pixel readout: Vexa's window reduced to the calls it cannot avoid.
// A dialog with Vexa's template paints the tiles through an explicit palette with one brush per tile,
// follows the View commands 2003, 2007 and 2008, and shows the pixel under a drag in its title.
#include "resource.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

namespace
{
constexpr int kMaxEntries = 256;

HPALETTE g_palette = nullptr;
int g_entries = 0;
int g_columns = 16;
int g_rows = 16;
bool g_border = false;
POINT g_origin{};
SIZE g_tile{};

void CreateExplicitPalette()
{
    HDC info = ::CreateICA("DISPLAY", nullptr, nullptr, nullptr);
    g_entries = ::GetDeviceCaps(info, SIZEPALETTE);
    ::DeleteDC(info);
    if (g_entries > kMaxEntries)
        g_entries = kMaxEntries;
    struct
    {
        WORD version;
        WORD count;
        PALETTEENTRY entries[kMaxEntries];
    } block{0x300, static_cast<WORD>(g_entries), {}};
    for (int j = 0; j < g_entries; ++j)
        block.entries[j] = {static_cast<BYTE>(j), 0, 0, PC_EXPLICIT};
    g_palette = ::CreatePalette(reinterpret_cast<LOGPALETTE*>(&block));
}

void UpdateLayout(HWND window)
{
    RECT client{};
    ::GetClientRect(window, &client);
    g_tile = {client.right / g_columns, client.bottom / g_rows};
    g_origin = {(client.right - g_tile.cx * g_columns) / 2, (client.bottom - g_tile.cy * g_rows) / 2};
}

void Paint(HWND window)
{
    PAINTSTRUCT paint{};
    HDC dc = ::BeginPaint(window, &paint);
    ::SelectPalette(dc, g_palette, FALSE);
    ::RealizePalette(dc);
    HBRUSH black = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
    int j = 0;
    for (int row = 0; row < g_rows && j < g_entries; ++row)
        for (int column = 0; column < g_columns && j < g_entries; ++column, ++j)
        {
            const int left = g_origin.x + column * g_tile.cx;
            const int top = g_origin.y + row * g_tile.cy;
            RECT tile{left, top, left + g_tile.cx, top + g_tile.cy};
            HBRUSH brush = ::CreateSolidBrush(PALETTEINDEX(j));
            ::FillRect(dc, &tile, brush);
            if (g_border)
            {
                RECT frame{tile.left, tile.top, tile.right + 1, tile.bottom + 1};
                ::FrameRect(dc, &frame, black);
            }
            ::DeleteObject(brush);
        }
    ::EndPaint(window, &paint);
}

void SetTitleIfChanged(HWND window, const char* text)
{
    char current[256] = "";
    ::GetWindowTextA(window, current, sizeof current);
    if (std::strcmp(current, text) != 0)
        ::SetWindowTextA(window, text);
}

void MouseMove(HWND window, POINT point)
{
    if (::GetCapture() != window)
        return;
    RECT client{};
    ::GetClientRect(window, &client);
    int index = -1;
    const RECT grid{g_origin.x, g_origin.y, g_origin.x + g_tile.cx * g_columns, g_origin.y + g_tile.cy * g_rows};
    if (::PtInRect(&client, point) && ::PtInRect(&grid, point))
        index = (point.y - g_origin.y) / g_tile.cy * g_columns + (point.x - g_origin.x) / g_tile.cx;
    ::ClientToScreen(window, &point);
    HDC screen = ::GetDC(nullptr);
    const COLORREF colour = ::GetPixel(screen, point.x, point.y);
    ::ReleaseDC(nullptr, screen);
    if (index < 0)
    {
        PALETTEENTRY entries[kMaxEntries]{};
        screen = ::GetDC(nullptr);
        const int read = static_cast<int>(::GetSystemPaletteEntries(screen, 0, kMaxEntries, entries));
        index = 0;
        while (index < read &&
               RGB(entries[index].peRed, entries[index].peGreen, entries[index].peBlue) != (colour & 0xFFFFFF))
            ++index;
        ::ReleaseDC(nullptr, screen);
    }
    char title[256];
    std::snprintf(title, sizeof title, "%s - [%03d] = 0x%06X = RGB(%d, %d, %d)", "Vexa", index,
                  static_cast<unsigned>(colour), GetRValue(colour), GetGValue(colour), GetBValue(colour));
    SetTitleIfChanged(window, title);
}

void SetGrid(HWND window, int columns, int rows)
{
    g_columns = columns;
    g_rows = rows;
    UpdateLayout(window);
    ::InvalidateRect(window, nullptr, TRUE);
}

INT_PTR CALLBACK GridProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    switch (message)
    {
    case WM_INITDIALOG: UpdateLayout(window); return TRUE;
    case WM_SIZE:
        UpdateLayout(window);
        ::InvalidateRect(window, nullptr, TRUE);
        return FALSE;
    case WM_PAINT: Paint(window); return TRUE;
    case WM_LBUTTONDOWN:
        ::SetCapture(window);
        MouseMove(window, point);
        return TRUE;
    case WM_MOUSEMOVE: MouseMove(window, point); return TRUE;
    case WM_LBUTTONUP:
        if (::GetCapture() == window)
        {
            ::ReleaseCapture();
            SetTitleIfChanged(window, "Vexa");
        }
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam))
        {
        case ID_VIEW_COLUMNS_16: SetGrid(window, 16, 16); break;
        case ID_VIEW_COLUMNS_256: SetGrid(window, 256, 1); break;
        case ID_VIEW_TOGGLE_BORDER:
            g_border = !g_border;
            ::InvalidateRect(window, nullptr, TRUE);
            break;
        case IDOK:
        case IDCANCEL:
        case ID_APP_EXIT: ::EndDialog(window, 0); break;
        default: break;
        }
        return TRUE;
    default: return FALSE;
    }
}
} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    CreateExplicitPalette();
    const INT_PTR result = ::DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_PALETTE), nullptr, GridProc, 0);
    ::DeleteObject(g_palette);
    return static_cast<int>(result);
}
