// The binary palette formats: Vexa's bitmap, the Adobe colour table and the RIFF palette. Faults name
// the byte offset where the file stops being what it should be.
#include "palette/BitmapFormat.h"
#include "palette/LittleEndian.h"
#include "palette/PaletteFormats.h"

#include <algorithm>
#include <cstring>

namespace
{
constexpr std::size_t kActColoursSize = 256 * 3; // 768
constexpr std::size_t kActFullSize = kActColoursSize + 4;
constexpr std::size_t kRiffHeaderSize = 12; // "RIFF", the size, "PAL "
constexpr std::size_t kChunkHeaderSize = 8;

void PutText(std::vector<std::uint8_t>& out, const char* text)
{
    out.insert(out.end(), text, text + std::strlen(text));
}

// A fault at the offset where something was expected, or at the end of a file that stops before it.
PaletteReadResult Fault(PaletteFormat format, std::size_t size, std::size_t offset, std::string expected)
{
    return {format, {}, PaletteFault{false, std::min(offset, size), std::move(expected)}};
}
} // namespace

PaletteReadResult ReadBmpPalette(const std::uint8_t* data, std::size_t size)
{
    // The colour table of any bitmap that has one: 1, 4 or 8 bits per pixel, after a Windows info header
    // (40 to 124 bytes), the second OS/2 kind (16 to 64) or the first OS/2 kind (12, with 3-byte entries).
    // Vexa's own Open takes only the 8-bit Windows kind (ReadBitmapColourTable); of such a file this
    // reads the same table.
    constexpr PaletteFormat bmp = PaletteFormat::bmp;
    if (size < kBitmapFileHeaderSize)
        return Fault(bmp, size, size, "a 14-byte bitmap file header");
    if (Get16(data) != 0x4D42)
        return Fault(bmp, size, 0, "\"BM\"");
    if (size < kBitmapFileHeaderSize + 4)
        return Fault(bmp, size, size, "an info header size");
    const std::uint32_t infoSize = Get32(data + kBitmapFileHeaderSize);
    const bool os2Core = infoSize == 12;
    if (!os2Core && (infoSize < 16 || infoSize > kBitmapLargestInfoHeaderSize))
        return Fault(bmp, size, kBitmapFileHeaderSize, "an info header size of 12 or from 16 to 124");
    const std::size_t tableOffset = kBitmapFileHeaderSize + infoSize;
    if (size < tableOffset)
        return Fault(bmp, size, size, "a " + std::to_string(infoSize) + "-byte info header");
    const std::size_t bitCountOffset = os2Core ? 24 : 28;
    const unsigned bitCount = Get16(data + bitCountOffset);
    if (bitCount != 1 && bitCount != 4 && bitCount != 8)
        return Fault(bmp, size, bitCountOffset, "1, 4 or 8 bits per pixel");

    // A count of colours used (in headers of 36 bytes or more) shortens the table; 0, or more than the
    // bit count allows, means the whole table.
    const std::size_t most = std::size_t{1} << bitCount;
    std::size_t count = most;
    if (infoSize >= 36 && Get32(data + 46) >= 1 && Get32(data + 46) <= most)
        count = Get32(data + 46);
    const std::size_t entrySize = os2Core ? 3 : 4;
    if (size - tableOffset < entrySize * count)
        return Fault(bmp, size, size, "the whole colour table that the info header declares");
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

PaletteReadResult ReadActPalette(const std::uint8_t* data, std::size_t size)
{
    if (size < kActColoursSize)
        return Fault(PaletteFormat::act, size, size, "256 colours of 3 bytes (768 bytes)");
    if (size > kActFullSize)
        return Fault(PaletteFormat::act, size, kActFullSize, "the end of the file");
    if (size != kActColoursSize && size != kActFullSize)
        return Fault(PaletteFormat::act, size, size, "a 2-byte colour count and a 2-byte transparent index");

    // The count is big-endian; the transparent index after it has no place in a palette and is dropped.
    std::size_t count = 256;
    if (size == kActFullSize)
    {
        count = std::size_t{data[kActColoursSize]} << 8 | data[kActColoursSize + 1];
        if (count < 1 || count > 256)
            return Fault(PaletteFormat::act, size, kActColoursSize, "a colour count from 1 to 256");
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

PaletteReadResult ReadRiffPalette(const std::uint8_t* data, std::size_t size)
{
    if (size < 4 || std::memcmp(data, "RIFF", 4) != 0)
        return Fault(PaletteFormat::riff, size, 0, "\"RIFF\"");
    if (size < kRiffHeaderSize || std::memcmp(data + 8, "PAL ", 4) != 0)
        return Fault(PaletteFormat::riff, size, 8, "the form type \"PAL \"");

    // The chunks are walked to the end of the file, whatever the RIFF size says; odd chunks are padded.
    std::size_t offset = kRiffHeaderSize;
    while (size - offset >= kChunkHeaderSize)
    {
        const std::size_t body = offset + kChunkHeaderSize;
        const std::uint64_t chunkSize = Get32(data + offset + 4);
        if (chunkSize > size - body)
            return Fault(PaletteFormat::riff, size, offset + 4,
                         "a chunk size that fits in the file's " + std::to_string(size) + " bytes");
        if (std::memcmp(data + offset, "data", 4) != 0)
        {
            offset = body + static_cast<std::size_t>(chunkSize + (chunkSize & 1));
            offset = std::min(offset, size);
            continue;
        }
        if (chunkSize < 4)
            return Fault(PaletteFormat::riff, size, offset + 4, "a data chunk of at least 4 bytes");
        if (Get16(data + body) != 0x300)
            return Fault(PaletteFormat::riff, size, body, "palette version 0x0300");
        const std::size_t count = Get16(data + body + 2);
        if (count == 0)
            return Fault(PaletteFormat::riff, size, body + 2, "a colour count from 1 to 65535");
        if (4 + 4 * std::uint64_t{count} > chunkSize)
            return Fault(PaletteFormat::riff, size, body + 2,
                         std::to_string(count) + " entries of 4 bytes in the data chunk of " +
                             std::to_string(chunkSize) + " bytes");
        PaletteReadResult result{PaletteFormat::riff, {}, std::nullopt};
        for (const std::uint8_t* entry = data + body + 4; result.palette.colours.size() < count; entry += 4)
            result.palette.colours.push_back({entry[0], entry[1], entry[2], {}});
        return result;
    }
    return Fault(PaletteFormat::riff, size, size, "a \"data\" chunk");
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
