#include "vexapal/Vexapal.h"

#include "palette/PaletteFormats.h"
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
constexpr const char* kUsage = "Usage: vexapal convert IN OUT [--to NAME]\n"
                               "       vexapal show FILE\n"
                               "       vexapal diff A B\n"
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
           "  convert  writes IN's colours (and a GIMP palette's names) to OUT, which appears whole or not\n"
           "           at all. A bitmap always holds 256 entries: fewer colours are padded with black, and\n"
           "           vexapal says so.\n"
           "  show     prints each entry's index, red, green, blue and hex value (with a colour swatch on\n"
           "           a terminal) and its name, if it has one.\n"
           "  diff     prints the entries whose colours differ, side by side.\n"
           "\n"
           "Formats:\n";
    for (const PaletteFormatInfo& info : kPaletteFormats)
    {
        char line[160];
        std::snprintf(line, sizeof line, "  %-5s %-5s %5zu colours at most, %s\n", info.name,
                      info.extension != nullptr ? info.extension : "", info.maxColours, info.description);
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

// Reads and checks a palette file; one line on err when it is no palette.
std::optional<Palette> LoadPalette(const std::string& path, std::ostream& err)
{
    std::vector<std::uint8_t> bytes;
    std::string reason;
    if (!ReadWholeFile(path, bytes, reason))
    {
        Trouble(err, path + ": cannot read it: " + reason);
        return std::nullopt;
    }
    const std::optional<PaletteFormat> format = DetectPaletteFormat(bytes.data(), bytes.size());
    if (!format)
    {
        Trouble(err, path + ": byte 0: expected a palette file (bmp, txt, act, gpl, jasc, riff or hex)");
        return std::nullopt;
    }
    PaletteReadResult result = ReadPaletteAs(*format, bytes.data(), bytes.size());
    if (result.fault)
    {
        Trouble(err, path + ": " + FormatInfo(*format).name + " " + DescribeFault(*result.fault));
        return std::nullopt;
    }
    return std::move(result.palette);
}

int Convert(const std::vector<std::string>& args, std::ostream& err)
{
    std::vector<std::string> files;
    std::optional<PaletteFormat> format;
    for (std::size_t i = 1; i < args.size(); ++i)
    {
        if (args[i] != "--to")
        {
            files.push_back(args[i]);
            continue;
        }
        if (++i == args.size())
            return Trouble(err, std::string("--to needs a format name") + kSeeHelp);
        format = FormatByName(args[i]);
        if (!format)
            return Trouble(err, "unknown format \"" + args[i] +
                                    "\" for --to: expected bmp, txt, act, gpl, jasc, riff or hex");
    }
    if (files.size() != 2)
        return Trouble(err, std::string("convert needs IN and OUT") + kSeeHelp);
    const std::string& in = files[0];
    const std::string& out = files[1];
    if (!format)
        format = FormatByExtension(out);
    if (!format)
        return Trouble(err, out + ": cannot tell the format from the extension: use .bmp, .txt, .act, .gpl, .pal "
                                  "or .hex, or --to NAME");

    std::optional<Palette> palette = LoadPalette(in, err);
    if (!palette)
        return 2;
    const PaletteFormatInfo& info = FormatInfo(*format);
    const std::size_t count = palette->colours.size();
    if (count > info.maxColours)
        return Trouble(err, out + ": " + info.name + " holds at most " + std::to_string(info.maxColours) +
                                " colours; " + in + " has " + std::to_string(count));
    if (palette->name.empty())
    {
        // A GIMP palette shows under its name: the file's, when the palette had none.
        const std::size_t slash = out.find_last_of("/\\");
        palette->name = out.substr(slash == std::string::npos ? 0 : slash + 1);
        palette->name = palette->name.substr(0, palette->name.find_last_of('.'));
    }

    std::string reason;
    if (!WriteWholeFile(out, WritePalette(*format, *palette, CurrentTimeText()), reason))
        return Trouble(err, out + ": cannot write it: " + reason);
    if (info.alwaysFull && count < info.maxColours)
        Say(err, out + ": " + info.name + " holds " + std::to_string(info.maxColours) + " colours: entries " +
                     std::to_string(count) + " to " + std::to_string(info.maxColours - 1) + " are black padding");
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

int Show(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, bool colourTerminal)
{
    if (args.size() != 2)
        return Trouble(err, std::string("show takes one FILE") + kSeeHelp);
    const std::optional<Palette> palette = LoadPalette(args[1], err);
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
            out << "  " << colour.name;
        out << '\n';
    }
    return 0;
}

int Diff(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.size() != 3)
        return Trouble(err, std::string("diff takes two files, A and B") + kSeeHelp);
    const std::optional<Palette> a = LoadPalette(args[1], err);
    if (!a)
        return 2;
    const std::optional<Palette> b = LoadPalette(args[2], err);
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
    if (command == "--help" || command == "-h")
    {
        PrintHelp(out);
        return 0;
    }
    if (command == "--version")
    {
        out << "vexapal " VEXA_VERSION "\n";
        return 0;
    }
    if (command == "convert")
        return Convert(args, err);
    int status = 0;
    if (command == "show")
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
