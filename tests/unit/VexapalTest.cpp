// vexapal's commands on real files: what they print, their exit status, the files they leave, and
// palettes that other programs wrote (GIMP's own palettes, ImageMagick's bitmaps, Vexa's Save As).
#include "vexapal/Vexapal.h"

#include "formats/PaletteFormats.h"
#include "vexapal/PaletteFiles.h"
#include "vexapal/SystemFiles.h"

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <set>
#include <sstream>
#ifndef _WIN32
#include <unistd.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#endif

namespace fs = std::filesystem;

namespace
{
struct Outcome
{
    int status;
    std::string out;
    std::string err;
};

class Vexapal : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        // A folder of this run's own: two test runs on one machine must not share one.
        m_folder = fs::temp_directory_path() / ("vexapal-" + std::to_string(std::random_device()()) + "-" +
                                                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
    }

    void TearDown() override { fs::remove_all(m_folder); }

    std::string Path(const std::string& name) const { return (m_folder / name).string(); }

    static Outcome Run(const std::vector<std::string>& args, bool colourTerminal = false)
    {
        std::ostringstream out, err;
        const int status = RunVexapal(args, out, err, colourTerminal);
        return {status, out.str(), err.str()};
    }

    void Write(const std::string& name, std::string_view bytes) const
    {
        std::ofstream(Path(name), std::ios::binary) << bytes;
    }

    std::string Read(const std::string& name) const
    {
        std::vector<std::uint8_t> bytes;
        std::string reason;
        return ReadWholeFile(Path(name), bytes, reason) ? std::string(bytes.begin(), bytes.end()) : "(" + reason + ")";
    }

    static Palette Load(const std::string& path)
    {
        std::vector<std::uint8_t> bytes;
        std::string reason;
        EXPECT_TRUE(ReadWholeFile(path, bytes, reason)) << path << ": " << reason;
        const std::optional<PaletteFormat> format = DetectPaletteFormat(bytes.data(), bytes.size());
        EXPECT_TRUE(format) << path;
        PaletteReadResult result = ReadPaletteAs(format.value_or(PaletteFormat::hex), bytes.data(), bytes.size());
        EXPECT_FALSE(result.fault) << path << ": " << (result.fault ? DescribeFault(*result.fault) : "");
        return result.palette;
    }

    std::set<std::string> Files() const
    {
        std::set<std::string> names;
        for (const fs::directory_entry& entry : fs::directory_iterator(m_folder))
            names.insert(entry.path().filename().string());
        return names;
    }

    // Converts the file to each format and back to its own, expecting the same colours (and names, for a
    // GIMP palette). A format too small for it must refuse with the one line that says so.
    void ExpectRoundTrips(const std::string& source, PaletteFormat sourceFormat)
    {
        const Palette original = Load(source);
        const std::size_t count = original.colours.size();
        for (const PaletteFormatInfo& info : kPaletteFormats)
        {
            if (info.write == nullptr)
                continue;
            SCOPED_TRACE(source + " through " + info.name);
            const std::string there = Path(std::string("there.") + info.name);
            const std::string back = Path(std::string("back.") + FormatInfo(sourceFormat).name);
            fs::remove(there);
            const Outcome out = Run({"convert", source, there, "--to", info.name});
            if (count > info.maxColours)
            {
                EXPECT_EQ(out.status, 2);
                EXPECT_EQ(out.err, "vexapal: " + there + ": " + info.name + " holds at most " +
                                       std::to_string(info.maxColours) + " colours; " + source + " has " +
                                       std::to_string(count) + "\n");
                EXPECT_FALSE(fs::exists(there));
                continue;
            }
            ASSERT_EQ(out.status, 0) << out.err;
            ASSERT_EQ(Run({"convert", there, back, "--from", info.name, "--to", FormatInfo(sourceFormat).name}).status,
                      0);
            Palette expected = original;
            for (PaletteColour& colour : expected.colours)
            {
                if (info.channelBits < 8) // a VGA table's 6 bits
                {
                    for (std::uint8_t* channel : {&colour.red, &colour.green, &colour.blue})
                        *channel = static_cast<std::uint8_t>(((*channel * 63 + 127) / 255 * 255 + 31) / 63);
                }
            }
            if (info.alwaysFull || FormatInfo(sourceFormat).alwaysFull) // a bitmap, always of 256
                expected.colours.resize(256, PaletteColour{0, 0, 0, {}});
            const Palette result = Load(back);
            EXPECT_TRUE(SameColours(result, expected));
            if (info.format == PaletteFormat::gpl && sourceFormat == PaletteFormat::gpl)
            {
                EXPECT_EQ(result.name, original.name);
            }
            if ((info.keeps & FormatInfo(sourceFormat).keeps & kKeepsNames) != 0)
            {
                for (std::size_t i = 0; i < count; ++i)
                    EXPECT_EQ(result.colours[i].name, original.colours[i].name) << i;
            }
        }
    }

