#include "window/PaletteWindow.h"

#include "framework/Exceptions.h"
#include "framework/WinApp.h"
#include "framework/WinGeometry.h"
#include "palette/DisplayPalette.h"
#include "resource.h"
#include "settings/SettingsStore.h"
#include "window/GridPaint.h"

#include <windowsx.h>

#include <utility>

namespace
{
// Draws the paint plan into a device context through palette-index brushes.
class PaletteIndexCanvas final : public TileCanvas
{
  public:
    explicit PaletteIndexCanvas(HDC dc) : m_dc(dc) {}

    void FillTile(const Rect& rect, int paletteIndex) override
    {
        const RECT r = ToRECT(rect);
        CBrush brush(PALETTEINDEX(paletteIndex));
        ::FillRect(m_dc, &r, brush);
    }

    void FrameTile(const Rect& rect) override
    {
        const RECT r = ToRECT(rect);
        ::FrameRect(m_dc, &r, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    }

  private:
    HDC m_dc;
};

HICON LoadProgramIcon()
{
    return ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_VEXA));
}

// Posted by a failed paint: its report runs after the paint, never inside WM_PAINT.
constexpr UINT kReportPaintFailure = WM_APP;
} // namespace

void SetWindowIcons(HWND window, UINT iconId)
{
    const UINT id = iconId ? iconId : IDI_VEXA;
    HINSTANCE module = AfxGetResourceHandle();
    HICON large = ::LoadIconA(module, MAKEINTRESOURCEA(id));
    ::SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(large));
    HANDLE small = ::LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR);
    ::SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
}

PaletteWindow::PaletteWindow(CWnd* parent, SettingsStore* settings) : CDialog(IDD_PALETTE, parent), m_settings(settings)
{
    if (m_settings)
    {
        m_grid = {m_settings->m_columns, m_settings->m_rows};
        m_border = m_settings->m_borders;
    }
    const int paletteSize = ReadDisplayPaletteSize();
    m_logPalette = ExplicitPalette(paletteSize);
    if (paletteSize == 0)
        throw PaletteDisplayNeeded();
    m_palette = CreatePaletteOrThrow(m_logPalette);
}

Extent PaletteWindow::ClientExtent() const
{
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    return {client.right - client.left, client.bottom - client.top};
}

void PaletteWindow::UpdateLayout()
{
    const GridLayout layout = GridLayout::Compute(ClientExtent(), m_grid);
    m_tileSize = layout.tileSize;
    m_origin = layout.origin;
}

BOOL PaletteWindow::ShrinkToFit()
{
    const Extent wanted = GridLayout{m_origin, m_tileSize}.FittedClient(m_grid);
    if (wanted == ClientExtent())
        return FALSE;
    RECT frame{0, 0, wanted.cx, wanted.cy};
    ::AdjustWindowRectEx(&frame, static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_STYLE)), TRUE,
                         static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_EXSTYLE)));
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return TRUE;
}

int PaletteWindow::TileFromPoint(int x, int y) const
{
    return GridLayout{m_origin, m_tileSize}.TileFromPoint(m_grid, {x, y});
}

BOOL PaletteWindow::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowIcons(m_hWnd, 0);
    // The dialog procedure is attached only after the window was created, so the WM_SIZE of its creation
    // never reached OnSize: lay the grid out for the size the window has now.
    UpdateLayout();
    if (!m_settings)
        return TRUE;
    if (!m_settings->RestorePlacement(nullptr, 0, FALSE))
    {
        // Not the main window after all: a size of its own rather than the template's.
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, ::GetSystemMetrics(SM_CXSCREEN) / 3, ::GetSystemMetrics(SM_CYSCREEN) / 8,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
        ShrinkToFit();
    }
    // The first start of a new version introduces the program before its window is first shown.
    if (m_settings->m_currentVersion != m_settings->m_storedVersion)
    {
        ::SendMessageA(m_hWnd, WM_COMMAND, ID_APP_ABOUT, 0);
        ::SendMessageA(m_hWnd, WM_COMMAND, ID_HELP, 0);
    }
    return TRUE;
}

bool PaletteWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    const UINT flags = static_cast<UINT>(wParam);
    switch (message)
    {
    case WM_SYSCOMMAND: // bool OnSysCommand(UINT command)
        return OnSysCommand(static_cast<UINT>(wParam));
    case WM_PAINT: // void OnPaint(), through PaintReportingFailure()
        PaintReportingFailure();
        return true;
    case kReportPaintFailure: // void OnReportPaintFailure()
        OnReportPaintFailure();
        return true;
    case WM_QUERYDRAGICON: // HICON OnQueryDragIcon()
        result = reinterpret_cast<LRESULT>(OnQueryDragIcon());
        return true;
    case WM_SIZE: // void OnSize(), then the default processing
        OnSize();
        return false;
    case WM_LBUTTONDOWN:   // void OnLButtonDown(UINT flags, POINT point)
    case WM_LBUTTONDBLCLK: // a second press within the double-click time starts a readout too
        OnLButtonDown(flags, point);
        return true;
    case WM_MOUSEMOVE: // void OnMouseMove(UINT flags, POINT point)
        OnMouseMove(flags, point);
        return true;
    case WM_LBUTTONUP: // void OnLButtonUp(UINT flags, POINT point)
        OnLButtonUp(flags, point);
        return true;
    case WM_DISPLAYCHANGE: // void OnDisplayChange(), then the default processing
        OnDisplayChange();
        return false;
    case WM_DESTROY: // void OnDestroy(), then the default processing
        OnDestroy();
        return false;
    default: return CDialog::OnMessage(message, wParam, lParam, result);
    }
}

