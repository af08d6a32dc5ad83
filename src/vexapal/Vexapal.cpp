#include "vexapal/Vexapal.h"

#include "formats/ImageSignatures.h"
#include "formats/PaletteFormats.h"
#include "palette/TextDump.h"
#include "vexapal/PaletteFiles.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <optional>

#ifndef VEXA_VERSION
#error VEXA_VERSION names the version (the build takes it from the project)
#endif

namespace
{
constexpr const char* kUsage =
    "Usage: vexapal convert IN OUT [--to NAME] [--from NAME] [--pad] [--scale N] [--strict]\n"
    "       vexapal show FILE [--from NAME]\n"
    "       vexapal diff A B [--from NAME]\n"
    "       vexapal --help | --version\n";

constexpr const char* kSeeHelp = " (see vexapal --help)";

void Say(std::ostream& err, const std::string& message)
{
    err << "vexapal: " << message << '\n';
}

int Trouble(std::ostream& err, const std::string& message)
{
    Say(err, message);
    return 2;
}

void PrintHelp(std::ostream& out)
{
    out << kUsage
        << "\n"
           "Converts, shows and compares palettes of 1 to 65535 colours. The input's format is found from\n"
           "its content; the output's from OUT's extension or --to NAME.\n"
           "\n"
           "  convert  writes IN's colours, and their names where OUT's format keeps them, to OUT, which\n"
           "           appears whole or not at all. A bitmap always holds 256 entries: fewer colours are\n"
           "           padded with black, and vexapal says so. What OUT's format cannot keep (names, alpha,\n"
           "           groups, columns, colours given in CMYK, Lab, HSB or Gray, precision) is said too,\n"
           "           one line for each.\n"
           "  show     prints each entry's index, red, green, blue and hex value (with a colour swatch on\n"
           "           a terminal) and its name, if it has one.\n"
           "  diff     prints the entries whose colours differ, side by side.\n"
           "\n"
           "  --to NAME    the output's format (also --to=NAME); NAME in any letter case\n"
           "  --from NAME  the input's format, whatever its content says\n"
           "  --pad        pads the palette to 256 colours with black (GIMP reads only full Adobe tables)\n"
           "  --scale N    a PNG's cells of N by N pixels, N from 1 to 256 (default 1)\n"
           "  --strict     refuses a conversion that loses any of that, and writes nothing\n"
           "\n"
           "Formats, with the most colours vexapal writes in each:\n";
    for (const PaletteFormatInfo& info : kPaletteFormats)
    {
        char line[200];
        std::snprintf(line, sizeof line, "  %-8s %-9s %5zu colours at most, %s\n", info.name, info.extensions,
                      info.maxColours, info.description);
        out << line;
    }
    out << "\n"
           "Exit status: 0 done (diff: the palettes are equal), 1 diff: they differ, 2 trouble.\n";
}

std::string CurrentTimeText()
{
    const std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    if (local == nullptr)
        return {};
    const LocalTimeFields fields{local->tm_year + 1900, local->tm_mon + 1, local->tm_mday, local->tm_wday,
                                 local->tm_hour,        local->tm_min,     local->tm_sec};
    return FormatDumpTime(&fields);
}

// A command's files and options.
struct CommandLine
{
    std::vector<std::string> files;
    std::optional<PaletteFormat> to;
    std::optional<PaletteFormat> from;
    bool pad = false;
    bool strict = false;
    std::optional<int> scale;
};

// The arguments after the command: files, --to NAME, --from NAME, --scale N (or --to=NAME, ...), --pad
// and --strict.
// Nothing after saying what is wrong.
std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& args, std::ostream& err)
{
    CommandLine line;
    for (std::size_t i = 1; i < args.size(); ++i)
    {
        const std::string& arg = args[i];
        const std::string option = arg.substr(0, arg.find('='));
        if (arg == "--pad" || arg == "--strict")
        {
            (arg == "--pad" ? line.pad : line.strict) = true;
            continue;
        }
        if (option != "--to" && option != "--from" && option != "--scale")
        {
            if (arg.rfind("--", 0) == 0)
                return Trouble(err, "unknown option \"" + arg + "\"" + kSeeHelp), std::nullopt;
            line.files.push_back(arg);
            continue;
        }
        std::string name;
        if (option.size() < arg.size())
            name = arg.substr(option.size() + 1);
        else if (++i < args.size())
            name = args[i];
        else
            return Trouble(err, option + (option == "--scale" ? " needs a number" : " needs a format name") + kSeeHelp),
                   std::nullopt;
        if (option == "--scale")
        {
            const bool digits =
                !name.empty() && name.size() <= 3 && name.find_first_not_of("0123456789") == std::string::npos;
            const int scale = digits ? std::stoi(name) : 0;
            if (scale < 1 || scale > kMostPngScale)
                return Trouble(err, "--scale takes a number from 1 to " + std::to_string(kMostPngScale) + ", not \"" +
                                        name + "\""),
                       std::nullopt;
            line.scale = scale;
            continue;
        }
        const std::optional<PaletteFormat> format = FormatByName(name);
        if (!format)
            return Trouble(err, "unknown format \"" + name + "\" for " + option + ": expected " + FormatNames()),
                   std::nullopt;
        (option == "--to" ? line.to : line.from) = format;
    }
    return line;
}

