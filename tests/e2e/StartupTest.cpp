// Start-up and shutdown of the real program on both displays and under old and new platform versions.
#include "common/Registry.h"
#include "driver/Commands.h"
#include "driver/Fixture.h"
#include "driver/Registry.h"
#include "driver/Wait.h"
#include "resource.h"

#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{
constexpr int kMessageBoxTextId = 0xFFFF;
constexpr int kWineMessageBoxIconId = 1088;
const char* const kPaletteMessage = "A color palette based display mode is needed for this application to run.";

// A window of the process that is the palette window rather than a message box: it has a menu bar and
// no message text.
bool IsMainWindow(HWND window)
{
    return ::GetMenu(window) != nullptr || ::GetDlgItem(window, kMessageBoxTextId) == nullptr;
}

// The visible windows of a process seen so far: whether a main window was ever shown, and the message
// boxes that appeared.
struct WindowWatch
{
    bool mainShown = false;
    std::vector<HWND> boxes;
};

void WatchWindows(DWORD processId, WindowWatch& watch)
{
    for (HWND window : ProcessWindows(processId))
    {
        if (IsMainWindow(window))
            watch.mainShown = true;
        else if (std::find(watch.boxes.begin(), watch.boxes.end(), window) == watch.boxes.end())
            watch.boxes.push_back(window);
    }
}

// Wine's version emulation for the programs started from now on; the value the prefix had (none, or
// the version a whole run emulates) is put back when the object goes, whatever the test's outcome.
class WineVersionOverride
{
  public:
    explicit WineVersionOverride(const char* version)
    {
        char before[64] = "";
        DWORD size = sizeof before;
        if (::RegGetValueA(HKEY_CURRENT_USER, kWineKey, "Version", RRF_RT_REG_SZ, nullptr, before, &size) ==
            ERROR_SUCCESS)
            m_before = before;
        m_set = Store(version);
    }
    ~WineVersionOverride()
    {
        if (m_before.empty())
            ::RegDeleteKeyValueA(HKEY_CURRENT_USER, kWineKey, "Version");
        else
            Store(m_before.c_str());
    }
    WineVersionOverride(const WineVersionOverride&) = delete;
    WineVersionOverride& operator=(const WineVersionOverride&) = delete;
    bool IsSet() const { return m_set; }

  private:
    static bool Store(const char* version)
    {
        return WriteRegistryValue(HKEY_CURRENT_USER, kWineKey, "Version", REG_SZ, version,
                                  static_cast<DWORD>(std::strlen(version) + 1)) == ERROR_SUCCESS;
    }
    static constexpr const char* kWineKey = "Software\\Wine";
    std::string m_before;
    bool m_set = false;
};

// Starts Vexa (exe: the one under test unless given), answers the one message box it shows with OK and
// checks that nothing else appeared and that the process ended with a nonzero exit code. Returns the
// box's text.
std::string RunToRefusal(VexaProcess& vexa, const std::string& exe = {})
{
    EXPECT_TRUE(vexa.Start(exe));
    HWND box = WaitForDialog(vexa.Id(), "Vexa");
    EXPECT_NE(box, nullptr);
    if (!box)
        return {};
    EXPECT_NE(::GetDlgItem(box, kWineMessageBoxIconId), nullptr) << "the box shows no icon";
    EXPECT_EQ(::GetMenu(box), nullptr);
    const std::string text = DialogItemText(box, kMessageBoxTextId);

    WindowWatch watch;
    WatchWindows(vexa.Id(), watch);
    PostCommand(box, IDOK);
    WaitUntil(
        [&] {
            WatchWindows(vexa.Id(), watch);
            return vexa.WaitForExit(0);
        },
        10000);
    EXPECT_TRUE(vexa.WaitForExit(0)) << "the program kept running after its message";
    EXPECT_FALSE(watch.mainShown) << "a main window was shown";
    EXPECT_EQ(watch.boxes.size(), 1u) << "the message should be shown once";
    EXPECT_NE(vexa.ExitCode(), 0u) << "a start that failed";
    return text;
}

