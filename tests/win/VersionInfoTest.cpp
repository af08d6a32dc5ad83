// Reading version records: the program's own, one without a record and one with a second language.
#include "about/VersionInfo.h"

#include "ImportHook.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

namespace
{
// A file beside this test program.
std::string Beside(const char* name)
{
    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, path, sizeof path - 1);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of('\\') + 1) + name;
}

// GetModuleFileNameA that gives this name, or fails for an empty one.
std::string g_moduleName;
DWORD WINAPI FakeModuleFileName(HMODULE, LPSTR buffer, DWORD size)
{
    if (g_moduleName.empty() || g_moduleName.size() >= size)
        return 0;
    g_moduleName.copy(buffer, g_moduleName.size());
    buffer[g_moduleName.size()] = '\0';
    return static_cast<DWORD>(g_moduleName.size());
}

std::string Text(const char* value)
{
    return value ? value : "<null>";
}

void ExpectVexaRecord(const VersionInfo& info)
{
    EXPECT_EQ(Text(info.GetStringValue("ProductName")), "Vexa");
    EXPECT_EQ(Text(info.GetStringValue("FileDescription")), "Color Palette Tool");
    EXPECT_EQ(Text(info.GetStringValue("ProductVersion")), "1.7");
    EXPECT_EQ(Text(info.GetStringValue("FileVersion")), "1.7");
    EXPECT_EQ(Text(info.GetStringValue("OriginalFilename")), "Vexa.exe");
    EXPECT_EQ(Text(info.GetStringValue("CompanyName")), "Quillon Computing");
    EXPECT_EQ(info.GetCompanyKeyName(), "Quillon");
    EXPECT_NE(info.GetStringValue("LegalCopyright"), nullptr);

    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(info.QueryValue("\\"));
    ASSERT_NE(fixed, nullptr);
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010007u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010007u);
    EXPECT_EQ(fixed->dwFileFlagsMask, 0x3Fu);
    EXPECT_EQ(fixed->dwFileFlags, 0u);
    EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS__WINDOWS32));
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

    const auto* translation = static_cast<const WORD*>(info.QueryValue("\\VarFileInfo\\Translation"));
    ASSERT_NE(translation, nullptr);
    EXPECT_EQ(translation[0], 0x0409);
    EXPECT_EQ(translation[1], 0x04B0);
}
} // namespace

TEST(VersionInfo, ReadsTheRecordOfTheBuiltProgram)
{
    const char* exe = std::getenv("VEXA_EXE");
    ASSERT_NE(exe, nullptr) << "VEXA_EXE names the Vexa.exe under test";
    const VersionInfo info(exe);
    ExpectVexaRecord(info);
}

TEST(VersionInfo, ReadsTheOwnModuleWhenNoFileIsGiven)
{
    // This test program links the same resources as Vexa.exe, version record included.
    const VersionInfo info;
    ExpectVexaRecord(info);
}

TEST(VersionInfo, LooksUpOnlyTheUsEnglishBlockAndFailsCleanly)
{
    const VersionInfo info(Beside("german_version_record.exe").c_str());
    EXPECT_EQ(Text(info.GetStringValue("CompanyName")), "Probe");
    EXPECT_EQ(info.GetCompanyKeyName(), "Probe"); // no blank: the whole name
    EXPECT_EQ(info.GetStringValue("Comments"), nullptr);
    EXPECT_EQ(info.GetStringValue("ProductName"), nullptr);
    EXPECT_EQ(info.GetStringValue(nullptr), nullptr);
    // A name that overflows the lookup path is not found rather than cut short.
    EXPECT_EQ(info.GetStringValue(std::string(231, 'C').c_str()), nullptr);
    EXPECT_EQ(info.GetStringValue(std::string(4000, 'C').c_str()), nullptr);
    EXPECT_EQ(info.QueryValue("\\StringFileInfo\\040904B0\\Missing"), nullptr);
}

TEST(VersionInfo, FilesWithoutARecordAnswerEveryLookupWithNull)
{
    for (const std::string& file : {Beside("no_version_record.exe"), Beside("no such file.exe")})
    {
        const VersionInfo info(file.c_str());
        EXPECT_EQ(info.QueryValue("\\"), nullptr) << file;
        EXPECT_EQ(info.GetStringValue("ProductName"), nullptr) << file;
        EXPECT_EQ(info.GetCompanyKeyName(), "") << file;
    }
}

// The program's own record comes from its loaded image: its ANSI file name may name no file at all (a
// folder outside the ANSI code page comes out as question marks), or there may be none.
TEST(VersionInfo, TheOwnRecordNeedsNoUsableFileName)
{
    for (const char* name : {"", "C:\\?????\\win_tests.exe"})
    {
        SCOPED_TRACE(name);
        g_moduleName = name;
        const ImportHook hook("kernel32.dll", "GetModuleFileNameA", reinterpret_cast<void*>(&FakeModuleFileName));
        ASSERT_TRUE(hook.Installed());
        const VersionInfo info;
        ExpectVexaRecord(info);
    }
}
