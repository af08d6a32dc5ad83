// The drag-anywhere pixel readout of the palette window.
#include "framework/Gdi.h"
#include "framework/WinApp.h"
#include "window/PaletteWindow.h"
#include "window/PixelTitle.h"

void PaletteWindow::OnLButtonDown(UINT flags, POINT point)
{
    RequirePaletteDisplay();
    ::SetCapture(m_hWnd);
    OnMouseMove(flags, point);
}

void PaletteWindow::OnMouseMove(UINT, POINT point)
{
    if (::GetCapture() != m_hWnd)
        return;
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    int index = ::PtInRect(&client, point) ? TileFromPoint(point.x, point.y) : -1;
    // A cell past the last tile shows the background, like the margin: its colour is searched.
    if (index >= m_logPalette.palNumEntries)
        index = -1;
    ::ClientToScreen(m_hWnd, &point);
    const COLORREF colour = GetScreenPixel(point.x, point.y);
    // Off every screen there is no pixel to read: the title keeps the last reading.
    if (colour == CLR_INVALID)
        return;
    SetTitleIfChanged(FormatPixelTitle(colour, index));
}

void PaletteWindow::OnLButtonUp(UINT, POINT)
{
    if (::GetCapture() != m_hWnd)
        return;
    ::ReleaseCapture();
    SetTitleIfChanged(AfxGetAppName());
}

COLORREF PaletteWindow::GetScreenPixel(int x, int y) const
{
    CClientDC screen(nullptr);
    return ::GetPixel(screen, x, y);
}

std::string PaletteWindow::FormatPixelTitle(COLORREF colour, int index) const
{
    if (index < 0)
    {
        // Off the grid: the lowest system palette entry of that colour, read afresh.
        PALETTEENTRY entries[kMaxPaletteEntries]{};
        CClientDC screen(nullptr);
        const UINT read = ::GetSystemPaletteEntries(screen, 0, kMaxPaletteEntries, entries);
        index = FindPaletteColour(reinterpret_cast<const PaletteEntry*>(entries), static_cast<int>(read), colour);
    }
    return PixelTitle(AfxGetAppName(), index, colour);
}

void PaletteWindow::SetTitleIfChanged(const std::string& text)
{
    if (GetWindowText() != text)
        ::SetWindowTextA(m_hWnd, text.c_str());
}
