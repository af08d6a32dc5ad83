// Vexa's settings in the registry across real starts: the install record, the view values, and a key
// the program may read but not write.
#include "common/Registry.h"
#include "driver/Commands.h"
#include "driver/Fixture.h"
#include "driver/Registry.h"
#include "resource.h"

#include <algorithm>
#include <cctype>
#include <gtest/gtest.h>

namespace
{
std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

std::string ExpectedInstallRecord(const std::string& path)
{
    return "[Vexa]\n[Vexa\\CurrentVersion]\nPath=sz:" + path + "\nVersion=dword:65543\n";
}
} // namespace

TEST(Settings, FirstStartWritesTheInstallRecordAndTheNextStartNothing)
{
    ResetVexaSettings(true);
    {
        VexaProcess vexa;
        int boxes = 0;
        HWND main = vexa.StartPastFirstStart(boxes);
        ASSERT_NE(main, nullptr);
        EXPECT_EQ(boxes, 2) << "the About box and the help window open on a first start";
        EXPECT_EQ(ExportVexaSettings(), ExpectedInstallRecord(VexaExePath()));
        EXPECT_TRUE(ShowsGrid(main, 256, 1));
        ASSERT_TRUE(vexa.Exit(main));
    }
    // The window's rectangle is recorded at the end of the first run, and the view values with it.
    const std::string afterFirst = ExportVexaSettings();
    EXPECT_NE(afterFirst.find("[Vexa\\View]\nBorders=dword:0\nColumns=dword:256\nRows=dword:1\n"), std::string::npos)
        << afterFirst;
    EXPECT_NE(afterFirst.find("[Vexa\\Window]\nBounds.bottom="), std::string::npos) << afterFirst;
    EXPECT_NE(afterFirst.find("On top=dword:0\nState=dword:0\n"), std::string::npos) << afterFirst;

    RegistryWatch watch;
    ASSERT_TRUE(watch.Armed());
    {
        VexaProcess vexa;
        int boxes = 0;
        HWND main = vexa.StartPastFirstStart(boxes);
        ASSERT_NE(main, nullptr);
        EXPECT_EQ(boxes, 0);
        ASSERT_TRUE(vexa.Exit(main));
    }
    EXPECT_FALSE(watch.Written());
    EXPECT_EQ(ExportVexaSettings(), afterFirst);
}

TEST(Settings, InstallRecordFollowsTheProgramFileButNotItsLetterCase)
{
    // Another folder: Path is rewritten, Version is not, no first-start dialogs.
    ResetVexaSettings();
    {
        const VexaCopy exe({L"VexaSettingsCopy"}, L"Vexa.exe");
        ASSERT_TRUE(exe.Made());
        const std::string copy = exe.AnsiPath();
        VexaProcess vexa;
        int boxes = 0;
        HWND main = vexa.StartPastFirstStart(boxes, copy);
        ASSERT_NE(main, nullptr);
        EXPECT_EQ(boxes, 0);
        EXPECT_EQ(Lower(ExportVexaSettings()), Lower(ExpectedInstallRecord(copy)));
        EXPECT_TRUE(vexa.Exit(main));
    }

    // The same path in other letter case stays; a Version stored as text reads as 0, so this is a
    // first start, and it is rewritten as a number.
    ResetVexaSettings(true);
    const std::string otherCase = Lower(VexaExePath());
    ASSERT_NE(otherCase, VexaExePath());
    PutString("CurrentVersion", "Path", otherCase);
    PutString("CurrentVersion", "Version", "1.7");
    {
        VexaProcess vexa;
        int boxes = 0;
        HWND main = vexa.StartPastFirstStart(boxes);
        ASSERT_NE(main, nullptr);
        EXPECT_EQ(boxes, 2);
        EXPECT_EQ(ExportVexaSettings(), ExpectedInstallRecord(otherCase));
        EXPECT_TRUE(vexa.Exit(main));
    }
}

