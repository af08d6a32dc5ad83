// The palettes of pictures: what image programs write reads back as the colours they were given,
// hand-made files of every kind that the readers take, and the byte where a broken file goes wrong.
#include "formats/BinaryFields.h"
#include "formats/ImageSignatures.h"

#include <zlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <random>
#include <set>

namespace fs = std::filesystem;
using namespace std::string_literals;

namespace
{
using Reader = PaletteReadResult (*)(const std::uint8_t*, std::size_t);
using Rgb = std::vector<int>;

PaletteReadResult Read(Reader reader, const std::string& bytes)
{
    return reader(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

std::vector<Rgb> Colours(const Palette& palette)
{
    std::vector<Rgb> colours;
    for (const PaletteColour& c : palette.colours)
        colours.push_back({c.red, c.green, c.blue});
    return colours;
}

std::string Text(const std::vector<std::uint8_t>& bytes)
{
    return {bytes.begin(), bytes.end()};
}

std::string Big32(std::uint32_t value)
{
    return {static_cast<char>(value >> 24), static_cast<char>(value >> 16), static_cast<char>(value >> 8),
            static_cast<char>(value)};
}

// A PNG chunk with its length and CRC.
std::string Chunk(const std::string& type, const std::string& data)
{
    const std::string body = type + data;
    return Big32(static_cast<std::uint32_t>(data.size())) + body +
           Big32(static_cast<std::uint32_t>(
               crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()))));
}

// The signature and the header chunk of a PNG picture.
std::string PngHead(std::uint32_t width, std::uint32_t height, int depth, int type, int interlace = 0)
{
    return "\x89PNG\r\n\x1a\n" +
           Chunk("IHDR", Big32(width) + Big32(height) + std::string{char(depth), char(type), 0, 0, char(interlace)});
}

std::string Idat(const std::string& rows)
{
    uLongf size = compressBound(static_cast<uLong>(rows.size()));
    std::string packed(size, '\0');
    compress(reinterpret_cast<Bytef*>(packed.data()), &size, reinterpret_cast<const Bytef*>(rows.data()),
             static_cast<uLong>(rows.size()));
    packed.resize(size);
    return Chunk("IDAT", packed);
}

// 16 different colours, one pixel each, as a plain PPM.
std::vector<Rgb> Known()
{
    std::vector<Rgb> known;
    for (int i = 0; i < 16; ++i)
        known.push_back({i * 16, 255 - i * 5, i * 7});
    return known;
}

std::string Ppm(const std::vector<Rgb>& colours)
{
    std::string ppm = "P3\n" + std::to_string(colours.size()) + " 1\n255\n";
    for (const Rgb& c : colours)
        ppm += std::to_string(c[0]) + " " + std::to_string(c[1]) + " " + std::to_string(c[2]) + "\n";
    return ppm;
}

// A folder of the test's own, where other programs write the files that the readers then take.
class ImageFiles : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        m_folder = fs::temp_directory_path() / ("vexa-images-" + std::to_string(std::random_device()()));
        fs::create_directories(m_folder);
    }
    void TearDown() override { fs::remove_all(m_folder); }

    // The file that the shell command writes into the folder (the command runs there), or "" when it
    // fails.
    std::string Make(const std::string& command) const
    {
        const std::string line = "cd '" + m_folder.string() + "' && " + command + " 2>/dev/null";
        if (std::system(line.c_str()) != 0)
            return "";
        std::ifstream file(m_folder / "out", std::ios::binary);
        return {std::istreambuf_iterator<char>(file), {}};
    }

    static bool HaveTools()
    {
        return std::system("for tool in convert pnmtopng ppmtopcx ppmtoilbm pamenlarge; do command -v $tool || exit 1; "
                           "done >/dev/null") == 0;
    }

    void Save(const std::string& name, const std::vector<std::uint8_t>& bytes) const
    {
        std::ofstream(m_folder / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }

    fs::path m_folder;
};

