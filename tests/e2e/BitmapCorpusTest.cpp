// Malformed and unusual bitmap files opened through the real File > Open: each is refused with its
// exact message and leaves the system palette as it was, or is accepted with the colour table after
// its info header in the slots of 10..245 that the table holds. The files are made here, but for a
// real encoder's (tests/data/bitmaps); one start of the program serves a whole table.
#include "driver/Commands.h"
#include "driver/Fixture.h"
#include "driver/Wait.h"
#include "resource.h"

#include <cstdint>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{
const char* const kUnsupported = "An unsupported operation was attempted.";
const char* const kUnknownUnnamed = "An unknown error occurred while accessing an unnamed file.";

using Bytes = std::vector<unsigned char>;

// A well-formed 9,270-byte 8-bit bitmap whose slots 10..245 get the seed's colours.
Bytes GoodBitmap(int seed)
{
    return MakeBitmap(8, 0, 40, KnownColoursTable(seed), 9270);
}

Bytes Put(Bytes bytes, std::size_t offset, std::uint32_t value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes.at(offset + i) = static_cast<unsigned char>(value >> (8 * i));
    return bytes;
}

Bytes Truncated(const Bytes& bytes, std::size_t size)
{
    return Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size));
}

// A 256-entry bitmap with an info header of this size, as long as its colour table.
Bytes HeaderOfSize(unsigned infoSize, int seed)
{
    return MakeBitmap(8, 0, infoSize, KnownColoursTable(seed), 14 + infoSize + 4 * 256);
}

// A bitmap whose table holds its first `entries` colours of the seed's from slot 10 on.
Bytes TableOf(std::size_t entries, unsigned infoSize, int seed)
{
    return MakeBitmap(8, 0, infoSize, KnownColoursTable(seed, entries), 14 + infoSize + 4 * entries + 100);
}

// What a case must give: accepted, or exactly this message (a function of the file's path).
struct Case
{
    std::string name;
    Bytes bytes;
    std::function<std::string(const std::string& path)> message; // empty: accepted
};

std::function<std::string(const std::string&)> Says(const std::string& text)
{
    return [text](const std::string&) { return text; };
}

