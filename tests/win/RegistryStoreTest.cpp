// The registry store against the real registry, below a scratch key of its own per test.
#include "settings/RegistryStore.h"

#include "../common/Registry.h"
#include "ImportHook.h"
#include "framework/Exceptions.h"
#include "framework/WinApp.h"

#include <aclapi.h>

#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace
{
constexpr const char* kScratch = "Software\\QuillonTest";

// RegSetValueExA that refuses the value whose name ends in ".top", as a full or locked key would.
using SetValueFunction = LONG(WINAPI*)(HKEY, LPCSTR, DWORD, DWORD, const BYTE*, DWORD);
SetValueFunction g_realSetValue = nullptr;
int g_setValueCalls = 0;
LONG WINAPI RefuseTopValue(HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD size)
{
    ++g_setValueCalls;
    const std::string text = name ? name : "";
    if (text.size() >= 4 && text.compare(text.size() - 4, 4, ".top") == 0)
        return ERROR_ACCESS_DENIED;
    return g_realSetValue(key, name, reserved, type, data, size);
}

class RegistryStoreTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        Clear();
        m_path = std::string(kScratch) + '\\' + ::testing::UnitTest::GetInstance()->current_test_info()->name() + '\\';
    }
    void TearDown() override { Clear(); }

    static void Clear()
    {
        SetTreeAccess(HKEY_LOCAL_MACHINE, kScratch, KEY_ALL_ACCESS);
        ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, kScratch);
    }

    // Stores raw data, bypassing the store, the way another program or an old version might.
    void Put(const char* section, const char* name, DWORD type, const void* data, DWORD size)
    {
        ASSERT_EQ(WriteRegistryValue(HKEY_LOCAL_MACHINE, m_path + section, name, type, data, size), ERROR_SUCCESS);
    }
    void PutDword(const char* section, const char* name, DWORD value)
    {
        Put(section, name, REG_DWORD, &value, sizeof value);
    }

    bool KeyExists(const std::string& path) const
    {
        HKEY key = nullptr;
        if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        ::RegCloseKey(key);
        return true;
    }

    std::string m_path;
};
} // namespace

TEST_F(RegistryStoreTest, ReadIntGivesStoredDwordsAndTheDefaultForAnythingElse)
{
    RegistryStore store(nullptr, m_path.c_str());
    EXPECT_EQ(store.ReadInt("View", "Columns", 256), 256) << "no section yet";
    PutDword("View", "Zero", 0);
    PutDword("View", "Negative", 0xFFFFFFFDu);
    Put("View", "Columns", REG_SZ, "16", 3);
    const BYTE four[4] = {16, 0, 0, 0};
    Put("View", "Binary", REG_BINARY, four, 4);
    Put("View", "Short", REG_DWORD, four, 2);
    const unsigned long long wide = 16;
    Put("View", "Wide", REG_QWORD, &wide, sizeof wide);
    Put("View", "Long", REG_DWORD, &wide, sizeof wide);

    EXPECT_EQ(store.ReadInt("View", "Zero", 7), 0);
    EXPECT_EQ(store.ReadInt("View", "Negative", 7), -3);
    EXPECT_EQ(store.ReadInt("View", "Columns", 256), 256);
    EXPECT_EQ(store.ReadInt("View", "Binary", 7), 7);
    EXPECT_EQ(store.ReadInt("View", "Short", 7), 7);
    EXPECT_EQ(store.ReadInt("View", "Wide", 7), 7);
    EXPECT_EQ(store.ReadInt("View", "Long", 7), 7);
    EXPECT_EQ(store.ReadInt("View", "Absent", 7), 7);
    EXPECT_EQ(store.ReadInt(nullptr, "Zero", 7), 7);

    EXPECT_TRUE(store.WriteInt("View", "Rows", -2147483647 - 1));
    EXPECT_EQ(store.ReadInt("View", "Rows", 1), -2147483647 - 1);
}

