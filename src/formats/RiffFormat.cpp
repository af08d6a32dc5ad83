// Microsoft RIFF palettes: "RIFF" / "PAL " with a data chunk holding a LOGPALETTE.
#include "formats/BinaryFields.h"
#include "palette/LittleEndian.h"

namespace
{
constexpr std::size_t kRiffHeaderSize = 12; // "RIFF", the size, "PAL "
constexpr std::size_t kChunkHeaderSize = 8;
} // namespace

PaletteReadResult ReadRiffPalette(const std::uint8_t* data, std::size_t size)
{
    if (size < 4 || std::memcmp(data, "RIFF", 4) != 0)
        return ByteFault(PaletteFormat::riff, size, 0, "\"RIFF\"");
    if (size < kRiffHeaderSize || std::memcmp(data + 8, "PAL ", 4) != 0)
        return ByteFault(PaletteFormat::riff, size, 8, "the form type \"PAL \"");

    // The chunks are walked to the end of the file, whatever the RIFF size says; odd chunks are padded.
    std::size_t offset = kRiffHeaderSize;
    while (size - offset >= kChunkHeaderSize)
    {
        const std::size_t body = offset + kChunkHeaderSize;
        const std::uint64_t chunkSize = Get32(data + offset + 4);
        if (chunkSize > size - body)
            return ByteFault(PaletteFormat::riff, size, offset + 4,
                             "a chunk size that fits in the file's " + std::to_string(size) + " bytes");
        if (std::memcmp(data + offset, "data", 4) != 0)
        {
            offset = body + static_cast<std::size_t>(chunkSize + (chunkSize & 1));
            offset = std::min(offset, size);
            continue;
        }
        if (chunkSize < 4)
            return ByteFault(PaletteFormat::riff, size, offset + 4, "a data chunk of at least 4 bytes");
        if (Get16(data + body) != 0x300)
            return ByteFault(PaletteFormat::riff, size, body, "palette version 0x0300");
        const std::size_t count = Get16(data + body + 2);
        if (count == 0)
            return ByteFault(PaletteFormat::riff, size, body + 2, "a colour count from 1 to 65535");
        if (4 + 4 * std::uint64_t{count} > chunkSize)
            return ByteFault(PaletteFormat::riff, size, body + 2,
                             std::to_string(count) + " entries of 4 bytes in the data chunk of " +
                                 std::to_string(chunkSize) + " bytes");
        PaletteReadResult result{PaletteFormat::riff, {}, std::nullopt};
        for (const std::uint8_t* entry = data + body + 4; result.palette.colours.size() < count; entry += 4)
            result.palette.colours.push_back({entry[0], entry[1], entry[2], {}});
        return result;
    }
    return ByteFault(PaletteFormat::riff, size, size, "a \"data\" chunk");
}

std::vector<std::uint8_t> WriteRiffPalette(const Palette& palette)
{
    const std::size_t count = std::min(palette.colours.size(), kMaxExchangeColours);
    const auto dataSize = static_cast<std::uint32_t>(4 + 4 * count);
    std::vector<std::uint8_t> file;
    file.reserve(kRiffHeaderSize + kChunkHeaderSize + dataSize);
    PutText(file, "RIFF");
    Put32(file, 4 + kChunkHeaderSize + dataSize);
    PutText(file, "PAL data");
    Put32(file, dataSize);
    // A LOGPALETTE: version, count, then red, green, blue and flags of each entry.
    Put16(file, 0x300);
    Put16(file, static_cast<std::uint16_t>(count));
    for (std::size_t i = 0; i < count; ++i)
        file.insert(file.end(), {palette.colours[i].red, palette.colours[i].green, palette.colours[i].blue, 0});
    return file;
}
