// A DOS game's raw VGA table: 256 red-green-blue triples of 6-bit values (0 to 63), as the VGA's DAC
// takes them. It has no signature and the size of an Adobe table, so it is read only when asked for.
#include "formats/BinaryFields.h"

namespace
{
constexpr std::size_t kVgaSize = 256 * 3;
} // namespace

PaletteReadResult ReadVgaPalette(const std::uint8_t* data, std::size_t size)
{
    if (size < kVgaSize)
        return ByteFault(PaletteFormat::vga, size, size, "256 colours of 3 bytes (768 bytes)");
    if (size > kVgaSize)
        return ByteFault(PaletteFormat::vga, size, kVgaSize, "the end of the file");
    PaletteReadResult result{PaletteFormat::vga, {}, std::nullopt};
    std::uint8_t channels[3] = {};
    for (std::size_t i = 0; i < kVgaSize; ++i)
    {
        if (data[i] > 63)
            return ByteFault(PaletteFormat::vga, size, i, "a value from 0 to 63");
        channels[i % 3] = static_cast<std::uint8_t>((data[i] * 255 + 31) / 63);
        if (i % 3 == 2)
            result.palette.colours.push_back({channels[0], channels[1], channels[2]});
    }
    return result;
}

std::vector<std::uint8_t> WriteVgaPalette(const Palette& palette)
{
    std::vector<std::uint8_t> file(kVgaSize, 0);
    const std::size_t count = std::min<std::size_t>(palette.colours.size(), 256);
    for (std::size_t i = 0; i < count; ++i)
    {
        const PaletteColour& colour = palette.colours[i];
        const std::uint8_t channels[3] = {colour.red, colour.green, colour.blue};
        for (int c = 0; c < 3; ++c)
            file[3 * i + c] = static_cast<std::uint8_t>((channels[c] * 63 + 127) / 255);
    }
    return file;
}