TEST_F(RegistryStoreTest, ReadStringNeverReadsPastTheValue)
{
    RegistryStore store(nullptr, m_path.c_str());
    EXPECT_TRUE(store.WriteString("CurrentVersion", "Path", "C:\\Vexa\\Vexa.exe"));
    EXPECT_EQ(store.ReadString("CurrentVersion", "Path", "x"), "C:\\Vexa\\Vexa.exe");

    Put("CurrentVersion", "Bare", REG_SZ, "abc", 3); // no terminating zero
    Put("CurrentVersion", "Embedded", REG_SZ, "ab\0cd", 6);
    Put("CurrentVersion", "Empty", REG_SZ, "", 0);
    Put("CurrentVersion", "Expand", REG_EXPAND_SZ, "%TEMP%", 7);
    const DWORD number = 5;
    Put("CurrentVersion", "Number", REG_DWORD, &number, sizeof number);
    EXPECT_EQ(store.ReadString("CurrentVersion", "Bare", "x"), "abc");
    EXPECT_EQ(store.ReadString("CurrentVersion", "Embedded", "x"), "ab");
    EXPECT_EQ(store.ReadString("CurrentVersion", "Empty", "x"), "");
    EXPECT_EQ(store.ReadString("CurrentVersion", "Expand", "x"), "x");
    EXPECT_EQ(store.ReadString("CurrentVersion", "Number", "x"), "x");
    EXPECT_EQ(store.ReadString("CurrentVersion", "Absent", nullptr), "");
    EXPECT_EQ(store.ReadString("Nowhere", "Path", "x"), "x");

    // A large unterminated value is read whole; one beyond the limit is refused. (Wine reports one byte
    // more than stored for an unterminated value, Windows the stored size: both stay on their side.)
    const std::string large(RegistryStore::kMaxStringBytes - 1, 'L');
    Put("CurrentVersion", "Large", REG_SZ, large.data(), static_cast<DWORD>(large.size()));
    EXPECT_TRUE(store.ReadString("CurrentVersion", "Large", "x") == large);
    const std::string huge(RegistryStore::kMaxStringBytes + 1, 'H');
    Put("CurrentVersion", "Huge", REG_SZ, huge.data(), static_cast<DWORD>(huge.size()));
    EXPECT_EQ(store.ReadString("CurrentVersion", "Huge", "x"), "x");
}

TEST_F(RegistryStoreTest, ReadBinaryReadsOnlyBinaryValuesThatFit)
{
    RegistryStore store(nullptr, m_path.c_str());
    const BYTE data[6] = {1, 2, 3, 4, 5, 6};
    Put("Data", "Six", REG_BINARY, data, sizeof data);
    PutDword("Data", "Dword", 9);
    BYTE buffer[8] = {};
    EXPECT_EQ(store.ReadBinary("Data", "Six", buffer, sizeof buffer), 6u);
    EXPECT_EQ(buffer[5], 6);
    EXPECT_EQ(store.ReadBinary("Data", "Six", buffer, 4), 0u);
    EXPECT_EQ(store.ReadBinary("Data", "Dword", buffer, sizeof buffer), 0u);
    EXPECT_EQ(store.ReadBinary("Data", "Absent", buffer, sizeof buffer), 0u);
    EXPECT_EQ(store.ReadBinary("Data", "Six", nullptr, 8), 0u);
}

TEST_F(RegistryStoreTest, RectanglesAreFourValuesWithTheirOwnDefaults)
{
    RegistryStore store(nullptr, m_path.c_str());
    const RECT fallback{1, 2, 3, 4};
    RECT read = store.ReadRect("Window", "Bounds", fallback);
    EXPECT_TRUE(::EqualRect(&read, &fallback));

    const RECT bounds{-2147483647 - 1, 0, 2147483647, 10};
    EXPECT_TRUE(store.WriteRect("Window", "Bounds", bounds));
    read = store.ReadRect("Window", "Bounds", fallback);
    EXPECT_TRUE(::EqualRect(&read, &bounds));
    EXPECT_TRUE(store.ValueExists("Window", "Bounds.bottom"));

    // A missing member keeps its default while the others are read.
    EXPECT_TRUE(store.DeleteValue("Window", "Bounds.top"));
    read = store.ReadRect("Window", "Bounds", fallback);
    EXPECT_EQ(read.left, bounds.left);
    EXPECT_EQ(read.top, 2);
    EXPECT_EQ(read.bottom, 10);
}

