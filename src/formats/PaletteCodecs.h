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

// Adobe Swatch Exchange, Photoshop swatches, Krita's palette (a ZIP), LibreOffice's colour table.
PaletteReadResult ReadAsePalette(const std::uint8_t* data, std::size_t size);
PaletteReadResult ReadAcoPalette(const std::uint8_t* data, std::size_t size);
PaletteReadResult ReadKplPalette(const std::uint8_t* data, std::size_t size);
PaletteReadResult ReadSocPalette(const std::uint8_t* data, std::size_t size);
std::vector<std::uint8_t> WriteAsePalette(const Palette& palette);
std::vector<std::uint8_t> WriteAcoPalette(const Palette& palette);
std::vector<std::uint8_t> WriteKplPalette(const Palette& palette);
std::vector<std::uint8_t> WriteSocPalette(const Palette& palette);

// An Aseprite sprite, PNG, GIF, PCX, IFF ILBM/PBM and a DOS game's raw 6-bit VGA table. Of these
// vexapal writes only PNG (one row of cells, scale pixels each) and VGA.
PaletteReadResult ReadAsepritePalette(const std::uint8_t* data, std::size_t size);
PaletteReadResult ReadPngPalette(const std::uint8_t* data, std::size_t size);
PaletteReadResult ReadGifPalette(const std::uint8_t* data, std::size_t size);
PaletteReadResult ReadPcxPalette(const std::uint8_t* data, std::size_t size);
PaletteReadResult ReadIlbmPalette(const std::uint8_t* data, std::size_t size);
PaletteReadResult ReadVgaPalette(const std::uint8_t* data, std::size_t size);
std::vector<std::uint8_t> WritePngPalette(const Palette& palette, int scale);
std::vector<std::uint8_t> WriteVgaPalette(const Palette& palette);
