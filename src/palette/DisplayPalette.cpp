#include "palette/DisplayPalette.h"

#include "framework/Exceptions.h"

#include <algorithm>
#include <cstddef>

static_assert(sizeof(PaletteEntry) == sizeof(PALETTEENTRY));
static_assert(offsetof(PaletteSnapshot, palNumEntries) == offsetof(LOGPALETTE, palNumEntries));
static_assert(offsetof(PaletteSnapshot, palPalEntry) == offsetof(LOGPALETTE, palPalEntry));

const LOGPALETTE* AsLogPalette(const PaletteSnapshot& snapshot)
{
    return reinterpret_cast<const LOGPALETTE*>(&snapshot);
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
