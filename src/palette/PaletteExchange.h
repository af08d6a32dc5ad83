// Palettes in and out of the system: a bitmap's colour table realised, the system palette saved as a
// bitmap or a text dump, copied to the clipboard, or cleared. Failures are framework exceptions.
#pragma once

#include <windows.h>

#include <string>

// Realises the colour table of an 8-bit bitmap file into the free slots 10..245 of the system palette,
// through the window. Throws CFileException or CNotSupportedException for a file it refuses.
void ApplyBitmapPalette(HWND window, const std::string& path);

// Saves all 256 slots of the system palette as an 8-bit bitmap, replacing the file only when complete.
void WriteBitmapPalette(const std::string& path);

// Saves the first entryCount slots of the system palette as the text dump, replacing the file only when
// complete.
void WriteTextDump(const std::string& path, int entryCount);

// Puts the first entryCount slots of the system palette on the clipboard as a palette; false when
// another program holds the clipboard.
bool CopySystemPalette(HWND owner, int entryCount);

// Turns every slot but the static colours black, through the window.
void ClearSystemPalette(HWND window, int entryCount);