TEST_F(ImageFiles, ReadersTakeWhatImageProgramsWrite)
{
    if (!HaveTools())
        GTEST_SKIP() << "needs ImageMagick (imagemagick) and netpbm";
    std::ofstream(m_folder / "known.ppm") << Ppm(Known());
    const struct
    {
        const char* command;
        Reader reader;
        std::size_t count; // the encoders put the 16 colours first, in an order of their own
    } cases[] = {
        {"convert known.ppm PNG8:out", ReadPngPalette, 16},
        {"convert known.ppm GIF:out", ReadGifPalette, 16},
        {"convert known.ppm -type Palette PCX:out", ReadPcxPalette, 256},
        {"ppmtopcx known.ppm >out", ReadPcxPalette, 16},
        {"ppmtopcx -8bit known.ppm >out", ReadPcxPalette, 256},
        {"ppmtoilbm known.ppm >out", ReadIlbmPalette, 16},
    };
    const std::vector<Rgb> known = Known();
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.command);
        const std::string file = Make(c.command);
        ASSERT_FALSE(file.empty());
        const PaletteReadResult result = Read(c.reader, file);
        ASSERT_FALSE(result.fault) << DescribeFault(*result.fault);
        const std::vector<Rgb> read = Colours(result.palette);
        ASSERT_EQ(read.size(), c.count);
        EXPECT_EQ(std::set<Rgb>(read.begin(), read.begin() + 16), std::set<Rgb>(known.begin(), known.end()));
    }
}

// A strip of colours with a colour twice side by side and one again later, pictures that are no grid,
// and grey ones of every depth: each reads as its cells, row by row, whatever the program, scale, filter
// and bit depth. The palette that vexapal writes, at 1x and 8x, reads back the same through ImageMagick.
TEST_F(ImageFiles, PngPicturesReadAsTheirCellsInOrder)
{
    if (!HaveTools())
        GTEST_SKIP() << "needs ImageMagick (imagemagick) and netpbm";
    std::vector<Rgb> strip = Known();
    strip.insert(strip.end(), {strip[15], strip[0]});
    const std::vector<Rgb> pattern = {{1, 2, 3}, {4, 5, 6}, {4, 5, 6}, {1, 2, 3}};
    std::ofstream(m_folder / "strip.ppm") << Ppm(strip);
    std::ofstream(m_folder / "pattern.ppm") << "P3\n2 2\n255\n1 2 3 4 5 6\n4 5 6 1 2 3\n";
    std::ofstream(m_folder / "rows.ppm") << "P3\n2 2\n255\n1 2 3 1 2 3\n4 5 6 4 5 6\n";
    std::ofstream(m_folder / "grid.ppm") << "P3\n2 2\n255\n1 2 3 4 5 6\n1 2 3 1 2 3\n";
    std::ofstream(m_folder / "grey.pgm") << "P2\n4 1\n255\n0 40 40 255\n";
    std::ofstream(m_folder / "grey2.pgm") << "P2\n4 1\n3\n0 1 3 1\n";
    std::ofstream(m_folder / "grey16.pgm") << "P2\n3 1\n65535\n0 65535 257\n";
    std::ofstream(m_folder / "bits.pbm") << "P1\n3 1\n1 0 1\n";
    const Palette aba{"", {}, {{1, 2, 3}, {4, 5, 6}, {1, 2, 3}}};
    Save("written1.png", WritePngPalette(aba, 1));
    Save("written8.png", WritePngPalette(aba, 8));
    const std::vector<Rgb> grey = {{0, 0, 0}, {40, 40, 40}, {40, 40, 40}, {255, 255, 255}};
    const struct
    {
        const char* command;
        std::vector<Rgb> colours;
    } cases[] = {
        {"convert strip.ppm PNG24:out", strip},
        {"convert strip.ppm -scale 800% PNG24:out", strip},
        {"convert strip.ppm -scale 3200% PNG32:out", strip},
        {"convert strip.ppm -scale 800% PNG48:out", strip},
        {"convert strip.ppm -scale 3200% PNG64:out", strip},
        {"pamenlarge 8 strip.ppm | pnmtopng -force -nofilter >out", strip},
        {"pamenlarge 8 strip.ppm | pnmtopng -force -sub >out", strip},
        {"pamenlarge 8 strip.ppm | pnmtopng -force -up >out", strip},
        {"pamenlarge 8 strip.ppm | pnmtopng -force -avg >out", strip},
        {"pamenlarge 8 strip.ppm | pnmtopng -force -paeth >out", strip},
        {"pnmtopng -force -paeth pattern.ppm >out", pattern},
        {"pnmtopng -force rows.ppm >out", {{1, 2, 3}, {1, 2, 3}, {4, 5, 6}, {4, 5, 6}}},
        {"pamenlarge 8 grid.ppm | pnmtopng -force -paeth >out", {{1, 2, 3}, {4, 5, 6}, {1, 2, 3}, {1, 2, 3}}},
        {"pamenlarge 32 grey.pgm | pnmtopng -force -paeth >out", grey},
        {"pnmtopng -force grey2.pgm >out", {{0, 0, 0}, {85, 85, 85}, {255, 255, 255}, {85, 85, 85}}},
        {"pnmtopng -force grey16.pgm >out", {{0, 0, 0}, {255, 255, 255}, {1, 1, 1}}},
        {"pnmtopng -force bits.pbm >out", {{0, 0, 0}, {255, 255, 255}, {0, 0, 0}}},
        {"cp written1.png out", {{1, 2, 3}, {4, 5, 6}, {1, 2, 3}}},
        {"convert written1.png PNG24:out", {{1, 2, 3}, {4, 5, 6}, {1, 2, 3}}},
        {"convert written8.png PNG24:out", {{1, 2, 3}, {4, 5, 6}, {1, 2, 3}}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.command);
        const std::string file = Make(c.command);
        ASSERT_FALSE(file.empty());
        const PaletteReadResult result = Read(ReadPngPalette, file);
        ASSERT_FALSE(result.fault) << DescribeFault(*result.fault);
        EXPECT_EQ(Colours(result.palette), c.colours);
    }
    // The written picture itself: 3 cells of 8 pixels square, each all one colour.
    const std::string pixels = Make("convert written8.png -depth 8 RGB:out");
    ASSERT_EQ(pixels.size(), 24u * 8 * 3);
    for (std::size_t i = 0; i < pixels.size(); i += 3)
        ASSERT_EQ(pixels[i], i / 3 % 24 / 8 == 1 ? 4 : 1) << i;
}