bool PaletteWindow::OnCommand(UINT id)
{
    switch (id)
    {
    case ID_FILE_OPEN: OnFileOpen(); return true;
    case ID_FILE_SAVE_AS: OnFileSaveAs(); return true;
    case ID_EDIT_COPY: OnEditCopy(); return true;
    case ID_EDIT_CLEAR: OnEditClear(); return true;
    case ID_VIEW_COLUMNS_8: OnSetColumns(8, 32); return true;
    case ID_VIEW_COLUMNS_16: OnSetColumns(16, 16); return true;
    case ID_VIEW_COLUMNS_32: OnSetColumns(32, 8); return true;
    case ID_VIEW_COLUMNS_64: OnSetColumns(64, 4); return true;
    case ID_VIEW_COLUMNS_128: OnSetColumns(128, 2); return true;
    case ID_VIEW_COLUMNS_256: OnSetColumns(256, 1); return true;
    case ID_VIEW_TOGGLE_BORDER: OnToggleBorder(); return true;
    case ID_VIEW_SHRINK_TO_FIT: ShrinkToFit(); return true;
    default: return CDialog::OnCommand(id);
    }
}

void PaletteWindow::OnPaint()
{
    if (::IsIconic(m_hWnd))
    {
        PaintIcon();
        return;
    }
    // Why the grid is live: entry j of the window's palette is an explicit reference to hardware slot j,
    // so each tile's pixels hold slot number j itself, not a colour. When any program changes the system
    // palette, the display shows the new colours in the tiles at once; nothing is read or repainted, and
    // no palette message needs handling. Realising an explicit palette never changes the system palette.
    CPaintDC dc(m_hWnd);
    ::SelectPalette(dc, m_palette, FALSE);
    ::RealizePalette(dc);
    PaletteIndexCanvas canvas(dc);
    PaintGrid({m_origin, m_tileSize}, m_grid, m_logPalette.palNumEntries, m_border != FALSE, canvas);
}

void PaletteWindow::PaintIcon()
{
    CPaintDC dc(m_hWnd);
    ::SendMessageA(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(static_cast<HDC>(dc)), 0);
    const Extent client = ClientExtent();
    const int x = (client.cx - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.cy - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    ::DrawIcon(dc, x, y, LoadProgramIcon());
}

void PaletteWindow::OnSize()
{
    UpdateLayout();
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

bool PaletteWindow::OnSysCommand(UINT command)
{
    // The system menu's Size and Maximize items do nothing; a border drag (SC_SIZE with a hit-test code
    // in its low bits) still resizes.
    return command == SC_SIZE || command == SC_MAXIMIZE;
}

HICON PaletteWindow::OnQueryDragIcon()
{
    return LoadProgramIcon();
}

void PaletteWindow::OnDestroy()
{
    HandBackSettings();
}

void PaletteWindow::OnEndSession(BOOL ending)
{
    // The window is not destroyed when the session ends: what it would hand back then goes now, before
    // the application saves.
    if (ending)
        HandBackSettings();
    CDialog::OnEndSession(ending);
}

void PaletteWindow::HandBackSettings()
{
    if (!m_settings)
        return;
    m_settings->CapturePlacement(nullptr);
    m_settings->SetView(m_grid.cx, m_grid.cy, m_border);
}

void PaletteWindow::OnSetColumns(int columns, int rows)
{
    m_grid = {columns, rows};
    UpdateLayout();
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void PaletteWindow::OnToggleBorder()
{
    m_border = m_border == 0;
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void PaletteWindow::PaintReportingFailure()
{
    try
    {
        OnPaint();
        m_paintFailing = false;
    }
    catch (...)
    {
        // A report from inside the paint would come again with every exposure, boxes within boxes, and
        // an update region left invalid would ask for the failing paint again at once.
        ::ValidateRect(m_hWnd, nullptr);
        if (!std::exchange(m_paintFailing, true))
        {
            m_paintFailure = std::current_exception();
            ::PostMessageA(m_hWnd, kReportPaintFailure, 0, 0);
        }
    }
}

void PaletteWindow::OnReportPaintFailure()
{
    // Thrown again for the framework's report of a failed handler.
    if (std::exception_ptr failure = std::exchange(m_paintFailure, nullptr))
        std::rethrow_exception(failure);
}

void PaletteWindow::OnDisplayChange()
{
    // A drag over a display that has left palette mode would search a system palette that is not there.
    if (ReadDisplayPaletteSize() == 0)
        OnLButtonUp(0, {});
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}
