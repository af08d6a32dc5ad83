// Windows and OS/2 bitmaps: the colour table of any bitmap of 1, 4 or 8 bits; written as Vexa's strip.
#include "formats/BinaryFields.h"
#include "palette/BitmapFormat.h"
#include "palette/LittleEndian.h"

PaletteReadResult ReadBmpPalette(const std::uint8_t* data, std::size_t size)
{
    // The colour table of any bitmap that has one: 1, 4 or 8 bits per pixel, after a Windows info header
    // (40 to 124 bytes), the second OS/2 kind (16 to 64) or the first OS/2 kind (12, with 3-byte entries).
    // Vexa's own Open takes only the 8-bit Windows kind (ReadBitmapColourTable); of such a file this
    // reads the same table.
    constexpr PaletteFormat bmp = PaletteFormat::bmp;
    if (size < kBitmapFileHeaderSize)
        return ByteFault(bmp, size, size, "a 14-byte bitmap file header");
    if (Get16(data) != 0x4D42)
        return ByteFault(bmp, size, 0, "\"BM\"");
    if (size < kBitmapFileHeaderSize + 4)
        return ByteFault(bmp, size, size, "an info header size");
    const std::uint32_t infoSize = Get32(data + kBitmapFileHeaderSize);
    const bool os2Core = infoSize == 12;
    if (!os2Core && (infoSize < 16 || infoSize > kBitmapLargestInfoHeaderSize))
        return ByteFault(bmp, size, kBitmapFileHeaderSize, "an info header size of 12 or from 16 to 124");
    const std::size_t tableOffset = kBitmapFileHeaderSize + infoSize;
    if (size < tableOffset)
        return ByteFault(bmp, size, size, "a " + std::to_string(infoSize) + "-byte info header");
    const std::size_t bitCountOffset = os2Core ? 24 : 28;
    const unsigned bitCount = Get16(data + bitCountOffset);
    if (bitCount != 1 && bitCount != 4 && bitCount != 8)
        return ByteFault(bmp, size, bitCountOffset, "1, 4 or 8 bits per pixel");

    // A count of colours used (in headers of 36 bytes or more) shortens the table; 0, or more than the
    // bit count allows, means the whole table.
    const std::size_t most = std::size_t{1} << bitCount;
    std::size_t count = most;
    if (infoSize >= 36 && Get32(data + 46) >= 1 && Get32(data + 46) <= most)
        count = Get32(data + 46);
    const std::size_t entrySize = os2Core ? 3 : 4;
    if (size - tableOffset < entrySize * count)
        return ByteFault(bmp, size, size, "the whole colour table that the info header declares");
    PaletteReadResult result{bmp, {}, std::nullopt};
    for (const std::uint8_t* entry = data + tableOffset; result.palette.colours.size() < count; entry += entrySize)
        result.palette.colours.push_back({entry[2], entry[1], entry[0], {}});
    return result;
}

std::vector<std::uint8_t> WriteBmpPalette(const Palette& palette)
{
    PaletteSnapshot snapshot = EmptySnapshot(kMaxPaletteEntries);
    for (std::size_t i = 0; i < palette.colours.size() && i < kMaxPaletteEntries; ++i)
    {
        const PaletteColour& colour = palette.colours[i];
        snapshot.palPalEntry[i] = {colour.red, colour.green, colour.blue, 0};
    }
    return BuildBitmapFile(snapshot);
}