std::vector<Case> Corpus()
{
    std::vector<Case> corpus;
    int seed = 20;
    const Bytes good = GoodBitmap(seed++);

    // Cut at every boundary of the headers and the colour table.
    for (std::size_t size : {0u, 1u, 2u, 13u})
        corpus.push_back({"cut" + std::to_string(size) + ".bmp", Truncated(good, size), Says(kUnknownUnnamed)});
    for (std::size_t size : {14u, 15u, 53u, 54u, 55u, 1077u})
        corpus.push_back({"cut" + std::to_string(size) + ".bmp", Truncated(good, size), Says(kUnsupported)});
    corpus.push_back({"cut1078.bmp", Truncated(GoodBitmap(seed++), 1078), {}});

    // Anything but "BM" at the start, however good the rest.
    corpus.push_back({"magic-MB.bmp", Put(good, 0, 'M' | 'B' << 8, 2), Says(kUnknownUnnamed)});
    corpus.push_back({"magic-bm.bmp", Put(good, 0, 'b' | 'm' << 8, 2), Says(kUnknownUnnamed)});
    corpus.push_back({"magic-BA.bmp", Put(good, 0, 'B' | 'A' << 8, 2), Says(kUnknownUnnamed)});
    corpus.push_back({"magic-zero.bmp", Put(good, 0, 0, 2), Says(kUnknownUnnamed)});
    corpus.push_back({"magic-only.bmp", Bytes{'B', 'M'}, Says(kUnknownUnnamed)});

    // Every bit count but 8, in files long enough for any table.
    for (std::uint32_t bits : {0u, 1u, 2u, 4u, 16u, 24u, 32u, 65535u})
        corpus.push_back({"bits" + std::to_string(bits) + ".bmp", Put(good, 28, bits, 2), Says(kUnsupported)});
    corpus.push_back({"bits-rle4-4.bmp", Put(Put(good, 28, 4, 2), 30, 2, 4), Says(kUnsupported)});

    // Headers that claim anything: only the bit count, the header's own size, the colours used and
    // the length count.
    corpus.push_back({"offbits-max.bmp", Put(GoodBitmap(seed++), 10, 0xFFFFFFFFu, 4), {}});
    corpus.push_back({"bfsize-max.bmp", Put(GoodBitmap(seed++), 2, 0xFFFFFFFFu, 4), {}});
    corpus.push_back({"size-negative.bmp", Put(Put(GoodBitmap(seed++), 18, 0x80000000u, 4), 22, 0xFFFFFFFFu, 4), {}});
    corpus.push_back({"planes-zero.bmp", Put(GoodBitmap(seed++), 26, 0, 2), {}});
    corpus.push_back({"rle8.bmp", Put(GoodBitmap(seed++), 30, 1, 4), {}});
    corpus.push_back({"rle4-8bit.bmp", Put(GoodBitmap(seed++), 30, 2, 4), {}});
    corpus.push_back({"bitfields.bmp", Put(GoodBitmap(seed++), 30, 3, 4), {}});
    corpus.push_back({"compression-max.bmp", Put(GoodBitmap(seed++), 30, 0xFFFFFFFFu, 4), {}});
    corpus.push_back({"clrused-zero.bmp", Put(GoodBitmap(seed++), 46, 0, 4), {}});
    corpus.push_back({"clrused-257.bmp", Put(GoodBitmap(seed++), 46, 257, 4), {}});
    corpus.push_back({"clrused-max.bmp", Put(GoodBitmap(seed++), 46, 0xFFFFFFFFu, 4), {}});
    corpus.push_back({"clrimportant-max.bmp", Put(GoodBitmap(seed++), 50, 0xFFFFFFFFu, 4), {}});

    // The table follows the info header, of any size from 40 to 124 bytes; others are refused.
    for (unsigned size : {41u, 52u, 56u, 64u, 108u, 124u})
        corpus.push_back({"header" + std::to_string(size) + ".bmp", HeaderOfSize(size, seed++), {}});
    corpus.push_back({"header124-cut1161.bmp", Truncated(HeaderOfSize(124, seed++), 1161), Says(kUnsupported)});
    corpus.push_back({"header124-in1078.bmp", Truncated(HeaderOfSize(124, seed++), 1078), Says(kUnsupported)});
    for (std::uint32_t size : {0u, 12u, 39u, 125u, 0xFFFFFFFFu})
        corpus.push_back(
            {"bisize" + std::to_string(size) + ".bmp", Put(GoodBitmap(seed), 14, size, 4), Says(kUnsupported)});

    // Short colour tables: the colours used say how long; the free slots past them keep their colours,
    // and a file too short for the table is refused.
    corpus.push_back({"table16.bmp", TableOf(16, 40, seed++), {}});
    corpus.push_back({"table200-header124.bmp", TableOf(200, 124, seed++), {}});
    corpus.push_back({"table2.bmp", TableOf(2, 40, seed++), {}});
    corpus.push_back({"table200-cut.bmp", Truncated(TableOf(200, 40, seed++), 14 + 40 + 800 - 1), Says(kUnsupported)});
    corpus.push_back({"table0.bmp", MakeBitmap(8, 0, 40, {}, 1200), {}});
    corpus.push_back({"table0-short.bmp", MakeBitmap(8, 0, 40, {}, 1077), Says(kUnsupported)});

    // Large files are read no further than the table.
    Bytes large = GoodBitmap(seed++);
    large.resize(4 << 20, 0xEE);
    corpus.push_back({"large.bmp", large, {}});
    return corpus;
}

class BitmapCorpus : public VexaTest
{
  protected:
    void SetUp() override { Start({.foreground = true}); }

    // Opens the file and checks the message, or the palette it must give when accepted.
    void Expect(const std::string& path, const std::string& message, SystemPalette& known)
    {
        SCOPED_TRACE(path);
        const Bytes bytes = ReadFileBytes(path);
        Open(path);
        if (message.empty())
        {
            ASSERT_TRUE(WaitUntilIdle(m_main));
            EXPECT_TRUE(ProcessDialogs(m_vexa.Id(), m_main).empty()) << "a message appeared";
            known = PaletteAfterOpening(bytes, known);
        }
        else
        {
            EXPECT_EQ(TakeMessageBox(m_vexa.Id(), m_main), message);
            ASSERT_TRUE(WaitUntilIdle(m_main));
        }
        ExpectSamePalette(VexaPalette(), known);
    }
};