TEST(ImageFormats, ReadersTakeEveryKindOfFile)
{
    std::string pcx16(128, '\0');
    pcx16.replace(0, 4, "\x0a\x05\x01\x01");
    pcx16.replace(16, 6, "\x01\x02\x03\x04\x05\x06");
    std::string pcx2 = pcx16, pcx256 = pcx16;
    pcx16[65] = 4; // 4 planes of 1 bit
    pcx2[65] = 1;
    pcx256[3] = 8;
    pcx256[65] = 1;
    pcx256 += "\x2a\x0c" + std::string(768, '\x07'); // a picture of one byte, then the table
    const struct
    {
        Reader reader;
        std::string bytes;
        Rgb first;
        std::size_t count;
    } cases[] = {
        // No global table: extensions (one of two sub-blocks, one of none) before the image's own table.
        {ReadGifPalette,
         "GIF87a\1\0\1\0\0\0\0\x21\xf9\x02\0\0\x01\0\0\x21\xfe\0\x2c\0\0\0\0\1\0\1\0\x80\1\2\3\4\5\6"s,
         {1, 2, 3},
         2},
        {ReadGifPalette, "GIF89a\1\0\1\0\x82\0\0"s + std::string(24, '\x09'), {9, 9, 9}, 8},
        {ReadPcxPalette, pcx16, {1, 2, 3}, 16},
        {ReadPcxPalette, pcx2, {1, 2, 3}, 2},
        {ReadPcxPalette, pcx256, {7, 7, 7}, 256},
        // An odd chunk padded to an even size, then a map padded to an even size.
        {ReadIlbmPalette, "FORM\0\0\0\0PBM ANNO\0\0\0\x01x\0CMAP\0\0\0\x04\1\2\3\0"s, {1, 2, 3}, 1},
        {ReadIlbmPalette, "FORM\0\0\0\0ILBMCMAP\0\0\0\x06\1\2\3\4\5\6"s, {1, 2, 3}, 2},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.bytes.substr(0, 8));
        const PaletteReadResult result = Read(c.reader, c.bytes);
        ASSERT_FALSE(result.fault) << DescribeFault(*result.fault);
        ASSERT_EQ(result.palette.colours.size(), c.count);
        EXPECT_EQ(Colours(result.palette)[0], c.first);
    }
}

