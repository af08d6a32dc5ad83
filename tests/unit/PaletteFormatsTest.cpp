// The palette formats of other programs: each round-trips and is found from its content, each writes
// the layout other programs read, and each names the line or byte where a file goes wrong.
#include "formats/PaletteFormats.h"

#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <string_view>
#include <vector>

namespace
{
std::vector<std::uint8_t> Bytes(std::string_view text)
{
    return {text.begin(), text.end()};
}

// The head of an 8-bit bitmap: file header, an info header of the given size with the bit count and the
// colours used, then the colour table (blue, green, red, 0) of the given colours.
std::string BitmapHead(std::uint32_t infoSize, std::uint16_t bitCount, std::uint32_t coloursUsed, std::size_t entries)
{
    std::string head = "BM" + std::string(12, '\0');
    head.resize(14 + std::max<std::uint32_t>(infoSize, 36), '\0');
    const auto put = [&head](std::size_t offset, std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            head[offset + i] = static_cast<char>(value >> (8 * i));
    };
    put(14, infoSize, 4);
    put(28, bitCount, 2);
    put(46, coloursUsed, 4);
    for (std::size_t i = 0; i < entries; ++i)
        head += std::string{static_cast<char>(i + 3), static_cast<char>(i + 2), static_cast<char>(i + 1), '\0'};
    return head;
}

// Different colours with names, so that padding, order and names all show.
Palette Sample(std::size_t count)
{
    Palette palette{"Sample", 8, {}};
    for (std::size_t i = 0; i < count; ++i)
        palette.colours.push_back({static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i % 256),
                                   static_cast<std::uint8_t>(i * 7 + i / 256), "colour " + std::to_string(i)});
    return palette;
}

TEST(PaletteFormats, EveryFormatRoundTripsAndIsFoundFromItsContent)
{
    for (const PaletteFormatInfo& info : kPaletteFormats)
    {
        for (const std::size_t count :
             {std::size_t{1}, std::size_t{16}, std::size_t{256}, std::size_t{257}, kMaxExchangeColours})
        {
            if (count > info.maxColours || info.write == nullptr)
                continue;
            SCOPED_TRACE(std::string(info.name) + " with " + std::to_string(count) + " colours");
            Palette palette = Sample(count);
            if (info.channelBits < 8) // a VGA table's 6 bits: 0, 4, 8, ... 255
            {
                for (PaletteColour& colour : palette.colours)
                    colour.red = colour.green = colour.blue =
                        static_cast<std::uint8_t>((colour.red / 4 * 255 + 31) / 63);
            }
            const std::vector<std::uint8_t> file = WritePalette(info.format, palette, "Tuesday");
            if (info.signature != nullptr || info.format == PaletteFormat::hex ||
                info.format == PaletteFormat::paintnet)
                EXPECT_EQ(DetectPaletteFormat(file.data(), file.size()), info.format);
            const PaletteReadResult back = ReadPaletteAs(info.format, file.data(), file.size());
            ASSERT_FALSE(back.fault) << DescribeFault(*back.fault);

            Palette expected = palette;
            if (info.alwaysFull)
                expected.colours.resize(info.maxColours, PaletteColour{0, 0, 0, {}});
            EXPECT_TRUE(SameColours(back.palette, expected));
            if (info.format == PaletteFormat::gpl)
            {
                EXPECT_EQ(back.palette.name, "Sample");
                EXPECT_EQ(back.palette.columns, 8);
                for (std::size_t i = 0; i < count; ++i)
                    ASSERT_EQ(back.palette.colours[i].name, palette.colours[i].name);
            }
        }
    }
}

