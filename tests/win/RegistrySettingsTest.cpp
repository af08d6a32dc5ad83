// The settings records against the real registry and real windows: install record, load and save
// rules, and the placement operations.
#include "ImportHook.h"
#include "framework/Wnd.h"
#include "settings/SettingsStore.h"

#include <gtest/gtest.h>
#include <string>

namespace
{
constexpr const char* kRoot = "Software\\QuillonTest\\Settings\\";
constexpr const char* kRootKey = "Software\\QuillonTest\\Settings";

std::string OwnPath()
{
    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, path, sizeof path - 1);
    return path;
}

DWORD WINAPI NoModuleFileName(HMODULE, LPSTR, DWORD)
{
    return 0;
}

// GetModuleFileNameA for a program file of this name, cutting it short as Windows XP does: as many
// characters as fit, without a terminator when they fill the buffer.
std::string g_moduleName;
DWORD WINAPI LongModuleFileName(HMODULE, LPSTR buffer, DWORD size)
{
    const DWORD length = static_cast<DWORD>(g_moduleName.size());
    const DWORD copied = length < size ? length + 1 : size;
    g_moduleName.copy(buffer, copied);
    if (copied > length)
        buffer[length] = '\0';
    return copied > length ? length : size;
}

// Signals any write below the settings' root key from the moment it is made.
class Watch
{
  public:
    Watch()
    {
        m_event = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
        ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kRootKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_key, nullptr);
        ::RegNotifyChangeKeyValue(m_key, TRUE, REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET, m_event, TRUE);
    }
    ~Watch()
    {
        ::RegCloseKey(m_key);
        ::CloseHandle(m_event);
    }
    Watch(const Watch&) = delete;
    Watch& operator=(const Watch&) = delete;
    bool Written() const { return ::WaitForSingleObject(m_event, 0) == WAIT_OBJECT_0; }

  private:
    HANDLE m_event = nullptr;
    HKEY m_key = nullptr;
};

class SettingsRecordTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\QuillonTest");
        m_settings.SetRootPath(kRoot);
        m_settings.m_currentVersion = 0x00010007;
    }
    void TearDown() override { ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\QuillonTest"); }

    SettingsStore m_settings;
};

// A plain top-level window to place.
class TestWindow : public CWnd
{
  public:
    TestWindow()
    {
        m_hWnd = ::CreateWindowExA(0, "STATIC", "placement", WS_OVERLAPPEDWINDOW, 50, 60, 300, 200, nullptr, nullptr,
                                   ::GetModuleHandleA(nullptr), nullptr);
    }
    ~TestWindow() override { ::DestroyWindow(m_hWnd); }
};
} // namespace

TEST_F(SettingsRecordTest, InstallRecordIsWrittenOnlyWhenItChanged)
{
    m_settings.SetDefaults();
    EXPECT_EQ(m_settings.m_storedVersion, 0u);
    EXPECT_EQ(m_settings.ReadString("CurrentVersion", "Path", ""), OwnPath());
    EXPECT_EQ(m_settings.ReadInt("CurrentVersion", "Version", 0), 0x00010007);
    EXPECT_FALSE(m_settings.ValueExists("View", "Columns"));
    EXPECT_FALSE(m_settings.ValueExists("Window", "State"));
    EXPECT_EQ(m_settings.m_columns, 256);
    EXPECT_EQ(m_settings.m_rows, 1);
    EXPECT_FALSE(m_settings.IsModified());

    // The same program again, and then with its path in other letter case: nothing is written.
    {
        SettingsStore again;
        again.SetRootPath(kRoot);
        again.m_currentVersion = 0x00010007;
        Watch watch;
        again.SetDefaults();
        EXPECT_FALSE(watch.Written());
        EXPECT_EQ(again.m_storedVersion, 0x00010007u);
        EXPECT_TRUE(again.WriteString("CurrentVersion", "Path", CharUpperA(OwnPath().data())));
        Watch afterCase;
        again.SetDefaults();
        EXPECT_FALSE(afterCase.Written());
    }

    // A newer version: Version is rewritten, and the stored one is kept for the whole run.
    m_settings.m_currentVersion = 0x00020000;
    m_settings.SetDefaults();
    EXPECT_EQ(m_settings.m_storedVersion, 0x00010007u);
    EXPECT_EQ(m_settings.ReadInt("CurrentVersion", "Version", 0), 0x00020000);
    m_settings.SetDefaults();
    EXPECT_EQ(m_settings.m_storedVersion, 0x00020000u);

    // Without a fixed part the current version is 0; with nothing stored that is no first start.
    ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\QuillonTest");
    SettingsStore unversioned;
    unversioned.SetRootPath(kRoot);
    unversioned.SetDefaults();
    EXPECT_EQ(unversioned.m_storedVersion, unversioned.m_currentVersion);
    EXPECT_FALSE(unversioned.ValueExists("CurrentVersion", "Version"));
}

