// The bitmap palette file: the bytes Save As writes and the checks Open makes.
#include "palette/BitmapFormat.h"

#include <cstdint>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <vector>

namespace
{
std::uint32_t Read32(const std::vector<std::uint8_t>& bytes, std::size_t offset)
{
    return bytes[offset] | bytes[offset + 1] << 8 | bytes[offset + 2] << 16 | std::uint32_t{bytes[offset + 3]} << 24;
}

std::uint16_t Read16(const std::vector<std::uint8_t>& bytes, std::size_t offset)
{
    return static_cast<std::uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}

void Write32(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// A capture with a different colour in every entry and flags that must not reach the file.
PaletteSnapshot SampleCapture()
{
    PaletteSnapshot captured = EmptySnapshot(256);
    for (int i = 0; i < 256; ++i)
        captured.palPalEntry[i] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                                   static_cast<std::uint8_t>(i * 7), static_cast<std::uint8_t>(i | 1)};
    return captured;
}

TEST(BitmapFormat, WrittenFileHasTheFixedHeaders)
{
    const std::vector<std::uint8_t> file = BuildBitmapFile(SampleCapture());
    ASSERT_EQ(file.size(), 9270u);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    struct Field
    {
        const char* name;
        std::size_t offset;
        int size;
        std::uint32_t value;
    };
    const Field fields[] = {
        {"bfSize", 2, 4, 9270},        {"bfReserved1", 6, 2, 0},  {"bfReserved2", 8, 2, 0},
        {"bfOffBits", 10, 4, 1078},    {"biSize", 14, 4, 40},     {"biWidth", 18, 4, 256},
        {"biHeight", 22, 4, 32},       {"biPlanes", 26, 2, 1},    {"biBitCount", 28, 2, 8},
        {"biCompression", 30, 4, 0},   {"biSizeImage", 34, 4, 0}, {"biXPelsPerMeter", 38, 4, 0},
        {"biYPelsPerMeter", 42, 4, 0}, {"biClrUsed", 46, 4, 0},   {"biClrImportant", 50, 4, 0},
    };
    for (const Field& f : fields)
        EXPECT_EQ(f.size == 2 ? Read16(file, f.offset) : Read32(file, f.offset), f.value) << f.name;
}

TEST(BitmapFormat, WrittenFileHoldsTheColoursAndTheIndexStrip)
{
    const PaletteSnapshot captured = SampleCapture();
    const std::vector<std::uint8_t> file = BuildBitmapFile(captured);
    ASSERT_EQ(file.size(), 9270u);
    for (int i = 0; i < 256; ++i)
    {
        const std::size_t quad = 54 + 4 * static_cast<std::size_t>(i);
        const PaletteEntry& entry = captured.palPalEntry[i];
        EXPECT_EQ(file[quad], entry.peBlue) << i;
        EXPECT_EQ(file[quad + 1], entry.peGreen) << i;
        EXPECT_EQ(file[quad + 2], entry.peRed) << i;
        EXPECT_EQ(file[quad + 3], 0) << i; // the flags are not stored
    }
    for (std::size_t offset = 1078; offset < file.size(); ++offset)
        ASSERT_EQ(file[offset], (offset - 1078) % 256) << "offset " << offset;
}

TEST(BitmapFormat, ReaderTakesBackWhatTheWriterWrote)
{
    const PaletteSnapshot captured = SampleCapture();
    const std::vector<std::uint8_t> file = BuildBitmapFile(captured);
    // The whole file and just the head the reader needs give the same table.
    for (const std::size_t size : {file.size(), kBitmapHeadSize})
    {
        const BitmapTableResult result = ReadBitmapColourTable(file.data(), size);
        ASSERT_EQ(result.verdict, BitmapVerdict::ok);
        EXPECT_EQ(result.entryCount, 256);
        for (int i = 0; i < 256; ++i)
        {
            const PaletteEntry& entry = result.table[i];
            const PaletteEntry& want = captured.palPalEntry[i];
            EXPECT_EQ(entry.peRed, want.peRed);
            EXPECT_EQ(entry.peGreen, want.peGreen);
            EXPECT_EQ(entry.peBlue, want.peBlue);
            EXPECT_EQ(entry.peFlags, 0);
        }
    }
}

TEST(BitmapFormat, ReaderRefusesShortOrForeignFiles)
{
    const std::vector<std::uint8_t> good = BuildBitmapFile(SampleCapture());
    constexpr std::size_t kNoPatch = ~std::size_t{0};
    struct Case
    {
        const char* name;
        std::size_t size;
        std::size_t patchOffset; // kNoPatch: the file as written
        std::uint8_t patchByte;
        BitmapVerdict verdict;
    };
    const Case cases[] = {
        {"empty", 0, kNoPatch, 0, BitmapVerdict::genericFileError},
        {"one byte", 1, kNoPatch, 0, BitmapVerdict::genericFileError},
        {"13 bytes", 13, kNoPatch, 0, BitmapVerdict::genericFileError},
        {"magic \"bM\"", 9270, 0, 'b', BitmapVerdict::genericFileError},
        {"magic \"BA\"", 9270, 1, 'A', BitmapVerdict::genericFileError},
        {"magic \"BB\", 14 bytes", 14, 1, 'B', BitmapVerdict::genericFileError},
        {"14 bytes", 14, kNoPatch, 0, BitmapVerdict::notSupported},
        {"53 bytes", 53, kNoPatch, 0, BitmapVerdict::notSupported},
        {"54 bytes", 54, kNoPatch, 0, BitmapVerdict::notSupported},
        {"0 bits", 9270, 28, 0, BitmapVerdict::notSupported},
        {"1 bit", 9270, 28, 1, BitmapVerdict::notSupported},
        {"4 bits", 9270, 28, 4, BitmapVerdict::notSupported},
        {"24 bits", 9270, 28, 24, BitmapVerdict::notSupported},
        {"32 bits", 9270, 28, 32, BitmapVerdict::notSupported},
        {"8 bits in the low byte, not the word", 9270, 29, 1, BitmapVerdict::notSupported},
        {"8 bits, 1,077 bytes", 1077, kNoPatch, 0, BitmapVerdict::notSupported},
        {"8 bits, 1,078 bytes", 1078, kNoPatch, 0, BitmapVerdict::ok},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        std::vector<std::uint8_t> bytes = good;
        if (c.patchOffset != kNoPatch)
            bytes[c.patchOffset] = c.patchByte;
        // Exactly size bytes, so any read beyond them shows up under AddressSanitizer.
        const std::vector<std::uint8_t> head(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(c.size));
        const BitmapTableResult result = ReadBitmapColourTable(head.data(), head.size());
        EXPECT_EQ(result.verdict, c.verdict);
        if (c.verdict != BitmapVerdict::ok)
        {
            for (const PaletteEntry& entry : result.table)
                EXPECT_EQ(entry.peRed | entry.peGreen | entry.peBlue | entry.peFlags, 0);
        }
    }
    EXPECT_EQ(ReadBitmapColourTable(nullptr, 9270).verdict, BitmapVerdict::genericFileError);

    // The magic is checked before the bit count.
    std::vector<std::uint8_t> both = good;
    both[0] = 'X';
    both[28] = 24;
    EXPECT_EQ(ReadBitmapColourTable(both.data(), both.size()).verdict, BitmapVerdict::genericFileError);
}

// An 8-bit bitmap made by hand: the 40 header fields, then up to infoSize the bytes 0xA5 (which would
// show as colours if taken for the table), tableEntries colours of TableColour, and 0xEE up to size.
PaletteEntry TableColour(std::size_t i)
{
    return {static_cast<std::uint8_t>(i * 3 + 1), static_cast<std::uint8_t>(255 - i), static_cast<std::uint8_t>(i), 0};
}

std::vector<std::uint8_t> HandMade(std::uint32_t infoSize, std::uint32_t clrUsed, std::size_t tableEntries,
                                   std::size_t size)
{
    std::vector<std::uint8_t> bytes(BuildBitmapFile(SampleCapture()));
    bytes.resize(54);
    Write32(bytes, 14, infoSize);
    Write32(bytes, 46, clrUsed);
    Write32(bytes, 30, 1);          // RLE8: compression is not examined
    Write32(bytes, 10, 0xFFFFFFFF); // nor the pixel offset
    Write32(bytes, 18, 0xFFFFFFFF); // nor the picture's size
    Write32(bytes, 22, 0x80000000);
    const std::size_t tableOffset = infoSize > 40 && infoSize < 1000 ? 14 + infoSize : 54;
    bytes.resize(tableOffset, 0xA5);
    for (std::size_t i = 0; i < tableEntries; ++i)
    {
        const PaletteEntry colour = TableColour(i);
        bytes.insert(bytes.end(), {colour.peBlue, colour.peGreen, colour.peRed, 0x5A});
    }
    bytes.resize(size, 0xEE);
    return bytes;
}

TEST(BitmapFormat, ReaderRefusesHeadersAndTablesItCannotPlace)
{
    struct Case
    {
        const char* name;
        std::vector<std::uint8_t> bytes;
    };
    const Case cases[] = {
        {"header size 0", HandMade(0, 0, 256, 2000)},
        {"header size 12 (the oldest kind)", HandMade(12, 0, 256, 2000)},
        {"header size 39", HandMade(39, 0, 256, 2000)},
        {"header size 125", HandMade(125, 0, 256, 2000)},
        {"header size 0xFFFFFFFF", HandMade(0xFFFFFFFF, 0, 256, 2000)},
        {"124-byte header, 256 entries less one byte", HandMade(124, 0, 256, 14 + 124 + 1024 - 1)},
        {"124-byte header in 1,078 bytes", HandMade(124, 256, 256, 1078)},
        {"108-byte header, 16 entries less one byte", HandMade(108, 16, 16, 14 + 108 + 64 - 1)},
        {"40-byte header, 2 entries less one byte", HandMade(40, 2, 2, 14 + 40 + 8 - 1)},
        {"40-byte header, 257 used, 1,077 bytes", HandMade(40, 257, 256, 1077)},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        const BitmapTableResult result = ReadBitmapColourTable(c.bytes.data(), c.bytes.size());
        EXPECT_EQ(result.verdict, BitmapVerdict::notSupported);
        EXPECT_EQ(result.entryCount, 0);
        for (const PaletteEntry& entry : result.table)
            EXPECT_EQ(entry.peRed | entry.peGreen | entry.peBlue | entry.peFlags, 0);
    }
}

TEST(BitmapFormat, ReaderTakesTheTableWhereTheHeaderPutsItAndAsLongAsItSays)
{
    for (const std::uint32_t infoSize : {40u, 41u, 52u, 56u, 64u, 108u, 124u})
    {
        for (const std::uint32_t clrUsed : {0u, 1u, 16u, 236u, 255u, 256u, 257u, 0xFFFFFFFFu})
        {
            SCOPED_TRACE("header size " + std::to_string(infoSize) + ", colours used " + std::to_string(clrUsed));
            const std::size_t entries = clrUsed >= 1 && clrUsed <= 256 ? clrUsed : 256;
            // Exactly as long as the table, so any read beyond it shows up under AddressSanitizer.
            const std::vector<std::uint8_t> bytes = HandMade(infoSize, clrUsed, entries, 14 + infoSize + 4 * entries);
            const BitmapTableResult result = ReadBitmapColourTable(bytes.data(), bytes.size());
            ASSERT_EQ(result.verdict, BitmapVerdict::ok);
            ASSERT_EQ(result.entryCount, static_cast<int>(entries));
            for (std::size_t i = 0; i < 256; ++i)
            {
                const PaletteEntry want = i < entries ? TableColour(i) : PaletteEntry{0, 0, 0, 0};
                const PaletteEntry& got = result.table[i];
                ASSERT_TRUE(got.peRed == want.peRed && got.peGreen == want.peGreen && got.peBlue == want.peBlue &&
                            got.peFlags == 0)
                    << "entry " << i;
            }
        }
    }
}

// One picture as a real encoder writes it with each of its info headers: the two it may write 8-bit
// files with give the same table, the oldest kind is refused.
TEST(BitmapFormat, ReaderAgreesWithARealEncoderWhateverItsHeader)
{
    const auto read = [](const char* name) {
        std::ifstream in(std::string(VEXA_TEST_DATA "/bitmaps/") + name, std::ios::binary);
        EXPECT_TRUE(in) << name;
        return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
    };
    const std::vector<std::uint8_t> newest = read("rose-124.bmp");
    const std::vector<std::uint8_t> classic = read("rose-40.bmp");
    const std::vector<std::uint8_t> oldest = read("rose-12.bmp");
    ASSERT_EQ(Read32(newest, 14), 124u);
    ASSERT_EQ(Read32(classic, 14), 40u);
    ASSERT_EQ(Read32(oldest, 14), 12u);

    const BitmapTableResult fromNewest = ReadBitmapColourTable(newest.data(), newest.size());
    const BitmapTableResult fromClassic = ReadBitmapColourTable(classic.data(), classic.size());
    ASSERT_EQ(fromNewest.verdict, BitmapVerdict::ok);
    ASSERT_EQ(fromClassic.verdict, BitmapVerdict::ok);
    EXPECT_EQ(fromNewest.entryCount, 256);
    EXPECT_EQ(fromClassic.entryCount, 256);
    for (int i = 0; i < 256; ++i)
    {
        const std::size_t quad = 54 + 4 * static_cast<std::size_t>(i);
        const PaletteEntry& classicEntry = fromClassic.table[i];
        EXPECT_TRUE(classicEntry.peBlue == classic[quad] && classicEntry.peGreen == classic[quad + 1] &&
                    classicEntry.peRed == classic[quad + 2])
            << "40-byte header, entry " << i;
        const PaletteEntry& newestEntry = fromNewest.table[i];
        EXPECT_TRUE(newestEntry.peRed == classicEntry.peRed && newestEntry.peGreen == classicEntry.peGreen &&
                    newestEntry.peBlue == classicEntry.peBlue)
            << "124-byte header, entry " << i;
    }
    EXPECT_EQ(ReadBitmapColourTable(oldest.data(), oldest.size()).verdict, BitmapVerdict::notSupported);
}
} // namespace
