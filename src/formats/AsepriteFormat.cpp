// An Aseprite sprite's palette: a 128-byte header, then frames of chunks, all little-endian. The first
// frame holds the palette: the chunk 0x2019 (colours with alpha and names), or in sprites of older
// versions the chunks 0x0004 (8-bit values) and 0x0011 (6-bit), packets of colours after skipped entries.
#include "formats/BinaryFields.h"
#include "formats/SwatchSignatures.h"
#include "palette/LittleEndian.h"

namespace
{
constexpr std::size_t kHeaderSize = 128;
constexpr std::size_t kFrameHeaderSize = 16;
constexpr std::size_t kChunkHeaderSize = 6;
constexpr std::uint16_t kFileMagic = 0xA5E0;
constexpr std::uint16_t kFrameMagic = 0xF1FA;
constexpr std::uint16_t kPaletteChunk = 0x2019;
constexpr std::uint16_t kOldPaletteChunk = 0x0004;
constexpr std::uint16_t kOld6BitPaletteChunk = 0x0011;
constexpr std::uint16_t kEntryHasName = 1;

PaletteReadResult Fault(std::size_t size, std::size_t offset, std::string expected)
{
    return ByteFault(PaletteFormat::aseprite, size, offset, std::move(expected));
}

// The chunk 0x2019 at chunk (its data) of length bytes, onto the palette: it sets the palette's size
// and the entries from the first to the last index.
std::optional<PaletteReadResult> ApplyPalette(const std::uint8_t* data, std::size_t size, std::size_t chunk,
                                              std::size_t length, std::vector<PaletteColour>& colours)
{
    if (length < 20)
        return Fault(size, chunk, "a palette size, a first and a last index and 8 reserved bytes");
    const std::uint32_t entries = Get32(data + chunk);
    const std::uint32_t first = Get32(data + chunk + 4);
    const std::uint32_t last = Get32(data + chunk + 8);
    if (entries < 1 || entries > kMaxExchangeColours)
        return Fault(size, chunk, "a palette size from 1 to 65535");
    if (first > last || last >= entries)
        return Fault(size, chunk + 4, "first and last indexes within the palette size");
    colours.resize(entries, PaletteColour{0, 0, 0, {}, std::uint8_t{255}});
    std::size_t at = chunk + 20;
    const std::size_t end = chunk + length;
    for (std::size_t index = first; index <= last; ++index)
    {
        if (end - at < 6)
            return Fault(size, at, "entry " + std::to_string(index) + ": flags, red, green, blue and alpha");
        const std::uint16_t flags = Get16(data + at);
        PaletteColour& colour = colours[index];
        colour = {data[at + 2], data[at + 3], data[at + 4], {}, data[at + 5]};
        at += 6;
        if (flags & kEntryHasName)
        {
            if (end - at < 2 || Get16(data + at) > end - at - 2)
                return Fault(size, at, "a name: its length and as many bytes within the chunk");
            const std::size_t nameLength = Get16(data + at);
            std::string name(reinterpret_cast<const char*>(data + at + 2), nameLength);
            for (char& c : name)
                if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
                    c = ' '; // a line break in a name would break a text format's lines
            colour.name = std::move(name);
            at += 2 + nameLength;
        }
    }
    return std::nullopt;
}

// An old chunk: packets of a skip count and a colour count (0 for 256), then that many triples.
std::optional<PaletteReadResult> ApplyOldPalette(const std::uint8_t* data, std::size_t size, std::size_t chunk,
                                                 std::size_t length, bool sixBit, std::vector<PaletteColour>& colours)
{
    if (length < 2)
        return Fault(size, chunk, "a packet count");
    const std::size_t packets = Get16(data + chunk);
    const std::size_t end = chunk + length;
    std::size_t at = chunk + 2;
    std::size_t index = 0;
    const auto scale = [sixBit](std::uint8_t value) {
        return sixBit ? static_cast<std::uint8_t>((std::min<unsigned>(value, 63) * 255 + 31) / 63) : value;
    };
    for (std::size_t packet = 0; packet < packets; ++packet)
    {
        if (end - at < 2)
            return Fault(size, at, "a packet: entries to skip and a colour count");
        index += data[at];
        const std::size_t count = data[at + 1] == 0 ? 256 : data[at + 1];
        at += 2;
        if (index + count > 256)
            return Fault(size, at - 2, "packets within 256 colours");
        if ((end - at) / 3 < count)
            return Fault(size, at, std::to_string(count) + " colours of 3 bytes within the chunk");
        if (colours.size() < index + count)
            colours.resize(index + count, PaletteColour{0, 0, 0, {}});
        for (std::size_t i = 0; i < count; ++i, ++index, at += 3)
            colours[index] = {scale(data[at]), scale(data[at + 1]), scale(data[at + 2]), {}};
    }
    return std::nullopt;
}
} // namespace

