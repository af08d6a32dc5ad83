// The palettes of pictures: what image programs write reads back as its colours (a PNG's cells in
// order, repeats kept, at any scale, filter and depth), and the byte where a broken file goes wrong.
#include "formats/BinaryFields.h"
#include "formats/ImageSignatures.h"

#include <zlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <set>

namespace fs = std::filesystem;
using namespace std::string_literals;

namespace
{
using Reader = PaletteReadResult (*)(const std::uint8_t*, std::size_t);
using Rgba = std::vector<int>; // red, green, blue, then alpha where the file gives one

PaletteReadResult Read(Reader reader, const std::string& bytes)
{
    return reader(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

std::vector<Rgba> Colours(const Palette& palette, bool alpha = false)
{
    std::vector<Rgba> colours;
    for (const PaletteColour& c : palette.colours)
        colours.push_back(alpha && c.alpha ? Rgba{c.red, c.green, c.blue, *c.alpha} : Rgba{c.red, c.green, c.blue});
    return colours;
}

std::string Big32(std::uint32_t v)
{
    return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}

// A PNG chunk with its length and CRC; the signature and header chunk; image data as zlib makes it.
std::string Chunk(const std::string& type, const std::string& data)
{
    const std::string body = type + data;
    return Big32(std::uint32_t(data.size())) + body +
           Big32(std::uint32_t(crc32(0, reinterpret_cast<const Bytef*>(body.data()), uInt(body.size()))));
}

std::string PngHead(std::uint32_t width, std::uint32_t height, int depth, int type, int interlace = 0)
{
    return "\x89PNG\r\n\x1a\n" +
           Chunk("IHDR", Big32(width) + Big32(height) + std::string{char(depth), char(type), 0, 0, char(interlace)});
}

std::string Idat(const std::string& rows)
{
    uLongf size = compressBound(uLong(rows.size()));
    std::string packed(size, '\0');
    compress(reinterpret_cast<Bytef*>(packed.data()), &size, reinterpret_cast<const Bytef*>(rows.data()),
             uLong(rows.size()));
    return Chunk("IDAT", packed.substr(0, size));
}

const std::string kEnd = Chunk("IEND", "");

std::string Png(const Palette& palette, int scale)
{
    const std::vector<std::uint8_t> file = WritePngPalette(palette, scale);
    return {file.begin(), file.end()};
}

const Palette kAba{"", {}, {{1, 2, 3}, {4, 5, 6}, {1, 2, 3}}};

// Files that image programs write, made at test time in a folder of the test's own.
class ImageFiles : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        m_folder = fs::temp_directory_path() / ("vexa-images-" + std::to_string(std::random_device()()));
        fs::create_directories(m_folder);
    }
    void TearDown() override { fs::remove_all(m_folder); }

    // What the shell command, run in the folder, writes to the file "out"; "" when it fails.
    std::string Make(const std::string& command) const
    {
        const std::string line = "cd '" + m_folder.string() + "' && " + command + " 2>/dev/null";
        if (std::system(line.c_str()) != 0)
            return "";
        std::ifstream file(m_folder / "out", std::ios::binary);
        return {std::istreambuf_iterator<char>(file), {}};
    }

    fs::path m_folder;
};

TEST_F(ImageFiles, ReadersTakeWhatImageProgramsWrite)
{
    if (std::system(
            "for t in convert pnmtopng ppmtopcx ppmtoilbm pamenlarge; do command -v $t || exit 1; done >/dev/null"))
        GTEST_SKIP() << "needs ImageMagick (imagemagick) and netpbm";
    // A strip with a colour twice side by side and the first again at the end; pictures that are no grid.
    const std::vector<Rgba> strip = {{16, 250, 7}, {200, 30, 90}, {1, 2, 3}, {1, 2, 3}, {255, 255, 255}, {16, 250, 7}};
    const Rgba a = {1, 2, 3}, b = {4, 5, 6}, k = {0, 0, 0}, w = {255, 255, 255}, g = {40, 40, 40};
    ASSERT_FALSE(
        Make("printf 'P3 6 1 255 16 250 7 200 30 90 1 2 3 1 2 3 255 255 255 16 250 7\\n' >strip.ppm &&"
             "printf 'P3 2 2 255 1 2 3 4 5 6 1 2 3 4 5 6\\n' >cols.ppm && printf 'P3 2 2 255 1 2 3 1 2 3 "
             "4 5 6 4 5 6\\n' >rows.ppm && printf 'P3 2 2 255 1 2 3 4 5 6 1 2 3 1 2 3\\n' >grid.ppm &&"
             "printf 'P2 4 1 255 0 40 40 255\\n' >grey.pgm && printf 'P2 4 1 3 0 1 3 1\\n' >grey2.pgm &&"
             "printf 'P2 3 1 65535 0 65535 257\\n' >grey16.pgm && printf 'P1 3 1 1 0 1\\n' >bits.pbm && echo >out")
            .empty());
    std::ofstream(m_folder / "aba1.png", std::ios::binary) << Png(kAba, 1);
    std::ofstream(m_folder / "aba8.png", std::ios::binary) << Png(kAba, 8);
    const struct
    {
        std::string command;
        Reader reader;
        std::vector<Rgba> colours; // in this order, or, for an encoder's own order, as a set first
        std::size_t count = 0;     // of this many
    } cases[] = {
        {"convert strip.ppm PNG8:out", ReadPngPalette, strip, 4},
        {"convert strip.ppm GIF:out", ReadGifPalette, strip, 4},
        {"convert strip.ppm -type Palette PCX:out", ReadPcxPalette, strip, 256},
        {"ppmtopcx strip.ppm >out", ReadPcxPalette, strip, 4},
        {"ppmtopcx -8bit strip.ppm >out", ReadPcxPalette, strip, 256},
        {"ppmtoilbm strip.ppm >out", ReadIlbmPalette, strip, 4},
        {"convert strip.ppm PNG32:out", ReadPngPalette, strip},
        {"convert strip.ppm -scale 800% PNG48:out", ReadPngPalette, strip},
        {"convert strip.ppm -scale 3200% PNG64:out", ReadPngPalette, strip},
        {"pamenlarge 8 strip.ppm | pnmtopng -force -nofilter >out", ReadPngPalette, strip},
        {"pamenlarge 8 strip.ppm | pnmtopng -force -sub >out", ReadPngPalette, strip},
        {"pamenlarge 8 strip.ppm | pnmtopng -force -up >out", ReadPngPalette, strip},
        {"pamenlarge 8 strip.ppm | pnmtopng -force -avg >out", ReadPngPalette, strip},
        {"pamenlarge 8 strip.ppm | pnmtopng -force -paeth >out", ReadPngPalette, strip},
        {"pamenlarge 8 strip.ppm | pnmtopng -force -interlace >out", ReadPngPalette, strip},
        {"pnmtopng -force -interlace grey2.pgm >out", ReadPngPalette, {k, {85, 85, 85}, w, {85, 85, 85}}},
        {"pamenlarge 3 bits.pbm | pnmtopng -force -interlace >out", ReadPngPalette, {k, w, k}},
        {"pnmtopng -force cols.ppm >out", ReadPngPalette, {a, b, a, b}},
        {"pnmtopng -force rows.ppm >out", ReadPngPalette, {a, a, b, b}},
        {"pamenlarge 8 grid.ppm | pnmtopng -force >out", ReadPngPalette, {a, b, a, a}},
        {"pamenlarge 32 grey.pgm | pnmtopng -force -paeth >out", ReadPngPalette, {k, g, g, w}},
        {"pnmtopng -force grey2.pgm >out", ReadPngPalette, {k, {85, 85, 85}, w, {85, 85, 85}}},
        {"pnmtopng -force grey16.pgm >out", ReadPngPalette, {k, w, {1, 1, 1}}},
        {"pnmtopng -force bits.pbm >out", ReadPngPalette, {k, w, k}},
        // vexapal's own PNG, and it made truecolour by ImageMagick.
        {"cp aba8.png out", ReadPngPalette, {a, b, a}},
        {"convert aba1.png PNG24:out", ReadPngPalette, {a, b, a}},
        {"convert aba8.png PNG24:out", ReadPngPalette, {a, b, a}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.command);
        const PaletteReadResult result = Read(c.reader, Make(c.command));
        ASSERT_FALSE(result.fault) << DescribeFault(*result.fault);
        std::vector<Rgba> read = Colours(result.palette);
        if (c.count == 0)
            EXPECT_EQ(read, c.colours);
        else
        {
            ASSERT_EQ(read.size(), c.count);
            EXPECT_EQ(std::set(read.begin(), read.begin() + 4), std::set(c.colours.begin(), c.colours.end()));
        }
    }
    const std::string pixels = Make("convert aba8.png -depth 8 RGB:out"); // 3 cells of 8 by 8 pixels
    ASSERT_EQ(pixels.size(), 24u * 8 * 3);
    for (std::size_t i = 0; i < pixels.size(); i += 3)
        ASSERT_EQ(pixels[i], i / 3 % 24 / 8 == 1 ? 4 : 1) << i;
}

// Hand-made files of the kinds no program here writes, alpha beside the colours, and vexapal's PNG.
TEST(ImageFormats, ReadersTakeEveryKindOfFile)
{
    const Palette many{"", {}, std::vector<PaletteColour>(300, {9, 9, 9})};
    const struct
    {
        Reader reader;
        std::string bytes;
        std::vector<Rgba> colours; // the first ones
        std::size_t count;
    } cases[] = {
        // No global table: extensions (of two sub-blocks and of none) before the first image's own table.
        {ReadGifPalette,
         "GIF87a\1\0\1\0\0\0\0\x21\xf9\x02\0\0\x01\0\0\x21\xfe\0\x2c\0\0\0\0\1\0\1\0\x80\1\2\3\4\5\6"s,
         {{1, 2, 3}, {4, 5, 6}},
         2},
        // An odd chunk padded to an even size, then a map padded to an even size.
        {ReadIlbmPalette, "FORM\0\0\0\0PBM ANNO\0\0\0\x01x\0CMAP\0\0\0\x04\1\2\3\0"s, {{1, 2, 3}}, 1},
        {ReadPngPalette,
         PngHead(1, 1, 8, 3) + Chunk("PLTE", "\1\2\3\4\5\6") + Chunk("tRNS", "\x80") + kEnd,
         {{1, 2, 3, 0x80}, {4, 5, 6}},
         2},
        {ReadPngPalette,
         PngHead(2, 1, 8, 2) + Chunk("tRNS", "\0\1\0\2\0\3"s) + Idat("\0\1\2\3\4\5\6"s) + kEnd,
         {{1, 2, 3, 0}, {4, 5, 6, 255}},
         2},
        {ReadPngPalette, Png(kAba, 0), {{1, 2, 3}, {4, 5, 6}, {1, 2, 3}}, 3},
        {ReadPngPalette, Png(many, 2), {{9, 9, 9}}, 256},
    };
    for (const auto& c : cases)
    {
        const PaletteReadResult result = Read(c.reader, c.bytes);
        ASSERT_FALSE(result.fault) << DescribeFault(*result.fault);
        const std::vector<Rgba> read = Colours(result.palette, true);
        ASSERT_EQ(read.size(), c.count);
        EXPECT_EQ(std::vector(read.begin(), read.begin() + c.colours.size()), c.colours);
    }
    // One row of cells, scale pixels square each.
    EXPECT_EQ(Png(kAba, 8).substr(16, 10), Big32(24) + Big32(8) + "\x08\x03");
    EXPECT_EQ(Png(many, 2).substr(16, 10), Big32(512) + Big32(2) + "\x08\x03");
}

TEST(ImageFormats, FaultsNameTheByteAndWhatWasExpected)
{
    const std::string gif = "GIF89a\1\0\1\0\0\0\0"s;
    std::string pcx(128, '\0'), pcx8 = pcx;
    pcx.replace(0, 4, "\x0a\x05\x01\x08");
    pcx[65] = 3; // 24 bits
    pcx8.replace(0, 4, "\x0a\x05\x01\x08");
    pcx8[65] = 1;
    const std::string rgb = PngHead(1, 2, 8, 2),
                      inflate = "byte 41: expected image data that inflates to 8 bytes of filtered rows";
    std::string badCrc = PngHead(1, 1, 8, 3);
    badCrc[20] ^= 1;
    std::string alternating(258, '\0');
    for (std::size_t i = 2; i < alternating.size(); i += 2)
        alternating[i] = 1;
    const struct
    {
        Reader reader;
        std::string bytes;
        std::string fault;
    } cases[] = {
        {ReadGifPalette, "GIF88a", "byte 0: expected \"GIF87a\" or \"GIF89a\""},
        {ReadGifPalette, "GIF89a\1\0"s, "byte 8: expected a 7-byte logical screen descriptor"},
        {ReadGifPalette, "GIF89a\1\0\1\0\x87\0\0\1\2\3"s, "byte 16: expected a colour table of 256 colours"},
        {ReadGifPalette, gif + "\x3b"s, "byte 13: expected an image before the trailer"},
        {ReadGifPalette, gif + "\x00"s, "byte 13: expected an extension (0x21) or an image (0x2C)"},
        {ReadGifPalette, gif + "\x21\xf9\x04\0"s, "byte 17: expected the end of the extension's sub-blocks"},
        {ReadGifPalette, gif + "\x2c\0\0\0\0\1\0\1\0\x07"s,
         "byte 22: expected a local colour table, as the file has no global one"},
        {ReadGifPalette, gif + "\x2c\0\0"s, "byte 16: expected a 10-byte image descriptor"},
        {ReadGifPalette, gif, "byte 13: expected an image"},
        {ReadPcxPalette, "\x0b", "byte 0: expected the manufacturer byte 0x0A"},
        {ReadPcxPalette, "\x0a\x01", "byte 1: expected version 0, 2, 3, 4 or 5"},
        {ReadPcxPalette, "\x0a\x05\x00"s, "byte 2: expected run-length encoding 1"},
        {ReadPcxPalette, "\x0a\x05\x01\x08", "byte 4: expected a 128-byte header"},
        {ReadPcxPalette, pcx8 + std::string(769, '\0'),
         "byte 128: expected 0x0C and 256 colours in the last 769 bytes of an 8-bit picture"},
        {ReadPcxPalette, pcx8, "byte 128: expected 0x0C and 256 colours in the last 769 bytes of an 8-bit picture"},
        {ReadPcxPalette, pcx, "byte 65: expected planes of at most 4 bits per pixel, or 1 plane of 8 bits"},
        {ReadIlbmPalette, "FORN", "byte 0: expected \"FORM\""},
        {ReadIlbmPalette, "FORM\0\0\0\0ACBM"s, "byte 8: expected the form type \"ILBM\" or \"PBM \""},
        {ReadIlbmPalette, "FORM\0\0\0\0ILBMBMHD\0\0\0\x14"s,
         "byte 16: expected a chunk size that fits in the file's 20 bytes"},
        {ReadIlbmPalette, "FORM\0\0\0\0ILBMCMAP\0\0\0\x02\0\0"s,
         "byte 16: expected a CMAP of 1 to 256 colours of 3 bytes"},
        {ReadIlbmPalette, "FORM\0\0\0\0ILBMCMAP\0\0\x03\x03"s + std::string(771, '\0'),
         "byte 16: expected a CMAP of 1 to 256 colours of 3 bytes"},
        {ReadIlbmPalette, "FORM\0\0\0\0ILBMBODY\0\0\0\x01\0\0"s, "byte 22: expected a \"CMAP\" chunk"},
        {ReadPngPalette, "\x89PNG\r\n\x1a", "byte 0: expected the PNG signature"},
        {ReadPngPalette, "\x89PNG\r\n\x1a\n" + Chunk("IHDX", std::string(13, '\0')),
         "byte 8: expected an IHDR chunk of 13 bytes"},
        {ReadPngPalette, PngHead(0, 1, 8, 2), "byte 16: expected a width and a height from 1 to 2147483647"},
        {ReadPngPalette, PngHead(1, 1, 4, 2),
         "byte 24: expected a colour type and a bit depth that PNG allows together"},
        {ReadPngPalette, PngHead(1, 1, 8, 5),
         "byte 24: expected a colour type and a bit depth that PNG allows together"},
        {ReadPngPalette, PngHead(1, 0x80000000, 8, 2), "byte 16: expected a width and a height from 1 to 2147483647"},
        {ReadPngPalette, PngHead(1, 1, 16, 3),
         "byte 24: expected a colour type and a bit depth that PNG allows together"},
        {ReadPngPalette, PngHead(1, 1, 8, 2, 2), "byte 28: expected interlace method 0 (none) or 1 (Adam7)"},
        {ReadPngPalette, badCrc, "byte 29: expected the CRC of the IHDR chunk"},
        {ReadPngPalette, rgb + Big32(1), "byte 33: expected a chunk (length, type, data and CRC), up to an IEND chunk"},
        {ReadPngPalette, rgb + Big32(0x80000000) + "IDAT" + std::string(8, '\0'),
         "byte 33: expected a chunk length that fits in the file's 49 bytes"},
        {ReadPngPalette, rgb + Idat(std::string(8, '\0')),
         "byte 56: expected a chunk (length, type, data and CRC), up to an IEND chunk"},
        {ReadPngPalette, PngHead(1, 1, 8, 3) + Chunk("PLTE", "abcd") + kEnd,
         "byte 33: expected a PLTE of 1 to 256 colours of 3 bytes"},
        {ReadPngPalette, PngHead(1, 1, 8, 3) + Chunk("PLTE", std::string(771, '\0')) + kEnd,
         "byte 33: expected a PLTE of 1 to 256 colours of 3 bytes"},
        {ReadPngPalette, PngHead(1, 1, 8, 3) + kEnd, "byte 45: expected a PLTE chunk in an indexed picture"},
        {ReadPngPalette, rgb + kEnd, "byte 45: expected an IDAT chunk"},
        // Larger than the reader holds, however little data inflates to it.
        {ReadPngPalette, PngHead(0x7FFFFFFF, 0x7FFFFFFF, 16, 6) + Idat("") + kEnd,
         "byte 16: expected a picture of at most 64 MiB"},
        {ReadPngPalette, PngHead(4096, 4097, 8, 6) + Idat("") + kEnd, "byte 16: expected a picture of at most 64 MiB"},
        {ReadPngPalette, rgb + Idat(std::string(4, '\0')) + kEnd, inflate},
        {ReadPngPalette, rgb + Idat(std::string(9, '\0')) + kEnd, inflate},
        {ReadPngPalette, rgb + Chunk("IDAT", "not zlib") + kEnd, inflate},
        {ReadPngPalette, rgb + Idat("\0\1\2\3\5\1\2\3"s) + kEnd,
         "byte 41: expected filter types 0 to 4 at the start of each row"},
        {ReadPngPalette, PngHead(257, 1, 8, 0) + Idat(alternating) + kEnd,
         "byte 16: expected a picture of at most 256 cells of one colour (257 cells of 1 by 1 pixels)"},
    };
    for (const auto& c : cases)
    {
        const PaletteReadResult result = Read(c.reader, c.bytes);
        ASSERT_TRUE(result.fault) << c.fault;
        EXPECT_EQ(DescribeFault(*result.fault), c.fault);
        EXPECT_TRUE(result.palette.colours.empty());
    }
}

TEST(ImageFormats, SignaturesTellThePicturesApart)
{
    std::string pcx(128, '\0');
    pcx.replace(0, 4, "\x0a\x05\x01\x08");
    pcx[65] = 1;
    const std::string pcxWindow = pcx.substr(0, 4) + "\x01" + pcx.substr(5); // the window ends before it starts
    const std::pair<std::string, int> cases[] = {
        // The bytes, and which of PNG, GIF, PCX and ILBM they are (-1: none).
        {"\x89PNG\r\n\x1a\n", 0},
        {"\x89PNG\r\n\x1a", -1},
        {"GIF87a", 1},
        {"GIF89a", 1},
        {"GIF88a", -1},
        {pcx, 2},
        {pcx.substr(0, 127), -1},
        {pcxWindow, -1},
        {"FORM\0\0\0\0ILBM"s, 3},
        {"FORM\0\0\0\0PBM "s, 3},
        {"FORM\0\0\0\0AIFF"s, -1},
    };
    for (const auto& [text, format] : cases)
    {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
        const bool found[] = {LooksLikePng(bytes, text.size()), LooksLikeGif(bytes, text.size()),
                              LooksLikePcx(bytes, text.size()), LooksLikeIlbm(bytes, text.size())};
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(found[i], i == format) << text << " " << i;
    }
}
} // namespace