// Where the file dialog puts a device name typed bare (CON.bmp): in the folder it shows, but when Wine
// emulates Windows 95 or NT 4.0 (this program runs under the same emulation) in the program's current
// folder, which is this program's.
std::string DeviceNamePath(const ScratchFolder& folder, const std::string& name)
{
    if (LOBYTE(LOWORD(::GetVersion())) >= 5)
        return folder.Path(name);
    char current[MAX_PATH] = "";
    ::GetCurrentDirectoryA(sizeof current, current);
    return std::string(current) + "\\" + name;
}
} // namespace

TEST_F(BitmapCorpus, EachFileIsRefusedWithItsMessageOrAcceptedByTheRules)
{
    SystemPalette known = VexaPalette();
    const std::vector<Case> corpus = Corpus();
    ASSERT_GE(corpus.size(), 30u);
    for (const Case& c : corpus)
    {
        const std::string path = m_folder.Path(c.name);
        WriteFileBytes(path, c.bytes);
        Expect(path, c.message ? c.message(path) : std::string(), known);
        ::DeleteFileA(path.c_str());
        if (::testing::Test::HasFatalFailure())
            return;
    }
}

// One picture as a real encoder writes it: with its default, newest info header it must give the
// same colours as with the classic 40-byte one, whose table sits where it always did; with the
// oldest 12-byte header it is refused.
TEST_F(BitmapCorpus, ARealEncodersNewestHeaderGivesTheColoursOfItsClassicOne)
{
    SystemPalette known = VexaPalette();
    const auto copy = [this](const char* name) {
        const Bytes bytes = ReadFileBytes(std::string(VEXA_TEST_DATA "/bitmaps/") + name);
        EXPECT_GT(bytes.size(), 1078u) << name;
        WriteFileBytes(m_folder.Path(name), bytes);
        return m_folder.Path(name);
    };
    const std::string classic = copy("rose-40.bmp");
    const std::string newest = copy("rose-124.bmp");
    const std::string oldest = copy("rose-12.bmp");

    SystemPalette fromClassic = known;
    const SystemPalette classicTable = PaletteOfBitmap(ReadFileBytes(classic));
    for (int i = 10; i <= 245; ++i)
        fromClassic[i] = classicTable[i];
    Expect(classic, {}, known);
    for (int i = 0; i < 256; ++i)
        ASSERT_TRUE(SameColours(known[i], fromClassic[i])) << "slot " << i;

    ASSERT_TRUE(RunCommand(m_main, ID_EDIT_CLEAR));
    for (int i = 10; i <= 245; ++i)
        known[i] = {0, 0, 0, 0};
    Expect(newest, {}, known);
    ExpectSamePalette(VexaPalette(), fromClassic);

    Expect(oldest, kUnsupported, known);
}

