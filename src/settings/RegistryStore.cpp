#include "settings/RegistryStore.h"

#include "framework/Exceptions.h"
#include "framework/WinApp.h"
#include "settings/RegistryValue.h"

#include <new>

namespace
{
// Both ways of opening ask for writing too: the settings are read and written through the same keys.
constexpr REGSAM kAccess = KEY_READ | KEY_WRITE;
// The buffer in which a section's path is formed: root path and section name stay below this.
constexpr std::size_t kSectionPathBuffer = 256;

bool IsEmpty(const char* text)
{
    return !text || !*text;
}

std::string AppRootPath(const char* product)
{
    return std::string("Software\\") + AfxGetApp()->m_pszRegistryKey + '\\' + product + '\\';
}

bool AppHasRegistryKey()
{
    const CWinApp* app = AfxGetApp();
    return app && !IsEmpty(app->m_pszRegistryKey);
}
} // namespace

RegistryStore::RegistryStore(HKEY hive, const char* rootPath) : m_hive(hive ? hive : HKEY_LOCAL_MACHINE)
{
    SetRootPath(rootPath);
}

void RegistryStore::SetRootPath(const char* path)
{
    if (!IsEmpty(path))
        m_rootPath = path;
    else if (AppHasRegistryKey() && !IsEmpty(AfxGetApp()->m_pszProfileName))
        m_rootPath = AppRootPath(AfxGetApp()->m_pszProfileName);
    else
        m_rootPath.clear();
}

void RegistryStore::SetProductRoot(const char* product)
{
    if (IsEmpty(product) || !AppHasRegistryKey())
        throw CUserException();
    SetRootPath(AppRootPath(product).c_str());
}

BOOL RegistryStore::EnterSubkey(const char* name)
{
    if (IsEmpty(name))
        throw CUserException();
    SetRootPath((m_rootPath + name + '\\').c_str());
    return TRUE;
}

BOOL RegistryStore::LeaveSubkey()
{
    if (m_rootPath.size() < 2)
        return FALSE;
    const std::size_t slash = m_rootPath.find_last_of('\\', m_rootPath.size() - 2);
    if (slash == std::string::npos)
        return FALSE;
    m_rootPath.resize(slash + 1);
    return TRUE;
}

RegistryKey RegistryStore::OpenKey(HKEY parent, const char* path, BOOL create) const
{
    HKEY key = nullptr;
    const LONG status =
        create ? ::RegCreateKeyExA(parent, path, 0, nullptr, REG_OPTION_NON_VOLATILE, kAccess, nullptr, &key, nullptr)
               : ::RegOpenKeyExA(parent, path, 0, kAccess, &key);
    return RegistryKey(status == ERROR_SUCCESS ? key : nullptr);
}

RegistryKey RegistryStore::OpenRootKey() const
{
    // Without a root path the key would be the hive itself, which holds other programs' keys.
    if (m_rootPath.empty())
        return {};
    return OpenKey(m_hive, m_rootPath.c_str(), FALSE);
}

RegistryKey RegistryStore::OpenSection(const char* section, BOOL create) const
{
    // Sections right below the hive would be shared with the whole machine: a store without a root
    // path reads its defaults and writes nothing.
    if (!section || m_rootPath.empty())
        return {};
    std::string path = m_rootPath + section;
    if (path.size() >= kSectionPathBuffer)
        return {};
    return OpenKey(m_hive, path.c_str(), create);
}

