// Any bytes as a palette file of one format (VEXA_FUZZ_FORMAT, one target per format): the reader
// must read nothing past the input and give either a fault inside it or 1 to the format's most
// colours; what it reads must come back the same through the writer, where vexapal writes the format
// (with the names of the formats that keep them), in a file that detection takes for that format
// when it is no other.
#include "FuzzCheck.h"
#include "formats/PaletteFormats.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    constexpr PaletteFormat kFormat = PaletteFormat::VEXA_FUZZ_FORMAT;
    const PaletteFormatInfo& info = FormatInfo(kFormat);
    DetectPaletteFormat(data, size);

    const PaletteReadResult result = ReadPaletteAs(kFormat, data, size);
    if (result.fault)
    {
        Check(result.palette.colours.empty());
        Check(result.fault->inLine ? result.fault->position >= 1 : result.fault->position <= size);
        return 0;
    }
    const Palette& palette = result.palette;
    // A JASC palette is read up to the most colours of any format, but written only up to 256.
    Check(!palette.colours.empty() &&
          palette.colours.size() <= (kFormat == PaletteFormat::jasc ? kMaxExchangeColours : info.maxColours));
    if (palette.colours.size() > info.maxColours || info.write == nullptr)
        return 0;

    const std::vector<std::uint8_t> file = WritePalette(kFormat, palette, "Tuesday");
    // Detection takes the written file for this format, unless it is an Adobe or VGA table, which have
    // no signature: the first colours can spell another format's, or the 768 bytes read as text lines.
    const std::optional<PaletteFormat> detected = DetectPaletteFormat(file.data(), file.size());
    Check(detected == kFormat || ((kFormat == PaletteFormat::act || kFormat == PaletteFormat::vga) && detected));
    const PaletteReadResult back = ReadPaletteAs(kFormat, file.data(), file.size());
    Check(!back.fault);
    Palette expected = palette;
    if (info.alwaysFull)
        expected.colours.resize(info.maxColours, PaletteColour{0, 0, 0, {}});
    Check(SameColours(back.palette, expected));
    if (kFormat == PaletteFormat::gpl)
        Check(back.palette.name == palette.name && back.palette.columns == palette.columns);
    if (info.keeps & kKeepsNames)
    {
        for (std::size_t i = 0; i < palette.colours.size(); ++i)
            Check(back.palette.colours[i].name == palette.colours[i].name);
    }
    return 0;
}
