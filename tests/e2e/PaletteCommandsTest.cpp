// File Open, Save As, Copy and Clear of the real program, driven through its dialogs, with the system
// palette and the clipboard read by this process.
#include "driver/Commands.h"
#include "driver/Fixture.h"
#include "driver/Wait.h"
#include "resource.h"

#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <regex>

namespace
{
const char* const kUnsupported = "An unsupported operation was attempted.";
const char* const kUnknownUnnamed = "An unknown error occurred while accessing an unnamed file.";

class PaletteCommands : public VexaTest
{
  protected:
    void SetUp() override { Start({.foreground = true}); }

    // Opens a bitmap of known colours, so that slots 10..245 hold them.
    SystemPalette OpenKnownColours(int seed)
    {
        const std::string path = m_folder.Path("known.bmp");
        WriteFileBytes(path, MakeBitmap(8, 0, 40, KnownColoursTable(seed), 9270));
        Open(path);
        EXPECT_TRUE(WaitUntilIdle(m_main));
        const SystemPalette palette = VexaPalette();
        ::DeleteFileA(path.c_str());
        return palette;
    }

    // Opens the file, expecting the message.
    void ExpectRefused(const std::string& path, const std::string& message)
    {
        Open(path);
        EXPECT_EQ(TakeMessageBox(m_vexa.Id(), m_main), message) << path;
        EXPECT_TRUE(WaitUntilIdle(m_main));
    }

    // Opens the file, expecting its colour table in the slots of 10..245 it holds and the rest unchanged.
    void ExpectAccepted(const std::string& path)
    {
        const std::vector<unsigned char> bytes = ReadFileBytes(path);
        const SystemPalette before = VexaPalette();
        Open(path);
        ASSERT_TRUE(WaitUntilIdle(m_main));
        ExpectSamePalette(VexaPalette(), PaletteAfterOpening(bytes, before), path);
    }
};

std::vector<std::string> SplitCrLfLines(const std::vector<unsigned char>& bytes, bool& onlyCrLf)
{
    std::vector<std::string> lines;
    std::string line;
    onlyCrLf = true;
    for (std::size_t i = 0; i < bytes.size(); ++i)
    {
        if (bytes[i] == '\n')
        {
            onlyCrLf = onlyCrLf && !line.empty() && line.back() == '\r';
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            lines.push_back(line);
            line.clear();
        }
        else
        {
            line += static_cast<char>(bytes[i]);
        }
    }
    onlyCrLf = onlyCrLf && line.empty();
    return lines;
}

void ExpectBitmapOfPalette(const std::vector<unsigned char>& bytes, const SystemPalette& palette)
{
    ASSERT_EQ(bytes.size(), 9270u);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(bytes[10] | bytes[11] << 8, 1078);
    EXPECT_EQ(bytes[14], 40);
    EXPECT_EQ(bytes[18] | bytes[19] << 8, 256);
    EXPECT_EQ(bytes[22], 32);
    EXPECT_EQ(bytes[28], 8);
    for (int i = 0; i < 256; ++i)
    {
        const unsigned char* quad = &bytes[54 + 4 * i];
        EXPECT_EQ(quad[2], palette[i].peRed) << "entry " << i;
        EXPECT_EQ(quad[1], palette[i].peGreen) << "entry " << i;
        EXPECT_EQ(quad[0], palette[i].peBlue) << "entry " << i;
        EXPECT_EQ(quad[3], 0) << "entry " << i;
    }
    for (int row = 0; row < 32; ++row)
        for (int x = 0; x < 256; ++x)
            ASSERT_EQ(bytes[1078 + row * 256 + x], x) << "row " << row;
}

void ExpectDumpOfPalette(const std::vector<unsigned char>& bytes, const SystemPalette& palette)
{
    bool onlyCrLf = false;
    const std::vector<std::string> lines = SplitCrLfLines(bytes, onlyCrLf);
    EXPECT_TRUE(onlyCrLf);
    ASSERT_EQ(lines.size(), 264u);
    EXPECT_EQ(lines[0], "Vexa - Win32 Color Palette Tool");
    EXPECT_FALSE(lines[1].empty());
    EXPECT_EQ(lines[2], "");
    EXPECT_EQ(lines[3], "Content: System palette dump");
    EXPECT_TRUE(std::regex_match(
        lines[4], std::regex("Time: (Sun|Mon|Tues|Wednes|Thurs|Fri|Satur)day, (January|February|March|April|May|"
                             "June|July|August|September|October|November|December) [0-3][0-9], [0-9]{4} "
                             "@[0-9]{1,2}:[0-5][0-9]:[0-5][0-9]")))
        << lines[4];
    EXPECT_EQ(lines[5], "Number of entries: 256");
    EXPECT_EQ(lines[6], "");
    EXPECT_EQ(lines[7], "Index: R,   G,   B");
    for (int i = 0; i < 256; ++i)
    {
        char expected[64];
        std::snprintf(expected, sizeof expected, "%3d: %3d, %3d, %3d", i, palette[i].peRed, palette[i].peGreen,
                      palette[i].peBlue);
        EXPECT_EQ(lines[8 + i], expected);
    }
}
} // namespace

