// Writes the seed inputs of the fuzz targets into <dir>/bitmap, <dir>/time, ...: files the writers
// make and the near misses the readers refuse, and a valid local time with an entry count. Made
// from the writers themselves so the seeds follow the formats.
#include "formats/PaletteFormats.h"
#include "palette/BitmapFormat.h"
#include "palette/TextDump.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string_view>
#include <vector>

namespace
{
bool WriteSeed(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

std::vector<std::uint8_t> Head(const std::vector<std::uint8_t>& bytes, std::size_t size)
{
    return {bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size)};
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
    {
        std::fprintf(stderr, "usage: %s <seed folder> <folder of swatch test files>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path root = argv[1];
    std::filesystem::create_directories(root / "bitmap");
    std::filesystem::create_directories(root / "time");

    PaletteSnapshot captured = EmptySnapshot(256);
    for (int i = 0; i < 256; ++i)
        captured.palPalEntry[i] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i ^ 0x5A),
                                   static_cast<std::uint8_t>(255 - i), 0};
    const std::vector<std::uint8_t> file = BuildBitmapFile(captured);
    std::vector<std::uint8_t> fourBit = file;
    fourBit[28] = 4;
    // Newer info headers put the table further on; a colours-used count shortens it.
    const auto withHeader = [&file](std::uint8_t infoSize, std::uint8_t coloursUsed) {
        std::vector<std::uint8_t> bytes = Head(file, kBitmapColourTableOffset);
        bytes[14] = infoSize;
        bytes[46] = coloursUsed;
        bytes.resize(kBitmapFileHeaderSize + infoSize, 0xA5);
        bytes.insert(bytes.end(), file.begin() + kBitmapColourTableOffset, file.begin() + kBitmapHeadSize);
        return Head(bytes, kBitmapFileHeaderSize + infoSize + 4u * (coloursUsed == 0 ? 256 : coloursUsed));
    };

    bool ok = WriteSeed(root / "bitmap" / "head", Head(file, kBitmapHeadSize)) &&
              WriteSeed(root / "bitmap" / "short-table", Head(file, kBitmapHeadSize - 1)) &&
              WriteSeed(root / "bitmap" / "short-info", Head(file, 53)) &&
              WriteSeed(root / "bitmap" / "short-file-header", Head(file, 13)) &&
              WriteSeed(root / "bitmap" / "four-bit", Head(fourBit, kBitmapHeadSize)) &&
              WriteSeed(root / "bitmap" / "header-108", withHeader(108, 0)) &&
              WriteSeed(root / "bitmap" / "header-124", withHeader(124, 0)) &&
              WriteSeed(root / "bitmap" / "header-124-16-colours", withHeader(124, 16)) &&
              WriteSeed(root / "bitmap" / "header-40-2-colours", withHeader(40, 2)) &&
              WriteSeed(root / "bitmap" / "header-12", withHeader(12, 0));

    // Year, month, day, weekday, hour, minute, second, entry count as little-endian 32-bit numbers,
    // then a time text.
    std::vector<std::uint8_t> time;
    for (const std::uint32_t field : {2026u, 12u, 8u, 2u, 6u, 10u, 30u, 256u})
    {
        for (int shift = 0; shift < 32; shift += 8)
            time.push_back(static_cast<std::uint8_t>(field >> shift));
    }
    for (const char c : std::string_view("Tuesday"))
        time.push_back(static_cast<std::uint8_t>(c));
    ok = ok && WriteSeed(root / "time" / "tuesday", time);

    // A registry value: type (4 bytes, little-endian), length byte (0x?F: near the text size limit), bytes.
    std::filesystem::create_directories(root / "registry");
    const auto value = [](std::uint8_t type, std::uint8_t length, std::string_view bytes) {
        std::vector<std::uint8_t> seed = {type, 0, 0, 0, length};
        seed.insert(seed.end(), bytes.begin(), bytes.end());
        return seed;
    };
    ok = ok && WriteSeed(root / "registry" / "dword", value(4, 0, std::string_view("\x07\0\x01\0", 4))) &&
         WriteSeed(root / "registry" / "short-dword", value(4, 0, std::string_view("\x07\0\x01", 3))) &&
         WriteSeed(root / "registry" / "qword", value(11, 0, std::string_view("\x07\0\x01\0\0\0\0\0", 8))) &&
         WriteSeed(root / "registry" / "path", value(1, 0, std::string_view("C:\\Vexa\\Vexa.exe", 17))) &&
         WriteSeed(root / "registry" / "unterminated", value(1, 0, "C:\\Vexa\\Vexa.exe")) &&
         WriteSeed(root / "registry" / "multi", value(7, 0, std::string_view("one\0two\0\0", 9))) &&
         WriteSeed(root / "registry" / "at-limit", value(1, 0x8F, "long text ")) &&
         WriteSeed(root / "registry" / "over-limit", value(1, 0x9F, "long text "));

    // A text resource: CR LF lines and the 0x02 end mark, two marks, and an early NUL.
    std::filesystem::create_directories(root / "help");
    const auto text = [](std::string_view bytes) { return std::vector<std::uint8_t>(bytes.begin(), bytes.end()); };
    ok = ok && WriteSeed(root / "help" / "marked", text("Vexa\r\nShows the palette.\r\n\x02")) &&
         WriteSeed(root / "help" / "two-marks", text("a\x02\x02")) &&
         WriteSeed(root / "help" / "early-nul", text(std::string_view("text\x02\0tail\x02", 11))) &&
         WriteSeed(root / "help" / "nul-first", text(std::string_view("\0\x02", 2)));

    // Each palette format: files of 1, 16 and 256 named colours as its writer makes them, and each cut short.
    for (const PaletteFormatInfo& info : kPaletteFormats)
    {
        const std::filesystem::path folder = root / (std::string("palette-") + info.name);
        std::filesystem::create_directories(folder);
        for (const std::size_t count : {1, 16, 256})
        {
            if (info.write == nullptr)
                break;
            {
                Palette palette{"Seed", 16, {}};
                for (std::size_t i = 0; i < count; ++i)
                    palette.colours.push_back({static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i * 3),
                                               static_cast<std::uint8_t>(255 - i), "colour " + std::to_string(i)});
                const std::vector<std::uint8_t> file = WritePalette(info.format, palette, "Tuesday");
                const std::string name = std::to_string(count);
                ok = ok && WriteSeed(folder / name, file) &&
                     WriteSeed(folder / (name + "-cut"), Head(file, file.size() / 2));
            }
        }
    }
    // The swatch files made from the formats' descriptions (CMYK, Lab and Gray colours, groups, the old
    // Aseprite chunks), each in the folder of its extension's format.
    for (const std::filesystem::directory_entry& entry : std::filesystem::directory_iterator(argv[2]))
    {
        const std::optional<PaletteFormat> format = FormatByExtension(entry.path().string());
        std::ifstream in(entry.path(), std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
        if (format)
            ok = ok && WriteSeed(root / (std::string("palette-") + FormatInfo(*format).name) / entry.path().filename(),
                                 bytes);
    }
    // Pictures of the image formats that vexapal only reads: a GIF with a global table of 2 colours and
    // one with only a local one, 8-bit and 4-bit PCX files, an ILBM with its CMAP.
    const auto bytesOf = [](std::string_view text) { return std::vector<std::uint8_t>(text.begin(), text.end()); };
    using namespace std::string_view_literals;
    std::string pcx(128, '\0');
    pcx.replace(0, 4, "\x0a\x05\x01\x08"sv);
    pcx[65] = 1;                                                              // planes
    pcx[66] = 1;                                                              // bytes per line
    const std::string pcx8 = pcx + "\xc1\x07\x0c" + std::string(768, '\x21'); // one run, the table mark, the table
    pcx[3] = 4;
    pcx.replace(16, 6, "\x01\x02\x03\x04\x05\x06"sv); // the header's 16 colours
    ok = ok &&
         WriteSeed(root / "palette-gif" / "global",
                   bytesOf("GIF89a\1\0\1\0\x80\0\0\x01\x02\x03\x04\x05\x06,\0\0\0\0\1\0\1\0\0\2\2D\1\0;"sv)) &&
         WriteSeed(
             root / "palette-gif" / "local",
             bytesOf(
                 "GIF87a\1\0\1\0\0\0\0!\xf9\4\0\0\0\0\0,\0\0\0\0\1\0\1\0\x80\x01\x02\x03\x04\x05\x06\2\2D\1\0;"sv)) &&
         WriteSeed(root / "palette-pcx" / "256", bytesOf(pcx8)) &&
         WriteSeed(root / "palette-pcx" / "16", bytesOf(pcx + "\xc1\x07")) &&
         WriteSeed(root / "palette-ilbm" / "cmap",
                   bytesOf("FORM\0\0\0\x2eILBMBMHD\0\0\0\x14\0\1\0\1\0\0\0\0\1\0\0\0\0\0\1\1\0\1\0\1"
                           "CMAP\0\0\0\6\x01\x02\x03\x04\x05\x06"sv));

    // A 4-bit and an OS/2 bitmap; a GIMP palette with a byte order mark, CR line ends and alpha.
    std::string os2("BM\0\0\0\0\0\0\0\0\x4a\0\0\0\x0c\0\0\0\4\0\1\0\1\0\4\0", 26);
    os2.resize(74, 'Z');
    fourBit[46] = 16;
    ok = ok && WriteSeed(root / "palette-bmp" / "four-bit", Head(fourBit, 118)) &&
         WriteSeed(root / "palette-bmp" / "os2", text(os2)) &&
         WriteSeed(root / "palette-gpl" / "rgba", text("\xEF\xBB\xBFGIMP Palette\rChannels: RGBA\r1 2 3 4\t x \r"));
    // A RIFF palette whose data chunk is too short to hold a version and a count.
    ok = ok &&
         WriteSeed(root / "palette-riff" / "empty-data", text(std::string_view("RIFF\x0c\0\0\0PAL data\0\0\0\0", 20)));

    if (!ok)
    {
        std::fprintf(stderr, "could not write the seeds under %s\n", argv[1]);
        return 1;
    }
    return 0;
}