// Windows starts a program from a file name of up to 259 characters: the longest starts too, and is
// recorded as it is.
TEST(Settings, AProgramPathOf259CharactersStartsAndIsRecorded)
{
    wchar_t temp[MAX_PATH] = L"";
    const std::size_t tempLength = ::GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = L"VexaLongPath";
    const std::wstring name = L"Vexa" + std::wstring(259 - tempLength - folder.size() - 1 - 8, L'x') + L".exe";
    const VexaCopy copy({folder}, name);
    ASSERT_TRUE(copy.Made());
    ASSERT_EQ(copy.Path().size(), 259u);
    ResetVexaSettings();
    VexaProcess vexa;
    HWND main = vexa.StartAndWaitForMain(copy.Path());
    ASSERT_NE(main, nullptr);
    ASSERT_NE(::GetMenu(main), nullptr) << "a message box: " << DialogItemText(main, 0xFFFF);
    EXPECT_EQ(Lower(ExportVexaSettings()), Lower(ExpectedInstallRecord(copy.AnsiPath())));
    ASSERT_TRUE(vexa.Exit(main));
    EXPECT_EQ(vexa.ExitCode(), 0u);
}

// A folder name the ANSI code page cannot spell (Cyrillic and Chinese in a Western one): the program
// still reads its own version record, so the About box shows it and the settings keep to their key,
// never the root of the hive.
TEST(Settings, AFolderNameOutsideTheAnsiCodePageKeepsTheVersionRecordAndTheKey)
{
    struct HiveRoot
    {
        const char* sections[3] = {"CurrentVersion", "View", "Window"};
        HiveRoot() { Clear(); }
        ~HiveRoot() { Clear(); }
        void Clear() const
        {
            for (const char* section : sections)
                ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, section);
        }
    } hiveRoot;
    ResetVexaSettings();
    const VexaCopy copy({L"\u0412\u0435\u043A\u0441\u0430 \u6587\u4EF6"}, L"Vexa.exe");
    ASSERT_TRUE(copy.Made());
    {
        VexaProcess vexa;
        HWND main = vexa.StartAndWaitForMain(copy.Path());
        ASSERT_NE(main, nullptr);
        HWND about = OpenAboutBox(vexa.Id(), main);
        ASSERT_NE(about, nullptr);
        EXPECT_EQ(DialogItemText(about, IDC_ABOUT_PRODUCT), "Vexa v1.7");
        EXPECT_TRUE(CloseDialog(about, IDOK));
        ::SendMessageA(main, WM_COMMAND, ID_VIEW_COLUMNS_16, 0);
        ASSERT_TRUE(vexa.Exit(main));
    }
    const std::string stored = ExportVexaSettings();
    EXPECT_NE(stored.find("Version=dword:65543\n[Vexa\\View]\nBorders=dword:0\nColumns=dword:16\n"), std::string::npos)
        << stored;
    for (const char* section : hiveRoot.sections)
    {
        HKEY key = nullptr;
        EXPECT_NE(::RegOpenKeyExA(HKEY_LOCAL_MACHINE, section, 0, KEY_READ, &key), ERROR_SUCCESS)
            << section << " at the root of HKEY_LOCAL_MACHINE";
        if (key)
            ::RegCloseKey(key);
    }
}

TEST(Settings, ViewValuesSurviveARestartAndTogglingTwiceChangesNothing)
{
    {
        VexaProcess vexa;
        HWND main = StartVexa(vexa);
        ASSERT_NE(main, nullptr);
        ::SendMessageA(main, WM_COMMAND, ID_VIEW_COLUMNS_16, 0);
        ASSERT_TRUE(vexa.Exit(main));
    }
    const std::string stored = ExportVexaSettings();
    EXPECT_NE(stored.find("[Vexa\\View]\nBorders=dword:0\nColumns=dword:16\nRows=dword:16\n"), std::string::npos)
        << stored;

    RegistryWatch watch;
    ASSERT_TRUE(watch.Armed());
    {
        VexaProcess vexa;
        HWND main = vexa.StartAndWaitForMain();
        ASSERT_NE(main, nullptr);
        EXPECT_TRUE(ShowsGrid(main, 16, 16));
        ::SendMessageA(main, WM_COMMAND, ID_VIEW_TOGGLE_BORDER, 0);
        ::SendMessageA(main, WM_COMMAND, ID_VIEW_TOGGLE_BORDER, 0);
        ASSERT_TRUE(vexa.Exit(main));
    }
    EXPECT_FALSE(watch.Written());
    EXPECT_EQ(ExportVexaSettings(), stored);
}