TEST_F(PaletteCommands, SaveAsChoosesTheFormatByExtensionAlone)
{
    const SystemPalette palette = OpenKnownColours(1);

    SaveAs(m_folder.Path("SysPal")); // the dialog adds the default extension
    ExpectBitmapOfPalette(ReadFileBytes(m_folder.Path("SysPal.bmp")), palette);
    SaveAs(m_folder.Path("X.BMP"));
    ExpectBitmapOfPalette(ReadFileBytes(m_folder.Path("X.BMP")), palette);
    SaveAs(m_folder.Path("x.txt"));
    ExpectDumpOfPalette(ReadFileBytes(m_folder.Path("x.txt")), palette);
    SaveAs(m_folder.Path("x.pal"));
    ExpectDumpOfPalette(ReadFileBytes(m_folder.Path("x.pal")), palette);
    const std::vector<std::string> files = m_folder.Files();
    std::string names;
    for (const std::string& file : files)
        names += file + " ";
    EXPECT_EQ(files.size(), 4u) << "no temporary file is left: " << names;

    // vexapal's tests convert Save As output that no one else wrote: keep one of each kind for them.
    if (const char* kept = std::getenv("VEXA_SAVED_PALETTES"))
    {
        ::CreateDirectoryA(kept, nullptr);
        EXPECT_TRUE(
            ::CopyFileA(m_folder.Path("SysPal.bmp").c_str(), (kept + std::string("\\SysPal.bmp")).c_str(), FALSE));
        EXPECT_TRUE(::CopyFileA(m_folder.Path("x.txt").c_str(), (kept + std::string("\\SysPal.txt")).c_str(), FALSE));
    }
}

TEST_F(PaletteCommands, SaveAsTakesTheFormatFromTheNameTheDiskKeeps)
{
    // The file system drops trailing periods and spaces: these names are stored as pic.bmp and pic.txt.
    const SystemPalette palette = VexaPalette();
    SaveAs(m_folder.Path("pic.bmp."));
    ExpectBitmapOfPalette(ReadFileBytes(m_folder.Path("pic.bmp")), palette);
    SaveAs(m_folder.Path("pic.txt. ."));
    ExpectDumpOfPalette(ReadFileBytes(m_folder.Path("pic.txt")), palette);
    EXPECT_EQ(m_folder.Files().size(), 2u);
}

TEST_F(PaletteCommands, SaveAsReplacesAnExistingFileCompletely)
{
    const SystemPalette palette = VexaPalette();
    WriteFileBytes(m_folder.Path("old.bmp"), std::vector<unsigned char>(20000, 0xAB));
    WriteFileBytes(m_folder.Path("old.txt"), std::vector<unsigned char>(20000, 'z'));
    SaveAs(m_folder.Path("old.bmp"));
    ExpectBitmapOfPalette(ReadFileBytes(m_folder.Path("old.bmp")), palette);
    SaveAs(m_folder.Path("old.txt"));
    ExpectDumpOfPalette(ReadFileBytes(m_folder.Path("old.txt")), palette);
    EXPECT_EQ(m_folder.Files().size(), 2u);
}