    fs::path m_folder;
};

const char* const kTwoColours = "GIMP Palette\nName: Two\n255 128 0 orange\n1 2 3\n";

TEST_F(Vexapal, ShowPrintsEveryEntryWithASwatchOnlyOnATerminal)
{
    Write("two.gpl", kTwoColours);
    EXPECT_EQ(Run({"show", Path("two.gpl")}).out, "  0  255 128   0  #FF8000  orange\n"
                                                  "  1    1   2   3  #010203\n");
    const Outcome terminal = Run({"show", Path("two.gpl")}, true);
    EXPECT_EQ(terminal.status, 0);
    EXPECT_EQ(terminal.out, "  0  255 128   0  #FF8000  \x1b[48;2;255;128;0m      \x1b[0m  orange\n"
                            "  1    1   2   3  #010203  \x1b[48;2;1;2;3m      \x1b[0m\n");

    // Control characters in a name (a terminal's title, a clear, C1's CSI) show as what they are.
    Write("escapes.gpl", "GIMP Palette\n1 2 3 \x1b]0;title\x07\xc2\x9b"
                         "2J\x7f\n");
    const std::string escaped = "  \\x1b]0;title\\x07\\xc2\\x9b2J\\x7f\n";
    EXPECT_EQ(Run({"show", Path("escapes.gpl")}).out, "  0    1   2   3  #010203" + escaped);
    EXPECT_EQ(Run({"show", Path("escapes.gpl")}, true).out,
              "  0    1   2   3  #010203  \x1b[48;2;1;2;3m      \x1b[0m" + escaped);

    // As a full disk or a closed pipe leaves standard output, for every command that prints.
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"show", Path("two.gpl")}, {"--help"}, {"--version"}})
    {
        std::ostringstream broken, err;
        broken.setstate(std::ios::badbit);
        EXPECT_EQ(RunVexapal(args, broken, err, false), 2) << args[0];
        EXPECT_EQ(err.str(), "vexapal: cannot write to standard output\n");
    }
}

TEST_F(Vexapal, DiffShowsTheEntriesThatDifferAndAnswersLikeCmp)
{
    Write("two.gpl", kTwoColours);
    Write("same.pal", "JASC-PAL\r\n0100\r\n2\r\n255 128 0\r\n1 2 3\r\n");
    Write("other.hex", "ff8000\n010204\n000000\n");
    Write("red.hex", "ff0000\n010203\n");
    Write("black.hex", "000000\n010203\n");
    EXPECT_EQ(Run({"diff", Path("two.gpl"), Path("same.pal")}).status, 0);
    const Outcome differ = Run({"diff", Path("two.gpl"), Path("other.hex")});
    EXPECT_EQ(differ.status, 1);
    EXPECT_EQ(differ.out, "  1    1   2   3  #010203  |    1   2   4  #010204\n"
                          "  2  -                     |    0   0   0  #000000\n");
    // Of equal length, differing in entry 0 and in one channel only.
    const Outcome channel = Run({"diff", Path("red.hex"), Path("black.hex")});
    EXPECT_EQ(channel.status, 1);
    EXPECT_EQ(channel.out, "  0  255   0   0  #FF0000  |    0   0   0  #000000\n");
    const Outcome trouble = Run({"diff", Path("two.gpl"), Path("none.gpl")});
    EXPECT_EQ(trouble.status, 2);
    EXPECT_EQ(trouble.out, "");
}

