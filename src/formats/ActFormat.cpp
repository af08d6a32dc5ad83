// Adobe colour tables: 256 triples, or 772 bytes with a colour count and a transparent index.
#include "formats/BinaryFields.h"

namespace
{
constexpr std::size_t kActColoursSize = 256 * 3; // 768
constexpr std::size_t kActFullSize = kActColoursSize + 4;
} // namespace

PaletteReadResult ReadActPalette(const std::uint8_t* data, std::size_t size)
{
    if (size < kActColoursSize)
        return ByteFault(PaletteFormat::act, size, size, "256 colours of 3 bytes (768 bytes)");
    if (size > kActFullSize)
        return ByteFault(PaletteFormat::act, size, kActFullSize, "the end of the file");
    if (size != kActColoursSize && size != kActFullSize)
        return ByteFault(PaletteFormat::act, size, size, "a 2-byte colour count and a 2-byte transparent index");

    // The count is big-endian; the transparent index after it has no place in a palette and is dropped.
    std::size_t count = 256;
    if (size == kActFullSize)
    {
        count = std::size_t{data[kActColoursSize]} << 8 | data[kActColoursSize + 1];
        if (count < 1 || count > 256)
            return ByteFault(PaletteFormat::act, size, kActColoursSize, "a colour count from 1 to 256");
    }
    PaletteReadResult result{PaletteFormat::act, {}, std::nullopt};
    for (std::size_t i = 0; i < count; ++i)
        result.palette.colours.push_back({data[3 * i], data[3 * i + 1], data[3 * i + 2], {}});
    return result;
}

std::vector<std::uint8_t> WriteActPalette(const Palette& palette)
{
    std::vector<std::uint8_t> file(kActColoursSize, 0);
    const std::size_t count = std::min<std::size_t>(palette.colours.size(), 256);
    for (std::size_t i = 0; i < count; ++i)
    {
        file[3 * i] = palette.colours[i].red;
        file[3 * i + 1] = palette.colours[i].green;
        file[3 * i + 2] = palette.colours[i].blue;
    }
    if (count < 256)
    {
        // The count and "no transparent colour", both big-endian.
        file.insert(file.end(), {static_cast<std::uint8_t>(count >> 8), static_cast<std::uint8_t>(count), 0xFF, 0xFF});
    }
    return file;
}