// Run by the test e2e_japanese, where Wine's ANSI code page is 932 for this program and for Vexa, and
// the common dialogs speak Japanese.
class JapaneseNames : public PaletteCommands
{
  protected:
    void SetUp() override
    {
        if (::GetACP() != 932)
            GTEST_SKIP() << "the ANSI code page is " << ::GetACP() << ", not 932 (no ja_JP locale)";
        m_saveAsTitle = nullptr;
        PaletteCommands::SetUp();
    }
};

TEST_F(JapaneseNames, SaveAsWritesUnderANameWhoseSecondBytesAreBackslashes)
{
    // "ソフト": the second byte of "ソ" in code page 932 is 0x5C, a backslash.
    const std::string name = "\x83\x5C\x83\x74\x83\x67";
    const SystemPalette palette = VexaPalette();
    SaveAs(m_folder.Path(name + ".bmp"));
    EXPECT_EQ(TakeMessageBox(m_vexa.Id(), m_main, 500), "");
    ExpectBitmapOfPalette(ReadFileBytes(m_folder.Path(name + ".bmp")), palette);
    SaveAs(m_folder.Path(name + ".txt"));
    ExpectDumpOfPalette(ReadFileBytes(m_folder.Path(name + ".txt")), palette);
    EXPECT_EQ(m_folder.Files().size(), 2u);
}

