// The title text of the pixel readout.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// "%s - [%03d] = 0x%06X = RGB(%d, %d, %d)" for a colour reference laid out as 0x00BBGGRR.
std::string PixelTitle(std::string_view appName, int index, std::uint32_t colour);