TEST_F(BitmapCorpus, FilesOthersHoldOrMarkAreOpenedOrRefusedByTheirSharing)
{
    SystemPalette known = VexaPalette();

    // Read-only files are opened for reading only, so they serve.
    const std::string readOnly = m_folder.Path("read only.bmp");
    WriteFileBytes(readOnly, GoodBitmap(60));
    ::SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
    Expect(readOnly, {}, known);
    ::SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);

    // A reader that lets others read and write does not stop the program.
    const std::string shared = m_folder.Path("shared.bmp");
    WriteFileBytes(shared, GoodBitmap(61));
    HANDLE reader = ::CreateFileA(shared.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
    Expect(shared, {}, known);
    ::CloseHandle(reader);

    // A writer does: the program denies others writing while it reads.
    const std::string written = m_folder.Path("being written.bmp");
    WriteFileBytes(written, GoodBitmap(62));
    HANDLE writer = ::CreateFileA(written.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
    Expect(written, "A sharing violation occurred while accessing " + written + ".", known);
    ::CloseHandle(writer);

    for (const std::string& path : {readOnly, shared, written})
        ::DeleteFileA(path.c_str());
}

// Names that are not plain files: what the Open dialog lets through is answered at once, and the
// program goes on. A serial port (COM1, AUX) used to keep the program reading for ever.
TEST_F(BitmapCorpus, DevicesFoldersAndLongPathsAreAnsweredAndNothingHangs)
{
    SystemPalette known = VexaPalette(); // also makes the scratch folder the dialog's current one
    const std::string folder = m_folder.Path("");
    std::string deep = folder.substr(0, folder.size() - 1);
    while (deep.size() < 200)
    {
        deep += "\\folder with a long name";
        ::CreateDirectoryA(deep.c_str(), nullptr);
    }
    // The longest path the system takes: MAX_PATH less its terminating zero.
    const std::string longest = deep + "\\" + std::string(MAX_PATH - 1 - deep.size() - 5, 'x') + ".bmp";
    ASSERT_EQ(longest.size(), static_cast<std::size_t>(MAX_PATH - 1));
    WriteFileBytes(longest, GoodBitmap(70));

    struct Name
    {
        std::string typed;
        std::string message; // after the dialog closed; empty: accepted
    };
    const std::vector<Name> names = {
        {"NUL", kUnknownUnnamed},
        {"COM1", kUnknownUnnamed},
        {"AUX", kUnknownUnnamed},
        {"NUL.bmp", kUnknownUnnamed},
        {m_folder.Path("NUL"), kUnknownUnnamed},
        {m_folder.Path("COM1"), kUnknownUnnamed},
        // Wine's dialog adds the extension to these, and Wine has no such devices by those names.
        {"CON", "An invalid file handle was associated with " + DeviceNamePath(m_folder, "CON.bmp") + "."},
        {"PRN", DeviceNamePath(m_folder, "PRN.bmp") + " was not found."},
        {"LPT1", DeviceNamePath(m_folder, "LPT1.bmp") + " was not found."},
        {longest, {}},
    };
    for (const Name& name : names)
    {
        SCOPED_TRACE(name.typed);
        PostCommand(m_main, ID_FILE_OPEN);
        const FileDialogOutcome outcome = TypeFileNameInDialog(m_vexa.Id(), "Open", m_main, name.typed);
        ASSERT_TRUE(outcome.closed) << "the dialog refused it: " << outcome.refusal;
        if (name.message.empty())
        {
            ASSERT_TRUE(WaitUntilIdle(m_main, 5000)) << "the program does not answer";
            EXPECT_TRUE(ProcessDialogs(m_vexa.Id(), m_main).empty()) << "a message appeared";
            known = PaletteAfterOpening(ReadFileBytes(name.typed), known);
        }
        else
        {
            EXPECT_EQ(TakeMessageBox(m_vexa.Id(), m_main, 5000), name.message);
            ASSERT_TRUE(WaitUntilIdle(m_main, 5000)) << "the program does not answer";
        }
    }
    ExpectSamePalette(VexaPalette(), known);

    // Names the dialog keeps to itself: a folder is opened in the dialog, a device path is refused.
    for (const std::string& typed : {folder, deep, std::string("\\\\.\\NUL")})
    {
        SCOPED_TRACE(typed);
        PostCommand(m_main, ID_FILE_OPEN);
        const FileDialogOutcome outcome = TypeFileNameInDialog(m_vexa.Id(), "Open", m_main, typed, 3000);
        EXPECT_FALSE(outcome.closed);
        for (HWND dialog : ProcessDialogs(m_vexa.Id(), m_main))
            PostCommand(dialog, IDCANCEL);
        WaitUntil([this] { return ProcessDialogs(m_vexa.Id(), m_main).empty(); });
        EXPECT_TRUE(ProcessDialogs(m_vexa.Id(), m_main).empty()) << "the dialog did not close";
        ASSERT_TRUE(WaitUntilIdle(m_main, 5000)) << "the program does not answer";
    }
}

// Saving onto a device name cannot put a file in its place: a file error naming it, no hang, and no
// temporary file left behind.
TEST_F(BitmapCorpus, SaveAsOntoDeviceNamesReportsAFileErrorAndLeavesNothing)
{
    VexaPalette(); // makes the scratch folder the dialog's current one
    for (const char* name : {"NUL", "COM1", "CON", "AUX", "COM1.txt"})
    {
        SCOPED_TRACE(name);
        const std::string shown = std::string(name) + (std::strchr(name, '.') ? "" : ".bmp");
        PostCommand(m_main, ID_FILE_SAVE_AS);
        ASSERT_TRUE(ChooseFileInDialog(m_vexa.Id(), "Save As", m_main, name));
        const std::string message = TakeMessageBox(m_vexa.Id(), m_main, 5000);
        EXPECT_NE(message.find(DeviceNamePath(m_folder, shown)), std::string::npos) << message;
        ASSERT_TRUE(WaitUntilIdle(m_main, 5000)) << "the program does not answer";
    }
    EXPECT_TRUE(m_folder.Files().empty());
}
