// Adobe Swatch Exchange: "ASEF", version 1.0, a block count, then blocks of a type and a length: group
// starts and ends, and colours with a UTF-16 name, a colour model and big-endian floats.
#include "formats/BinaryFields.h"
#include "formats/ColourSpaces.h"
#include "formats/SwatchFields.h"
#include "formats/SwatchSignatures.h"

#include <cmath>

namespace
{
constexpr std::size_t kHeaderSize = 12;   // "ASEF", 2 version words, the block count
constexpr std::size_t kBlockHeadSize = 6; // type word, length
constexpr std::uint16_t kGroupStart = 0xC001;
constexpr std::uint16_t kColourEntry = 0x0001;
constexpr std::uint16_t kNormalColour = 2; // the colour type after the values: 0 global, 1 spot, 2 normal

PaletteReadResult Fault(std::size_t size, std::size_t offset, std::string expected)
{
    return ByteFault(PaletteFormat::ase, size, offset, std::move(expected));
}

struct Model
{
    char tag[5];
    std::size_t values;
    ColourSpace space;
};

constexpr Model kModels[] = {
    {"RGB ", 3, ColourSpace::rgb},
    {"CMYK", 4, ColourSpace::cmyk},
    {"LAB ", 3, ColourSpace::lab},
    {"Gray", 1, ColourSpace::gray},
};

// The colour of a block's values: RGB and Gray from 0 to 1, CMYK ink from 0 to 1, Lab's L* from 0 to 1
// (for 0 to 100) with a* and b* as they are.
Srgb8 ToSrgb(const Model& model, const float* v)
{
    switch (model.space)
    {
    case ColourSpace::cmyk: return CmykToSrgb(v[0], v[1], v[2], v[3]);
    case ColourSpace::lab: return LabToSrgb(v[0] * 100.0, v[1], v[2]);
    case ColourSpace::gray: return GrayToSrgb(v[0]);
    default: {
        const Srgb8 r = GrayToSrgb(v[0]), g = GrayToSrgb(v[1]), b = GrayToSrgb(v[2]);
        return {r.red, g.red, b.red};
    }
    }
}
} // namespace

bool LooksLikeAse(const std::uint8_t* data, std::size_t size)
{
    return size >= kHeaderSize && std::memcmp(data, "ASEF", 4) == 0 && Be16(data + 4) == 1;
}

PaletteReadResult ReadAsePalette(const std::uint8_t* data, std::size_t size)
{
    if (size < kHeaderSize || std::memcmp(data, "ASEF", 4) != 0)
        return Fault(size, 0, "\"ASEF\", a version and a block count (12 bytes)");
    if (Be16(data + 4) != 1)
        return Fault(size, 4, "version 1");
    const std::uint32_t blocks = Be32(data + 8);
    if (blocks > (size - kHeaderSize) / kBlockHeadSize)
        return Fault(size, 8, "a block count whose blocks fit the file");

    PaletteReadResult result{PaletteFormat::ase, {}, std::nullopt};
    Palette& palette = result.palette;
    std::size_t at = kHeaderSize;
    for (std::uint32_t block = 0; block < blocks; ++block)
    {
        if (size - at < kBlockHeadSize)
            return Fault(size, at, "a block: a type and a length");
        const std::uint16_t type = Be16(data + at);
        const std::uint32_t length = Be32(data + at + 2);
        const std::size_t body = at + kBlockHeadSize;
        if (length > size - body)
            return Fault(size, at + 2, "a block length within the file");
        at = body + length;
        if (type == kGroupStart)
            ++palette.groups;
        if (type != kColourEntry)
            continue; // a group's end, or a block that holds no colour

        // The name: its length in UTF-16 units with the NUL, then the units.
        if (length < 2)
            return Fault(size, body, "a colour's name length");
        const std::size_t units = Be16(data + body);
        if (units > (length - 2) / 2)
            return Fault(size, body, "a name length within the block");
        std::size_t badUnit = 0;
        const std::optional<std::string> name = Utf16BeToUtf8(data + body + 2, units, badUnit);
        if (!name)
            return Fault(size, body + 2 + 2 * badUnit, "a name in UTF-16 (this surrogate is unpaired)");

        const std::size_t modelAt = body + 2 + 2 * units;
        const std::size_t left = length - 2 - 2 * units;
        const Model* model = nullptr;
        for (const Model& candidate : kModels)
            if (left >= 4 && std::memcmp(data + modelAt, candidate.tag, 4) == 0)
                model = &candidate;
        if (!model)
            return Fault(size, modelAt, "a colour model: \"RGB \", \"CMYK\", \"LAB \" or \"Gray\"");
        if (left < 4 + 4 * model->values + 2)
            return Fault(size, modelAt + 4, std::to_string(model->values) + " floats and a colour type");
        float values[4] = {};
        for (std::size_t i = 0; i < model->values; ++i)
        {
            values[i] = BeFloat(data + modelAt + 4 + 4 * i);
            if (!std::isfinite(values[i]))
                return Fault(size, modelAt + 4 + 4 * i, "a finite number");
        }
        if (palette.colours.size() == kMaxExchangeColours)
            return Fault(size, body - kBlockHeadSize, "at most 65535 colours");
        const Srgb8 rgb = ToSrgb(*model, values);
        palette.colours.push_back({rgb.red, rgb.green, rgb.blue, CleanName(*name), std::nullopt, model->space});
    }
    if (at != size)
        return Fault(size, at, "the end of the file after " + std::to_string(blocks) + " blocks");
    if (palette.colours.empty())
        return Fault(size, size, "at least one colour");
    return result;
}

std::vector<std::uint8_t> WriteAsePalette(const Palette& palette)
{
    std::vector<std::uint8_t> file = {'A', 'S', 'E', 'F', 0, 1, 0, 0};
    PutBe32(file, static_cast<std::uint32_t>(palette.colours.size()));
    for (const PaletteColour& colour : palette.colours)
    {
        std::u16string name = Utf8ToUtf16(colour.name);
        TruncateUtf16(name, 0xFFFE); // the length word counts the NUL too
        PutBe16(file, kColourEntry);
        PutBe32(file, static_cast<std::uint32_t>(2 + 2 * (name.size() + 1) + 4 + 3 * 4 + 2));
        PutBe16(file, static_cast<std::uint32_t>(name.size() + 1));
        PutUtf16Be(file, name);
        PutText(file, "RGB ");
        for (const std::uint8_t value : {colour.red, colour.green, colour.blue})
        {
            const float component = static_cast<float>(value) / 255.0f;
            std::uint32_t bits;
            std::memcpy(&bits, &component, sizeof bits);
            PutBe32(file, bits);
        }
        PutBe16(file, kNormalColour);
    }
    return file;
}