int RegistryStore::ReadInt(const char* section, const char* name, int defaultValue) const
{
    const RegistryKey key = OpenSection(section, FALSE);
    if (!key)
        return defaultValue;
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    if (::RegQueryValueExA(key.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS)
        return defaultValue;
    return NumberFromRegistryValue(type, &value, size).value_or(defaultValue);
}

BOOL RegistryStore::WriteInt(const char* section, const char* name, int value)
{
    const RegistryKey key = OpenSection(section, TRUE);
    if (!key)
        return FALSE;
    const DWORD data = static_cast<DWORD>(value);
    return ::RegSetValueExA(key.Get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data) ==
           ERROR_SUCCESS;
}

std::string RegistryStore::ReadString(const char* section, const char* name, const char* defaultValue) const
{
    const std::string fallback = defaultValue ? defaultValue : "";
    const RegistryKey key = OpenSection(section, FALSE);
    if (!key)
        return fallback;
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExA(key.Get(), name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        !IsRegistryTextValue(type, size))
        return fallback;
    std::string buffer;
    try
    {
        buffer.assign(static_cast<std::size_t>(size), '\0');
    }
    catch (const std::bad_alloc&)
    {
        return {};
    }
    if (::RegQueryValueExA(key.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size) !=
        ERROR_SUCCESS)
        return fallback;
    // The value may have changed since the first query: the second answer is judged afresh.
    return TextFromRegistryValue(type, buffer.data(), size).value_or(fallback);
}

BOOL RegistryStore::WriteString(const char* section, const char* name, const char* text)
{
    if (!text)
        return FALSE;
    const RegistryKey key = OpenSection(section, TRUE);
    if (!key)
        return FALSE;
    const DWORD size = static_cast<DWORD>(std::char_traits<char>::length(text) + 1);
    return ::RegSetValueExA(key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), size) == ERROR_SUCCESS;
}

DWORD RegistryStore::ReadBinary(const char* section, const char* name, void* buffer, DWORD capacity) const
{
    if (!buffer)
        return 0;
    const RegistryKey key = OpenSection(section, FALSE);
    if (!key)
        return 0;
    DWORD type = 0;
    DWORD size = capacity;
    if (::RegQueryValueExA(key.Get(), name, nullptr, &type, static_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS ||
        type != REG_BINARY)
        return 0;
    return size;
}

RECT RegistryStore::ReadRect(const char* section, const char* name, const RECT& defaultRect) const
{
    const std::string base = name ? name : "";
    return {ReadInt(section, (base + ".left").c_str(), defaultRect.left),
            ReadInt(section, (base + ".top").c_str(), defaultRect.top),
            ReadInt(section, (base + ".right").c_str(), defaultRect.right),
            ReadInt(section, (base + ".bottom").c_str(), defaultRect.bottom)};
}

BOOL RegistryStore::WriteRect(const char* section, const char* name, const RECT& rect)
{
    const std::string base = name ? name : "";
    return WriteInt(section, (base + ".left").c_str(), rect.left) &&
           WriteInt(section, (base + ".top").c_str(), rect.top) &&
           WriteInt(section, (base + ".right").c_str(), rect.right) &&
           WriteInt(section, (base + ".bottom").c_str(), rect.bottom);
}

BOOL RegistryStore::ValueExists(const char* section, const char* name) const
{
    const RegistryKey key = OpenSection(section, FALSE);
    return key && ::RegQueryValueExA(key.Get(), name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

BOOL RegistryStore::DeleteValue(const char* section, const char* name)
{
    const RegistryKey key = OpenSection(section, FALSE);
    return key && ::RegDeleteValueA(key.Get(), name) == ERROR_SUCCESS;
}

BOOL RegistryStore::DeleteSection(const char* section)
{
    // An empty name would make the root key itself the one to delete.
    if (IsEmpty(section))
        return FALSE;
    const RegistryKey root = OpenRootKey();
    return root && ::RegDeleteKeyA(root.Get(), section) == ERROR_SUCCESS;
}

BOOL RegistryStore::DeleteRootKey()
{
    std::string path = m_rootPath;
    if (!path.empty() && path.back() == '\\')
        path.pop_back();
    // Without a root path there is no key of ours to delete, only the hive.
    if (path.empty())
        return FALSE;
    return ::RegDeleteKeyA(m_hive, path.c_str()) == ERROR_SUCCESS;
}
