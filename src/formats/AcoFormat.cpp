// Photoshop swatches: version 1 (a count, then per colour a space word and four 16-bit values), and
// the version 2 that Photoshop writes after it, the same colours each followed by a UTF-16 name.
#include "formats/BinaryFields.h"
#include "formats/ColourSpaces.h"
#include "formats/SwatchFields.h"
#include "formats/SwatchSignatures.h"

namespace
{
constexpr std::size_t kColourSize = 10; // space word, then w, x, y, z
constexpr std::size_t kNameLengthSize = 4;

enum AcoSpace : std::uint16_t
{
    kRgb = 0,
    kHsb = 1,
    kCmyk = 2,
    kLab = 7,
    kGray = 8,
};

PaletteReadResult Fault(std::size_t size, std::size_t offset, std::string expected)
{
    return ByteFault(PaletteFormat::aco, size, offset, std::move(expected));
}

bool KnownSpace(std::uint16_t space)
{
    return space == kRgb || space == kHsb || space == kCmyk || space == kLab || space == kGray;
}

// RGB and HSB use the full 16 bits (hue scaled to 0..360 degrees); CMYK too, but inverted (0 is full
// ink); Lab's L* is 0..10000 for 0..100 and a*, b* are signed, times 100; Gray is 0..10000 for 0 (white)
// to 100% black, as Photoshop's K slider shows it.
PaletteColour ToColour(const std::uint8_t* entry)
{
    const std::uint16_t space = Be16(entry);
    const double w = Be16(entry + 2), x = Be16(entry + 4), y = Be16(entry + 6), z = Be16(entry + 8);
    const auto signedValue = [](double value) { return value >= 32768 ? value - 65536 : value; };
    Srgb8 rgb{};
    ColourSpace given = ColourSpace::rgb;
    switch (space)
    {
    case kHsb:
        rgb = HsbToSrgb(w / 65535 * 360, x / 65535, y / 65535);
        given = ColourSpace::hsb;
        break;
    case kCmyk:
        rgb = CmykToSrgb(1 - w / 65535, 1 - x / 65535, 1 - y / 65535, 1 - z / 65535);
        given = ColourSpace::cmyk;
        break;
    case kLab:
        rgb = LabToSrgb(w / 100, signedValue(x) / 100, signedValue(y) / 100);
        given = ColourSpace::lab;
        break;
    case kGray:
        rgb = GrayToSrgb(1 - w / 10000);
        given = ColourSpace::gray;
        break;
    default: rgb = {GrayToSrgb(w / 65535).red, GrayToSrgb(x / 65535).red, GrayToSrgb(y / 65535).red}; break;
    }
    return {rgb.red, rgb.green, rgb.blue, {}, std::nullopt, given};
}

// One section from at: its version word, count and colours (and with version 2 their names). The
// colours go into palette; the offset after the section into at.
std::optional<PaletteReadResult> ReadSection(const std::uint8_t* data, std::size_t size, std::size_t& at,
                                             std::uint16_t version, Palette& palette)
{
    if (size - at < 4 || Be16(data + at) != version)
        return Fault(size, at, "version " + std::to_string(version) + " and a colour count");
    const std::size_t count = Be16(data + at + 2);
    if (count == 0)
        return Fault(size, at + 2, "at least one colour");
    at += 4;
    palette.colours.clear();
    for (std::size_t i = 0; i < count; ++i)
    {
        if (size - at < kColourSize)
            return Fault(size, at,
                         "colour " + std::to_string(i + 1) + " of " + std::to_string(count) +
                             ": a colour space and 4 values (10 bytes)");
        if (!KnownSpace(Be16(data + at)))
            return Fault(size, at, "a colour space Photoshop describes: 0 RGB, 1 HSB, 2 CMYK, 7 Lab or 8 Gray");
        PaletteColour colour = ToColour(data + at);
        at += kColourSize;
        if (version == 2)
        {
            if (size - at < kNameLengthSize)
                return Fault(size, at, "the length of a colour's name");
            const std::uint32_t units = Be32(data + at);
            at += kNameLengthSize;
            if (units > (size - at) / 2)
                return Fault(size, at - kNameLengthSize, "a name length within the file");
            std::size_t badUnit = 0;
            const std::optional<std::string> name = Utf16BeToUtf8(data + at, units, badUnit);
            if (!name)
                return Fault(size, at + 2 * badUnit, "a name in UTF-16 (this surrogate is unpaired)");
            colour.name = CleanName(*name);
            at += 2 * std::size_t{units};
        }
        palette.colours.push_back(std::move(colour));
    }
    return std::nullopt;
}
} // namespace

bool LooksLikeAco(const std::uint8_t* data, std::size_t size)
{
    if (size < 4 + kColourSize || (Be16(data) != 1 && Be16(data) != 2) || !KnownSpace(Be16(data + 4)))
        return false;
    const std::size_t count = Be16(data + 2);
    const std::size_t end = 4 + count * kColourSize;
    if (count == 0 || end > size)
        return false;
    return Be16(data) == 2 || size == end || (size - end >= 4 && Be16(data + end) == 2);
}

PaletteReadResult ReadAcoPalette(const std::uint8_t* data, std::size_t size)
{
    PaletteReadResult result{PaletteFormat::aco, {}, std::nullopt};
    std::size_t at = 0;
    // A file of version 2 alone is read too, though Photoshop always writes version 1 first.
    const bool onlyVersion2 = size >= 2 && Be16(data) == 2;
    if (auto fault = ReadSection(data, size, at, onlyVersion2 ? 2 : 1, result.palette))
        return *fault;
    if (!onlyVersion2 && at < size)
    {
        const std::size_t count = result.palette.colours.size();
        const std::size_t start = at;
        if (auto fault = ReadSection(data, size, at, 2, result.palette))
            return *fault;
        if (result.palette.colours.size() != count)
            return Fault(size, start + 2, "as many colours as version 1 holds (" + std::to_string(count) + ")");
    }
    if (at != size)
        return Fault(size, at, "the end of the file");
    return result;
}

std::vector<std::uint8_t> WriteAcoPalette(const Palette& palette)
{
    std::vector<std::uint8_t> file;
    const std::size_t count = std::min(palette.colours.size(), kMaxExchangeColours);
    for (const std::uint16_t version : {1, 2})
    {
        PutBe16(file, version);
        PutBe16(file, static_cast<std::uint32_t>(count));
        for (std::size_t i = 0; i < count; ++i)
        {
            const PaletteColour& colour = palette.colours[i];
            PutBe16(file, kRgb);
            for (const std::uint8_t value : {colour.red, colour.green, colour.blue})
                PutBe16(file, value * 257u);
            PutBe16(file, 0);
            if (version == 2)
            {
                const std::u16string name = Utf8ToUtf16(colour.name);
                PutBe32(file, static_cast<std::uint32_t>(name.size() + 1));
                PutUtf16Be(file, name);
            }
        }
    }
    return file;
}