TEST_F(SettingsRecordTest, LoadTakesStoredValuesAndRepairsOnlyWhatCannotBeUsed)
{
    m_settings.SetDefaults();
    m_settings.WriteInt("View", "Columns", 16);
    m_settings.WriteInt("View", "Rows", 16);
    m_settings.WriteInt("View", "Borders", 5);
    m_settings.WriteInt("Window", "On top", 1);
    m_settings.WriteRect("Window", "Bounds", RECT{10, 20, 310, 220});
    for (const int state : {0, 1, 2, 3, -1})
    {
        m_settings.WriteInt("Window", "State", state);
        m_settings.m_modified = 1;
        m_settings.Load();
        EXPECT_EQ(m_settings.m_showState, state == 2 ? 2 : 0) << state;
        EXPECT_FALSE(m_settings.IsModified());
    }
    EXPECT_EQ(m_settings.m_columns, 16);
    EXPECT_EQ(m_settings.m_rows, 16);
    EXPECT_EQ(m_settings.m_borders, 5);
    EXPECT_EQ(m_settings.m_onTop, 1);
    EXPECT_EQ(m_settings.m_bounds.right, 310);

    // Columns or Rows below 1 make both the defaults, in memory only.
    for (const auto& [columns, rows] : {std::pair{0, 16}, std::pair{-3, 16}, std::pair{16, 0}})
    {
        m_settings.WriteInt("View", "Columns", columns);
        m_settings.WriteInt("View", "Rows", rows);
        m_settings.SetDefaults();
        Watch watch;
        m_settings.Load();
        EXPECT_EQ(m_settings.m_columns, 256);
        EXPECT_EQ(m_settings.m_rows, 1);
        EXPECT_FALSE(watch.Written());
    }
    // Other pairs are used as stored.
    m_settings.WriteInt("View", "Columns", 3);
    m_settings.WriteInt("View", "Rows", 1000);
    m_settings.Load();
    EXPECT_EQ(m_settings.m_columns, 3);
    EXPECT_EQ(m_settings.m_rows, 1000);
}

TEST_F(SettingsRecordTest, SaveWritesEverythingButAnEmptyRectangle)
{
    m_settings.SetDefaults();
    m_settings.WriteRect("Window", "Bounds", RECT{1, 2, 3, 4});
    m_settings.m_columns = 8;
    m_settings.m_rows = 32;
    m_settings.m_modified = 1;
    m_settings.Save();
    EXPECT_FALSE(m_settings.IsModified());
    EXPECT_EQ(m_settings.ReadInt("View", "Columns", 0), 8);
    EXPECT_EQ(m_settings.ReadInt("View", "Rows", 0), 32);
    EXPECT_TRUE(m_settings.ValueExists("View", "Borders"));
    EXPECT_TRUE(m_settings.ValueExists("Window", "On top"));
    EXPECT_TRUE(m_settings.ValueExists("Window", "State"));
    const RECT earlier = m_settings.ReadRect("Window", "Bounds", RECT{});
    EXPECT_EQ(earlier.right, 3) << "an empty rectangle leaves the earlier values";

    m_settings.m_bounds = RECT{-2147483647 - 1, 0, 2147483647, 10};
    m_settings.Save();
    EXPECT_EQ(m_settings.ReadInt("Window", "Bounds.left", 0), -2147483647 - 1);

    // A save that cannot write still leaves the record unmodified.
    SettingsStore nowhere;
    nowhere.SetRootPath(std::string(300, 'x').c_str());
    nowhere.m_modified = 1;
    nowhere.Save();
    EXPECT_FALSE(nowhere.IsModified());
}

