// IFF pictures, "FORM" of "ILBM" (planar) or "PBM " (chunky): the colours of the CMAP chunk.
#include "formats/BigEndian.h"
#include "formats/BinaryFields.h"
#include "formats/ImageSignatures.h"

namespace
{
constexpr PaletteFormat kIlbm = PaletteFormat::ilbm;
constexpr std::size_t kFormHeaderSize = 12; // "FORM", the size, the form type
constexpr std::size_t kChunkHeaderSize = 8;
constexpr std::size_t kMostColours = 256; // 8 bit planes
} // namespace

bool LooksLikeIlbm(const std::uint8_t* data, std::size_t size)
{
    return size >= kFormHeaderSize && std::memcmp(data, "FORM", 4) == 0 &&
           (std::memcmp(data + 8, "ILBM", 4) == 0 || std::memcmp(data + 8, "PBM ", 4) == 0);
}

PaletteReadResult ReadIlbmPalette(const std::uint8_t* data, std::size_t size)
{
    if (size < 4 || std::memcmp(data, "FORM", 4) != 0)
        return ByteFault(kIlbm, size, 0, "\"FORM\"");
    if (!LooksLikeIlbm(data, size))
        return ByteFault(kIlbm, size, 8, "the form type \"ILBM\" or \"PBM \"");

    // The chunks are walked to the end of the file, whatever the form's size says; odd chunks are padded.
    std::size_t offset = kFormHeaderSize;
    while (size - offset >= kChunkHeaderSize)
    {
        const std::size_t body = offset + kChunkHeaderSize;
        const std::uint32_t chunkSize = Be32(data + offset + 4);
        if (chunkSize > size - body)
            return ByteFault(kIlbm, size, offset + 4,
                             "a chunk size that fits in the file's " + std::to_string(size) + " bytes");
        if (std::memcmp(data + offset, "CMAP", 4) != 0)
        {
            offset = std::min<std::size_t>(body + std::size_t{chunkSize} + (chunkSize & 1), size);
            continue;
        }
        // A few writers pad the map to an even size; a last, partial colour is that padding.
        const std::size_t count = chunkSize / 3;
        if (count < 1 || count > kMostColours)
            return ByteFault(kIlbm, size, offset + 4, "a CMAP of 1 to 256 colours of 3 bytes");
        PaletteReadResult result{kIlbm, {}, std::nullopt};
        for (const std::uint8_t* entry = data + body; result.palette.colours.size() < count; entry += 3)
            result.palette.colours.push_back({entry[0], entry[1], entry[2], {}});
        return result;
    }
    return ByteFault(kIlbm, size, size, "a \"CMAP\" chunk");
}