// Reads and checks a palette file, as the format given or the one its content shows; one line on err
// when it is no palette.
std::optional<Palette> LoadPalette(const std::string& path, std::optional<PaletteFormat> format, std::ostream& err)
{
    std::vector<std::uint8_t> bytes;
    std::string reason;
    if (!ReadWholeFile(path, bytes, reason))
    {
        Trouble(err, path + ": cannot read it: " + reason);
        return std::nullopt;
    }
    const bool forced = format.has_value();
    if (!forced)
        format = DetectPaletteFormat(bytes.data(), bytes.size());
    if (!format)
    {
        Trouble(err, path + ": byte 0: expected a palette file (" + FormatNames() + ")");
        return std::nullopt;
    }
    PaletteReadResult result = ReadPaletteAs(*format, bytes.data(), bytes.size());
    if (result.fault)
    {
        std::string message = path + ": " + FormatInfo(*format).name + " " + DescribeFault(*result.fault);
        // An Adobe table has no signature: one whose first colours spell another format's is taken for it.
        if (!forced && *format != PaletteFormat::act &&
            !ReadPaletteAs(PaletteFormat::act, bytes.data(), bytes.size()).fault)
            message += " (if it is an Adobe colour table: --from act)";
        Trouble(err, message);
        return std::nullopt;
    }
    return std::move(result.palette);
}

int Convert(const std::vector<std::string>& args, std::ostream& err)
{
    const std::optional<CommandLine> line = ParseCommandLine(args, err);
    if (!line)
        return 2;
    if (line->files.size() != 2)
        return Trouble(err, std::string("convert needs IN and OUT") + kSeeHelp);
    const std::string& in = line->files[0];
    const std::string& out = line->files[1];
    const std::optional<PaletteFormat> format = line->to ? line->to : FormatByExtension(out);
    if (!format)
        return Trouble(err, out + ": cannot tell the format from the extension: use " + OutputExtensions() +
                                ", or --to NAME");
    const PaletteFormatInfo& info = FormatInfo(*format);
    if (info.write == nullptr)
        return Trouble(err,
                       out + ": vexapal reads " + info.name + " but does not write it; it writes " + FormatNames(true));
    if (line->scale && *format != PaletteFormat::png)
        return Trouble(err, std::string("--scale is for png output only") + kSeeHelp);

    std::optional<Palette> palette = LoadPalette(in, line->from, err);
    if (!palette)
        return 2;
    const std::size_t inCount = palette->colours.size();
    if (line->pad && inCount < 256)
        palette->colours.resize(256, PaletteColour{0, 0, 0, {}});
    const std::size_t count = palette->colours.size();
    if (count > info.maxColours)
        return Trouble(err, out + ": " + info.name + " holds at most " + std::to_string(info.maxColours) +
                                " colours; " + in + " has " + std::to_string(inCount) +
                                (count != inCount ? ", and --pad made " + std::to_string(count) : ""));
    // What the output cannot keep is said once it is written; --strict says it and writes nothing.
    const std::vector<std::string> losses = DescribeLosses(*palette, *format);
    if (line->strict && !losses.empty())
    {
        for (const std::string& loss : losses)
            Say(err, out + ": " + loss);
        return Trouble(err, out + ": not written: --strict refuses a conversion that loses what " + in + " holds");
    }
    if (palette->name.empty())
    {
        // A GIMP palette shows under its name: the file's, when the palette had none.
        const std::size_t slash = out.find_last_of("/\\");
        palette->name = out.substr(slash == std::string::npos ? 0 : slash + 1);
        palette->name = palette->name.substr(0, palette->name.find_last_of('.'));
    }

    std::string reason;
    if (!WriteWholeFile(out, WritePalette(*format, *palette, CurrentTimeText(), line->scale.value_or(1)), reason))
        return Trouble(err, out + ": cannot write it: " + reason);
    if (info.alwaysFull && count < info.maxColours)
        Say(err, out + ": " + info.name + " holds " + std::to_string(info.maxColours) + " colours: entries " +
                     std::to_string(count) + " to " + std::to_string(info.maxColours - 1) + " are black padding");
    for (const std::string& loss : losses)
        Say(err, out + ": " + loss);
    return 0;
}