namespace
{
// What the system sends every top-level window at logoff; the answer to the query.
DWORD_PTR SendSessionEnd(HWND main, UINT message, WPARAM wParam)
{
    DWORD_PTR answer = 0;
    EXPECT_NE(::SendMessageTimeoutA(main, message, wParam, ENDSESSION_LOGOFF, SMTO_BLOCK, 5000, &answer), 0);
    return answer;
}
} // namespace

// Logoff or shutdown ends the process without destroying its window: the session's end saves what a
// normal end would, once; a session end that was called off saves nothing.
TEST(Settings, SessionEndSavesTheViewAndPlacementOnce)
{
    {
        VexaProcess vexa;
        HWND main = StartVexa(vexa);
        ASSERT_NE(main, nullptr);
        ::SendMessageA(main, WM_COMMAND, ID_VIEW_COLUMNS_16, 0);
        ::SendMessageA(main, WM_COMMAND, ID_VIEW_TOGGLE_BORDER, 0);
        ::SetWindowPos(main, nullptr, 110, 130, 400, 200, SWP_NOZORDER | SWP_NOACTIVATE);
        const RECT bounds = WindowRect(main);
        {
            RegistryWatch watch;
            ASSERT_TRUE(watch.Armed());
            EXPECT_NE(SendSessionEnd(main, WM_QUERYENDSESSION, 0), 0u) << "the program lets the session end";
            SendSessionEnd(main, WM_ENDSESSION, FALSE);
            EXPECT_FALSE(watch.Written()) << "the session goes on";
        }
        SendSessionEnd(main, WM_QUERYENDSESSION, 0);
        SendSessionEnd(main, WM_ENDSESSION, TRUE);
        ::TerminateProcess(vexa.Handle(), 0);
        ASSERT_TRUE(vexa.WaitForExit());
        const std::string saved = ExportVexaSettings();
        EXPECT_NE(saved.find("[Vexa\\View]\nBorders=dword:1\nColumns=dword:16\nRows=dword:16\n"), std::string::npos)
            << saved;
        EXPECT_NE(saved.find("[Vexa\\Window]\n" + BoundsText(bounds) + "On top=dword:0\nState=dword:0\n"),
                  std::string::npos)
            << saved;
    }

    // Should the process go on after all, its own end saves nothing more.
    VexaProcess vexa;
    HWND main = vexa.StartAndWaitForMain();
    ASSERT_NE(main, nullptr);
    ::SendMessageA(main, WM_COMMAND, ID_VIEW_COLUMNS_8, 0);
    SendSessionEnd(main, WM_ENDSESSION, TRUE);
    const std::string saved = ExportVexaSettings();
    EXPECT_NE(saved.find("Columns=dword:8\nRows=dword:32\n"), std::string::npos) << saved;
    RegistryWatch watch;
    ASSERT_TRUE(watch.Armed());
    ::SendMessageA(main, WM_COMMAND, ID_VIEW_COLUMNS_32, 0);
    ASSERT_TRUE(vexa.Exit(main));
    EXPECT_FALSE(watch.Written());
    EXPECT_EQ(ExportVexaSettings(), saved);
}