TEST_F(PaletteCommands, SaveOntoAFullDiskKeepsThePreviousFile)
{
    const char* folder = std::getenv("VEXA_FULL_DISK");
    if (!folder || ::GetFileAttributesA((std::string(folder) + "\\mounted").c_str()) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "no small disk was mounted for this run (needs root to mount a tmpfs)";
    const std::string target = std::string(folder) + "\\kept.bmp";
    const std::vector<unsigned char> previous(3000, 0x5A);
    WriteFileBytes(target, previous);
    // Fill what is left, so that the new file cannot be written.
    HANDLE filler =
        ::CreateFileA((std::string(folder) + "\\filler").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    const std::vector<unsigned char> block(512, 0);
    DWORD written = 0;
    while (::WriteFile(filler, block.data(), static_cast<DWORD>(block.size()), &written, nullptr) && written)
        ;
    ::CloseHandle(filler);

    PostCommand(m_main, ID_FILE_SAVE_AS);
    ASSERT_TRUE(ChooseFileInDialog(m_vexa.Id(), "Save As", m_main, target));
    EXPECT_EQ(TakeMessageBox(m_vexa.Id(), m_main), "Disk full while accessing " + target + ".");
    EXPECT_EQ(ReadFileBytes(target), previous);
    EXPECT_EQ(FilesIn(folder).size(), 3u)
        << "the kept file, the filler and the mount's marker: no temporary file is left";
    ::DeleteFileA((std::string(folder) + "\\filler").c_str());
    ::DeleteFileA(target.c_str());
    EXPECT_TRUE(WaitUntilIdle(m_main));
}

TEST_F(PaletteCommands, OpenRestoresTheFreeSlotsOfASavedBitmap)
{
    const SystemPalette saved = OpenKnownColours(2);
    SaveAs(m_folder.Path("saved.bmp"));
    OpenKnownColours(9);
    Open(m_folder.Path("saved.bmp"));
    ASSERT_TRUE(WaitUntilIdle(m_main));
    ExpectSamePalette(VexaPalette(), saved, "restored");
}

TEST_F(PaletteCommands, OpenRefusesWhatItCannotUseAndChangesNothing)
{
    const SystemPalette known = OpenKnownColours(8);
    const std::vector<RGBQUAD> table(256, RGBQUAD{1, 2, 3, 0});
    std::vector<unsigned char> good = MakeBitmap(8, 0, 40, table, 9270);

    WriteFileBytes(m_folder.Path("short.bmp"), std::vector<unsigned char>(good.begin(), good.begin() + 13));
    ExpectRefused(m_folder.Path("short.bmp"), kUnknownUnnamed);
    std::vector<unsigned char> magic = good;
    magic[0] = 'M';
    magic[1] = 'B';
    WriteFileBytes(m_folder.Path("magic.bmp"), magic);
    ExpectRefused(m_folder.Path("magic.bmp"), kUnknownUnnamed);

    WriteFileBytes(m_folder.Path("four.bmp"), MakeBitmap(4, 0, 40, std::vector<RGBQUAD>(16), 2000));
    ExpectRefused(m_folder.Path("four.bmp"), kUnsupported);
    WriteFileBytes(m_folder.Path("true.bmp"), MakeBitmap(24, 0, 40, {}, 30000));
    ExpectRefused(m_folder.Path("true.bmp"), kUnsupported);
    // A 16-entry table that ends one byte early.
    WriteFileBytes(m_folder.Path("small.bmp"), MakeBitmap(8, 0, 40, std::vector<RGBQUAD>(16), 14 + 40 + 64 - 1));
    ExpectRefused(m_folder.Path("small.bmp"), kUnsupported);

    // Held open by another program without sharing.
    WriteFileBytes(m_folder.Path("held.bmp"), good);
    HANDLE held = ::CreateFileA(m_folder.Path("held.bmp").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ExpectRefused(m_folder.Path("held.bmp"),
                  "A sharing violation occurred while accessing " + m_folder.Path("held.bmp") + ".");
    ::CloseHandle(held);

    ExpectSamePalette(VexaPalette(), known, "after the refusals");
}

TEST_F(PaletteCommands, OpenAcceptsUnusualEightBitBitmaps)
{
    WriteFileBytes(m_folder.Path("rle.bmp"), MakeBitmap(8, 1 /* BI_RLE8 */, 40, KnownColoursTable(3), 5000));
    ExpectAccepted(m_folder.Path("rle.bmp"));

    // The newest header: its 236-entry table follows it; slots 246 and up keep their colours.
    WriteFileBytes(m_folder.Path("v5.bmp"), MakeBitmap(8, 0, 124, DistinctColours(4), 9400));
    ExpectAccepted(m_folder.Path("v5.bmp"));

    // A 16-entry table: slots 16..245 keep their colours.
    std::vector<RGBQUAD> sixteen = DistinctColours(5);
    sixteen.resize(16);
    WriteFileBytes(m_folder.Path("sixteen.bmp"), MakeBitmap(8, 0, 40, sixteen, 1078));
    ExpectAccepted(m_folder.Path("sixteen.bmp"));
}

TEST_F(PaletteCommands, ClearBlackensEverySlotButTheStaticColours)
{
    const SystemPalette before = OpenKnownColours(6);
    ASSERT_TRUE(RunCommand(m_main, ID_EDIT_CLEAR));
    const SystemPalette after = VexaPalette();
    for (int i = 0; i < 256; ++i)
    {
        if (i < 10 || i > 245)
            EXPECT_TRUE(SameColours(after[i], before[i])) << "static slot " << i;
        else
            EXPECT_TRUE(after[i].peRed == 0 && after[i].peGreen == 0 && after[i].peBlue == 0) << "slot " << i;
    }
}

TEST_F(PaletteCommands, CopyPutsTheSystemPaletteOnTheClipboard)
{
    const SystemPalette palette = OpenKnownColours(7);
    ASSERT_TRUE(RunCommand(m_main, ID_EDIT_COPY));

    ASSERT_TRUE(::OpenClipboard(nullptr));
    EXPECT_EQ(::CountClipboardFormats(), 1);
    HPALETTE copied = static_cast<HPALETTE>(::GetClipboardData(CF_PALETTE));
    ASSERT_NE(copied, nullptr);
    PALETTEENTRY entries[257];
    EXPECT_EQ(::GetPaletteEntries(copied, 0, 0, nullptr), 256u);
    ASSERT_EQ(::GetPaletteEntries(copied, 0, 256, entries), 256u);
    ::CloseClipboard();
    for (int i = 0; i < 256; ++i)
        EXPECT_TRUE(SameColours(entries[i], palette[i])) << "entry " << i;
}

TEST_F(PaletteCommands, CopyWhileTheClipboardIsHeldSaysSoAndChangesNothing)
{
    ClipboardHolder holder("marker");
    ASSERT_TRUE(holder.Opened());

    PostCommand(m_main, ID_EDIT_COPY);
    EXPECT_EQ(TakeMessageBox(m_vexa.Id(), m_main), "The palette could not be copied to the clipboard.");
    holder.Close();
    EXPECT_TRUE(ClipboardHoldsText("marker"));
}