// "255 128   0  #FF8000": an entry's colour in decimal and in hex.
std::string ColourText(const PaletteColour& colour)
{
    char text[32];
    std::snprintf(text, sizeof text, "%3d %3d %3d  #%02X%02X%02X", colour.red, colour.green, colour.blue, colour.red,
                  colour.green, colour.blue);
    return text;
}

std::string IndexText(std::size_t index, std::size_t count)
{
    const int width = std::max(3, static_cast<int>(std::to_string(count - 1).size()));
    char text[16];
    std::snprintf(text, sizeof text, "%*zu", width, index);
    return text;
}

std::string HexEscape(unsigned char byte)
{
    char escape[8];
    std::snprintf(escape, sizeof escape, "\\x%02x", byte);
    return escape;
}

// The text with its control characters (C0, DEL, and C1 as UTF-8 spells them) as "\x1b", so that a name
// cannot move the cursor, retitle or clear a terminal.
std::string VisibleText(const std::string& text)
{
    std::string visible;
    for (std::size_t i = 0; i < text.size(); ++i)
    {
        const auto byte = static_cast<unsigned char>(text[i]);
        const bool c1 = byte == 0xC2 && i + 1 < text.size() && (static_cast<unsigned char>(text[i + 1]) & 0xE0) == 0x80;
        if (byte >= 0x20 && byte != 0x7F && !c1)
        {
            visible += text[i];
            continue;
        }
        visible += HexEscape(byte);
        if (c1)
            visible += HexEscape(static_cast<unsigned char>(text[++i]));
    }
    return visible;
}

int Show(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, bool colourTerminal)
{
    const std::optional<CommandLine> line = ParseCommandLine(args, err);
    if (!line)
        return 2;
    if (line->files.size() != 1 || line->to || line->pad || line->strict || line->scale)
        return Trouble(err, std::string("show takes one FILE and --from NAME") + kSeeHelp);
    const std::optional<Palette> palette = LoadPalette(line->files[0], line->from, err);
    if (!palette)
        return 2;
    const std::size_t count = palette->colours.size();
    for (std::size_t i = 0; i < count; ++i)
    {
        const PaletteColour& colour = palette->colours[i];
        out << IndexText(i, count) << "  " << ColourText(colour);
        if (colourTerminal)
        {
            out << "  \x1b[48;2;" << int{colour.red} << ';' << int{colour.green} << ';' << int{colour.blue}
                << "m      \x1b[0m";
        }
        if (!colour.name.empty())
            out << "  " << VisibleText(colour.name);
        out << '\n';
    }
    return 0;
}

int Diff(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    const std::optional<CommandLine> line = ParseCommandLine(args, err);
    if (!line)
        return 2;
    if (line->files.size() != 2 || line->to || line->pad || line->strict || line->scale)
        return Trouble(err, std::string("diff takes two files, A and B, and --from NAME") + kSeeHelp);
    const std::optional<Palette> a = LoadPalette(line->files[0], line->from, err);
    if (!a)
        return 2;
    const std::optional<Palette> b = LoadPalette(line->files[1], line->from, err);
    if (!b)
        return 2;
    if (SameColours(*a, *b))
        return 0;

    // An entry that only one palette has shows as "-" on the other side.
    const std::size_t count = std::max(a->colours.size(), b->colours.size());
    const std::string missing = "-" + std::string(ColourText({}).size() - 1, ' ');
    for (std::size_t i = 0; i < count; ++i)
    {
        const PaletteColour* left = i < a->colours.size() ? &a->colours[i] : nullptr;
        const PaletteColour* right = i < b->colours.size() ? &b->colours[i] : nullptr;
        const std::string leftText = left != nullptr ? ColourText(*left) : missing;
        const std::string rightText = right != nullptr ? ColourText(*right) : "-";
        if (left == nullptr || right == nullptr || leftText != rightText)
            out << IndexText(i, count) << "  " << leftText << "  |  " << rightText << '\n';
    }
    return 1;
}
} // namespace

int RunVexapal(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, bool colourTerminal)
{
    if (args.empty())
    {
        err << kUsage;
        return 2;
    }
    const std::string& command = args[0];
    if (command == "convert")
        return Convert(args, err);
    int status = 0;
    if (command == "--help" || command == "-h")
        PrintHelp(out);
    else if (command == "--version")
        out << "vexapal " VEXA_VERSION "\n";
    else if (command == "show")
        status = Show(args, out, err, colourTerminal);
    else if (command == "diff")
        status = Diff(args, out, err);
    else
        return Trouble(err, "unknown command \"" + command + "\"" + kSeeHelp);
    // A full disk or a closed pipe behind standard output would otherwise pass unnoticed.
    if (!out.flush())
        return Trouble(err, "cannot write to standard output");
    return status;
}
