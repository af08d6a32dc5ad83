#include "palette/DisplayPalette.h"

#include "framework/WinApp.h"
#include "resource.h"

#include <algorithm>
#include <cstddef>

static_assert(sizeof(PaletteEntry) == sizeof(PALETTEENTRY));
static_assert(offsetof(PaletteSnapshot, palNumEntries) == offsetof(LOGPALETTE, palNumEntries));
static_assert(offsetof(PaletteSnapshot, palPalEntry) == offsetof(LOGPALETTE, palPalEntry));

const LOGPALETTE* AsLogPalette(const PaletteSnapshot& snapshot)
{
    return reinterpret_cast<const LOGPALETTE*>(&snapshot);
}

bool PaletteDisplayNeeded::GetErrorMessage(std::string& text) const
{
    text = AfxLoadString(IDS_PALETTE_DISPLAY_NEEDED);
    return true;
}

void PaletteDisplayNeeded::ReportError(UINT type, std::string_view fallback) const
{
    CException::ReportError((type & ~MB_ICONMASK) | MB_ICONSTOP, fallback);
}

int ReadDisplayPaletteSize()
{
    CInfoDC display("DISPLAY");
    if (!(::GetDeviceCaps(display, RASTERCAPS) & RC_PALETTE))
        return 0;
    // A display with more slots is used with its first 256.
    return std::clamp(::GetDeviceCaps(display, SIZEPALETTE), 0, kMaxPaletteEntries);
}

void CaptureSystemPalette(PaletteSnapshot& target, int count)
{
    CClientDC screen(nullptr);
    ::GetSystemPaletteEntries(screen, 0, static_cast<UINT>(std::clamp(count, 0, kMaxPaletteEntries)),
                              reinterpret_cast<PALETTEENTRY*>(target.palPalEntry));
}

void RealizeInWindow(HWND window, const CPalette& palette)
{
    CClientDC client(window);
    ::SelectPalette(client, palette, FALSE);
    ::RealizePalette(client);
}

CPalette CreatePaletteOrThrow(const PaletteSnapshot& snapshot)
{
    CPalette palette;
    if (!palette.CreatePalette(AsLogPalette(snapshot)))
        throw CMemoryException();
    return palette;
}