TEST_F(Vexapal, ConvertFollowsTheExtensionOrToAndReplacesAWholeFile)
{
    Write("two.gpl", kTwoColours);
    Write("out.pal", std::string(20000, 'z'));
    ASSERT_EQ(Run({"convert", Path("two.gpl"), Path("out.pal")}).status, 0);
    EXPECT_EQ(Read("out.pal"), "JASC-PAL\r\n0100\r\n2\r\n255 128 0\r\n1 2 3\r\n");
    ASSERT_EQ(Run({"convert", Path("two.gpl"), Path("out.pal"), "--to=RIFF"}).status, 0);
    EXPECT_EQ(Read("out.pal").substr(0, 12), std::string("RIFF\x18\0\0\0PAL ", 12));
    // Padded, an Adobe table is the 768 bytes that GIMP reads; --from takes it whatever it starts with,
    // here "BM", for every file of the command.
    Write("bm.hex", "424d00\n010203\n");
    ASSERT_EQ(Run({"convert", Path("bm.hex"), Path("out.act"), "--pad"}).status, 0);
    ASSERT_EQ(Read("out.act").substr(0, 3), std::string("BM\0", 3));
    ASSERT_EQ(Read("out.act").size(), 768u);
    EXPECT_EQ(Run({"show", Path("out.act"), "--from", "act"}).out.size(), 256 * 26u);
    EXPECT_EQ(Run({"diff", Path("out.act"), Path("out.act"), "--from", "act"}).status, 0);
    ASSERT_EQ(Run({"convert", Path("out.act"), Path("out.act"), "--from", "act", "--to", "hex"}).status, 0);
    EXPECT_EQ(Read("out.act").substr(0, 14), "424d00\n010203\n");
    fs::remove(Path("bm.hex"));
    // A GIMP palette without a name takes the file's, without its folder and extension.
    fs::create_directories(m_folder / "d");
    ASSERT_EQ(Run({"convert", Path("out.act"), Path("d/x.gpl")}).status, 0);
    EXPECT_EQ(Read("d/x.gpl").substr(0, 21), "GIMP Palette\nName: x\n");
    fs::remove_all(m_folder / "d");
    // Converting a file onto itself works too: it is read whole before anything is written.
    ASSERT_EQ(Run({"convert", Path("out.pal"), Path("out.pal"), "--to", "hex"}).status, 0);
    EXPECT_EQ(Read("out.pal"), "ff8000\n010203\n");
    // Names as long as a folder takes: the temporary name shortens its copy of them.
    for (const std::string& name : {std::string(240, 'n') + ".pal", [] {
                                        std::string accents;
                                        for (int i = 0; i < 120; ++i)
                                            accents += "\xC3\xA9"; // é
                                        return accents + ".pal";
                                    }()})
    {
        const std::string path = (m_folder / "").string() + name; // in UTF-8, as vexapal takes names
        std::vector<std::uint8_t> bytes;
        std::string reason;
        EXPECT_EQ(Run({"convert", Path("two.gpl"), path}).status, 0);
        EXPECT_TRUE(ReadWholeFile(path, bytes, reason) && RemoveFile(path)) << reason;
    }
    EXPECT_EQ(Files(), (std::set<std::string>{"two.gpl", "out.pal", "out.act"}));
#ifndef _WIN32
    // The temporary file is never created through a link planted at its name, nor over a file there.
    Write("victim", "victim");
    fs::create_symlink(Path("victim"), Path("planted.tmp"));
    fs::create_symlink(Path("gone"), Path("dangling.tmp"));
    for (const char* name : {"planted.tmp", "dangling.tmp", "victim"})
    {
        bool taken = false;
        std::string reason;
        EXPECT_EQ(CreateNewFile(Path(name), taken, reason), nullptr) << name;
        EXPECT_TRUE(taken) << name;
    }
    EXPECT_EQ(Read("victim"), "victim");
    EXPECT_FALSE(fs::exists(Path("gone")));

    // A link stays, and the file it leads to is replaced in that file's folder.
    fs::create_directories(m_folder / "real");
    Write("real/target.pal", "old");
    fs::create_symlink("real/target.pal", Path("link.pal"));
    ASSERT_EQ(Run({"convert", Path("two.gpl"), Path("link.pal")}).status, 0);
    EXPECT_TRUE(fs::is_symlink(Path("link.pal")));
    EXPECT_EQ(Read("real/target.pal"), "JASC-PAL\r\n0100\r\n2\r\n255 128 0\r\n1 2 3\r\n");

    // A replaced file keeps its mode (and, where the process may, its owner and group); a new one gets
    // 0666 less the umask.
    for (const fs::perms mode : {fs::perms(0600), fs::perms(0444), fs::perms(0755)})
    {
        fs::permissions(Path("out.pal"), mode);
        ASSERT_EQ(Run({"convert", Path("two.gpl"), Path("out.pal")}).status, 0);
        EXPECT_EQ(fs::status(Path("out.pal")).permissions(), mode);
    }
    struct stat info = {};
    if (::geteuid() == 0 && ::chown(Path("out.pal").c_str(), 4321, 4322) == 0)
    {
        ASSERT_EQ(Run({"convert", Path("two.gpl"), Path("out.pal")}).status, 0);
        ASSERT_EQ(::stat(Path("out.pal").c_str(), &info), 0);
        EXPECT_EQ(info.st_uid, 4321u);
        EXPECT_EQ(info.st_gid, 4322u);
    }
    const mode_t mask = ::umask(002);
    const Outcome made = Run({"convert", Path("two.gpl"), Path("new.pal")});
    ::umask(mask);
    ASSERT_EQ(made.status, 0);
    EXPECT_EQ(fs::status(Path("new.pal")).permissions(), fs::perms(0664));
#endif
}

