// The main window: the system palette as a live grid of tiles, painted through an explicit palette.
#pragma once

#include "framework/Dialog.h"
#include "framework/Gdi.h"
#include "palette/PaletteSnapshot.h"
#include "window/GridLayout.h"

#include <exception>
#include <string>

class SettingsStore;

class PaletteWindow : public CDialog
{
  public:
    // Performs the palette-device check: throws PaletteDisplayNeeded on a display that is not palette-based,
    // CResourceException without a display context, CMemoryException without a palette. With settings,
    // the window starts with their view values, restores their placement and hands both back at the end.
    explicit PaletteWindow(CWnd* parent = nullptr, SettingsStore* settings = nullptr);

    // Recomputes the tile size and origin from the client area and the grid.
    void UpdateLayout();
    // Resizes the window so that its client area is exactly the grid; FALSE when nothing changed.
    BOOL ShrinkToFit();
    // The palette index of the tile under a client point, or -1 outside the grid.
    int TileFromPoint(int x, int y) const;

  protected:
    BOOL OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool OnCommand(UINT id) override;

  private:
    void OnPaint();
    // OnPaint, made safe: a failure validates the window and is reported once, after the paint, until a
    // paint succeeds again.
    void PaintReportingFailure();
    void OnReportPaintFailure();
    void PaintIcon();
    void OnSize();
    bool OnSysCommand(UINT command);
    HICON OnQueryDragIcon();
    void OnDestroy();
    void OnEndSession(BOOL ending) override;
    // Records the placement and hands the view values back to the settings, marking what changed.
    void HandBackSettings();
    void OnSetColumns(int columns, int rows);
    void OnToggleBorder();
    void OnDisplayChange();

    // Pixel inspection.
    void OnLButtonDown(UINT flags, POINT point);
    void OnMouseMove(UINT flags, POINT point);
    void OnLButtonUp(UINT flags, POINT point);
    COLORREF GetScreenPixel(int x, int y) const;
    std::string FormatPixelTitle(COLORREF colour, int index) const;
    void SetTitleIfChanged(const std::string& text);

    // Palette commands.
    void OnFileOpen();
    void OnFileSaveAs();
    void OnEditCopy();
    void OnEditClear();
    // Throws PaletteDisplayNeeded when the display is no longer palette-based, so that a command that
    // reads or changes the system palette says so and changes nothing.
    void RequirePaletteDisplay();

    Extent ClientExtent() const;

    CPalette m_palette;
    PaletteSnapshot m_logPalette;
    Point m_origin{0, 0};
    Extent m_tileSize{0, 0};
    Extent m_grid{256, 1};
    BOOL m_border = FALSE;
    SettingsStore* m_settings = nullptr;
    bool m_paintFailing = false;       // a paint failed and none has succeeded since
    std::exception_ptr m_paintFailure; // the failure, until its report runs
};

// Sets the window's large and small icons from an icon resource (0 means the program's icon).
void SetWindowIcons(HWND window, UINT iconId);
