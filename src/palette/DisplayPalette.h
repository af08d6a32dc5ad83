// The display palette services every palette operation goes through.
#pragma once

#include "framework/Exceptions.h"
#include "framework/Gdi.h"
#include "palette/PaletteSnapshot.h"

#include <windows.h>

// The display is not palette-based, at start-up or since the mode changed: "A color palette based display
// mode is needed for this application to run.", always with a stop icon.
class PaletteDisplayNeeded : public CException
{
  public:
    bool GetErrorMessage(std::string& text) const override;
    void ReportError(UINT type = MB_ICONSTOP, std::string_view fallback = kTextCommandFailed) const override;
};

// The snapshot as the LOGPALETTE it is laid out as.
const LOGPALETTE* AsLogPalette(const PaletteSnapshot& snapshot);

// The number of system palette slots of the display, held to 256; 0 when it is not palette-based.
// Throws CResourceException when the display has no information context.
int ReadDisplayPaletteSize();

// Reads system slots 0..count-1 into the first entries of the snapshot, as the system gives them.
void CaptureSystemPalette(PaletteSnapshot& target, int count);

// Selects the palette into the window's client-area context in the foreground and realises it.
void RealizeInWindow(HWND window, const CPalette& palette);

// A GDI palette of the snapshot; throws CMemoryException when none can be made.
CPalette CreatePaletteOrThrow(const PaletteSnapshot& snapshot);