#ifndef _WIN32
// A conversion ended by Ctrl+C, a termination signal or a hang-up while its temporary file exists leaves
// none: the file is registered for removal as it is created.
TEST_F(Vexapal, AnInterruptedConversionLeavesNoTemporaryFile)
{
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
    {
        bool taken = false;
        std::string reason;
        EXPECT_EXIT(
            {
                CreateNewFile(Path("out.pal.tmp"), taken, reason);
                std::raise(signal);
            },
            ::testing::KilledBySignal(signal), "");
        EXPECT_EQ(Files(), std::set<std::string>{});
    }
}
#endif

TEST_F(Vexapal, FewerColoursThanABitmapHoldsArePaddedAndToldOnStandardError)
{
    Write("two.gpl", kTwoColours);
    const Outcome out = Run({"convert", Path("two.gpl"), Path("two.bmp")});
    EXPECT_EQ(out.status, 0);
    EXPECT_EQ(out.err, "vexapal: " + Path("two.bmp") + ": bmp holds 256 colours: entries 2 to 255 are black padding\n" +
                           "vexapal: " + Path("two.bmp") + ": bmp keeps no colour names: 1 name dropped\n");
    EXPECT_EQ(Read("two.bmp").size(), 9270u);
    EXPECT_EQ(Run({"convert", Path("two.gpl"), Path("two.act"), "--to", "hex"}).err,
              "vexapal: " + Path("two.act") + ": hex keeps no colour names: 1 name dropped\n");
    Write("one.hex", "ff8000\n");
    EXPECT_EQ(Run({"convert", Path("one.hex"), Path("one.act")}).err, ""); // the Adobe table keeps the count
    ASSERT_EQ(Run({"convert", Path("one.hex"), Path("full.act"), "--pad"}).status, 0);
    EXPECT_EQ(Run({"convert", Path("full.act"), Path("full.bmp")}).err, ""); // 256 colours need no padding
}