bool LooksLikeAseprite(const std::uint8_t* data, std::size_t size)
{
    return size >= kHeaderSize + kFrameHeaderSize && Get16(data + 4) == kFileMagic && Get16(data + 6) >= 1 &&
           Get16(data + kHeaderSize + 4) == kFrameMagic;
}

PaletteReadResult ReadAsepritePalette(const std::uint8_t* data, std::size_t size)
{
    if (size < kHeaderSize || Get16(data + 4) != kFileMagic)
        return Fault(size, size < kHeaderSize ? size : 4, "a 128-byte header with the magic number 0xA5E0 at byte 4");
    if (Get16(data + 6) < 1)
        return Fault(size, 6, "at least one frame");
    const std::size_t frame = kHeaderSize;
    if (size - frame < kFrameHeaderSize || Get16(data + frame + 4) != kFrameMagic)
        return Fault(size, frame, "a frame header with the magic number 0xF1FA");
    const std::uint32_t frameSize = Get32(data + frame);
    if (frameSize < kFrameHeaderSize || frameSize > size - frame)
        return Fault(size, frame, "a frame size within the file");
    // The old chunk count, or the new one where the old says 0xFFFF or the new one is set.
    std::size_t chunks = Get16(data + frame + 6);
    if (Get32(data + frame + 12) != 0 || chunks == 0xFFFF)
        chunks = Get32(data + frame + 12);

    std::vector<PaletteColour> colours, oldColours;
    bool newPalette = false;
    const std::size_t frameEnd = frame + frameSize;
    std::size_t at = frame + kFrameHeaderSize;
    for (std::size_t chunk = 0; chunk < chunks; ++chunk)
    {
        if (frameEnd - at < kChunkHeaderSize)
            return Fault(size, at,
                         "chunk " + std::to_string(chunk + 1) + " of " + std::to_string(chunks) +
                             ": a size and a type within the frame");
        const std::uint32_t chunkSize = Get32(data + at);
        const std::uint16_t type = Get16(data + at + 4);
        if (chunkSize < kChunkHeaderSize || chunkSize > frameEnd - at)
            return Fault(size, at, "a chunk size within the frame");
        std::optional<PaletteReadResult> fault;
        const std::size_t body = at + kChunkHeaderSize, length = chunkSize - kChunkHeaderSize;
        if (type == kPaletteChunk)
        {
            newPalette = true;
            fault = ApplyPalette(data, size, body, length, colours);
        }
        else if (type == kOldPaletteChunk || type == kOld6BitPaletteChunk)
            fault = ApplyOldPalette(data, size, body, length, type == kOld6BitPaletteChunk, oldColours);
        if (fault)
            return *fault;
        at += chunkSize;
    }
    PaletteReadResult result{PaletteFormat::aseprite, {}, std::nullopt};
    result.palette.colours = newPalette ? std::move(colours) : std::move(oldColours);
    if (result.palette.colours.empty())
        return Fault(size, frame, "a palette chunk (0x2019, 0x0004 or 0x0011) in the first frame");
    return result;
}
