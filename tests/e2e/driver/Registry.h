// Vexa's settings in the registry as the tests set and read them: stored values, the whole key as
// text, and a watch for any write below it.
#pragma once

#include "driver/Process.h"

#include <windows.h>

#include <string>

// Vexa's settings key below HKEY_LOCAL_MACHINE as this 64-bit program sees it: Software\Quillon\Vexa
// for a 64-bit Vexa.exe, Software\WOW6432Node\Quillon\Vexa for a 32-bit one, which 64-bit Windows keeps in
// the registry's 32-bit view. The path rather than KEY_WOW64_32KEY: Wine emulating Windows 95 ignores a
// key's access mask, that flag with it.
const char* VexaKey();

// Deletes Vexa's whole settings key. Unless firstStart, then stores the install record of the exe under
// test (Path and Version 1.7), so that the program starts without its first-start About and help.
void ResetVexaSettings(bool firstStart = false);

// Stores a value of any type in a section of Vexa's key ("View", ...); the first error, or ERROR_SUCCESS.
LONG PutValue(const char* section, const char* name, DWORD type, const std::string& bytes);
// Stores a REG_DWORD value in a section of Vexa's key.
void PutInt(const char* section, const char* name, LONG value);
// Stores a REG_SZ value in a section of Vexa's key.
void PutString(const char* section, const char* name, const std::string& text);
// Stores the window rectangle Vexa reopens at (Window\Bounds.*).
void PutBounds(RECT bounds);

// Opens Vexa's key or a section of it (sub: "" for the key itself); null when it is absent.
HKEY OpenVexaKey(const std::string& sub, REGSAM access);
// The whole HKLM\Software\Quillon\Vexa tree as text, one line per key and value, values in name order;
// "" when it is absent.
std::string ExportVexaSettings();
// The four "Bounds" lines of ExportVexaSettings for a rectangle.
std::string BoundsText(const RECT& r);

// Signals any value or key written below Vexa's key from the moment it is made (the key must exist).
class RegistryWatch : NoCopy
{
  public:
    RegistryWatch();
    ~RegistryWatch();

    // Whether the watch is set; whether anything was written since.
    bool Armed() const { return m_armed; }
    bool Written() const { return ::WaitForSingleObject(m_event, 0) == WAIT_OBJECT_0; }

  private:
    HANDLE m_event = nullptr;
    HKEY m_key = nullptr;
    bool m_armed = false;
};