TEST_F(Vexapal, TroubleIsOneLineOnStandardErrorAndLeavesEveryFileAsItWas)
{
    Write("two.gpl", kTwoColours);
    Write("bad.gpl", "GIMP Palette\n1 2 3\n4 5\n");
    Write("bad.act", std::string(772, '\0'));
    Write("kept.pal", "kept");
    Write("huge.hex", std::string(kMaxPaletteFileSize + 1, 'a'));
    Write("padded.gpl", ("GIMP Palette\n256 128 0\n" + std::string(768, ' ')).substr(0, 768));
    fs::create_directories(m_folder / "folder.pal");
    std::set<std::string> files = {"two.gpl", "bad.gpl", "bad.act", "kept.pal", "huge.hex", "padded.gpl", "folder.pal"};
#ifndef _WIN32
    // A named pipe, a device (one of its own where the process may make one) and a link to the pipe.
    ASSERT_EQ(::mkfifo(Path("pipe.pal").c_str(), 0600), 0);
    if (::mknod(Path("device.pal").c_str(), S_IFCHR | 0600, makedev(1, 3)) != 0)
        fs::create_symlink("/dev/null", Path("device.pal"));
    fs::create_symlink("pipe.pal", Path("pipelink.pal"));
    files.insert({"pipe.pal", "device.pal", "pipelink.pal"});
#endif
#ifdef _WIN32
    const std::string onFolder = "Access denied.", noFolder = "Path not found.";
#else
    const std::string onFolder = "Is a directory", noFolder = "No such file or directory";
#endif
    const std::string two = Path("two.gpl"), kept = Path("kept.pal"), named = VEXA_GIMP_PALETTES "/Named_Colors.gpl";
    const struct
    {
        std::vector<std::string> args;
        std::string err;
    } cases[] = {
        {{"convert", Path("none.gpl"), kept}, Path("none.gpl") + ": cannot read it: No such file or directory"},
        {{"convert", Path("bad.gpl"), kept},
         Path("bad.gpl") + ": gpl line 3: expected a colour: red, green and blue from 0 to 255, then a name if any"},
        {{"convert", Path("bad.act"), kept}, Path("bad.act") + ": act byte 768: expected a colour count from 1 to 256"},
        {{"show", Path("huge.hex")}, Path("huge.hex") + ": cannot read it: it is larger than 16 MiB"},
        {{"convert", kept, Path("new.gpl")}, kept + ": byte 0: expected a palette file (" + FormatNames() + ")"},
        {{"show", Path("padded.gpl")},
         Path("padded.gpl") + ": gpl line 2: expected a colour: red, green and blue from 0 to 255, then a name if any "
                              "(if it is an Adobe colour table: --from act)"},
        {{"convert", named, Path("new.pal")},
         Path("new.pal") + ": jasc holds at most 256 colours; " + named + " has 448"},
        {{"convert", two, Path("new.txt"), "--to", "paintnet", "--pad"},
         Path("new.txt") + ": paintnet holds at most 96 colours; " + two + " has 2, and --pad made 256"},
        {{"show", Path("padded.gpl"), "--from", "gpl"},
         Path("padded.gpl") + ": gpl line 2: expected a colour: red, green and blue from 0 to 255, then a name if any"},
        {{"convert", two, Path("new.jpg")},
         Path("new.jpg") + ": cannot tell the format from the extension: use .bmp, .txt, .act, .gpl, .pal, .hex, .ase, "
                           ".aco, .kpl, .soc, .png or .vga, or --to NAME"},
        {{"convert", two, Path("new.gif")},
         Path("new.gif") + ": vexapal reads gif but does not write it; it writes " + FormatNames(true)},
        {{"convert", two, kept, "--to", "jpeg"}, "unknown format \"jpeg\" for --to: expected " + FormatNames()},
        {{"show", two, "--from="}, "unknown format \"\" for --from: expected " + FormatNames()},
        {{"convert", two, Path("new.png"), "--scale", "0"}, "--scale takes a number from 1 to 256, not \"0\""},
        {{"convert", two, Path("new.png"), "--scale=1x"}, "--scale takes a number from 1 to 256, not \"1x\""},
        {{"convert", two, Path("new.gpl"), "--scale=2"}, "--scale is for png output only (see vexapal --help)"},
        {{"convert", two, Path("new.hex"), "--strict"},
         Path("new.hex") + ": hex keeps no colour names: 1 name dropped\nvexapal: " + Path("new.hex") +
             ": not written: --strict refuses a conversion that loses what " + two + " holds"},
        {{"show", two, "--strict"}, "show takes one FILE and --from NAME (see vexapal --help)"},
        {{"convert", two, kept, "--too"}, "unknown option \"--too\" (see vexapal --help)"},
        {{"convert", two, kept, "--to"}, "--to needs a format name (see vexapal --help)"},
        {{"convert", two}, "convert needs IN and OUT (see vexapal --help)"},
        {{"convert", two, Path("a.pal"), Path("b.pal")}, "convert needs IN and OUT (see vexapal --help)"},
        {{"convert", two, kept, "--pad=no"}, "unknown option \"--pad=no\" (see vexapal --help)"},
        {{"show", two, "--to", "hex"}, "show takes one FILE and --from NAME (see vexapal --help)"},
        {{"convert", two, Path("no/such/folder.pal")}, Path("no/such/folder.pal") + ": cannot write it: " + noFolder},
        {{"convert", two, Path("folder.pal")}, Path("folder.pal") + ": cannot write it: " + onFolder},
        {{"show", two, "--pad"}, "show takes one FILE and --from NAME (see vexapal --help)"},
        {{"diff", two}, "diff takes two files, A and B, and --from NAME (see vexapal --help)"},
        {{"diff", Path("bad.gpl"), two},
         Path("bad.gpl") + ": gpl line 3: expected a colour: red, green and blue from 0 to 255, then a name if any"},
        {{"merge", two}, "unknown command \"merge\" (see vexapal --help)"},
#ifdef _WIN32
        {{"convert", two, "NUL", "--to", "hex"}, "NUL: cannot write it: it is a device, not a file"},
        {{"convert", two, "con", "--to", "hex"}, "con: cannot write it: it is a device, not a file"},
        {{"convert", two, Path("COM1.pal")}, Path("COM1.pal") + ": cannot write it: it is a device, not a file"},
#else
        {{"convert", two, Path("pipe.pal")}, Path("pipe.pal") + ": cannot write it: it is a named pipe, not a file"},
        {{"convert", two, Path("pipelink.pal")},
         Path("pipelink.pal") + ": cannot write it: it is a named pipe, not a file"},
        {{"convert", two, Path("device.pal")}, Path("device.pal") + ": cannot write it: it is a device, not a file"},
#endif
    };
    for (const auto& c : cases)
    {
        const Outcome out = Run(c.args);
        EXPECT_EQ(out.status, 2) << c.err;
        EXPECT_EQ(out.err, "vexapal: " + c.err + "\n");
        EXPECT_EQ(out.out, "");
    }
    EXPECT_EQ(Read("kept.pal"), "kept");
    EXPECT_EQ(Files(), files);
#ifndef _WIN32
    EXPECT_TRUE(fs::is_fifo(Path("pipe.pal")) && fs::is_symlink(Path("pipelink.pal")));
    EXPECT_TRUE(fs::is_character_file(Path("device.pal")));
#endif
    EXPECT_TRUE(fs::is_empty(m_folder / "folder.pal"));
}

