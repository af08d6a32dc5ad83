// The system palette as Vexa sees it, the bitmaps that give it known colours, and the clipboard that
// Copy fills.
//
// Wine gives each process its own colormap on the 8-bit display, so only Vexa itself sees the system
// palette it changes: the tests read it through Vexa's own Save As.
#pragma once

#include "driver/Process.h"

#include <windows.h>

#include <array>
#include <string>
#include <vector>

using SystemPalette = std::array<PALETTEENTRY, 256>;

// Whether two entries have the same red, green and blue.
bool SameColours(const PALETTEENTRY& a, const PALETTEENTRY& b);
// Expects every entry of the palette to have the colours of the expected one; what names the check.
void ExpectSamePalette(const SystemPalette& actual, const SystemPalette& expected, const std::string& what = {});

// A bitmap file: headers, the colour table and pixel bytes up to totalSize.
std::vector<unsigned char> MakeBitmap(int bitCount, unsigned compression, unsigned infoSize,
                                      const std::vector<RGBQUAD>& table, std::size_t totalSize);
// 236 distinct colours, different from the seed's other sets.
std::vector<RGBQUAD> DistinctColours(int seed);
// A colour table of the entries whose slots 10..245 hold the seed's distinct colours and the others black.
std::vector<RGBQUAD> KnownColoursTable(int seed, std::size_t entries = 256);
// The 256-entry colour table of a bitmap with a 40-byte info header (all black when it is shorter).
SystemPalette PaletteOfBitmap(const std::vector<unsigned char>& bytes);
// The system palette after Open accepted the bitmap: its colour table follows the info header and
// holds biClrUsed entries (256 when that is 0 or above 256); slots 10..245 that it holds take its
// colours, all others keep theirs.
SystemPalette PaletteAfterOpening(const std::vector<unsigned char>& bytes, const SystemPalette& before);

// The system palette as Vexa sees it: the colour table of the bitmap it saves to the path through
// File > Save As (title null: the dialog's title is not checked), which is then deleted. False when no
// bitmap of 9,270 bytes was saved.
bool ReadVexaPalette(DWORD processId, HWND main, const std::string& path, SystemPalette& palette,
                     const char* title = "Save As");

// Text on the clipboard that belongs to a hidden window of the test process, so that a test can see
// whether Vexa's Copy replaced it. The clipboard stays open (held) until Close.
class ClipboardHolder : NoCopy
{
  public:
    explicit ClipboardHolder(const char* text);
    ~ClipboardHolder();

    // Whether the clipboard was opened and the text put on it.
    bool Opened() const { return m_opened; }
    // Closes the clipboard, leaving the text on it.
    void Close();

  private:
    HWND m_window = nullptr;
    bool m_opened = false;
};
// Whether the clipboard holds exactly the text and no palette.
bool ClipboardHoldsText(const char* text);