TEST_F(RegistryStoreTest, WriteRectStopsAtTheFirstFailingWrite)
{
    RegistryStore store(nullptr, m_path.c_str());
    g_setValueCalls = 0;
    {
        const ImportHook hook("advapi32.dll", "RegSetValueExA", reinterpret_cast<void*>(&RefuseTopValue));
        ASSERT_TRUE(hook.Installed());
        g_realSetValue = reinterpret_cast<SetValueFunction>(hook.Original());
        EXPECT_FALSE(store.WriteRect("Window", "Bounds", RECT{10, 20, 30, 40}));
    }
    EXPECT_EQ(g_setValueCalls, 2);
    EXPECT_EQ(store.ReadInt("Window", "Bounds.left", 0), 10);
    EXPECT_FALSE(store.ValueExists("Window", "Bounds.top"));
    EXPECT_FALSE(store.ValueExists("Window", "Bounds.right"));
    EXPECT_FALSE(store.ValueExists("Window", "Bounds.bottom"));
}

TEST_F(RegistryStoreTest, AKeyWithoutWriteAccessReadsAsAbsent)
{
    RegistryStore store(nullptr, m_path.c_str());
    PutDword("View", "Columns", 16);
    HKEY key = nullptr;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_LOCAL_MACHINE, (m_path + "View").c_str(), 0, WRITE_DAC, &key), ERROR_SUCCESS);
    SetKeyAccess(key, KEY_READ);
    ::RegCloseKey(key);

    EXPECT_EQ(store.ReadInt("View", "Columns", 256), 256);
    EXPECT_FALSE(store.ValueExists("View", "Columns"));
    EXPECT_FALSE(store.WriteInt("View", "Columns", 8));
    EXPECT_FALSE(store.WriteRect("View", "Bounds", RECT{1, 2, 3, 4}));
    EXPECT_FALSE(store.DeleteValue("View", "Columns"));
}

TEST_F(RegistryStoreTest, SectionPathsOf256CharactersOrMoreFailCleanly)
{
    RegistryStore store(nullptr, m_path.c_str());
    const std::string fits(255 - m_path.size(), 'S');
    const std::string tooLong(256 - m_path.size(), 'S');
    EXPECT_TRUE(store.WriteInt(fits.c_str(), "Value", 5));
    EXPECT_EQ(store.ReadInt(fits.c_str(), "Value", 0), 5);
    EXPECT_FALSE(store.WriteInt(tooLong.c_str(), "Value", 5));
    EXPECT_FALSE(store.WriteString(tooLong.c_str(), "Value", "x"));
    EXPECT_EQ(store.ReadInt(tooLong.c_str(), "Value", 3), 3);
    EXPECT_EQ(store.ReadString(tooLong.c_str(), "Value", "d"), "d");
    EXPECT_FALSE(store.ValueExists(tooLong.c_str(), "Value"));
    EXPECT_FALSE(KeyExists(m_path + tooLong));
    const std::string huge(5000, 'S');
    EXPECT_FALSE(store.WriteInt(huge.c_str(), "Value", 5));
}

TEST_F(RegistryStoreTest, SectionsValuesAndTheRootKeyCanBeDeleted)
{
    RegistryStore store(nullptr, m_path.c_str());
    EXPECT_FALSE(store.DeleteSection("View")) << "no root key yet";
    EXPECT_FALSE(store.DeleteRootKey());
    EXPECT_TRUE(store.WriteInt("View", "Columns", 16));
    EXPECT_TRUE(store.WriteInt("Window", "State", 2));
    EXPECT_TRUE(store.ValueExists("View", "Columns"));
    EXPECT_FALSE(store.ValueExists("View", "Rows"));
    EXPECT_FALSE(store.ValueExists("Nowhere", "Rows"));

    EXPECT_FALSE(store.DeleteSection("")) << "must not take the root key with it";
    EXPECT_FALSE(store.DeleteSection(nullptr));
    EXPECT_TRUE(KeyExists(m_path));
    EXPECT_TRUE(store.DeleteValue("View", "Columns"));
    EXPECT_FALSE(store.DeleteValue("View", "Columns"));
    EXPECT_TRUE(store.DeleteSection("View"));
    EXPECT_FALSE(KeyExists(m_path + "View"));
    EXPECT_TRUE(store.DeleteSection("Window"));
    EXPECT_TRUE(store.DeleteRootKey());
    EXPECT_FALSE(KeyExists(m_path));

    RegistryStore unrooted(nullptr, nullptr);
    EXPECT_EQ(unrooted.GetRootPath(), "");
    EXPECT_FALSE(unrooted.DeleteRootKey()) << "must not try to delete the hive";
}

