// PNG pictures: an indexed picture's PLTE, or the colours of a truecolour or grey picture cell by cell;
// written as one row of cells of an 8-bit indexed picture.
#include "formats/BigEndian.h"
#include "formats/BinaryFields.h"
#include "formats/ImageSignatures.h"

#include <zlib.h>

#include <numeric>
#include <span>

namespace
{
constexpr PaletteFormat kPng = PaletteFormat::png;
constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::size_t kChunkFrameSize = 12;  // length, type and CRC around the data
constexpr std::size_t kHeaderOffset = 8 + 8; // IHDR's data
constexpr std::uint32_t kLongestChunk = 0x7FFFFFFF;
// The most bytes that a picture's filtered rows may take, so that no file makes the reader hold more
// than this however far its compressed data would inflate.
constexpr std::uint64_t kMostImageBytes = 64 << 20;
// The most colours a PNG holds, in its PLTE or as the cells of a truecolour or grey picture; a picture
// of more cells is no palette (a photograph or a sprite read pixel by pixel).
constexpr std::uint64_t kMostCells = 256;

enum ColourType : std::uint8_t
{
    kGrey = 0,
    kTruecolour = 2,
    kIndexed = 3,
    kGreyAlpha = 4,
    kTruecolourAlpha = 6,
};

struct Header
{
    std::uint32_t width;
    std::uint32_t height;
    unsigned depth; // bits per sample
    ColourType type;
    unsigned channels;
};

// Whether the bit depth is one that PNG allows for the colour type.
bool ValidDepth(unsigned type, unsigned depth)
{
    switch (type)
    {
    case kGrey: return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    case kIndexed: return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    case kTruecolour:
    case kGreyAlpha:
    case kTruecolourAlpha: return depth == 8 || depth == 16;
    default: return false;
    }
}

unsigned Channels(ColourType type)
{
    switch (type)
    {
    case kTruecolour: return 3;
    case kGreyAlpha: return 2;
    case kTruecolourAlpha: return 4;
    default: return 1;
    }
}

// Where an interlaced picture's seven passes start and how far apart their pixels are, across and down;
// a picture that is not interlaced is one pass of every pixel.
struct Pass
{
    std::uint32_t x, y, across, down;
};
constexpr Pass kAdam7[] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                           {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
constexpr Pass kEveryPixel[] = {{0, 0, 1, 1}};

std::uint64_t RowBytes(const Header& header)
{
    return (std::uint64_t{header.width} * header.channels * header.depth + 7) / 8;
}

// The header of the small picture that a pass holds, which may be empty.
Header PassHeader(const Header& header, const Pass& pass)
{
    Header small = header;
    small.width = header.width > pass.x ? (header.width - pass.x + pass.across - 1) / pass.across : 0;
    small.height = header.height > pass.y ? (header.height - pass.y + pass.down - 1) / pass.down : 0;
    if (small.width == 0 || small.height == 0)
        small.width = small.height = 0;
    return small;
}

// The bytes of a pass's rows, each after its filter type; an empty pass has none.
std::uint64_t PassBytes(const Header& small)
{
    return small.width == 0 ? 0 : small.height * (1 + RowBytes(small));
}

// The picture's rows after inflating and unfiltering, and its pixels as colours.
class Picture
{
  public:
    Picture(const Header& header, std::vector<std::uint8_t> rows)
        : m_header(header), m_rowBytes(RowBytes(header)), m_rows(std::move(rows))
    {
    }

    // The picture of every pass put together, whose rows then have filter type 0; none when a pass's
    // filter types are wrong.
    static std::optional<Picture> Deinterlace(const Header& header, const std::vector<std::uint8_t>& passes)
    {
        Picture whole(header, std::vector<std::uint8_t>(PassBytes(header), 0));
        const std::size_t bits = header.channels * header.depth;
        std::size_t offset = 0;
        for (const Pass& pass : kAdam7)
        {
            const Header small = PassHeader(header, pass);
            const std::size_t bytes = PassBytes(small);
            Picture part(small, {passes.begin() + offset, passes.begin() + offset + bytes});
            offset += bytes;
            if (!part.Unfilter())
                return std::nullopt;
            for (std::size_t y = 0; y < small.height; ++y)
                for (std::size_t x = 0; x < small.width; ++x)
                {
                    const std::uint8_t* from = part.Row(y) + x * bits / 8;
                    std::uint8_t* to = whole.Row(pass.y + y * pass.down) + (pass.x + x * pass.across) * bits / 8;
                    if (bits >= 8)
                        std::memcpy(to, from, bits / 8);
                    else // the pixel's bits, from the most significant down, at the same place in its byte
                    {
                        const unsigned fromShift = 8 - bits - x * bits % 8;
                        const unsigned toShift = 8 - bits - (pass.x + x * pass.across) * bits % 8;
                        *to |= ((*from >> fromShift) & ((1u << bits) - 1)) << toShift;
                    }
                }
        }
        return whole;
    }

    // Undoes each row's filter in place; false when a row's filter type is none of the five.
    bool Unfilter()
    {
        const std::size_t stride = 1 + m_rowBytes;
        const std::size_t left = std::max<std::size_t>(1, m_header.channels * m_header.depth / 8);
        for (std::size_t y = 0; y < m_header.height; ++y)
        {
            std::uint8_t* row = m_rows.data() + y * stride + 1;
            const std::uint8_t* above = y > 0 ? row - stride : nullptr;
            const std::uint8_t filter = row[-1];
            if (filter > 4)
                return false;
            for (std::size_t i = 0; i < m_rowBytes; ++i)
            {
                const int a = i >= left ? row[i - left] : 0;
                const int b = above ? above[i] : 0;
                const int c = above && i >= left ? above[i - left] : 0;
                int predicted = 0;
                switch (filter)
                {
                case 1: predicted = a; break;
                case 2: predicted = b; break;
                case 3: predicted = (a + b) / 2; break;
                case 4: {
                    const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
                    predicted = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
                    break;
                }
                }
                row[i] = static_cast<std::uint8_t>(row[i] + predicted);
            }
        }
        return true;
    }

    std::uint8_t* Row(std::size_t y) { return m_rows.data() + y * (1 + m_rowBytes) + 1; }
    const std::uint8_t* Row(std::size_t y) const { return m_rows.data() + y * (1 + m_rowBytes) + 1; }

    // The pixel's samples at 16 bits each, packed: equal pixels have equal keys.
    std::uint64_t Key(std::size_t x, std::size_t y) const
    {
        const std::uint8_t* row = Row(y);
        if (m_header.depth < 8)
        {
            const std::size_t bit = x * m_header.depth;
            return (row[bit / 8] >> (8 - m_header.depth - bit % 8)) & ((1u << m_header.depth) - 1);
        }
        const std::size_t sampleBytes = m_header.depth / 8;
        const std::uint8_t* pixel = row + x * m_header.channels * sampleBytes;
        std::uint64_t key = 0;
        for (std::size_t i = 0; i < m_header.channels * sampleBytes; ++i)
            key = key << (sampleBytes == 1 ? 16 : 8) | pixel[i];
        return key;
    }

    // The colour of a key, each sample scaled to 8 bits; the alpha of a picture that has one.
    PaletteColour Colour(std::uint64_t key) const
    {
        const unsigned depth = m_header.depth, channels = m_header.channels;
        std::uint8_t samples[4] = {};
        for (unsigned i = 0; i < channels; ++i)
        {
            const std::uint64_t sample = key >> (16 * (channels - 1 - i)) & 0xFFFF;
            const std::uint64_t most = depth == 16 ? 0xFFFF : (1u << depth) - 1;
            samples[i] = static_cast<std::uint8_t>((sample * 255 + most / 2) / most);
        }
        if (channels <= 2)
            return {samples[0], samples[0], samples[0], {}, channels == 2 ? std::optional{samples[1]} : std::nullopt};
        return {samples[0], samples[1], samples[2], {}, channels == 4 ? std::optional{samples[3]} : std::nullopt};
    }

    // The side of the largest square cells, on a grid from the top left corner, that each hold one
    // colour: the greatest common divisor of the width, the height and every place where the colour
    // changes from one pixel to the next across or down.
    std::uint32_t CellSize() const
    {
        std::uint32_t cell = std::gcd(m_header.width, m_header.height);
        for (std::size_t y = 0; y < m_header.height && cell > 1; ++y)
            for (std::size_t x = 0; x < m_header.width && cell > 1; ++x)
            {
                const std::uint64_t key = Key(x, y);
                if (x > 0 && Key(x - 1, y) != key)
                    cell = std::gcd(cell, static_cast<std::uint32_t>(x));
                if (y > 0 && Key(x, y - 1) != key)
                    cell = std::gcd(cell, static_cast<std::uint32_t>(y));
            }
        return cell;
    }

  private:
    Header m_header;
    std::size_t m_rowBytes;
    std::vector<std::uint8_t> m_rows; // each row: its filter type, then its bytes
};

// Inflates the zlib stream into exactly the expected number of bytes, growing the buffer only as the
// stream yields them; nullopt when the stream is broken or yields more or fewer.
std::optional<std::vector<std::uint8_t>> Inflate(const std::vector<std::uint8_t>& stream, std::size_t expected)
{
    z_stream z{};
    if (stream.size() > 0xFFFFFFFF || inflateInit(&z) != Z_OK)
        return std::nullopt;
    std::vector<std::uint8_t> out;
    z.next_in = const_cast<Bytef*>(stream.data());
    z.avail_in = static_cast<uInt>(stream.size());
    int status = Z_OK;
    while (status == Z_OK)
    {
        const std::size_t done = out.size();
        if (done == expected)
        {
            // Room for one more byte, which only a stream longer than the picture fills.
            std::uint8_t extra = 0;
            z.next_out = &extra;
            z.avail_out = 1;
            status = inflate(&z, Z_NO_FLUSH);
            if (z.avail_out == 0)
                status = Z_DATA_ERROR;
            continue;
        }
        out.resize(std::min<std::size_t>(expected, done + (256 << 10)));
        z.next_out = out.data() + done;
        z.avail_out = static_cast<uInt>(out.size() - done);
        status = inflate(&z, Z_NO_FLUSH);
        out.resize(out.size() - z.avail_out);
    }
    inflateEnd(&z);
    if (status != Z_STREAM_END || out.size() != expected)
        return std::nullopt;
    return out;
}

void PutChunk(std::vector<std::uint8_t>& file, const char* type, const std::vector<std::uint8_t>& data)
{
    PutBe32(file, static_cast<std::uint32_t>(data.size()));
    const std::size_t typeOffset = file.size();
    PutText(file, type);
    file.insert(file.end(), data.begin(), data.end());
    PutBe32(file, static_cast<std::uint32_t>(
                      crc32(0, file.data() + typeOffset, static_cast<uInt>(file.size() - typeOffset))));
}
} // namespace

bool LooksLikePng(const std::uint8_t* data, std::size_t size)
{
    return size >= sizeof kSignature && std::memcmp(data, kSignature, sizeof kSignature) == 0;
}

PaletteReadResult ReadPngPalette(const std::uint8_t* data, std::size_t size)
{
    if (!LooksLikePng(data, size))
        return ByteFault(kPng, size, 0, "the PNG signature");
    if (size < kHeaderOffset + 13 + 4 || Be32(data + 8) != 13 || std::memcmp(data + 12, "IHDR", 4) != 0)
        return ByteFault(kPng, size, 8, "an IHDR chunk of 13 bytes");
    const std::uint8_t* ihdr = data + kHeaderOffset;
    Header header{Be32(ihdr), Be32(ihdr + 4), ihdr[8], static_cast<ColourType>(ihdr[9]), 0};
    header.channels = Channels(header.type);
    if (header.width == 0 || header.width > kLongestChunk || header.height == 0 || header.height > kLongestChunk)
        return ByteFault(kPng, size, kHeaderOffset, "a width and a height from 1 to 2147483647");
    if (!ValidDepth(header.type, header.depth))
        return ByteFault(kPng, size, kHeaderOffset + 8, "a colour type and a bit depth that PNG allows together");
    if (ihdr[10] != 0 || ihdr[11] != 0)
        return ByteFault(kPng, size, kHeaderOffset + 10, "compression method 0 and filter method 0");
    if (ihdr[12] > 1)
        return ByteFault(kPng, size, kHeaderOffset + 12, "interlace method 0 (none) or 1 (Adam7)");
    const bool interlaced = ihdr[12] == 1;

    // The chunks, each with its CRC checked: the palette and its alpha, and the image data.
    const std::uint8_t* palette = nullptr;
    const std::uint8_t* alpha = nullptr;
    std::size_t paletteSize = 0, alphaSize = 0, firstData = 0;
    std::vector<std::uint8_t> stream;
    for (std::size_t offset = 8;;)
    {
        if (size - offset < kChunkFrameSize)
            return ByteFault(kPng, size, offset, "a chunk (length, type, data and CRC), up to an IEND chunk");
        const std::uint32_t length = Be32(data + offset);
        if (length > kLongestChunk || length > size - offset - kChunkFrameSize)
            return ByteFault(kPng, size, offset,
                             "a chunk length that fits in the file's " + std::to_string(size) + " bytes");
        const std::uint8_t* type = data + offset + 4;
        const std::uint8_t* body = type + 4;
        if (crc32(0, type, length + 4) != Be32(body + length))
            return ByteFault(kPng, size, offset + 8 + length,
                             "the CRC of the " + std::string(type, type + 4) + " chunk");
        if (std::memcmp(type, "IEND", 4) == 0)
            break;
        if (std::memcmp(type, "PLTE", 4) == 0)
        {
            if (length % 3 != 0 || length < 3 || length > 256 * 3)
                return ByteFault(kPng, size, offset, "a PLTE of 1 to 256 colours of 3 bytes");
            palette = body;
            paletteSize = length / 3;
        }
        else if (std::memcmp(type, "tRNS", 4) == 0)
        {
            alpha = body;
            alphaSize = length;
        }
        else if (std::memcmp(type, "IDAT", 4) == 0)
        {
            firstData = firstData ? firstData : offset;
            stream.insert(stream.end(), body, body + length);
        }
        offset += kChunkFrameSize + length;
    }

    PaletteReadResult result{kPng, {}, std::nullopt};
    if (header.type == kIndexed)
    {
        if (!palette)
            return ByteFault(kPng, size, size, "a PLTE chunk in an indexed picture");
        // The alpha of the first entries, where the file gives it; a palette holds none, so it is dropped.
        for (std::size_t i = 0; i < paletteSize; ++i)
            result.palette.colours.push_back({palette[3 * i],
                                              palette[3 * i + 1],
                                              palette[3 * i + 2],
                                              {},
                                              i < alphaSize ? std::optional{alpha[i]} : std::nullopt});
        return result;
    }

    if (!firstData)
        return ByteFault(kPng, size, size, "an IDAT chunk");
    const std::uint64_t rowBytes = RowBytes(header);
    if (rowBytes + 1 > kMostImageBytes || header.height > kMostImageBytes / (rowBytes + 1))
        return ByteFault(kPng, size, kHeaderOffset,
                         "a picture of at most " + std::to_string(kMostImageBytes >> 20) + " MiB");
    // The passes of an interlaced picture take a few more bytes than its rows, never twice as many.
    std::uint64_t expected = 0;
    for (const Pass& pass : interlaced ? std::span<const Pass>(kAdam7) : std::span<const Pass>(kEveryPixel))
        expected += PassBytes(PassHeader(header, pass));
    std::optional<std::vector<std::uint8_t>> rows = Inflate(stream, expected);
    if (!rows)
        return ByteFault(kPng, size, firstData + 8,
                         "image data that inflates to " + std::to_string(expected) + " bytes of filtered rows");
    std::optional<Picture> picture =
        interlaced ? Picture::Deinterlace(header, *rows) : std::optional<Picture>(Picture(header, std::move(*rows)));
    if (!picture || (!interlaced && !picture->Unfilter()))
        return ByteFault(kPng, size, firstData + 8, "filter types 0 to 4 at the start of each row");

    // One colour from each cell, row by row: a strip of colours drawn at any scale reads as its colours,
    // repeats and all, and a picture that is no grid reads pixel by pixel.
    const std::uint32_t cell = picture->CellSize();
    const std::uint64_t cells = std::uint64_t{header.width / cell} * (header.height / cell);
    if (cells > kMostCells)
        return ByteFault(kPng, size, kHeaderOffset,
                         "a picture of at most " + std::to_string(kMostCells) + " cells of one colour (" +
                             std::to_string(cells) + " cells of " + std::to_string(cell) + " by " +
                             std::to_string(cell) + " pixels)");
    // A grey or truecolour picture's tRNS names its one transparent colour by its samples.
    std::optional<std::uint64_t> clear;
    if (alpha && alphaSize == 2 * header.channels)
    {
        const std::uint64_t most = header.depth == 16 ? 0xFFFF : (1u << header.depth) - 1;
        clear = 0;
        for (std::size_t i = 0; i < header.channels; ++i)
            clear = *clear << 16 | ((std::uint64_t{alpha[2 * i]} << 8 | alpha[2 * i + 1]) & most);
    }
    for (std::size_t y = 0; y < header.height; y += cell)
        for (std::size_t x = 0; x < header.width; x += cell)
        {
            const std::uint64_t key = picture->Key(x, y);
            PaletteColour colour = picture->Colour(key);
            if (clear)
                colour.alpha = key == *clear ? 0 : 255;
            result.palette.colours.push_back(colour);
        }
    return result;
}

std::vector<std::uint8_t> WritePngPalette(const Palette& palette, int scale)
{
    const std::size_t count = std::min<std::size_t>(palette.colours.size(), 256);
    const auto side = static_cast<std::uint32_t>(std::clamp(scale, 1, kMostPngScale));
    const std::uint32_t width = static_cast<std::uint32_t>(count) * side;
    std::vector<std::uint8_t> file(std::begin(kSignature), std::end(kSignature));
    std::vector<std::uint8_t> chunk;
    PutBe32(chunk, width);
    PutBe32(chunk, side);
    chunk.insert(chunk.end(), {8, kIndexed, 0, 0, 0});
    PutChunk(file, "IHDR", chunk);
    chunk.clear();
    for (std::size_t i = 0; i < count; ++i)
        chunk.insert(chunk.end(), {palette.colours[i].red, palette.colours[i].green, palette.colours[i].blue});
    PutChunk(file, "PLTE", chunk);

    // Rows of filter type 0, each the same: every entry in turn, side pixels wide.
    std::vector<std::uint8_t> row{0};
    for (std::size_t i = 0; i < count; ++i)
        row.insert(row.end(), side, static_cast<std::uint8_t>(i));
    std::vector<std::uint8_t> rows;
    for (std::uint32_t y = 0; y < side; ++y)
        rows.insert(rows.end(), row.begin(), row.end());
    uLongf packedSize = compressBound(static_cast<uLong>(rows.size()));
    chunk.assign(packedSize, 0);
    compress2(chunk.data(), &packedSize, rows.data(), static_cast<uLong>(rows.size()), Z_BEST_COMPRESSION);
    chunk.resize(packedSize);
    PutChunk(file, "IDAT", chunk);
    PutChunk(file, "IEND", {});
    return file;
}
