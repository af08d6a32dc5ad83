// GIF87a and GIF89a pictures: the global colour table, else the local table of the first image.
#include "formats/BinaryFields.h"
#include "formats/ImageSignatures.h"
#include "palette/LittleEndian.h"

namespace
{
constexpr PaletteFormat kGif = PaletteFormat::gif;
constexpr std::size_t kHeaderSize = 13;          // "GIF89a" and the logical screen descriptor
constexpr std::size_t kImageDescriptorSize = 10; // 0x2C, position, size and flags
constexpr std::uint8_t kTableFlag = 0x80;        // in the flags of the screen and of an image

// The table of 2^(n+1) entries that flags with the table flag set give, at the offset.
PaletteReadResult ReadTable(const std::uint8_t* data, std::size_t size, std::size_t offset, std::uint8_t flags)
{
    const std::size_t count = std::size_t{2} << (flags & 7);
    if (size - offset < 3 * count)
        return ByteFault(kGif, size, size, "a colour table of " + std::to_string(count) + " colours");
    PaletteReadResult result{kGif, {}, std::nullopt};
    for (const std::uint8_t* entry = data + offset; result.palette.colours.size() < count; entry += 3)
        result.palette.colours.push_back({entry[0], entry[1], entry[2], {}});
    return result;
}
} // namespace

bool LooksLikeGif(const std::uint8_t* data, std::size_t size)
{
    return size >= 6 && (std::memcmp(data, "GIF87a", 6) == 0 || std::memcmp(data, "GIF89a", 6) == 0);
}

PaletteReadResult ReadGifPalette(const std::uint8_t* data, std::size_t size)
{
    if (!LooksLikeGif(data, size))
        return ByteFault(kGif, size, 0, "\"GIF87a\" or \"GIF89a\"");
    if (size < kHeaderSize)
        return ByteFault(kGif, size, size, "a 7-byte logical screen descriptor");
    if (data[10] & kTableFlag)
        return ReadTable(data, size, kHeaderSize, data[10]);

    // No global table: the blocks up to the first image are extensions (a label, then sub-blocks that
    // each start with their size and end with an empty one), which are skipped.
    std::size_t offset = kHeaderSize;
    while (offset < size)
    {
        if (data[offset] == 0x2C)
        {
            if (size - offset < kImageDescriptorSize)
                return ByteFault(kGif, size, size, "a 10-byte image descriptor");
            const std::uint8_t flags = data[offset + 9];
            if (!(flags & kTableFlag))
                return ByteFault(kGif, size, offset + 9, "a local colour table, as the file has no global one");
            return ReadTable(data, size, offset + kImageDescriptorSize, flags);
        }
        if (data[offset] != 0x21)
            return ByteFault(kGif, size, offset,
                             data[offset] == 0x3B ? "an image before the trailer"
                                                  : "an extension (0x21) or an image (0x2C)");
        offset += 2; // the introducer and the label
        while (offset < size && data[offset] != 0)
            offset += 1 + std::size_t{data[offset]};
        if (offset >= size)
            return ByteFault(kGif, size, size, "the end of the extension's sub-blocks");
        ++offset;
    }
    return ByteFault(kGif, size, size, "an image");
}
