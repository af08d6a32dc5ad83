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

struct PaletteReadResult;

// What a format keeps of a palette besides its colours' red, green and blue.
enum PaletteKeeps : unsigned
{
    kKeepsNothing = 0,
    kKeepsNames = 1 << 0,   // each colour's name
    kKeepsAlpha = 1 << 1,   // each colour's alpha
    kKeepsColumns = 1 << 2, // the number of columns a palette is shown in (GIMP's "Columns:")
    kKeepsGroups = 1 << 3,  // groups of colours (Adobe swatches, Krita)
};

// Whether some bytes start with a format's signature.
using PaletteSignature = bool (*)(const std::uint8_t* data, std::size_t size);
using PaletteReader = PaletteReadResult (*)(const std::uint8_t* data, std::size_t size);
// The whole file; timeText goes into a text dump's time line, scale is a PNG's pixels per colour.
using PaletteWriter = std::vector<std::uint8_t> (*)(const Palette& palette, const std::string& timeText, int scale);

struct PaletteFormatInfo
{
    PaletteFormat format;
    const char* name;           // as --to and --from take it
    const char* extensions;     // the output extensions that choose it, separated by blanks; "" for none
    PaletteSignature signature; // nullptr where the format has none (act, vga)
    std::size_t maxColours;     // the most colours a file of this format holds (and the most written)
    bool alwaysFull;            // the file always holds maxColours entries: fewer are padded with black
    unsigned keeps;             // PaletteKeeps: what its files hold besides the colours
    int channelBits;            // the bits of each red, green and blue: 8, or a VGA table's 6
    bool text;                  // a text format, which may start with a UTF-8 byte order mark
    PaletteReader read;
    PaletteWriter write;     // nullptr for a format that vexapal only reads
    const char* description; // for the help text
};

// Every format, in the order the help text lists them.
extern const PaletteFormatInfo kPaletteFormats[18];

const PaletteFormatInfo& FormatInfo(PaletteFormat format);
// The format of a name as --to and --from take it, in any letter case.
std::optional<PaletteFormat> FormatByName(std::string_view name);
// "bmp, txt, ..., ilbm or vga": every name, for messages; with writableOnly, those vexapal writes.
std::string FormatNames(bool writableOnly = false);
// The output format a file name asks for by its extension, in any letter case (".pal" is jasc).
std::optional<PaletteFormat> FormatByExtension(std::string_view path);
// ".bmp, .txt, ... or .vga": the first extension of each format that vexapal writes, for messages.
std::string OutputExtensions();

// What writing the palette in the format drops of what it holds: one sentence per kind of loss, such
// as "act keeps no colour names: 16 names dropped"; none when the format keeps it all.
std::vector<std::string> DescribeLosses(const Palette& palette, PaletteFormat format);

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
// A PNG holds each colour as a cell of scale by scale pixels. Nothing for a format that vexapal only reads.
std::vector<std::uint8_t> WritePalette(PaletteFormat format, const Palette& palette, const std::string& timeText,
                                       int scale = 1);

// Whether two palettes hold the same colours in the same order (names aside).
bool SameColours(const Palette& a, const Palette& b);