TEST_F(Vexapal, ConvertOntoAFullDiskKeepsThePreviousFile)
{
    const char* disk = std::getenv("VEXA_FULL_DISK");
    if (disk == nullptr || !fs::exists(fs::path(disk) / "mounted"))
        GTEST_SKIP() << "no small disk was mounted for this run (needs root to mount a tmpfs)";
    const fs::path kept = fs::path(disk) / "kept.gpl";
    std::ofstream(kept, std::ios::binary) << "kept";
    {
        // Fill what is left, so that the new file cannot be written.
        std::ofstream filler(fs::path(disk) / "filler", std::ios::binary);
        const std::string block(512, '\0');
        while (filler.write(block.data(), static_cast<std::streamsize>(block.size())))
            ;
    }
    Write("two.gpl", kTwoColours);
    std::string big;
    for (std::size_t i = 0; i < kMaxExchangeColours; ++i)
        big += "ffffff\n";
    Write("big.hex", big); // written in one piece larger than any buffer
    for (const char* source : {"two.gpl", "big.hex"})
    {
        const Outcome out = Run({"convert", Path(source), kept.string()});
        EXPECT_EQ(out.status, 2) << source;
        EXPECT_EQ(out.err, "vexapal: " + kept.string() + ": cannot write it: No space left on device\n");
        std::vector<std::uint8_t> bytes;
        std::string reason;
        EXPECT_TRUE(ReadWholeFile(kept.string(), bytes, reason) && std::string(bytes.begin(), bytes.end()) == "kept");
        std::set<std::string> left;
        for (const fs::directory_entry& entry : fs::directory_iterator(disk))
            left.insert(entry.path().filename().string());
        EXPECT_EQ(left, (std::set<std::string>{"mounted", "kept.gpl", "filler"}));
    }
    fs::remove(fs::path(disk) / "filler");
    fs::remove(kept);
}