TEST(PaletteFormats, WritersMakeTheLayoutsOtherProgramsRead)
{
    Palette two{"", std::nullopt, {{255, 128, 0, "orange"}, {1, 2, 3, {}}}};
    struct Case
    {
        PaletteFormat format;
        std::string_view bytes;
    };
    using namespace std::string_view_literals;
    const Case cases[] = {
        {PaletteFormat::gpl, "GIMP Palette\nName: \n#\n255 128   0\torange\n  1   2   3\n"},
        {PaletteFormat::jasc, "JASC-PAL\r\n0100\r\n2\r\n255 128 0\r\n1 2 3\r\n"},
        {PaletteFormat::hex, "ff8000\n010203\n"},
        {PaletteFormat::paintnet, "; Paint.NET palette: one colour per line as AARRGGBB\r\nFFFF8000\r\nFF010203\r\n"},
        {PaletteFormat::riff, "RIFF\x18\0\0\0PAL data\x0c\0\0\0\0\x03\x02\0\xff\x80\0\0\x01\x02\x03\0"sv},
        {PaletteFormat::txt, "Vexa - Win32 Color Palette Tool\r\n"
                             "Written by Vexa, the color palette tool of Quillon Computing\r\n\r\n"
                             "Content: System palette dump\r\nTime: Tuesday\r\nNumber of entries: 2\r\n\r\n"
                             "Index: R,   G,   B\r\n  0: 255, 128,   0\r\n  1:   1,   2,   3\r\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WritePalette(c.format, two, "Tuesday"), Bytes(c.bytes)) << FormatInfo(c.format).name;
    // XML's five special characters in a name become entities, a tab a reference, a line break a blank
    // and a byte that is no UTF-8 U+FFFD.
    const Palette special{"", std::nullopt, {{255, 128, 0, "<a & 'b'\t\"\n\xff>"}}};
    const std::vector<std::uint8_t> soc = WritePalette(PaletteFormat::soc, special, "");
    EXPECT_NE(std::string(soc.begin(), soc.end())
                  .find("\n  <draw:color draw:name=\"&lt;a &amp; &apos;b&apos;&#9;&quot; \xef\xbf\xbd&gt;\" "
                        "draw:color=\"#ff8000\"/>\n"
                        "</ooo:color-table>\n"),
              std::string::npos);
    EXPECT_EQ(ReadPaletteAs(PaletteFormat::soc, soc.data(), soc.size()).palette.colours[0].name,
              "<a & 'b'\t\" \xef\xbf\xbd>");
    // A VGA table's 6 bits, rounded: 255 is 63, 128 is 32, 1 is 0, 2 is 0 and 3 is 1.
    const std::vector<std::uint8_t> vga = WritePalette(PaletteFormat::vga, two, "");
    ASSERT_EQ(vga.size(), 768u);
    EXPECT_EQ(std::vector<std::uint8_t>(vga.begin(), vga.begin() + 7),
              (std::vector<std::uint8_t>{63, 32, 0, 0, 0, 1, 0}));

    // An Adobe table always holds 256 triples; the count and "no transparent colour" follow when fewer are used.
    const std::vector<std::uint8_t> act = WritePalette(PaletteFormat::act, two, "");
    ASSERT_EQ(act.size(), 772u);
    EXPECT_EQ(std::vector<std::uint8_t>(act.begin(), act.begin() + 6),
              (std::vector<std::uint8_t>{255, 128, 0, 1, 2, 3}));
    EXPECT_EQ(std::vector<std::uint8_t>(act.begin() + 768, act.end()), (std::vector<std::uint8_t>{0, 2, 0xFF, 0xFF}));
    EXPECT_EQ(WritePalette(PaletteFormat::act, Sample(256), "").size(), 768u);
    EXPECT_EQ(WritePalette(PaletteFormat::bmp, two, "").size(), 9270u);
}

TEST(PaletteFormats, ReadersTakeWhatOtherProgramsWrite)
{
    struct Case
    {
        PaletteFormat format;
        std::string_view bytes;
        std::vector<std::uint8_t> firstColour;
        std::size_t count;
    };
    using namespace std::string_view_literals;
    std::string act(772, '\0');
    act.replace(0, 3, "\x0a\x0b\x0c");
    act.replace(768, 4, "\x00\x03\x00\x01"sv); // 3 colours, index 1 transparent
    const std::string bitmap124 = BitmapHead(124, 8, 0, 256), bitmap3 = BitmapHead(40, 8, 3, 3),
                      bitmap4 = BitmapHead(40, 4, 0, 16);
    const std::string bitmap36 = BitmapHead(36, 8, 2, 2);
    std::string actWithMark(768, '\x11'); // an Adobe table whose first colour spells a UTF-8 byte order mark
    actWithMark.replace(0, 3, "\xEF\xBB\xBF");
    std::string dump = "Vexa - Win32 Color Palette Tool\r\r\n"
                       "Written by Vexa, the color palette tool of Quillon Computing\r\r\n\r\r\n"
                       "Content: System palette dump\r\r\nTime: x\r\r\nNumber of entries: 1\r\r\n\r\r\n"
                       "Index: R,   G,   B\r\r\n  0:  10,  11,  12\r\r\n";
    std::string os2 = "BM" + std::string(12, '\0') + std::string("\x0c\0\0\0\0\0\0\0\1\0\4\0", 12);
    for (int i = 0; i < 16; ++i)
        os2 += "\x03\x02\x01"; // blue, green, red
    std::string vga(768, '\x3f');
    vga.replace(0, 3, "\x01\x20\x00"sv); // 6-bit 1, 32 and 0 are 4, 130 and 0
    const std::string soc =
        "\xEF\xBB\xBF<?xml version=\"1.0\"?>\r\n<!-- <a> & b -->\r\n<ooo:color-table xmlns:draw=\"d\">\r\n"
        "<draw:color draw:color='#0A0b0c'\r\n draw:name=\"A &amp; B &#x141;&#65;\tC&#10;&#9;D\"></draw:color>"
        "<![CDATA[<draw:color/>]]><other><draw:color/></other> text\r\n"
        "<draw:color draw:name=\"\" draw:color=\"#000000\" /></ooo:color-table>\r\n<!-- end -->";
    const Case cases[] = {
        {PaletteFormat::soc, soc, {10, 11, 12}, 2},
        {PaletteFormat::gpl,
         "GIMP Palette\r\nName: Web\r\nColumns: 6\r\n# comment\r\n\r\n 10\t11 12  dark  blue \r\n",
         {10, 11, 12},
         1},
        {PaletteFormat::jasc, "JASC-PAL\n0100\n1\n10 11 12\n\n", {10, 11, 12}, 1},
        {PaletteFormat::jasc, " JASC-PAL\n0100\n1\n10 11 12\n", {10, 11, 12}, 1},
        // A UTF-8 byte order mark, lines ended by CR alone, an alpha after each colour (as Aseprite writes).
        {PaletteFormat::jasc, "\xEF\xBB\xBFJASC-PAL\r0100\r1\r10 11 12\r", {10, 11, 12}, 1},
        // Lines ended by CR CR LF (a text-mode writer's CR LF), and a last line of a tab.
        {PaletteFormat::jasc, "JASC-PAL\r\r\n0100\r\r\n1\r\r\n10 11 12\r\r\n", {10, 11, 12}, 1},
        {PaletteFormat::txt, dump, {10, 11, 12}, 1},
        {PaletteFormat::jasc, "JASC-PAL\n0100\n1\n10 11 12\n\t", {10, 11, 12}, 1},
        {PaletteFormat::gpl, "GIMP Palette\nChannels: RGB\n10 11 12 red\n", {10, 11, 12}, 1},
        {PaletteFormat::gpl, "\xEF\xBB\xBFGIMP Palette\nChannels: RGBA\n10 11 12 0\tclear\n", {10, 11, 12}, 1},
        {PaletteFormat::paintnet, "; Paint.NET\r\n\r\nFF0A0B0C\r\n800a0b0c ; half\r\n0A0B0C\r\n", {10, 11, 12}, 3},
        // Paint.NET without a comment line: a comment after the first colour, or RRGGBB then AARRGGBB.
        {PaletteFormat::paintnet, "FF0A0B0C ; dark\r\nFF000000 ; black\r\n", {10, 11, 12}, 2},
        {PaletteFormat::paintnet, "0A0B0C\r\n800a0b0c\r\n", {10, 11, 12}, 2},
        {PaletteFormat::hex, "#0A0B0C\r\n\r\n0a0b0c\r\n", {10, 11, 12}, 2},
        // A RIFF palette with an odd-sized chunk before its data, which is padded to an even size.
        {PaletteFormat::riff,
         "RIFF\0\0\0\0PAL LIST\x03\0\0\0abc\0data\x08\0\0\0\0\x03\x01\0\x0a\x0b\x0c\x04"sv,
         {10, 11, 12},
         1},
        {PaletteFormat::act, act, {10, 11, 12}, 3},
        {PaletteFormat::act, actWithMark, {0xEF, 0xBB, 0xBF}, 256},
        // Bitmaps of the newest header kind with its table after it, and with a table of biClrUsed entries.
        {PaletteFormat::bmp, bitmap124, {1, 2, 3}, 256},
        {PaletteFormat::bmp, bitmap3, {1, 2, 3}, 3},
        {PaletteFormat::bmp, bitmap36, {1, 2, 3}, 2},
        // A 4-bit bitmap, and the 12-byte OS/2 header with 3-byte entries.
        {PaletteFormat::bmp, bitmap4, {1, 2, 3}, 16},
        {PaletteFormat::bmp, os2, {1, 2, 3}, 16},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(FormatInfo(c.format).name);
        const std::vector<std::uint8_t> bytes = Bytes(c.bytes);
        EXPECT_EQ(DetectPaletteFormat(bytes.data(), bytes.size()), c.format);
        const PaletteReadResult result = ReadPaletteAs(c.format, bytes.data(), bytes.size());
        ASSERT_FALSE(result.fault) << DescribeFault(*result.fault);
        ASSERT_EQ(result.palette.colours.size(), c.count);
        const PaletteColour& first = result.palette.colours[0];
        EXPECT_EQ((std::vector<std::uint8_t>{first.red, first.green, first.blue}), c.firstColour);
    }
    const std::vector<std::uint8_t> gpl = Bytes(cases[1].bytes);
    const Palette named = ReadPaletteAs(PaletteFormat::gpl, gpl.data(), gpl.size()).palette;
    EXPECT_EQ(named.name, "Web");
    EXPECT_EQ(named.columns, 6);
    EXPECT_EQ(named.colours[0].name, " dark  blue "); // as GIMP takes it: all after the blank that ends the blue
    const std::vector<std::uint8_t> socBytes = Bytes(soc);
    EXPECT_EQ(ReadPaletteAs(PaletteFormat::soc, socBytes.data(), socBytes.size()).palette.colours[0].name,
              "A & B \xC5\x81"
              "A C \tD");
    // A VGA table only when asked for: by content it is an Adobe table.
    const std::vector<std::uint8_t> vgaBytes = Bytes(vga);
    EXPECT_EQ(DetectPaletteFormat(vgaBytes.data(), vgaBytes.size()), PaletteFormat::act);
    const Palette vgaPalette = ReadPaletteAs(PaletteFormat::vga, vgaBytes.data(), vgaBytes.size()).palette;
    ASSERT_EQ(vgaPalette.colours.size(), 256u);
    EXPECT_EQ((std::vector<int>{vgaPalette.colours[0].red, vgaPalette.colours[0].green, vgaPalette.colours[0].blue,
                                vgaPalette.colours[1].red}),
              (std::vector<int>{4, 130, 0, 255}));
}

TEST(PaletteFormats, DetectionSettlesTheFilesOfExactlyAnAdobeTableSize)
{
    using namespace std::string_literals;
    // "#rrggbb\n" is 8 bytes, so 96 of them make 768 bytes of hex text.
    std::string hex;
    for (int i = 0; i < 96; ++i)
        hex += "#a0b0c0\n";
    std::string actStartingWithBm(768, '\x11');
    actStartingWithBm.replace(0, 2, "BM");
    std::string actStartingWithGimp(768, '\x11');
    actStartingWithGimp.replace(0, 12, "GIMP Palette");
    const std::vector<std::uint8_t> riffFile =
        WritePalette(PaletteFormat::riff, {"", {}, std::vector<PaletteColour>(186)}, "");
    std::string riff(riffFile.begin(), riffFile.end()); // 768 bytes
    riff[16] += 2;                                      // its data chunk 2 bytes larger than the file
    std::string wave = std::string("RIFF\0\0\0\0WAVE", 12) + std::string(756, '\0');
    std::string hexLetters, hexThenBinary = "abcdef\n" + std::string(761, '\x01');
    for (int i = 0; i < 96; ++i)
        hexLetters += "abcdef\r\n";
    const struct
    {
        std::string bytes;
        std::optional<PaletteFormat> format;
    } cases[] = {
        {hex, PaletteFormat::hex},
        // A file that starts with a signature is that format, broken or not.
        {actStartingWithBm, PaletteFormat::bmp},
        {actStartingWithGimp, PaletteFormat::gpl},
        {riff, PaletteFormat::riff},
        {wave, PaletteFormat::riff},
        {std::string("RIFF\4\0\0\0PAL ", 12), PaletteFormat::riff},
        {hexLetters, PaletteFormat::hex},
        {hexThenBinary, PaletteFormat::act},
        {"ff8000 \n010203\n", PaletteFormat::hex},
        {"\nff8000\n", PaletteFormat::hex},
        {"FF0A0B0C\nFF010203\n", PaletteFormat::paintnet},
        {std::string(772, '\0'), PaletteFormat::act},
        {std::string(767, '\x11'), std::nullopt},
        {"", std::nullopt},
        {"Palette\n1 2 3\n", std::nullopt},
        // The signatures of the swatch and image formats (their own tests try the finer ones).
        {"ASEF\0\1\0\0"s, PaletteFormat::ase},
        {" <?xml version=\"1.0\"?><!-- c --><office:color-table ", PaletteFormat::soc},
        {"<office:colour-table>", std::nullopt},
        {"\x89PNG\r\n\x1a\n"s, PaletteFormat::png},
        {"GIF89a", PaletteFormat::gif},
        {"GIF87a", PaletteFormat::gif},
        {"FORM\0\0\0\4ILBM"s, PaletteFormat::ilbm},
        {"FORM\0\0\0\4PBM "s, PaletteFormat::ilbm},
        {"FORM\0\0\0\4AIFF"s, std::nullopt},
    };
    for (const auto& c : cases)
    {
        const std::vector<std::uint8_t> bytes = Bytes(c.bytes);
        EXPECT_EQ(DetectPaletteFormat(bytes.data(), bytes.size()), c.format) << c.bytes.substr(0, 20);
    }
}

TEST(PaletteFormats, FaultsNameTheLineOrByteAndWhatWasExpected)
{
    using namespace std::string_literals;
    const std::string dumpHead = "Vexa - Win32 Color Palette Tool\r\n"
                                 "Written by Vexa, the color palette tool of Quillon Computing\r\n\r\n"
                                 "Content: System palette dump\r\nTime: \r\n";
    const std::string dumpTwo = dumpHead + "Number of entries: 2\r\n\r\nIndex: R,   G,   B\r\n";
    const std::vector<std::uint8_t> black97 =
        WritePalette(PaletteFormat::hex, {"", {}, std::vector<PaletteColour>(97)}, "");
    std::string actCount(772, '\0');
    actCount[768] = 1; // 256 + 1 colours
    actCount[769] = 1;
    const struct
    {
        PaletteFormat format;
        std::string bytes;
        const char* fault;
    } cases[] = {
        {PaletteFormat::gpl, "GIMP Palette 2\n1 2 3\n", "line 1: expected \"GIMP Palette\""},
        {PaletteFormat::gpl, "GIMP Palette\n1 2\n",
         "line 2: expected a colour: red, green and blue from 0 to 255, then a name if any"},
        {PaletteFormat::gpl, "GIMP Palette\n1 2 256\n",
         "line 2: expected a colour: red, green and blue from 0 to 255, then a name if any"},
        {PaletteFormat::gpl, "GIMP Palette\n1 2 3x\n",
         "line 2: expected a colour: red, green and blue from 0 to 255, then a name if any"},
        {PaletteFormat::gpl, "GIMP Palette\nColumns: 257\n1 2 3\n",
         "line 2: expected a number of columns from 0 to 256"},
        {PaletteFormat::gpl, "GIMP Palette\nName: x\n#\n", "line 4: expected at least one colour"},
        {PaletteFormat::gpl, "GIMP Palette\nChannels: RGBA\n1 2 3\n",
         "line 3: expected a colour: red, green, blue and alpha from 0 to 255, then a name if any"},
        {PaletteFormat::gpl, "GIMP Palette\nChannels: CMYK\n",
         "line 2: expected \"Channels: RGB\" or \"Channels: RGBA\""},
        {PaletteFormat::paintnet, ";\nFF000000\nFF00000\n",
         "line 3: expected a colour as hex digits AARRGGBB or RRGGBB"},
        {PaletteFormat::paintnet, std::string(black97.begin(), black97.end()), "line 97: expected at most 96 colours"},
        {PaletteFormat::paintnet, "; x\n#FF0A0B0C\n", "line 2: expected a colour as hex digits AARRGGBB or RRGGBB"},
        {PaletteFormat::hex, "ff8000\n80010203\n", "line 2: expected a colour as six hex digits RRGGBB"},
        {PaletteFormat::gpl, "GIMP Palette\nChannels: RGBA\n1 2 3 4x name\n",
         "line 3: expected a colour: red, green, blue and alpha from 0 to 255, then a name if any"},
        {PaletteFormat::jasc, "JASC-PAL\r\n0101\r\n", "line 2: expected the version \"0100\""},
        {PaletteFormat::jasc, "JASC-PAL\r\n0100\r\n0\r\n", "line 3: expected a colour count from 1 to 65535"},
        {PaletteFormat::jasc, "JASC-PAL\r\n0100\r\n2\r\n1 2 3\r\n", "line 5: expected 2 colours, found 1"},
        {PaletteFormat::jasc, "JASC-PAL\r\n0100\r\n1\r\n1 2 3 4\r\n",
         "line 4: expected a colour: red, green and blue from 0 to 255"},
        {PaletteFormat::jasc, "JASC-PAL\r\n0100\r\n1\r\n1 2 3\r\n\r\n4 5 6\r\n",
         "line 6: expected the end of the file after 1 colours"},
        {PaletteFormat::hex, "a0b0c0\n#a0b0c\n", "line 2: expected a colour as six hex digits RRGGBB"},
        {PaletteFormat::hex, "\n\n", "line 3: expected at least one colour"},
        {PaletteFormat::txt, "Vexa\r\n", "line 1: expected \"Vexa - Win32 Color Palette Tool\""},
        {PaletteFormat::txt, dumpHead + "Number of entries: 0\r\n",
         "line 6: expected \"Number of entries: \" and a number from 1 to 256"},
        {PaletteFormat::txt, dumpHead + "Number of entries: 257\r\n",
         "line 6: expected \"Number of entries: \" and a number from 1 to 256"},
        {PaletteFormat::txt, dumpTwo + "  0: 1, 2, 3\r\n  2: 1, 2, 3\r\n",
         "line 10: expected entry 1 as \"index: R, G, B\" with values from 0 to 255"},
        {PaletteFormat::txt, dumpTwo + "  0: 1, 2, 3\r\n", "line 10: expected 2 entries, found 1"},
        {PaletteFormat::txt, dumpTwo + "  0:   1,   2, 256\r\n",
         "line 9: expected entry 0 as \"index: R, G, B\" with values from 0 to 255"},
        {PaletteFormat::txt, dumpTwo + "  0: 1, 2, 3\r\n  1: 1, 2, 3\r\n  2: 1, 2, 3\r\n",
         "line 11: expected the end of the dump after 2 entries"},
        {PaletteFormat::act, std::string(700, '\0'), "byte 700: expected 256 colours of 3 bytes (768 bytes)"},
        {PaletteFormat::act, std::string(770, '\0'),
         "byte 770: expected a 2-byte colour count and a 2-byte transparent index"},
        {PaletteFormat::act, std::string(800, '\0'), "byte 772: expected the end of the file"},
        {PaletteFormat::act, std::string(772, '\0'), "byte 768: expected a colour count from 1 to 256"},
        {PaletteFormat::act, actCount, "byte 768: expected a colour count from 1 to 256"},
        {PaletteFormat::bmp, "BM" + std::string(8, '\0'), "byte 10: expected a 14-byte bitmap file header"},
        {PaletteFormat::bmp, "MB" + std::string(1076, '\0'), "byte 0: expected \"BM\""},
        {PaletteFormat::bmp, BitmapHead(40, 8, 0, 0).substr(0, 50), "byte 50: expected a 40-byte info header"},
        {PaletteFormat::bmp, BitmapHead(40, 24, 0, 0), "byte 28: expected 1, 4 or 8 bits per pixel"},
        {PaletteFormat::bmp, BitmapHead(12, 8, 0, 256), "byte 24: expected 1, 4 or 8 bits per pixel"},
        {PaletteFormat::bmp, BitmapHead(15, 8, 0, 0), "byte 14: expected an info header size of 12 or from 16 to 124"},
        {PaletteFormat::bmp, BitmapHead(15, 8, 0, 0).substr(0, 29),
         "byte 14: expected an info header size of 12 or from 16 to 124"},
        {PaletteFormat::bmp, BitmapHead(125, 8, 0, 256),
         "byte 14: expected an info header size of 12 or from 16 to 124"},
        {PaletteFormat::bmp, BitmapHead(40, 8, 16, 15),
         "byte 114: expected the whole colour table that the info header declares"},
        {PaletteFormat::vga, std::string(767, '\0'), "byte 767: expected 256 colours of 3 bytes (768 bytes)"},
        {PaletteFormat::vga, std::string(769, '\0'), "byte 768: expected the end of the file"},
        {PaletteFormat::vga, std::string(5, '\0') + '\x40' + std::string(762, '\0'),
         "byte 5: expected a value from 0 to 63"},
        {PaletteFormat::soc, "<?xml version=\"1.0\"?>\n<color/>",
         "line 2: expected the root element office:color-table"},
        {PaletteFormat::soc, "<!-- open", "line 1: expected the end of a comment (-->)"},
        {PaletteFormat::soc, "<o:color-table>\n<draw:color draw:color=\"#12345\"/></o:color-table>",
         "line 2: expected a draw:color attribute \"#rrggbb\""},
        {PaletteFormat::soc, "<o:color-table>\n<draw:color draw:name=\"x\"/></o:color-table>",
         "line 2: expected a draw:color attribute \"#rrggbb\""},
        {PaletteFormat::soc, "<o:color-table>\n<draw:color draw:name=x/>",
         "line 2: expected a quoted value of the attribute draw:name"},
        {PaletteFormat::soc, "<o:color-table><draw:color draw:name=\"&nbsp;\"/>",
         "line 1: expected an entity: &amp; &lt; &gt; &quot; &apos; or &#number;"},
        {PaletteFormat::soc, "<o:color-table><draw:color draw:name=\"&#xD800;\"/>",
         "line 1: expected a character reference to a Unicode character (&#NN; or &#xNN;)"},
        {PaletteFormat::soc, "<o:color-table>\r\r<draw:color draw:color=\"#123456\"/>",
         "line 3: expected the end tag </o:color-table>"},
        {PaletteFormat::soc, "<o:color-table>\n</o:color-table>\n<x/>",
         "line 3: expected the end of the file after </o:color-table>"},
        {PaletteFormat::soc, "<o:color-table/>", "line 1: expected at least one draw:color"},
        {PaletteFormat::riff, "RIFX", "byte 0: expected \"RIFF\""},
        {PaletteFormat::riff, "RIFF\0\0\0\0WAVE"s, "byte 8: expected the form type \"PAL \""},
        {PaletteFormat::riff, "RIFF\0\0\0\0PAL LIST\x04\0\0\0abc"s,
         "byte 16: expected a chunk size that fits in the file's 23 bytes"},
        {PaletteFormat::riff, "RIFF\0\0\0\0PAL LIST\x01\0\0\0a\0"s, "byte 22: expected a \"data\" chunk"},
        {PaletteFormat::riff, "RIFF\0\0\0\0PAL data\x08\0\0\0\x00\x04\x01\0\1\2\3\0"s,
         "byte 20: expected palette version 0x0300"},
        {PaletteFormat::riff, "RIFF\x0c\0\0\0PAL data\0\0\0\0"s, "byte 16: expected a data chunk of at least 4 bytes"},
        {PaletteFormat::riff, "RIFF\0\0\0\0PAL data\x04\0\0\0\x00\x03\x00\0"s,
         "byte 22: expected a colour count from 1 to 65535"},
        {PaletteFormat::riff, "RIFF\0\0\0\0PAL data\x08\0\0\0\x00\x03\x02\0\1\2\3\0"s,
         "byte 22: expected 2 entries of 4 bytes in the data chunk of 8 bytes"},
    };
    for (const auto& c : cases)
    {
        const std::vector<std::uint8_t> bytes = Bytes(c.bytes);
        const PaletteReadResult result = ReadPaletteAs(c.format, bytes.data(), bytes.size());
        ASSERT_TRUE(result.fault) << c.fault;
        EXPECT_EQ(DescribeFault(*result.fault), c.fault);
        EXPECT_TRUE(result.palette.colours.empty());
    }
}

TEST(PaletteFormats, LossesNameWhatTheOutputCannotKeep)
{
    Palette held{"Held", 8, {{255, 128, 0, "orange", 128}, {4, 8, 12, {}, 255, ColourSpace::cmyk}, {1, 2, 3, "x"}}};
    held.groups = 2;
    Palette lab{"", std::nullopt, {{0, 0, 0, {}, std::nullopt, ColourSpace::lab}, {255, 255, 255}}};
    const struct
    {
        const Palette& palette;
        PaletteFormat format;
        std::vector<std::string> losses;
    } cases[] = {
        {held,
         PaletteFormat::act,
         {"act keeps no colour names: 2 names dropped", "act keeps no alpha: 1 colour made opaque",
          "act keeps no columns: the palette's 8 columns dropped",
          "act keeps no groups: 2 groups flattened into one list",
          "act holds sRGB only: 1 colour converted (1 from CMYK) are approximations"}},
        {held,
         PaletteFormat::gpl,
         {"gpl keeps no alpha: 1 colour made opaque", "gpl keeps no groups: 2 groups flattened into one list",
          "gpl holds sRGB only: 1 colour converted (1 from CMYK) are approximations"}},
        // 255 and 0 survive 6 bits, 128 and 1, 2, 3 do not; 4, 8 and 12 do.
        {held,
         PaletteFormat::vga,
         {"vga keeps no colour names: 2 names dropped", "vga keeps no alpha: 1 colour made opaque",
          "vga keeps no columns: the palette's 8 columns dropped",
          "vga keeps no groups: 2 groups flattened into one list",
          "vga holds sRGB only: 1 colour converted (1 from CMYK) are approximations",
          "vga keeps 6 bits a channel: 2 colours rounded"}},
        {lab, PaletteFormat::vga, {"vga holds sRGB only: 1 colour converted (1 from Lab) are approximations"}},
        {lab, PaletteFormat::hex, {"hex holds sRGB only: 1 colour converted (1 from Lab) are approximations"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DescribeLosses(c.palette, c.format), c.losses) << FormatInfo(c.format).name;
}

// The table is indexed by format, and the README's table of vexapal's formats lists each in its order.
TEST(PaletteFormats, TheTableAndTheReadmeListEveryFormatInOrder)
{
    std::ifstream readme(VEXA_README);
    std::vector<std::string> listed, names;
    bool inTable = false; // the rows after the heading "| Name (`--to`, `--from`) |", up to a blank line
    for (std::string line; std::getline(readme, line);)
    {
        if (line.rfind("| Name (`--to`", 0) == 0)
            inTable = true;
        else if (line.empty())
            inTable = false;
        else if (inTable && line.rfind("| `", 0) == 0)
            listed.push_back(line.substr(3, line.find('`', 3) - 3));
    }
    for (std::size_t i = 0; i < std::size(kPaletteFormats); ++i)
    {
        EXPECT_EQ(static_cast<std::size_t>(kPaletteFormats[i].format), i) << kPaletteFormats[i].name;
        names.push_back(kPaletteFormats[i].name);
    }
    EXPECT_EQ(listed, names);
}

TEST(PaletteFormats, OutputFormatFollowsTheExtensionInAnyCase)
{
    const struct
    {
        const char* path;
        std::optional<PaletteFormat> format;
    } cases[] = {
        {"a.bmp", PaletteFormat::bmp},     {"A.TXT", PaletteFormat::txt},
        {"dir/x.Act", PaletteFormat::act}, {"x.gpl", PaletteFormat::gpl},
        {"x.pal", PaletteFormat::jasc},    {"x.hex", PaletteFormat::hex},
        {"x.ase", PaletteFormat::ase},     {"x.iff", PaletteFormat::ilbm},
        {"x.lbm", PaletteFormat::ilbm},    {"x.vga", PaletteFormat::vga},
        {"x.riff", std::nullopt},          {"dir.gpl/x", std::nullopt},
        {"dir.gpl\\x", std::nullopt},      {"x", std::nullopt},
        {"x.gpl.bak", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatByExtension(c.path), c.format) << c.path;
    EXPECT_EQ(FormatByName("riff"), PaletteFormat::riff);
    EXPECT_EQ(FormatByName("RIFF"), PaletteFormat::riff);
}
} // namespace