TEST(ImageFormats, PngFaultsNameTheByteAndWhatWasExpected)
{
    const std::string end = Chunk("IEND", "");
    const std::string rgb = PngHead(1, 2, 8, 2);
    std::string badCrc = Text(WritePngPalette({"", {}, {{1, 2, 3}}}, 1));
    badCrc[20] ^= 1;
    std::string alternating(65537, '\0');
    for (std::size_t i = 2; i < alternating.size(); i += 2)
        alternating[i] = 1;
    const struct
    {
        std::string bytes;
        std::string fault;
    } cases[] = {
        {"\x89PNG\r\n\x1a", "byte 0: expected the PNG signature"},
        {"\x89PNG\r\n\x1a\n" + Chunk("IHDX", std::string(13, '\0')), "byte 8: expected an IHDR chunk of 13 bytes"},
        {PngHead(0, 1, 8, 2), "byte 16: expected a width and a height from 1 to 2147483647"},
        {PngHead(1, 0x80000000, 8, 2), "byte 16: expected a width and a height from 1 to 2147483647"},
        {PngHead(1, 1, 4, 2), "byte 24: expected a colour type and a bit depth that PNG allows together"},
        {PngHead(1, 1, 16, 3), "byte 24: expected a colour type and a bit depth that PNG allows together"},
        {PngHead(1, 1, 8, 5), "byte 24: expected a colour type and a bit depth that PNG allows together"},
        {PngHead(1, 1, 8, 2, 1), "byte 28: expected a picture that is not interlaced"},
        {badCrc, "byte 29: expected the CRC of the IHDR chunk"},
        {rgb + Big32(1), "byte 33: expected a chunk (length, type, data and CRC), up to an IEND chunk"},
        {rgb + Big32(0x80000000) + "IDAT" + std::string(8, '\0'),
         "byte 33: expected a chunk length that fits in the file's 49 bytes"},
        {rgb + Idat(std::string(8, '\0')),
         "byte 56: expected a chunk (length, type, data and CRC), up to an IEND chunk"},
        {PngHead(1, 1, 8, 3) + Chunk("PLTE", "abcd") + end, "byte 33: expected a PLTE of 1 to 256 colours of 3 bytes"},
        {PngHead(1, 1, 8, 3) + Chunk("PLTE", std::string(771, '\0')) + end,
         "byte 33: expected a PLTE of 1 to 256 colours of 3 bytes"},
        {PngHead(1, 1, 8, 3) + end, "byte 45: expected a PLTE chunk in an indexed picture"},
        {rgb + end, "byte 45: expected an IDAT chunk"},
        // Larger than the reader holds, however little data inflates to it.
        {PngHead(0x7FFFFFFF, 0x7FFFFFFF, 16, 6) + Idat("") + end, "byte 16: expected a picture of at most 64 MiB"},
        {PngHead(4096, 4097, 8, 6) + Idat("") + end, "byte 16: expected a picture of at most 64 MiB"},
        {rgb + Idat(std::string(4, '\0')) + end, "byte 41: expected image data that inflates to its 2 rows of 3 bytes"},
        {rgb + Idat(std::string(9, '\0')) + end, "byte 41: expected image data that inflates to its 2 rows of 3 bytes"},
        {rgb + Chunk("IDAT", "not zlib") + end, "byte 41: expected image data that inflates to its 2 rows of 3 bytes"},
        {rgb + Idat(std::string("\0\1\2\3\5\1\2\3", 8)) + end,
         "byte 41: expected filter types 0 to 4 at the start of each row"},
        {PngHead(65536, 1, 8, 0) + Idat(alternating) + end,
         "byte 16: expected a picture of at most 65535 cells of one colour (65536 cells of 1 pixels square)"},
    };
    for (const auto& c : cases)
    {
        const PaletteReadResult result = Read(ReadPngPalette, c.bytes);
        ASSERT_TRUE(result.fault) << c.fault;
        EXPECT_EQ(DescribeFault(*result.fault), c.fault);
        EXPECT_TRUE(result.palette.colours.empty());
    }
}