TEST_F(Vexapal, HelpVersionAndNoArguments)
{
    const Outcome version = Run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "vexapal " VEXA_VERSION "\n");
    const Outcome help = Run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(
        help.out.rfind("Usage: vexapal convert IN OUT [--to NAME] [--from NAME] [--pad] [--scale N] [--strict]\n", 0),
        0u);
    for (const PaletteFormatInfo& info : kPaletteFormats)
        EXPECT_NE(help.out.find(std::string("\n  ") + info.name + " "), std::string::npos) << info.name;
    EXPECT_NE(
        help.out.find("\n  jasc     .pal        256 colours at most, JASC-PAL text palette (read with up to 65,535)\n"),
        std::string::npos);
    const Outcome none = Run({});
    EXPECT_EQ(none.status, 2);
    EXPECT_EQ(none.err.rfind("Usage: vexapal", 0), 0u);
}

// GIMP's own palettes (the gimp-data package), among them two of more than 256 colours.
TEST_F(Vexapal, GimpPalettesRoundTripThroughEveryFormat)
{
    std::vector<fs::path> palettes;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(VEXA_GIMP_PALETTES, error))
        palettes.push_back(entry.path());
    ASSERT_GE(palettes.size(), 30u) << VEXA_GIMP_PALETTES << " holds GIMP's palettes: install gimp-data";
    for (const fs::path& palette : palettes)
        ExpectRoundTrips(palette.string(), PaletteFormat::gpl);
}

// The colour tables LibreOffice ships (libreoffice-common): each colour is read with its name, and
// they round-trip through every format.
TEST_F(Vexapal, LibreOfficePalettesReadWholeAndRoundTrip)
{
    std::size_t tables = 0;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(VEXA_SOC_PALETTES, error))
    {
        if (entry.path().extension() != ".soc")
            continue;
        ++tables;
        const std::string path = entry.path().string();
        std::string text;
        std::vector<std::uint8_t> bytes;
        std::string reason;
        ASSERT_TRUE(ReadWholeFile(path, bytes, reason)) << reason;
        text.assign(bytes.begin(), bytes.end());
        std::size_t elements = 0;
        for (std::size_t at = text.find("<draw:color "); at != std::string::npos;
             at = text.find("<draw:color ", at + 1))
            ++elements;
        const Palette palette = Load(path);
        EXPECT_EQ(palette.colours.size(), elements) << path;
        EXPECT_TRUE(std::none_of(palette.colours.begin(), palette.colours.end(), [](const PaletteColour& colour) {
            return colour.name.empty();
        })) << path;
        ExpectRoundTrips(path, PaletteFormat::soc);
    }
    EXPECT_EQ(tables, 8u) << VEXA_SOC_PALETTES << " holds LibreOffice's palettes: install libreoffice-common";
}

