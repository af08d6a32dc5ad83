// The palettes of pictures: what image programs write reads back as the colours they were given,
// hand-made files of every kind that the readers take, and the byte where a broken file goes wrong.
#include "formats/BinaryFields.h"
#include "formats/ImageSignatures.h"

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

    static bool Have(const std::string& tool)
    {
        return std::system(("command -v " + tool + " >/dev/null").c_str()) == 0;
    }

    fs::path m_folder;
};

TEST_F(ImageFiles, ReadersTakeWhatImageProgramsWrite)
{
    if (!Have("convert") || !Have("ppmtopcx") || !Have("ppmtoilbm"))
        GTEST_SKIP() << "needs ImageMagick (imagemagick) and netpbm";
    std::ofstream(m_folder / "known.ppm") << Ppm(Known());
    const struct
    {
        const char* command;
        Reader reader;
        std::size_t count; // the encoders put the 16 colours first, in an order of their own
    } cases[] = {
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
        EXPECT_EQ(LooksLikeGif(bytes, c.bytes.size()), c.gif) << c.bytes;
        EXPECT_EQ(LooksLikePcx(bytes, c.bytes.size()), c.pcx) << c.bytes;
        EXPECT_EQ(LooksLikeIlbm(bytes, c.bytes.size()), c.ilbm) << c.bytes;
    }
}
} // namespace