// The written picture: one row of cells, the palette in order, at most 256 colours in 8-bit indices;
// an indexed picture's alpha is kept beside its colours, and a grey or truecolour picture's one
// transparent colour has alpha 0.
TEST(ImageFormats, PngWriterMakesOneRowOfCellsAndAlphaIsKeptBesideTheColours)
{
    const Palette aba{"", {}, {{1, 2, 3}, {4, 5, 6}, {1, 2, 3}}};
    const struct
    {
        Palette palette;
        int scale;
        std::uint32_t width, height;
        std::size_t count;
    } writes[] = {{aba, 1, 3, 1, 3},
                  {aba, 8, 24, 8, 3},
                  {aba, 0, 3, 1, 3},
                  {{"", {}, std::vector<PaletteColour>(300)}, 2, 512, 2, 256}};
    for (const auto& w : writes)
    {
        const std::string file = Text(WritePngPalette(w.palette, w.scale));
        EXPECT_EQ(file.substr(16, 10), Big32(w.width) + Big32(w.height) + "\x08\x03");
        const PaletteReadResult back = Read(ReadPngPalette, file);
        ASSERT_FALSE(back.fault) << DescribeFault(*back.fault);
        Palette expected = w.palette;
        expected.colours.resize(w.count);
        EXPECT_TRUE(SameColours(back.palette, expected));
    }
    const std::string indexed =
        PngHead(1, 1, 8, 3) + Chunk("PLTE", "\1\2\3\4\5\6") + Chunk("tRNS", "\x80") + Chunk("IEND", "");
    const std::vector<PaletteColour> colours = Read(ReadPngPalette, indexed).palette.colours;
    ASSERT_EQ(colours.size(), 2u);
    EXPECT_EQ(colours[0].alpha, 0x80);
    EXPECT_EQ(colours[1].alpha, std::nullopt);
    const std::string keyed = PngHead(2, 1, 8, 2) + Chunk("tRNS", std::string("\0\1\0\2\0\3", 6)) +
                              Idat(std::string("\0\1\2\3\4\5\6", 7)) + Chunk("IEND", "");
    const std::vector<PaletteColour> keyedColours = Read(ReadPngPalette, keyed).palette.colours;
    ASSERT_EQ(keyedColours.size(), 2u);
    EXPECT_EQ(keyedColours[0].alpha, 0);
    EXPECT_EQ(keyedColours[1].alpha, 255);
}

