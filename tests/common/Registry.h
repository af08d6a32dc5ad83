// Sets who may do what with a registry key, so that tests can make Vexa meet a key it may not write.
#pragma once

#include <windows.h>

#include <aclapi.h>

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
