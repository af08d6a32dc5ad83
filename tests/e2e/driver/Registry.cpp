#include "driver/Registry.h"

#include "common/Registry.h"
#include "driver/Files.h"
#include "driver/Process.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

const char* VexaKey()
{
    // The machine field of the program's PE header.
    static const char* const key = [] {
        const std::vector<unsigned char> bytes = ReadFileBytes(VexaExePath());
        DWORD header = 0;
        WORD machine = 0;
        if (bytes.size() >= 0x40)
            std::memcpy(&header, bytes.data() + 0x3C, sizeof header);
        if (header + 6 <= bytes.size())
            std::memcpy(&machine, bytes.data() + header + 4, sizeof machine);
        return machine == IMAGE_FILE_MACHINE_I386 ? "Software\\WOW6432Node\\Quillon\\Vexa" : "Software\\Quillon\\Vexa";
    }();
    return key;
}

void ResetVexaSettings(bool firstStart)
{
    ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, VexaKey());
    if (firstStart)
        return;
    PutInt("CurrentVersion", "Version", 0x00010007);
    PutString("CurrentVersion", "Path", VexaExePath());
}

LONG PutValue(const char* section, const char* name, DWORD type, const std::string& bytes)
{
    return WriteRegistryValue(HKEY_LOCAL_MACHINE, std::string(VexaKey()) + "\\" + section, name, type, bytes.data(),
                              static_cast<DWORD>(bytes.size()));
}

void PutInt(const char* section, const char* name, LONG value)
{
    PutValue(section, name, REG_DWORD, std::string(reinterpret_cast<const char*>(&value), sizeof value));
}

void PutString(const char* section, const char* name, const std::string& text)
{
    PutValue(section, name, REG_SZ, text + '\0');
}

void PutBounds(RECT bounds)
{
    PutInt("Window", "Bounds.left", bounds.left);
    PutInt("Window", "Bounds.top", bounds.top);
    PutInt("Window", "Bounds.right", bounds.right);
    PutInt("Window", "Bounds.bottom", bounds.bottom);
}

HKEY OpenVexaKey(const std::string& sub, REGSAM access)
{
    HKEY key = nullptr;
    const std::string path = sub.empty() ? std::string(VexaKey()) : std::string(VexaKey()) + "\\" + sub;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, access, &key) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

namespace
{
// Values in name order: the registry's own enumeration order differs between Windows and Wine.
void ExportKey(HKEY key, const std::string& name, std::string& out)
{
    out += "[" + name + "]\n";
    std::vector<std::string> lines;
    char value[512];
    BYTE data[1024];
    for (DWORD i = 0;; ++i)
    {
        DWORD nameLength = sizeof value;
        DWORD size = sizeof data;
        DWORD type = 0;
        if (::RegEnumValueA(key, i, value, &nameLength, nullptr, &type, data, &size) != ERROR_SUCCESS)
            break;
        char line[128];
        if (type == REG_DWORD && size == 4)
            std::snprintf(line, sizeof line, "dword:%ld", static_cast<long>(*reinterpret_cast<LONG*>(data)));
        else if (type == REG_SZ)
            std::snprintf(line, sizeof line, "sz:");
        else
            std::snprintf(line, sizeof line, "type%lu:%lu bytes", type, size);
        std::string text = line;
        if (type == REG_SZ)
            text += std::string(reinterpret_cast<char*>(data), size).c_str();
        lines.push_back(std::string(value) + "=" + text + "\n");
    }
    std::sort(lines.begin(), lines.end());
    for (const std::string& line : lines)
        out += line;
    char subName[256];
    for (DWORD i = 0;; ++i)
    {
        DWORD length = sizeof subName;
        if (::RegEnumKeyExA(key, i, subName, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        HKEY sub = nullptr;
        if (::RegOpenKeyExA(key, subName, 0, KEY_READ, &sub) == ERROR_SUCCESS)
        {
            ExportKey(sub, name + "\\" + subName, out);
            ::RegCloseKey(sub);
        }
    }
}
} // namespace

std::string ExportVexaSettings()
{
    std::string out;
    if (HKEY key = OpenVexaKey("", KEY_READ))
    {
        ExportKey(key, "Vexa", out);
        ::RegCloseKey(key);
    }
    return out;
}

std::string BoundsText(const RECT& r)
{
    return "Bounds.bottom=dword:" + std::to_string(r.bottom) + "\nBounds.left=dword:" + std::to_string(r.left) +
           "\nBounds.right=dword:" + std::to_string(r.right) + "\nBounds.top=dword:" + std::to_string(r.top) + "\n";
}

RegistryWatch::RegistryWatch()
{
    m_event = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    m_key = OpenVexaKey("", KEY_NOTIFY);
    if (m_key)
        m_armed = ::RegNotifyChangeKeyValue(m_key, TRUE, REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET, m_event,
                                            TRUE) == ERROR_SUCCESS;
}

RegistryWatch::~RegistryWatch()
{
    if (m_key)
        ::RegCloseKey(m_key);
    ::CloseHandle(m_event);
}
