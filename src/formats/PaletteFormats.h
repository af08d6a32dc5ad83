// Palettes in the file formats of other programs (pixel editors, image editors, game engines) and in
// Vexa's own two: reading any of them from bytes, finding which one some bytes are, and writing each.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The colour space a file gave a colour in. Every colour is held as sRGB; one given in another space
// was converted, and is an approximation.
enum class ColourSpace
{
    rgb,
    cmyk,
    lab,
    hsb,
    gray,
};

struct PaletteColour
{
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
    std::string name = {};                            // empty where the format names no colours
    std::optional<std::uint8_t> alpha = std::nullopt; // as the file gave it; none where it has no alpha
    ColourSpace space = ColourSpace::rgb;
};

// A palette as the exchange formats hold it: 1 to kMaxExchangeColours colours in index order.
struct Palette
{
    std::string name;           // a GIMP palette's "Name:"
    std::optional<int> columns; // a GIMP palette's "Columns:"
    std::vector<PaletteColour> colours;
    std::size_t groups = 0; // the groups of colours (Adobe swatches, Krita) flattened into this one list
};

// The most colours any format holds (a RIFF palette counts them in 16 bits); bmp, txt and act hold 256.
constexpr std::size_t kMaxExchangeColours = 65535;

enum class PaletteFormat
{
    bmp,
    txt,
    act,
    gpl,
    jasc,
    riff,
    hex,
    paintnet,
    // Swatches of design programs
    ase,
    aco,
    kpl,
    soc,
    // The palettes held in images and in game files
    aseprite,
    png,
    gif,
    pcx,
    ilbm,
    vga,
};

struct PaletteFormatInfo
{
    PaletteFormat format;
    const char* name;        // as --to takes it
    const char* extension;   // the extension that chooses it for output, nullptr for none
    std::size_t maxColours;  // the most colours a file of this format holds (and the most written)
    bool alwaysFull;         // the file always holds maxColours entries: fewer are padded with black
    const char* description; // for the help text
};

// Every format, in the order the help text lists them.
extern const PaletteFormatInfo kPaletteFormats[8];

const PaletteFormatInfo& FormatInfo(PaletteFormat format);
// The format of a name as --to and --from take it, in any letter case.
std::optional<PaletteFormat> FormatByName(std::string_view name);
// "bmp, txt, ..., hex or paintnet": every name, for messages.
std::string FormatNames();
// The output format a file name asks for by its extension, in any letter case (".pal" is jasc).
std::optional<PaletteFormat> FormatByExtension(std::string_view path);

// Where a reader found the bytes wrong and what it expected there.
struct PaletteFault
{
    bool inLine;          // true: a line of a text format; false: a byte of a binary format
    std::size_t position; // the 1-based line, or the 0-based byte offset
    std::string expected;
};

// "line 3: expected ..." or "byte 768: expected ...".
std::string DescribeFault(const PaletteFault& fault);

struct PaletteReadResult
{
    PaletteFormat format;
    Palette palette;                   // 1 to the format's maxColours colours when there is no fault
    std::optional<PaletteFault> fault; // set when the bytes are not a palette of that format
};

// The format of some bytes, from their content alone; none when they are no palette that vexapal knows.
// Bytes that start with a format's signature are that format, even when they do not read as it; only
// bytes without one can be an Adobe colour table, which has none.
std::optional<PaletteFormat> DetectPaletteFormat(const std::uint8_t* data, std::size_t size);

// Reads the bytes as the format; a text format skips a UTF-8 byte order mark first.
PaletteReadResult ReadPaletteAs(PaletteFormat format, const std::uint8_t* data, std::size_t size);

// The file's bytes. The palette holds 1 to the format's maxColours colours; a format that is always
// full pads with black. The time text goes into a text dump's time line.
std::vector<std::uint8_t> WritePalette(PaletteFormat format, const Palette& palette, const std::string& timeText);

// Whether two palettes hold the same colours in the same order (names aside).
bool SameColours(const Palette& a, const Palette& b);
