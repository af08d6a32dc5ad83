// The readers and writers of the formats whose own files are still to come: each refuses, so that the
// table, detection and the commands can be built and tried before them.
#include "formats/BinaryFields.h"

namespace
{
PaletteReadResult NotYet(PaletteFormat format)
{
    return {format, {}, PaletteFault{false, 0, std::string("a format that this build of vexapal reads")}};
}
} // namespace

PaletteReadResult ReadAsePalette(const std::uint8_t*, std::size_t)
{
    return NotYet(PaletteFormat::ase);
}
PaletteReadResult ReadAcoPalette(const std::uint8_t*, std::size_t)
{
    return NotYet(PaletteFormat::aco);
}
PaletteReadResult ReadKplPalette(const std::uint8_t*, std::size_t)
{
    return NotYet(PaletteFormat::kpl);
}
PaletteReadResult ReadAsepritePalette(const std::uint8_t*, std::size_t)
{
    return NotYet(PaletteFormat::aseprite);
}
PaletteReadResult ReadPngPalette(const std::uint8_t*, std::size_t)
{
    return NotYet(PaletteFormat::png);
}
PaletteReadResult ReadGifPalette(const std::uint8_t*, std::size_t)
{
    return NotYet(PaletteFormat::gif);
}
PaletteReadResult ReadPcxPalette(const std::uint8_t*, std::size_t)
{
    return NotYet(PaletteFormat::pcx);
}
PaletteReadResult ReadIlbmPalette(const std::uint8_t*, std::size_t)
{
    return NotYet(PaletteFormat::ilbm);
}
std::vector<std::uint8_t> WriteAsePalette(const Palette&)
{
    return {};
}
std::vector<std::uint8_t> WriteAcoPalette(const Palette&)
{
    return {};
}
std::vector<std::uint8_t> WriteKplPalette(const Palette&)
{
    return {};
}
std::vector<std::uint8_t> WritePngPalette(const Palette&, int)
{
    return {};
}