TEST_F(RegistryStoreTest, RootPathsFollowTheApplicationsRegistryKey)
{
    // The store forms its paths from the framework application, as the program's own does.
    std::optional<CWinApp> localApp;
    if (!AfxGetApp())
        localApp.emplace("Vexa");
    CWinApp& app = *AfxGetApp();
    const std::string profile = app.m_pszAppName;

    RegistryStore store(nullptr, "Software\\Quillon\\");
    EXPECT_TRUE(store.LeaveSubkey());
    EXPECT_EQ(store.GetRootPath(), "Software\\");
    EXPECT_FALSE(store.LeaveSubkey());
    EXPECT_EQ(store.GetRootPath(), "Software\\");
    EXPECT_TRUE(store.EnterSubkey("Quillon"));
    EXPECT_TRUE(store.EnterSubkey("Vexa"));
    EXPECT_EQ(store.GetRootPath(), "Software\\Quillon\\Vexa\\");
    EXPECT_THROW(store.EnterSubkey(""), CUserException);
    EXPECT_THROW(store.EnterSubkey(nullptr), CUserException);
    EXPECT_EQ(store.GetRootPath(), "Software\\Quillon\\Vexa\\");

    if (!app.m_pszRegistryKey)
    {
        EXPECT_THROW(store.SetProductRoot("Other"), CUserException);
        store.SetRootPath(nullptr);
        EXPECT_EQ(store.GetRootPath(), "");
        EXPECT_FALSE(store.LeaveSubkey());
    }
    app.SetRegistryKey("Quillon");
    store.SetRootPath("");
    EXPECT_EQ(store.GetRootPath(), "Software\\Quillon\\" + profile + "\\");
    store.SetProductRoot("Other");
    EXPECT_EQ(store.GetRootPath(), "Software\\Quillon\\Other\\");
    EXPECT_THROW(store.SetProductRoot(""), CUserException);
    EXPECT_THROW(store.SetProductRoot(nullptr), CUserException);
    EXPECT_EQ(store.GetRootPath(), "Software\\Quillon\\Other\\");
}

// Without a root path (no company name to form one) the store is not allowed at the hive's own root:
// every read gives the default and nothing is written or deleted there.
TEST_F(RegistryStoreTest, WithoutARootPathNothingAtTheHivesRootIsTouched)
{
    const char* const sections[] = {"QuillonTestRoot", "QuillonTestNew"};
    struct Cleanup
    {
        const char* const* sections;
        ~Cleanup()
        {
            for (int i = 0; i < 2; ++i)
                ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, sections[i]);
        }
    } cleanup{sections};
    m_path.clear();
    PutDword(sections[0], "Columns", 16);
    const RECT rect{1, 2, 3, 4};
    BYTE buffer[8] = {};

    RegistryStore store(nullptr, nullptr);
    ASSERT_EQ(store.GetRootPath(), "");
    EXPECT_EQ(store.ReadInt(sections[0], "Columns", 256), 256);
    EXPECT_EQ(store.ReadString(sections[0], "Columns", "none"), "none");
    EXPECT_EQ(store.ReadBinary(sections[0], "Columns", buffer, sizeof buffer), 0u);
    EXPECT_FALSE(store.ValueExists(sections[0], "Columns"));
    EXPECT_FALSE(store.OpenRootKey());
    for (const char* section : sections)
    {
        EXPECT_FALSE(store.WriteInt(section, "Rows", 1)) << section;
        EXPECT_FALSE(store.WriteString(section, "Path", "C:\\Vexa.exe")) << section;
        EXPECT_FALSE(store.WriteRect(section, "Bounds", rect)) << section;
        EXPECT_FALSE(store.DeleteValue(section, "Columns")) << section;
        EXPECT_FALSE(store.DeleteSection(section)) << section;
    }
    EXPECT_FALSE(KeyExists(sections[1]));
    HKEY key = nullptr;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_LOCAL_MACHINE, sections[0], 0, KEY_READ, &key), ERROR_SUCCESS);
    DWORD values = 0;
    ::RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr, nullptr,
                       nullptr);
    ::RegCloseKey(key);
    EXPECT_EQ(values, 1u) << "only the value put there before";
}
