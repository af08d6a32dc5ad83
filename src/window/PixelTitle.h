// The title text of the pixel readout and the search of a colour in the system palette.
#pragma once

#include "palette/PaletteSnapshot.h"

#include <cstdint>
#include <string>
#include <string_view>

// "%s - [%03d] = 0x%06X = RGB(%d, %d, %d)" for a colour reference laid out as 0x00BBGGRR.
std::string PixelTitle(std::string_view appName, int index, std::uint32_t colour);

// The position of the first of the count entries whose red, green and blue equal the colour's (the
// flags byte is ignored); count when none does. A negative count reads as none read.
int FindPaletteColour(const PaletteEntry* entries, int count, std::uint32_t colour);