// A copy of Vexa.exe in the temporary folder that lacks one of its resources; deleted with the object.
// Wine leaves a resource in place when UpdateResource is asked to delete it, so the copy is made with
// every resource of the original but that one.
class ExeWithoutResource
{
  public:
    ExeWithoutResource(LPCSTR type, WORD id) : m_type(type), m_id(MAKEINTRESOURCEA(id))
    {
        char temp[MAX_PATH] = "";
        ::GetTempPathA(sizeof temp, temp);
        m_path = std::string(temp) + "VexaWithoutResource.exe";
        m_from = ::LoadLibraryExA(VexaExePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        if (!m_from || !::CopyFileA(VexaExePath().c_str(), m_path.c_str(), FALSE))
            return;
        m_update = ::BeginUpdateResourceA(m_path.c_str(), TRUE);
        m_made = m_update && ::EnumResourceTypesA(m_from, CopyType, reinterpret_cast<LONG_PTR>(this));
        m_made = ::EndUpdateResourceA(m_update, !m_made) && m_made;
    }
    ~ExeWithoutResource()
    {
        if (m_from)
            ::FreeLibrary(m_from);
        ::DeleteFileA(m_path.c_str());
    }
    ExeWithoutResource(const ExeWithoutResource&) = delete;
    ExeWithoutResource& operator=(const ExeWithoutResource&) = delete;

    bool Made() const { return m_made; }
    const std::string& Path() const { return m_path; }

  private:
    static BOOL CALLBACK CopyType(HMODULE module, LPSTR type, LONG_PTR self)
    {
        return ::EnumResourceNamesA(module, type, CopyName, self);
    }
    static BOOL CALLBACK CopyName(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR self)
    {
        return ::EnumResourceLanguagesA(module, type, name, CopyLanguage, self);
    }
    static BOOL CALLBACK CopyLanguage(HMODULE module, LPCSTR type, LPCSTR name, WORD language, LONG_PTR self)
    {
        auto* copy = reinterpret_cast<ExeWithoutResource*>(self);
        if (type == copy->m_type && name == copy->m_id)
            return TRUE;
        HRSRC resource = ::FindResourceExA(module, type, name, language);
        return resource &&
               ::UpdateResourceA(copy->m_update, type, name, language, ::LockResource(::LoadResource(module, resource)),
                                 ::SizeofResource(module, resource));
    }

    LPCSTR m_type;
    LPCSTR m_id;
    std::string m_path;
    HMODULE m_from = nullptr;
    HANDLE m_update = nullptr;
    bool m_made = false;
};

// The face GDI gives for a font asked for by name.
std::string FontFace(const char* name)
{
    HDC dc = ::CreateCompatibleDC(nullptr);
    HFONT font = ::CreateFontA(0, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, name);
    ::SelectObject(dc, font);
    char face[LF_FACESIZE] = "";
    ::GetTextFaceA(dc, sizeof face, face);
    ::DeleteDC(dc); // which lets go of the font
    ::DeleteObject(font);
    return face;
}
} // namespace

TEST(Startup, ShowsMainWindowAndEndsOnExit)
{
    VexaProcess vexa;
    HWND main = StartVexa(vexa);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(WindowText(main), "Vexa");
    // Wine draws the caption buttons in Marlett and lays out the window in its template's font.
    for (const char* font : {"Marlett", "MS Sans Serif"})
        EXPECT_EQ(FontFace(font), font) << "Wine's own fonts are missing from the prefix";
    EXPECT_TRUE(vexa.Exit(main));
    EXPECT_EQ(vexa.ExitCode(), 0u);
}

// File > Exit, the close box, Esc and Enter all end the program.
TEST(Startup, EachWayOfClosingEndsTheProcess)
{
    struct Way
    {
        const char* name;
        UINT message;
        WPARAM wParam;
    };
    const Way ways[] = {
        {"File > Exit", WM_COMMAND, ID_APP_EXIT},
        {"WM_CLOSE", WM_CLOSE, 0},
        {"Esc", WM_KEYDOWN, VK_ESCAPE},
        {"Enter", WM_KEYDOWN, VK_RETURN},
    };
    for (const Way& way : ways)
    {
        SCOPED_TRACE(way.name);
        VexaProcess vexa;
        HWND main = StartVexa(vexa);
        ASSERT_NE(main, nullptr);
        ::PostMessageA(main, way.message, way.wParam, 0);
        EXPECT_TRUE(vexa.WaitForExit());
        EXPECT_FALSE(::IsWindow(main));
        EXPECT_EQ(vexa.ExitCode(), 0u);
    }
}

TEST(Startup, RefusesWin31WithPlatformMessage)
{
    ResetVexaSettings();
    WineVersionOverride win31("win31");
    ASSERT_TRUE(win31.IsSet());
    VexaProcess vexa;
    // The message box shows the string resource's trailing line break as part of the static's text.
    EXPECT_EQ(RunToRefusal(vexa), "This application only runs under Windows 95 and Windows NT v4.0+.\n");
}

// Any platform of the NT family passes, NT 3.51 included; a non-NT one from version 4 on.
TEST(Startup, StartsOnWindows95AndNt4AndLater)
{
    for (const char* version : {"win95", "nt40", "nt351", "winxp", "win10"})
    {
        SCOPED_TRACE(version);
        ResetVexaSettings();
        WineVersionOverride emulation(version);
        ASSERT_TRUE(emulation.IsSet());
        VexaProcess vexa;
        HWND main = vexa.StartAndWaitForMain();
        ASSERT_NE(main, nullptr);
        EXPECT_NE(::GetMenu(main), nullptr);
        EXPECT_TRUE(vexa.Exit(main));
    }
}

// Without its window's template the program cannot show anything: it says so rather than ending
// silently, and saves no settings.
TEST(Startup, MissingWindowTemplateIsReported)
{
    ResetVexaSettings();
    const ExeWithoutResource exe(RT_DIALOG, IDD_PALETTE);
    ASSERT_TRUE(exe.Made());
    VexaProcess vexa;
    EXPECT_EQ(RunToRefusal(vexa, exe.Path()), "A required resource was unavailable.");
    const std::string stored = ExportVexaSettings();
    EXPECT_EQ(stored.find("[Vexa\\View]"), std::string::npos) << stored;
    EXPECT_EQ(stored.find("[Vexa\\Window]"), std::string::npos) << stored;
}

TEST(Depth24, RefusesDisplayWithoutPalette)
{
    ResetVexaSettings();
    VexaProcess vexa;
    EXPECT_EQ(RunToRefusal(vexa), kPaletteMessage);
}