#ifndef _WIN32
// ImageMagick's bitmaps of 100 known colours (8-bit) and of the first 16 of them (4-bit), with the
// 40-byte header (BMP3), its newest 124-byte one (BMP) and OS/2's 12-byte one (BMP2): ImageMagick puts
// the colours first in a table of 256 or 16 entries and fills the rest with black.
TEST_F(Vexapal, ImageMagickBitmapsOfEveryHeaderKind)
{
    std::vector<std::vector<int>> colours;
    std::string picture = "P3\n100 1\n255\n";
    for (int i = 0; i < 100; ++i)
    {
        const std::vector<int> colour = {i * 37 % 256, (i * 91 + 13) % 256, 255 - i * 2};
        colours.push_back(colour);
        picture += std::to_string(colour[0]) + " " + std::to_string(colour[1]) + " " + std::to_string(colour[2]) + "\n";
    }
    Write("known.ppm", picture);
    for (const auto& [kind, used] : {std::pair{"BMP3", 100}, {"BMP", 100}, {"BMP2", 100}, {"BMP3", 16}, {"BMP2", 16}})
    {
        const std::string bitmap = Path(kind + std::to_string(used) + ".bmp");
        SCOPED_TRACE(bitmap);
        const std::string command = "convert '" + Path("known.ppm") + "' -crop " + std::to_string(used) +
                                    "x1+0+0 -type Palette " + kind + ":'" + bitmap + "'";
        ASSERT_EQ(std::system(command.c_str()), 0) << command << ": ImageMagick is needed";
        const Palette palette = Load(bitmap);
        const std::size_t entries = used > 16 ? 256 : 16;
        ASSERT_EQ(palette.colours.size(), entries);
        std::set<std::vector<int>> first;
        for (std::size_t i = 0; i < entries; ++i)
        {
            const PaletteColour& c = palette.colours[i];
            if (i < static_cast<std::size_t>(used))
                first.insert({c.red, c.green, c.blue});
            else
                EXPECT_EQ(c.red | c.green | c.blue, 0) << i;
        }
        EXPECT_EQ(first, std::set<std::vector<int>>(colours.begin(), colours.begin() + used));
        ExpectRoundTrips(bitmap, PaletteFormat::bmp);
    }
    // A 1-bit bitmap: black and white.
    const std::string command = "convert '" + Path("known.ppm") + "' -type bilevel BMP3:'" + Path("bilevel.bmp") + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    const Palette bilevel = Load(Path("bilevel.bmp"));
    ASSERT_EQ(bilevel.colours.size(), 2u);
    EXPECT_EQ(bilevel.colours[0].red | bilevel.colours[0].green | bilevel.colours[0].blue, 0);
    EXPECT_EQ(bilevel.colours[1].red & bilevel.colours[1].green & bilevel.colours[1].blue, 255);
}
#endif

#ifdef VEXA_SAVED_PALETTES
// What Vexa's Save As wrote in the end-to-end tests: a bitmap and a text dump of one system palette.
TEST_F(Vexapal, VexasSaveAsOutputRoundTripsThroughEveryFormat)
{
    const std::string bitmap = VEXA_SAVED_PALETTES "/SysPal.bmp";
    const std::string dump = VEXA_SAVED_PALETTES "/SysPal.txt";
    ASSERT_TRUE(fs::exists(bitmap) && fs::exists(dump)) << "e2e_tests saves them: run it first";
    EXPECT_EQ(Run({"diff", bitmap, dump}).status, 0);
    ExpectRoundTrips(bitmap, PaletteFormat::bmp);
    ExpectRoundTrips(dump, PaletteFormat::txt);
}
#endif
} // namespace