TEST(ImageFormats, FaultsNameTheByteAndWhatWasExpected)
{
    std::string pcx(128, '\0');
    pcx.replace(0, 4, "\x0a\x05\x01\x08");
    pcx[65] = 3; // 24 bits
    std::string pcx8 = pcx;
    pcx8[65] = 1;
    const struct
    {
        Reader reader;
        std::string bytes;
        const char* fault;
    } cases[] = {
        {ReadGifPalette, "GIF88a", "byte 0: expected \"GIF87a\" or \"GIF89a\""},
        {ReadGifPalette, "GIF89a\1\0"s, "byte 8: expected a 7-byte logical screen descriptor"},
        {ReadGifPalette, "GIF89a\1\0\1\0\x87\0\0\1\2\3"s, "byte 16: expected a colour table of 256 colours"},
        {ReadGifPalette, "GIF89a\1\0\1\0\0\0\0\x3b"s, "byte 13: expected an image before the trailer"},
        {ReadGifPalette, "GIF89a\1\0\1\0\0\0\0\x00"s, "byte 13: expected an extension (0x21) or an image (0x2C)"},
        {ReadGifPalette, "GIF89a\1\0\1\0\0\0\0\x21\xf9\x04\0"s,
         "byte 17: expected the end of the extension's sub-blocks"},
        {ReadGifPalette, "GIF89a\1\0\1\0\0\0\0\x2c\0\0\0\0\1\0\1\0\x07"s,
         "byte 22: expected a local colour table, as the file has no global one"},
        {ReadGifPalette, "GIF89a\1\0\1\0\0\0\0\x2c\0\0"s, "byte 16: expected a 10-byte image descriptor"},
        {ReadGifPalette, "GIF89a\1\0\1\0\0\0\0"s, "byte 13: expected an image"},
        {ReadPcxPalette, "\x0b", "byte 0: expected the manufacturer byte 0x0A"},
        {ReadPcxPalette, "\x0a\x01", "byte 1: expected version 0, 2, 3, 4 or 5"},
        {ReadPcxPalette, "\x0a\x05\x00", "byte 2: expected run-length encoding 1"},
        {ReadPcxPalette, "\x0a\x05\x01\x08", "byte 4: expected a 128-byte header"},
        {ReadPcxPalette, pcx8 + std::string(769, '\0'),
         "byte 128: expected 0x0C and a 256-colour table in the last 769 bytes of an 8-bit picture"},
        {ReadPcxPalette, pcx8,
         "byte 128: expected 0x0C and a 256-colour table in the last 769 bytes of an 8-bit picture"},
        {ReadPcxPalette, pcx,
         "byte 65: expected planes that make at most 4 bits per pixel, or 1 plane of 8 bits (a picture with a "
         "palette)"},
        {ReadIlbmPalette, "FORN", "byte 0: expected \"FORM\""},
        {ReadIlbmPalette, "FORM\0\0\0\0ACBM"s, "byte 8: expected the form type \"ILBM\" or \"PBM \""},
        {ReadIlbmPalette, "FORM\0\0\0\0ILBMBMHD\0\0\0\x14"s,
         "byte 16: expected a chunk size that fits in the file's 20 bytes"},
        {ReadIlbmPalette, "FORM\0\0\0\0ILBMCMAP\0\0\0\x02\0\0"s,
         "byte 16: expected a CMAP of 1 to 256 colours of 3 bytes"},
        {ReadIlbmPalette, "FORM\0\0\0\0ILBMCMAP\0\0\x03\x03"s + std::string(771, '\0'),
         "byte 16: expected a CMAP of 1 to 256 colours of 3 bytes"},
        {ReadIlbmPalette, "FORM\0\0\0\0ILBMBODY\0\0\0\x01\0\0"s, "byte 22: expected a \"CMAP\" chunk"},
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
    std::string pcxWindow = pcx;
    pcxWindow[4] = 1; // the window starts after it ends
    const struct
    {
        std::string bytes;
        bool png, gif, pcx, ilbm;
    } cases[] = {
        {"\x89PNG\r\n\x1a\n", true, false, false, false},
        {"\x89PNG\r\n\x1a", false, false, false, false},
        {"GIF87a", false, true, false, false},
        {"GIF89a", false, true, false, false},
        {"GIF88a", false, false, false, false},
        {pcx, false, false, true, false},
        {pcx.substr(0, 127), false, false, false, false},
        {pcxWindow, false, false, false, false},
        {"FORM\0\0\0\0ILBM"s, false, false, false, true},
        {"FORM\0\0\0\0PBM "s, false, false, false, true},
        {"FORM\0\0\0\0AIFF"s, false, false, false, false},
    };
    for (const auto& c : cases)
    {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(c.bytes.data());
        EXPECT_EQ(LooksLikePng(bytes, c.bytes.size()), c.png) << c.bytes;
        EXPECT_EQ(LooksLikeGif(bytes, c.bytes.size()), c.gif) << c.bytes;
        EXPECT_EQ(LooksLikePcx(bytes, c.bytes.size()), c.pcx) << c.bytes;
        EXPECT_EQ(LooksLikeIlbm(bytes, c.bytes.size()), c.ilbm) << c.bytes;
    }
}
} // namespace
