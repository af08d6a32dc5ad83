#include "palette/BitmapFormat.h"

#include "palette/LittleEndian.h"

namespace
{
constexpr std::uint16_t kBitmapMagic = 0x4D42; // "BM"
constexpr std::size_t kBitCountOffset = 28;
constexpr std::size_t kColoursUsedOffset = 46;
} // namespace

std::vector<std::uint8_t> BuildBitmapFile(const PaletteSnapshot& captured)
{
    std::vector<std::uint8_t> file;
    file.reserve(kBitmapFileSize);

    // File header.
    Put16(file, kBitmapMagic);
    Put32(file, static_cast<std::uint32_t>(kBitmapFileSize));
    Put16(file, 0);
    Put16(file, 0);
    Put32(file, static_cast<std::uint32_t>(kBitmapHeadSize));

    // Info header: positive height, so the rows are stored bottom-up; every unused field 0.
    Put32(file, static_cast<std::uint32_t>(kBitmapInfoHeaderSize));
    Put32(file, static_cast<std::uint32_t>(kBitmapWidth));
    Put32(file, static_cast<std::uint32_t>(kBitmapHeight));
    Put16(file, 1);                         // planes
    Put16(file, 8);                         // bits per pixel
    for (int field = 0; field < 6; ++field) // compression, image size, resolutions, colours used/important
        Put32(file, 0);

    // Colour table: RGBQUADs store blue first, the reverse of a palette entry.
    for (const PaletteEntry& entry : captured.palPalEntry)
    {
        file.push_back(entry.peBlue);
        file.push_back(entry.peGreen);
        file.push_back(entry.peRed);
        file.push_back(0);
    }

    // Every row shows each index once, as a column one pixel wide; 256 bytes need no row padding.
    for (int row = 0; row < kBitmapHeight; ++row)
    {
        for (int column = 0; column < kBitmapWidth; ++column)
            file.push_back(static_cast<std::uint8_t>(column));
    }
    return file;
}

BitmapTableResult ReadBitmapColourTable(const std::uint8_t* data, std::size_t size)
{
    BitmapTableResult result{};
    if (data == nullptr)
        size = 0;
    const auto refuse = [&result](BitmapVerdict verdict, std::size_t offset, const char* expected) {
        result.verdict = verdict;
        result.faultOffset = offset;
        result.expected = expected;
        return result;
    };

    if (size < kBitmapFileHeaderSize)
        return refuse(BitmapVerdict::genericFileError, size, "a 14-byte bitmap file header");
    if (Get16(data) != kBitmapMagic)
        return refuse(BitmapVerdict::genericFileError, 0, "\"BM\"");
    if (size < kBitmapColourTableOffset)
        return refuse(BitmapVerdict::notSupported, size, "a 40-byte info header");
    if (Get16(data + kBitCountOffset) != 8)
        return refuse(BitmapVerdict::notSupported, kBitCountOffset, "8 bits per pixel");

    // The table follows the info header, whichever kind it is. The oldest kind (12 bytes) stores
    // three-byte entries and its bit count elsewhere; none is larger than 124 bytes.
    const std::uint32_t infoSize = Get32(data + kBitmapFileHeaderSize);
    if (infoSize < kBitmapInfoHeaderSize || infoSize > kBitmapLargestInfoHeaderSize)
        return refuse(BitmapVerdict::notSupported, kBitmapFileHeaderSize, "an info header size from 40 to 124");
    // biClrUsed 0 means all 256; anything above 256 cannot be an 8-bit table's length.
    const std::uint32_t coloursUsed = Get32(data + kColoursUsedOffset);
    const std::size_t entryCount = coloursUsed >= 1 && coloursUsed <= 256 ? coloursUsed : 256;
    const std::size_t tableOffset = kBitmapFileHeaderSize + infoSize;
    if (size < tableOffset + 4 * entryCount)
        return refuse(BitmapVerdict::notSupported, size, "the whole colour table that the info header declares");

    const std::uint8_t* quad = data + tableOffset;
    for (std::size_t i = 0; i < entryCount; ++i, quad += 4)
        result.table[i] = {quad[2], quad[1], quad[0], 0};
    result.verdict = BitmapVerdict::ok;
    result.entryCount = static_cast<int>(entryCount);
    return result;
}
