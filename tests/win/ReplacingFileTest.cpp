// The file that replaces its target only when complete, against real files in a scratch folder, with
// the system's flush and moves made to fail, and with the move functions of older systems.
#include "../common/Files.h"
#include "ImportHook.h"
#include "framework/ErrorText.h"
#include "framework/Exceptions.h"
#include "framework/File.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{
// What GetProcAddress hands out for MoveFileExA: the real function (flags recorded), none (Windows 95),
// one that is not implemented (Windows 98 and Me), or one that refuses MOVEFILE_WRITE_THROUGH.
enum class MoveFileEx
{
    real,
    missing,
    notImplemented,
    refusesWriteThrough,
};

// Which call fails, as a full disk or a file held by another program would make it.
enum class Failing
{
    none,
    flush,     // FlushFileBuffers of the new file
    moveAside, // MoveFileA of the old file out of the target's place
    moveIn,    // the first MoveFileA into the target's place
    readOnly,  // none: the old file is read-only
};

MoveFileEx g_moveFileEx = MoveFileEx::real;
Failing g_failing = Failing::none;
std::string g_target;
std::vector<DWORD> g_moveFlags;
FARPROC(WINAPI* g_realGetProcAddress)(HMODULE, LPCSTR) = nullptr;
BOOL(WINAPI* g_realMoveFile)(LPCSTR, LPCSTR) = nullptr;
BOOL(WINAPI* g_realFlushFileBuffers)(HANDLE) = nullptr;

BOOL WINAPI FakeMoveFileEx(LPCSTR from, LPCSTR to, DWORD flags)
{
    g_moveFlags.push_back(flags);
    const bool refused = g_moveFileEx == MoveFileEx::notImplemented ||
                         (g_moveFileEx == MoveFileEx::refusesWriteThrough && (flags & MOVEFILE_WRITE_THROUGH));
    if (refused)
    {
        ::SetLastError(g_moveFileEx == MoveFileEx::notImplemented ? ERROR_CALL_NOT_IMPLEMENTED
                                                                  : ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return ::MoveFileExA(from, to, flags);
}

FARPROC WINAPI FakeGetProcAddress(HMODULE module, LPCSTR name)
{
    if (HIWORD(reinterpret_cast<ULONG_PTR>(name)) == 0 || std::string(name) != "MoveFileExA")
        return g_realGetProcAddress(module, name);
    return g_moveFileEx == MoveFileEx::missing ? nullptr
                                               : reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&FakeMoveFileEx));
}

BOOL WINAPI FakeMoveFile(LPCSTR from, LPCSTR to)
{
    if ((g_failing == Failing::moveAside && g_target == from) || (g_failing == Failing::moveIn && g_target == to))
    {
        if (g_failing == Failing::moveIn)
            g_failing = Failing::none; // putting the old file back works
        ::SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    return g_realMoveFile(from, to);
}

BOOL WINAPI FakeFlushFileBuffers(HANDLE file)
{
    if (g_failing == Failing::flush)
    {
        ::SetLastError(ERROR_DISK_FULL);
        return FALSE;
    }
    return g_realFlushFileBuffers(file);
}

class ReplacingFileTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        char base[MAX_PATH];
        ::GetTempPathA(MAX_PATH, base);
        char name[MAX_PATH];
        ::GetTempFileNameA(base, "vxr", 0, name);
        ::DeleteFileA(name);
        ASSERT_TRUE(::CreateDirectoryA(name, nullptr));
        m_folder = name;
    }
    void TearDown() override
    {
        RemoveFiles();
        ::RemoveDirectoryA(m_folder.c_str());
    }

    std::vector<std::string> Files() const { return FilesIn(m_folder); }

    void RemoveFiles() const
    {
        for (const std::string& file : Files())
        {
            ::SetFileAttributesA((m_folder + '\\' + file).c_str(), FILE_ATTRIBUTE_NORMAL);
            ::DeleteFileA((m_folder + '\\' + file).c_str());
        }
    }

    static std::string Contents(const std::string& path)
    {
        std::string text(64, '\0');
        DWORD read = 0;
        HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return "(none)";
        ::ReadFile(file, text.data(), static_cast<DWORD>(text.size()), &read, nullptr);
        ::CloseHandle(file);
        return text.substr(0, read);
    }

    std::string m_folder;
};

