// The bitmap palette file: the bytes Save As writes and the checks Open makes.
#include "palette/BitmapFormat.h"

#include <gtest/gtest.h>

#include <cstdint>
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
        {"bfSize", 2, 4, 9270},        {"bfReserved1", 6, 2, 0},      {"bfReserved2", 8, 2, 0},
        {"bfOffBits", 10, 4, 1078},    {"biSize", 14, 4, 40},         {"biWidth", 18, 4, 256},
        {"biHeight", 22, 4, 32},       {"biPlanes", 26, 2, 1},        {"biBitCount", 28, 2, 8},
        {"biCompression", 30, 4, 0},   {"biSizeImage", 34, 4, 0},     {"biXPelsPerMeter", 38, 4, 0},
        {"biYPelsPerMeter", 42, 4, 0}, {"biClrUsed", 46, 4, 0},       {"biClrImportant", 50, 4, 0},
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

TEST(BitmapFormat, ReaderTakesBytes54To1077WhateverTheHeadersSay)
{
    std::vector<std::uint8_t> bytes = BuildBitmapFile(SampleCapture());
    Write32(bytes, 30, 1);     // RLE8: compression is not examined
    Write32(bytes, 14, 124);   // a larger info header: the table is still taken from offset 54
    Write32(bytes, 46, 16);    // a 16-entry table: the bytes after it fill the rest
    Write32(bytes, 10, 14 + 124 + 64);
    Write32(bytes, 18, 0xFFFFFFFF);
    Write32(bytes, 22, 0x80000000);
    for (std::size_t i = 54; i < 1078; ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 31);

    const BitmapTableResult result = ReadBitmapColourTable(bytes.data(), kBitmapHeadSize);
    ASSERT_EQ(result.verdict, BitmapVerdict::ok);
    for (int i = 0; i < 256; ++i)
    {
        const std::size_t quad = 54 + 4 * static_cast<std::size_t>(i);
        EXPECT_EQ(result.table[i].peBlue, bytes[quad]);
        EXPECT_EQ(result.table[i].peGreen, bytes[quad + 1]);
        EXPECT_EQ(result.table[i].peRed, bytes[quad + 2]);
        EXPECT_EQ(result.table[i].peFlags, 0); // the reserved byte is dropped
    }
}
} // namespace