TEST_F(SettingsRecordTest, PlacementFollowsTheWindowAndMarksOnlyChanges)
{
    m_settings.SetDefaults();
    EXPECT_FALSE(m_settings.RestorePlacement(nullptr, 0, FALSE)) << "no main window";
    m_settings.CapturePlacement(nullptr);
    EXPECT_FALSE(m_settings.IsModified());

    TestWindow window;
    ASSERT_TRUE(::IsWindow(window.m_hWnd));
    // Nothing stored: not moved, but shown when asked to.
    EXPECT_TRUE(m_settings.RestorePlacement(&window, SWP_SHOWWINDOW | SWP_NOACTIVATE, FALSE));
    EXPECT_TRUE(::IsWindowVisible(window.m_hWnd));
    RECT rect{};
    ::GetWindowRect(window.m_hWnd, &rect);
    EXPECT_EQ(rect.left, 50);

    m_settings.CapturePlacement(&window);
    EXPECT_TRUE(m_settings.IsModified());
    EXPECT_TRUE(::EqualRect(&m_settings.m_bounds, &rect));
    m_settings.m_modified = 0;
    m_settings.CapturePlacement(&window);
    EXPECT_FALSE(m_settings.IsModified()) << "an unchanged window marks nothing";

    // A stored rectangle and "On top"; the minimised state only when asked to apply it.
    m_settings.m_bounds = RECT{-500, 100, -300, 300};
    m_settings.m_onTop = 1;
    m_settings.m_showState = 2;
    EXPECT_TRUE(m_settings.RestorePlacement(&window, SWP_NOACTIVATE, FALSE));
    ::GetWindowRect(window.m_hWnd, &rect);
    EXPECT_EQ(rect.left, -168);
    EXPECT_EQ(rect.right, 32);
    EXPECT_EQ(m_settings.m_bounds.left, -168) << "the moved rectangle stays in memory";
    EXPECT_FALSE(m_settings.IsModified()) << "moving onto the desktop marks nothing";
    EXPECT_TRUE(::GetWindowLongA(window.m_hWnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_FALSE(::IsIconic(window.m_hWnd));

    EXPECT_TRUE(m_settings.RestorePlacement(&window, SWP_NOACTIVATE, TRUE));
    EXPECT_TRUE(::IsIconic(window.m_hWnd));
    m_settings.m_showState = 0;
    m_settings.CapturePlacement(&window);
    EXPECT_EQ(m_settings.m_showState, 2);
    EXPECT_TRUE(m_settings.IsModified());
    EXPECT_EQ(m_settings.m_bounds.left, -168) << "a minimised window's rectangle is not recorded";
    ::ShowWindow(window.m_hWnd, SW_RESTORE);

    // On top is changed only through SetOnTop, which marks the change and applies the z-order alone.
    m_settings.m_modified = 0;
    m_settings.SetOnTop(FALSE, &window);
    EXPECT_TRUE(m_settings.IsModified());
    EXPECT_FALSE(::GetWindowLongA(window.m_hWnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
    m_settings.m_modified = 0;
    m_settings.SetOnTop(FALSE, &window);
    EXPECT_FALSE(m_settings.IsModified());
    m_settings.SetBounds(m_settings.m_bounds);
    EXPECT_FALSE(m_settings.IsModified());
}

TEST_F(SettingsRecordTest, TheInstallRecordHoldsTheProgramFileNameOfAnyLength)
{
    const ImportHook hook("kernel32.dll", "GetModuleFileNameA", reinterpret_cast<void*>(&LongModuleFileName));
    ASSERT_TRUE(hook.Installed());
    for (const std::size_t length : {258u, 259u, 260u, 261u, 1000u})
    {
        g_moduleName = "C:\\" + std::string(length - 12, 'v') + "\\Vexa.exe";
        ASSERT_EQ(g_moduleName.size(), length);
        m_settings.SetDefaults();
        EXPECT_EQ(m_settings.ReadString("CurrentVersion", "Path", ""), g_moduleName) << length;
    }
}

TEST_F(SettingsRecordTest, WithoutItsOwnFileNameTheRestOfTheInstallRecordIsKept)
{
    m_settings.WriteString("CurrentVersion", "Path", "C:\\Old\\Vexa.exe");
    {
        const ImportHook hook("kernel32.dll", "GetModuleFileNameA", reinterpret_cast<void*>(&NoModuleFileName));
        ASSERT_TRUE(hook.Installed());
        m_settings.SetDefaults();
    }
    EXPECT_EQ(m_settings.ReadString("CurrentVersion", "Path", ""), "C:\\Old\\Vexa.exe");
    EXPECT_EQ(m_settings.ReadInt("CurrentVersion", "Version", 0), 0x00010007);
    EXPECT_EQ(m_settings.m_columns, 256);
}