TEST(Settings, UnusableColumnsFallBackToOneRowAndBordersFiveIsOn)
{
    // Columns -3: the defaults are used, and nothing is written for that alone.
    ResetVexaSettings();
    PutInt("View", "Columns", -3);
    PutInt("View", "Rows", 16);
    PutInt("View", "Borders", 1);
    PutBounds({40, 50, 440, 300}); // so that the window's own rectangle marks nothing modified either
    const std::string before = ExportVexaSettings();
    {
        RegistryWatch watch;
        VexaProcess vexa;
        HWND main = vexa.StartAndWaitForMain();
        ASSERT_NE(main, nullptr);
        EXPECT_TRUE(ShowsGrid(main, 256, 1));
        ASSERT_TRUE(vexa.Exit(main));
        EXPECT_EQ(ExportVexaSettings(), before);
    }

    // Columns 0 and Borders 5: the program runs on the defaults; 5 counts as on, so one toggle is 0.
    ResetVexaSettings();
    PutInt("View", "Columns", 0);
    PutInt("View", "Rows", 0);
    PutInt("View", "Borders", 5);
    {
        VexaProcess vexa;
        HWND main = vexa.StartAndWaitForMain();
        ASSERT_NE(main, nullptr);
        EXPECT_TRUE(ShowsGrid(main, 256, 1));
        ::SendMessageA(main, WM_COMMAND, ID_VIEW_TOGGLE_BORDER, 0);
        ASSERT_TRUE(vexa.Exit(main));
    }
    const std::string after = ExportVexaSettings();
    EXPECT_NE(after.find("[Vexa\\View]\nBorders=dword:0\nColumns=dword:256\nRows=dword:1\n"), std::string::npos)
        << after;
}

TEST(Settings, AKeyThatCannotBeWrittenGivesDefaultsAndAFirstStartEveryTime)
{
    if (::GetVersion() & 0x80000000)
        GTEST_SKIP() << "Windows 95 keeps no access rights on registry keys";
    ResetVexaSettings();
    PutInt("View", "Columns", 16);
    PutInt("View", "Rows", 16);
    // Every section exists: Wine, unlike Windows, lets a read-only key get new subkeys.
    PutInt("Window", "State", 0);
    const std::string before = ExportVexaSettings();
    // Whatever happens below, the key is made writable again so that the next test can reset it.
    struct Unlock
    {
        ~Unlock()
        {
            SetTreeAccess(HKEY_LOCAL_MACHINE, VexaKey(), KEY_ALL_ACCESS);
            ResetVexaSettings();
        }
    } unlock;
    SetTreeAccess(HKEY_LOCAL_MACHINE, VexaKey(), KEY_READ);
    HKEY probe = nullptr;
    const bool refused = ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, (std::string(VexaKey()) + "\\View").c_str(), 0,
                                         KEY_READ | KEY_WRITE, &probe) == ERROR_ACCESS_DENIED;
    if (probe)
        ::RegCloseKey(probe);
    EXPECT_TRUE(refused) << "the registry must refuse write access for this test to mean anything";
    {
        VexaProcess vexa;
        int boxes = 0;
        HWND main = vexa.StartPastFirstStart(boxes);
        ASSERT_NE(main, nullptr);
        EXPECT_EQ(boxes, 2) << "Version cannot be read";
        EXPECT_TRUE(ShowsGrid(main, 256, 1)) << "the stored 16 columns cannot be read";
        ::SendMessageA(main, WM_COMMAND, ID_VIEW_COLUMNS_8, 0);
        EXPECT_TRUE(vexa.Exit(main));
        EXPECT_EQ(vexa.ExitCode(), 0u);
    }
    EXPECT_EQ(ExportVexaSettings(), before);
}

TEST(Depth24Settings, TheInstallRecordIsWrittenBeforeTheDisplayIsRefused)
{
    // Start-up brings the install record up to date before the palette check ends the program; the
    // refused run itself changes nothing else.
    ResetVexaSettings(true);
    VexaProcess vexa;
    HWND box = vexa.StartAndWaitForMain();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(::GetMenu(box), nullptr) << "a message box, not the palette window";
    PostCommand(box, IDOK);
    ASSERT_TRUE(vexa.WaitForExit());
    EXPECT_EQ(ExportVexaSettings(), ExpectedInstallRecord(VexaExePath()));
    ResetVexaSettings();
}
