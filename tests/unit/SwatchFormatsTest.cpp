// The swatch formats of design programs and an Aseprite sprite's palette: files made from the formats'
// published descriptions (tests/data/swatches/make-swatches) read as those describe, the writers make
// the same layouts, and every damaged file names the byte where it goes wrong.
#include "formats/ColourSpaces.h"
#include "formats/PaletteCodecs.h"
#include "formats/SwatchSignatures.h"
#include "formats/XmlScan.h"
#include "formats/Zip.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <vector>

namespace
{
using Reader = PaletteReadResult (*)(const std::uint8_t*, std::size_t);
using Bytes = std::vector<std::uint8_t>;

Bytes Swatch(const std::string& name)
{
    std::ifstream in(std::string(VEXA_TEST_DATA) + "/swatches/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

Bytes Text(std::string_view text)
{
    return {text.begin(), text.end()};
}

// What a test expects of a colour: "#rrggbb name", and the space it was given in.
std::string Describe(const PaletteColour& colour)
{
    char rgb[8];
    std::snprintf(rgb, sizeof rgb, "#%02x%02x%02x", colour.red, colour.green, colour.blue);
    const char* spaces[] = {"rgb", "cmyk", "lab", "hsb", "gray"};
    std::string text = std::string(rgb) + " " + spaces[static_cast<int>(colour.space)] + " " + colour.name;
    if (colour.alpha)
        text += " alpha " + std::to_string(*colour.alpha);
    return text;
}

std::vector<std::string> Describe(const Palette& palette)
{
    std::vector<std::string> lines;
    for (const PaletteColour& colour : palette.colours)
        lines.push_back(Describe(colour));
    return lines;
}

TEST(SwatchFormats, ReadersTakeFilesMadeFromThePublishedDescriptions)
{
    const struct
    {
        const char* file;
        Reader reader;
        std::size_t groups;
        std::vector<std::string> colours;
    } cases[] = {
        {"swatches.ase",
         ReadAsePalette,
         2,
         {"#ff0000 rgb Red", "#ff8000 rgb Orange \xc3\xa9", "#00ffff cmyk Cyan ink", "#ffffff lab Lab white",
          "#808080 gray Half \xf0\x9f\x8e\xa8"}},
        {"v1.aco",
         ReadAcoPalette,
         0,
         {"#ff8000 rgb ", "#00ff00 hsb ", "#00ffff cmyk ", "#ffffff lab ", "#2c8840 lab ", "#000000 gray "}},
        {"v2.aco",
         ReadAcoPalette,
         0,
         {"#ff8000 rgb Orange", "#00ff00 hsb Gr\xc3\xbcn", "#00ffff cmyk Cyan", "#ffffff lab Lab white",
          "#2c8840 lab Lab green", "#000000 gray Black \xf0\x9f\x8e\xa8"}},
        {"palette.kpl",
         ReadKplPalette,
         1,
         {"#ff0000 rgb First \xf0\x9f\x8e\xa8", "#0080ff rgb Second", "#00ffff cmyk Cyan", "#777777 lab Mid grey",
          "#404040 gray Quarter"}},
        {"palette.aseprite",
         ReadAsepritePalette,
         0,
         {"#000000 rgb  alpha 255", "#ff0000 rgb Red \xc3\xa9 alpha 255", "#0000ff rgb  alpha 128",
          "#000000 rgb  alpha 255"}},
        {"old.aseprite",
         ReadAsepritePalette,
         0,
         {"#000000 rgb ", "#010203 rgb ", "#040506 rgb ", "#000000 rgb ", "#070809 rgb "}},
        {"old6.aseprite", ReadAsepritePalette, 0, {"#ff8200 rgb "}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.file);
        const Bytes file = Swatch(c.file);
        ASSERT_FALSE(file.empty());
        const PaletteReadResult result = c.reader(file.data(), file.size());
        ASSERT_FALSE(result.fault) << DescribeFault(*result.fault);
        EXPECT_EQ(Describe(result.palette), c.colours);
        EXPECT_EQ(result.palette.groups, c.groups);
    }
}

// Names beyond ASCII, one outside the BMP, a name that is not UTF-8, and none at all.
TEST(SwatchFormats, WritersKeepNamesAndReadBack)
{
    const Palette palette{"",
                          std::nullopt,
                          {{255, 128, 0, "Orange \xc3\xa9"},
                           {1, 2, 3, "\xf0\x9f\x8e\xa8"},
                           {0, 0, 0, "bad \xff"},
                           {4, 5, 6},
                           {7, 8, 9, "tab\tline\nend\x01"}}};
    const struct
    {
        Reader reader;
        Bytes (*writer)(const Palette&);
    } cases[] = {
        {ReadAsePalette, WriteAsePalette}, {ReadAcoPalette, WriteAcoPalette}, {ReadKplPalette, WriteKplPalette}};
    for (const auto& c : cases)
    {
        const Bytes file = c.writer(palette);
        const PaletteReadResult back = c.reader(file.data(), file.size());
        ASSERT_FALSE(back.fault) << DescribeFault(*back.fault);
        EXPECT_EQ(
            Describe(back.palette),
            (std::vector<std::string>{"#ff8000 rgb Orange \xc3\xa9", "#010203 rgb \xf0\x9f\x8e\xa8",
                                      "#000000 rgb bad \xef\xbf\xbd", "#040506 rgb ", "#070809 rgb tab\tline end "}));
    }
    // Lab in a Krita palette of version 1.0 is scaled to 0..1.
    const Bytes lab = WriteZip(
        {{"mimetype", Text("krita/x-colorset"), false},
         {"colorset.xml",
          Text("<ColorSet version='1.0'><ColorSetEntry><Lab L='0.5' a='0.5' b='0.25'/></ColorSetEntry></ColorSet>"),
          false}});
    EXPECT_EQ(Describe(ReadKplPalette(lab.data(), lab.size()).palette), std::vector<std::string>{"#007be5 lab "});
    // The layouts byte for byte: an ASE colour block, and ACO's version 1 then version 2 with the name.
    const Palette one{"", std::nullopt, {{255, 0, 0, "Red"}}};
    EXPECT_EQ(WriteAsePalette(one), Text(std::string("ASEF\0\1\0\0\0\0\0\1\0\1\0\0\0\x1c\0\4\0R\0e\0d\0\0RGB "
                                                     "\x3f\x80\0\0\0\0\0\0\0\0\0\0\0\2",
                                                     46)));
    EXPECT_EQ(WriteAcoPalette(one), Text(std::string("\0\1\0\1\0\0\xff\xff\0\0\0\0\0\0"
                                                     "\0\2\0\1\0\0\xff\xff\0\0\0\0\0\0\0\0\0\4\0R\0e\0d\0\0",
                                                     40)));
}

TEST(SwatchFormats, DamagedFilesNameTheByte)
{
    const Bytes ase = Swatch("swatches.ase");
    const Bytes aco = Swatch("v2.aco");
    const Bytes sprite = Swatch("palette.aseprite");
    const auto with = [](Bytes file, std::size_t at, std::string_view bytes) {
        std::copy(bytes.begin(), bytes.end(), file.begin() + static_cast<std::ptrdiff_t>(at));
        return file;
    };
    const auto cut = [](Bytes file, std::size_t size) {
        file.resize(size);
        return file;
    };
    const struct
    {
        const char* what;
        Reader reader;
        Bytes file;
        std::size_t byte;
        const char* expected;
    } cases[] = {
        {"ase: another version", ReadAsePalette, with(ase, 4, std::string("\0\2", 2)), 4, "version 1"},
        {"ase: more blocks than fit", ReadAsePalette, with(ase, 8, "\xff\xff"), 8, "block count"},
        {"ase: a block past the end", ReadAsePalette, cut(ase, ase.size() - 1), 262, "a type and a length"},
        {"ase: one block fewer than counted", ReadAsePalette, with(ase, 11, "\x08"), 262, "end of the file"},
        {"ase: a name past its block", ReadAsePalette, with(ase, 18, "\x40"), 18, "name length"},
        {"ase: a lone low surrogate", ReadAsePalette, with(ase, 20, "\xdc\x00"), 20, "unpaired"},
        {"ase: a high surrogate before a letter", ReadAsePalette, with(ase, 20, "\xd8\x00"), 20, "unpaired"},
        {"ase: an unknown model", ReadAsePalette, with(ase, 28, "HSV "), 28, "colour model"},
        {"ase: a NaN", ReadAsePalette, with(ase, 32, "\x7f\xc0"), 32, "finite"},
        {"ase: no colours", ReadAsePalette, Text(std::string("ASEF\0\1\0\0\0\0\0\0", 12)), 12, "at least one"},
        {"aco: another version", ReadAcoPalette, with(aco, 0, std::string("\0\3", 2)), 0, "version 1"},
        {"aco: no colours", ReadAcoPalette, with(aco, 2, std::string("\0\0", 2)), 2, "at least one"},
        {"aco: a colour past the end", ReadAcoPalette, cut(aco, 60), 54, "colour 6 of 6"},
        {"aco: Pantone", ReadAcoPalette, with(aco, 4, std::string("\0\3", 2)), 4, "colour space"},
        {"aco: a name past the end", ReadAcoPalette, with(aco, 78, "\x7f"), 78, "name length"},
        {"aco: version 2 with fewer colours", ReadAcoPalette, with(aco, 67, "\5"), 66, "as many colours"},
        {"aco: a lone high surrogate", ReadAcoPalette, with(aco, 82, "\xd8\x00"), 82, "unpaired"},
        {"aseprite: no magic number", ReadAsepritePalette, with(sprite, 4, "\xa5\xe0"), 4, "0xA5E0"},
        {"aseprite: no frames", ReadAsepritePalette, with(sprite, 6, std::string("\0", 1)), 6, "one frame"},
        {"aseprite: a frame past the end", ReadAsepritePalette, cut(sprite, 200), 128, "frame size"},
        {"aseprite: a chunk past its frame", ReadAsepritePalette, with(sprite, 167, "\x50"), 167, "chunk size"},
        {"aseprite: more chunks than the frame holds", ReadAsepritePalette, with(sprite, 140, "\4"), 213,
         "chunk 4 of 4"},
        {"aseprite: an index past the palette size", ReadAsepritePalette, with(sprite, 173, "\1"), 177,
         "within the palette size"},
        {"aseprite: an empty palette", ReadAsepritePalette, with(sprite, 173, std::string("\0", 1)), 173,
         "size from 1"},
        {"aseprite: a name past its chunk", ReadAsepritePalette, with(sprite, 199, "\x40"), 199, "a name"},
        {"aseprite: an old packet past 256", ReadAsepritePalette, with(Swatch("old.aseprite"), 160, "\xff"), 160,
         "256 colours"},
        {"aseprite: old colours past the chunk", ReadAsepritePalette, with(Swatch("old.aseprite"), 161, "\x09"), 162,
         "9 colours"},
        {"aco: bytes after version 2", ReadAcoPalette,
         [&] {
             Bytes b = aco;
             b.push_back(0);
             return b;
         }(),
         244, "end of the file"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        const PaletteReadResult result = c.reader(c.file.data(), c.file.size());
        ASSERT_TRUE(result.fault);
        EXPECT_EQ(result.fault->position, c.byte) << result.fault->expected;
        EXPECT_NE(result.fault->expected.find(c.expected), std::string::npos) << result.fault->expected;
    }
}

// A Krita palette's ZIP and XML: damaged bytes of the test file (its central directory starts at 556,
// colorset.xml's entry there at 610), and XML in a ZIP that is otherwise sound.
TEST(SwatchFormats, DamagedKritaPalettesNameTheByte)
{
    const Bytes kpl = Swatch("palette.kpl");
    const auto with = [&kpl](std::size_t at, std::string_view bytes) {
        Bytes file = kpl;
        std::copy(bytes.begin(), bytes.end(), file.begin() + static_cast<std::ptrdiff_t>(at));
        return file;
    };
    const auto zip = [](std::string_view mime, std::string_view xml) {
        return WriteZip({{"mimetype", Text(mime), false}, {"colorset.xml", Text(xml), true}});
    };
    const struct
    {
        const char* what;
        Bytes file;
        std::size_t byte;
        const char* expected;
    } cases[] = {
        {"no end record", Bytes(kpl.begin(), kpl.end() - 1), kpl.size() - 1, "end record"},
        {"ZIP64", with(kpl.size() - 14, "\xff\xff\xff\xff"), kpl.size() - 12, "ZIP64"},
        {"encrypted", with(618, "\1"), 618, "encrypted"},
        {"compressed by another method", with(620, "\x0c"), 620, "stored or deflated"},
        {"a wrong CRC", with(626, "\x55"), 68, "CRC-32"},
        {"a size the data does not inflate to", with(634, "\xff\x0f"), 96, "deflated data of 4095 bytes"},
        {"a local header past the directory", with(652, "\xff\x0f"), kpl.size(), "local header"},
        {"another mimetype", zip("text/plain", "<ColorSet/>"), 0, "first entry"},
        {"no colorset.xml", WriteZip({{"mimetype", Text("krita/x-colorset"), false}}), 130, "colorset.xml"},
        {"another root", zip("krita/x-colorset", "<Palette/>"), 54, "byte 0: the root element"},
        {"XML cut short", zip("krita/x-colorset", "<ColorSet>"), 54, "byte 10: the end tag </ColorSet>"},
        {"an entry without a colour",
         zip("krita/x-colorset", "<ColorSet><ColorSetEntry><XYZ x='1' y='1' z='1'/></ColorSetEntry></ColorSet>"), 54,
         "byte 10: a colour in the entry"},
        {"a number that is none",
         zip("krita/x-colorset", "<ColorSet><ColorSetEntry><RGB r='1' g='1,5' b='0'/></ColorSetEntry></ColorSet>"), 54,
         "byte 25: a number in the attribute g"},
        {"no entries", zip("krita/x-colorset", "<ColorSet/>"), 54, "at least one"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        const PaletteReadResult result = ReadKplPalette(c.file.data(), c.file.size());
        ASSERT_TRUE(result.fault);
        EXPECT_EQ(result.fault->position, c.byte) << result.fault->expected;
        EXPECT_NE(result.fault->expected.find(c.expected), std::string::npos) << result.fault->expected;
    }
}

TEST(SwatchFormats, ColourSpacesBecomeSrgb)
{
    const struct
    {
        const char* what;
        Srgb8 rgb;
        std::string expected;
    } cases[] = {
        {"cmyk white", CmykToSrgb(0, 0, 0, 0), "#ffffff"},
        {"cmyk red", CmykToSrgb(0, 1, 1, 0), "#ff0000"},
        {"cmyk half black over cyan", CmykToSrgb(1, 0, 0, 0.5), "#008080"},
        {"lab white", LabToSrgb(100, 0, 0), "#ffffff"},
        {"lab mid grey, as Photoshop shows it", LabToSrgb(50, 0, 0), "#777777"},
        {"lab of sRGB red under D50", LabToSrgb(54.29, 80.8, 69.89), "#ff0000"},
        {"lab beyond sRGB is clamped", LabToSrgb(50, 127, -128), "#d600ff"},
        {"hsb green", HsbToSrgb(120, 1, 1), "#00ff00"},
        {"hsb magenta from -60 degrees", HsbToSrgb(-60, 1, 1), "#ff00ff"},
        {"hsb 360 is red", HsbToSrgb(360, 1, 0.5), "#800000"},
        {"hsb without saturation", HsbToSrgb(200, 0, 0.5), "#808080"},
        {"gray beyond white", GrayToSrgb(1.5), "#ffffff"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Describe(PaletteColour{c.rgb.red, c.rgb.green, c.rgb.blue}), c.expected + " rgb ") << c.what;
}

TEST(SwatchFormats, SignaturesTellTheFormatsApart)
{
    const Bytes ase = Swatch("swatches.ase"), v1 = Swatch("v1.aco"), v2 = Swatch("v2.aco");
    EXPECT_TRUE(LooksLikeAse(ase.data(), ase.size()));
    EXPECT_TRUE(LooksLikeAco(v1.data(), v1.size()));
    EXPECT_TRUE(LooksLikeAco(v2.data(), v2.size()));
    const Bytes act(768, 1); // an Adobe colour table that starts like a version word
    EXPECT_FALSE(LooksLikeAco(act.data(), act.size()));
    EXPECT_FALSE(LooksLikeAco(v1.data(), v1.size() - 1));
    EXPECT_FALSE(LooksLikeAse(v1.data(), v1.size()));
    const Bytes kpl = Swatch("palette.kpl"), zip = WriteZip({{"mimetype", Text("application/zip"), false}});
    EXPECT_TRUE(LooksLikeKpl(kpl.data(), kpl.size()));
    EXPECT_FALSE(LooksLikeKpl(zip.data(), zip.size()));
    const Bytes sprite = Swatch("palette.aseprite");
    EXPECT_TRUE(LooksLikeAseprite(sprite.data(), sprite.size()));
    EXPECT_FALSE(LooksLikeAseprite(ase.data(), ase.size()));
}

TEST(SwatchFormats, XmlScanDecodesEntitiesAndRefusesWhatIsNotWellFormed)
{
    const Bytes document =
        Text("<?xml version=\"1.0\"?><!-- x --><a n='&amp;&lt;&#65;&#x1F3A8;' t='x\ty\r\nz&#9;'><b/></a>");
    const XmlScan good = ScanXml(document.data(), document.size());
    ASSERT_FALSE(good.fault);
    ASSERT_EQ(good.tags.size(), 3u);
    EXPECT_EQ(*good.tags[0].Attribute("n"), "&<A\xf0\x9f\x8e\xa8");
    EXPECT_EQ(*good.tags[0].Attribute("t"), "x y z\t");
    EXPECT_TRUE(good.tags[1].selfClosing);
    EXPECT_TRUE(good.tags[2].end);
    const struct
    {
        const char* xml;
        std::size_t offset;
    } faults[] = {{"<a><b></a>", 6},
                  {"<a n=\"&nbsp;\"/>", 6},
                  {"<a n=\"&#xD800;\"/>", 6},
                  {"<a n=\"&#1114112;\"/>", 6},
                  {"<a n=1/>", 5},
                  {"<a n=\"x\"m=\"y\"/>", 8},
                  {"<a", 2},
                  {"", 0},
                  {"<a n='1' n='2'/>", 8},
                  {"<a/><b/>", 4}};
    for (const auto& f : faults)
    {
        const Bytes xml = Text(f.xml);
        const XmlScan scan = ScanXml(xml.data(), xml.size());
        ASSERT_TRUE(scan.fault) << f.xml;
        EXPECT_EQ(scan.fault->first, f.offset) << f.xml << ": " << scan.fault->second;
    }
    EXPECT_EQ(EscapeXml("a&b<\"c\">\t\r\n"), "a&amp;b&lt;&quot;c&quot;&gt;&#9;&#13;&#10;");
}
} // namespace
