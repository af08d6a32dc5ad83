// A registry hive and root key path, with typed access to the values of the sections below the root.
#pragma once

#include "framework/Object.h"
#include "settings/RegistryKey.h"
#include "settings/RegistryValue.h"

#include <windows.h>

#include <string>

class RegistryStore : public CObject
{
  public:
    // A hive of 0 means HKEY_LOCAL_MACHINE; a null or empty root path is formed from the application.
    RegistryStore(HKEY hive, const char* rootPath);

    // A non-empty path is taken as it is; null or empty gives "Software\<registry key>\<profile>\"
    // when the application has both, and an empty path otherwise, with which the store opens no key.
    void SetRootPath(const char* path);
    // "Software\<registry key>\<product>\". Throws CUserException without a product name or registry key.
    void SetProductRoot(const char* product);
    // Appends "<name>\" to the root path. Throws CUserException for an empty name.
    BOOL EnterSubkey(const char* name);
    // Drops the last component of the root path; FALSE when there is none to drop.
    BOOL LeaveSubkey();
    const std::string& GetRootPath() const { return m_rootPath; }

    // Every key is opened for reading and writing, so a key the user may not write reads as absent.
    RegistryKey OpenKey(HKEY parent, const char* path, BOOL create) const;
    // No key without a root path: the store never works at the hive's own root.
    RegistryKey OpenRootKey() const;
    // No key for a null section, without a root path, or for a root path and section of 256 characters
    // or more.
    RegistryKey OpenSection(const char* section, BOOL create) const;

    // Each value operation opens its section, does one value operation and closes it again. Reads of an
    // absent, mistyped or unreadable value give the default; writes report success only.
    int ReadInt(const char* section, const char* name, int defaultValue) const;
    BOOL WriteInt(const char* section, const char* name, int value);
    std::string ReadString(const char* section, const char* name, const char* defaultValue) const;
    BOOL WriteString(const char* section, const char* name, const char* text);
    // The number of bytes of a REG_BINARY value read into the buffer, 0 when nothing was read.
    DWORD ReadBinary(const char* section, const char* name, void* buffer, DWORD capacity) const;
    // A rectangle as the four values "<name>.left", ".top", ".right" and ".bottom".
    RECT ReadRect(const char* section, const char* name, const RECT& defaultRect) const;
    // Stops at the first write that fails; TRUE only when all four were stored.
    BOOL WriteRect(const char* section, const char* name, const RECT& rect);
    BOOL ValueExists(const char* section, const char* name) const;
    BOOL DeleteValue(const char* section, const char* name);
    BOOL DeleteSection(const char* section);
    BOOL DeleteRootKey();

    // String values longer than this are refused (read as absent): more than any value Windows 95 keeps.
    static constexpr DWORD kMaxStringBytes = kMaxRegistryTextBytes;

  protected:
    HKEY m_hive;
    std::string m_rootPath;
};