TEST_F(ReplacingFileTest, CommitKeepsACopyOnDiskWhateverFails)
{
    struct Case
    {
        const char* what;
        MoveFileEx moveFileEx;
        bool oldFile;
        Failing failing;
        const char* message; // with %1 for the target; empty when the commit succeeds
    };
    const Case cases[] = {
        {"replacing move", MoveFileEx::real, true, Failing::none, ""},
        {"replacing move, new name", MoveFileEx::real, false, Failing::none, ""},
        {"write-through refused (NT 4.0)", MoveFileEx::refusesWriteThrough, true, Failing::none, ""},
        {"flush fails", MoveFileEx::real, true, Failing::flush, "Disk full while accessing %1."},
        {"flush fails, new name", MoveFileEx::real, false, Failing::flush, "Disk full while accessing %1."},
        {"no MoveFileExA", MoveFileEx::missing, true, Failing::none, ""},
        {"no MoveFileExA, new name", MoveFileEx::missing, false, Failing::none, ""},
        {"MoveFileExA not implemented", MoveFileEx::notImplemented, true, Failing::none, ""},
        {"no MoveFileExA, flush fails", MoveFileEx::missing, true, Failing::flush, "Disk full while accessing %1."},
        {"no MoveFileExA, old file stays", MoveFileEx::missing, true, Failing::moveAside, "Access to %1 was denied."},
        {"no MoveFileExA, new file stays out", MoveFileEx::missing, true, Failing::moveIn, "Access to %1 was denied."},
        {"no MoveFileExA, new name stays out", MoveFileEx::missing, false, Failing::moveIn, "Access to %1 was denied."},
        {"no MoveFileExA, read-only old file", MoveFileEx::missing, true, Failing::readOnly,
         "Access to %1 was denied."},
    };
    const ImportHook getProcAddress("kernel32.dll", "GetProcAddress", reinterpret_cast<void*>(&FakeGetProcAddress));
    const ImportHook moveFile("kernel32.dll", "MoveFileA", reinterpret_cast<void*>(&FakeMoveFile));
    const ImportHook flush("kernel32.dll", "FlushFileBuffers", reinterpret_cast<void*>(&FakeFlushFileBuffers));
    ASSERT_TRUE(getProcAddress.Installed() && moveFile.Installed() && flush.Installed());
    g_realGetProcAddress = reinterpret_cast<decltype(g_realGetProcAddress)>(getProcAddress.Original());
    g_realMoveFile = reinterpret_cast<decltype(g_realMoveFile)>(moveFile.Original());
    g_realFlushFileBuffers = reinterpret_cast<decltype(g_realFlushFileBuffers)>(flush.Original());

    g_target = m_folder + "\\pal.bmp";
    for (const Case& c : cases)
    {
        g_moveFileEx = c.moveFileEx;
        g_failing = c.failing;
        g_moveFlags.clear();
        if (c.oldFile)
        {
            HANDLE old = ::CreateFileA(g_target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
            DWORD written = 0;
            ::WriteFile(old, "old", 3, &written, nullptr);
            ::CloseHandle(old);
            if (c.failing == Failing::readOnly)
                ::SetFileAttributesA(g_target.c_str(), FILE_ATTRIBUTE_READONLY);
        }

        std::string message;
        try
        {
            CReplacingFile file(g_target);
            file.Write("new", 3);
            file.Commit();
        }
        catch (const CFileException& e)
        {
            e.GetErrorMessage(message);
        }
        EXPECT_EQ(message, FormatNumbered(c.message, {g_target})) << c.what;
        const char* expected = *c.message ? (c.oldFile ? "old" : "(none)") : "new";
        EXPECT_EQ(Contents(g_target), expected) << c.what;
        EXPECT_EQ(Files().size(), *c.message && !c.oldFile ? 0u : 1u) << c.what << ": no other file is left";
        const bool replacingMove = c.moveFileEx == MoveFileEx::real || c.moveFileEx == MoveFileEx::refusesWriteThrough;
        const DWORD writeThrough = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
        EXPECT_TRUE(!replacingMove || *c.message || (!g_moveFlags.empty() && g_moveFlags[0] == writeThrough)) << c.what;
        RemoveFiles();
    }
}
} // namespace
