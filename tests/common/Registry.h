// Registry helpers of the Wine and end-to-end tests: values stored the way another program would, and
// who may do what with a key, so that tests can make Vexa meet a key it may not write.
#pragma once

#include <windows.h>

#include <aclapi.h>

#include <string>

// Stores a value of any type and size below the root, making the key as needed; the first error, or
// ERROR_SUCCESS.
inline LONG WriteRegistryValue(HKEY root, const std::string& path, const char* name, DWORD type, const void* data,
                               DWORD size)
{
    HKEY key = nullptr;
    LONG status = ::RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS)
        return status;
    status = ::RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    ::RegCloseKey(key);
    return status;
}

// Gives everyone exactly the access to the open key (opened with WRITE_DAC).
inline void SetKeyAccess(HKEY key, DWORD access)
{
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    ::AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone);
    EXPLICIT_ACCESSA entry{};
    entry.grfAccessPermissions = access;
    entry.grfAccessMode = SET_ACCESS;
    entry.grfInheritance = NO_INHERITANCE;
    entry.Trustee.TrusteeForm = TRUSTEE_IS_SID;
    entry.Trustee.ptstrName = static_cast<LPSTR>(everyone);
    PACL acl = nullptr;
    ::SetEntriesInAclA(1, &entry, nullptr, &acl);
    SECURITY_DESCRIPTOR descriptor;
    ::InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    ::SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE);
    ::RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &descriptor);
    ::LocalFree(acl);
    ::FreeSid(everyone);
}

// Gives everyone exactly the access to a key and every key below it. The key's own access is set
// first and its subkeys are then listed through it, so the access must include listing (KEY_READ).
inline void SetTreeAccess(HKEY parent, const std::string& path, DWORD access)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExA(parent, path.c_str(), 0, WRITE_DAC, &key) != ERROR_SUCCESS)
        return;
    SetKeyAccess(key, access);
    ::RegCloseKey(key);
    if (::RegOpenKeyExA(parent, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    char name[256];
    for (DWORD i = 0;; ++i)
    {
        DWORD length = sizeof name;
        if (::RegEnumKeyExA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        SetTreeAccess(key, name, access);
    }
    ::RegCloseKey(key);
}
