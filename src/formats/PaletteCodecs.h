// Each format's reader and writer, which ReadPaletteAs and WritePalette call. A reader takes the
// file's bytes (a text format's without a byte order mark); a writer makes the whole file.
#pragma once

#include "formats/PaletteFormats.h"

PaletteReadResult ReadBmpPalette(const std::uint8_t* data, std::size_t size);
PaletteReadResult ReadActPalette(const std::uint8_t* data, std::size_t size);
PaletteReadResult ReadRiffPalette(const std::uint8_t* data, std::size_t size);
PaletteReadResult ReadTxtPalette(const std::uint8_t* data, std::size_t size);
PaletteReadResult ReadGplPalette(const std::uint8_t* data, std::size_t size);
PaletteReadResult ReadJascPalette(const std::uint8_t* data, std::size_t size);
PaletteReadResult ReadHexPalette(const std::uint8_t* data, std::size_t size);
PaletteReadResult ReadPaintNetPalette(const std::uint8_t* data, std::size_t size);
std::vector<std::uint8_t> WriteBmpPalette(const Palette& palette);
std::vector<std::uint8_t> WriteActPalette(const Palette& palette);
std::vector<std::uint8_t> WriteRiffPalette(const Palette& palette);
std::vector<std::uint8_t> WriteTxtPalette(const Palette& palette, const std::string& timeText);
std::vector<std::uint8_t> WriteGplPalette(const Palette& palette);
std::vector<std::uint8_t> WriteJascPalette(const Palette& palette);
std::vector<std::uint8_t> WriteHexPalette(const Palette& palette);
std::vector<std::uint8_t> WritePaintNetPalette(const Palette& palette);
