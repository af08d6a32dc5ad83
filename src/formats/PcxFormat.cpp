// ZSoft PCX pictures: the 256-colour table at the end of an 8-bit file, else the 16 in the header.
#include "formats/BinaryFields.h"
#include "formats/ImageSignatures.h"
#include "palette/LittleEndian.h"

namespace
{
constexpr PaletteFormat kPcx = PaletteFormat::pcx;
constexpr std::size_t kHeaderSize = 128;
constexpr std::size_t kHeaderTableOffset = 16;
constexpr std::size_t kEndTableSize = 1 + 256 * 3; // 0x0C, then 256 colours
constexpr std::size_t kBitsOffset = 3;
constexpr std::size_t kPlanesOffset = 65;

bool KnownVersion(std::uint8_t version)
{
    return version == 0 || version == 2 || version == 3 || version == 4 || version == 5;
}
} // namespace

bool LooksLikePcx(const std::uint8_t* data, std::size_t size)
{
    if (size < kHeaderSize || data[0] != 0x0A || !KnownVersion(data[1]) || data[2] != 1)
        return false;
    const std::uint8_t bits = data[kBitsOffset], planes = data[kPlanesOffset];
    return (bits == 1 || bits == 2 || bits == 4 || bits == 8) && planes >= 1 && planes <= 4 &&
           Get16(data + 8) >= Get16(data + 4) && Get16(data + 10) >= Get16(data + 6);
}

PaletteReadResult ReadPcxPalette(const std::uint8_t* data, std::size_t size)
{
    if (size < 1 || data[0] != 0x0A)
        return ByteFault(kPcx, size, 0, "the manufacturer byte 0x0A");
    if (size < 2 || !KnownVersion(data[1]))
        return ByteFault(kPcx, size, 1, "version 0, 2, 3, 4 or 5");
    if (size < 3 || data[2] != 1)
        return ByteFault(kPcx, size, 2, "run-length encoding 1");
    if (size < kHeaderSize)
        return ByteFault(kPcx, size, size, "a 128-byte header");

    const unsigned bits = data[kBitsOffset], planes = data[kPlanesOffset];
    if (bits == 8 && planes == 1)
    {
        // The table is found from the end of the file, after the picture, whose length the header does
        // not give.
        if (size < kHeaderSize + kEndTableSize || data[size - kEndTableSize] != 0x0C)
            return ByteFault(kPcx, size, size < kEndTableSize ? size : size - kEndTableSize,
                             "0x0C and 256 colours in the last 769 bytes of an 8-bit picture");
        PaletteReadResult result{kPcx, {}, std::nullopt};
        for (const std::uint8_t* entry = data + size - kEndTableSize + 1; entry < data + size; entry += 3)
            result.palette.colours.push_back({entry[0], entry[1], entry[2], {}});
        return result;
    }
    if (bits != 1 && bits != 2 && bits != 4 && bits != 8)
        return ByteFault(kPcx, size, kBitsOffset, "1, 2, 4 or 8 bits per pixel");
    if (planes < 1 || bits * planes > 4)
        return ByteFault(kPcx, size, kPlanesOffset, "planes of at most 4 bits per pixel, or 1 plane of 8 bits");
    const std::size_t count = std::size_t{1} << (bits * planes);
    PaletteReadResult result{kPcx, {}, std::nullopt};
    for (const std::uint8_t* entry = data + kHeaderTableOffset; result.palette.colours.size() < count; entry += 3)
        result.palette.colours.push_back({entry[0], entry[1], entry[2], {}});
    return result;
}
