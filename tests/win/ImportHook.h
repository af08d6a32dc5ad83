// Failure injection for tests of the Win32 layer.
#pragma once

#include <windows.h>

#include <string>

// Replaces one imported system function in this test program's import table for as long as it lives:
// a way to make a system call fail on purpose where nothing real can.
class ImportHook
{
  public:
    ImportHook(const char* dllName, const char* function, void* replacement)
    {
        auto* base = reinterpret_cast<BYTE*>(::GetModuleHandleA(nullptr));
        const auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
        const auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
        const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        for (auto* dll = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); dll->Name; ++dll)
        {
            if (::lstrcmpiA(reinterpret_cast<char*>(base + dll->Name), dllName) != 0)
                continue;
            auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->OriginalFirstThunk);
            auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->FirstThunk);
            for (; names->u1.AddressOfData; ++names, ++slots)
            {
                if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                    continue;
                const auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
                if (std::string(reinterpret_cast<const char*>(byName->Name)) != function)
                    continue;
                m_slot = reinterpret_cast<ULONG_PTR*>(&slots->u1.Function);
                m_original = *m_slot;
                Write(reinterpret_cast<ULONG_PTR>(replacement));
                return;
            }
        }
    }
    ~ImportHook()
    {
        if (m_slot)
            Write(m_original);
    }
    ImportHook(const ImportHook&) = delete;
    ImportHook& operator=(const ImportHook&) = delete;

    bool Installed() const { return m_slot != nullptr; }
    // The function the import table named before the hook.
    void* Original() const { return reinterpret_cast<void*>(m_original); }

  private:
    void Write(ULONG_PTR value)
    {
        DWORD old = 0;
        ::VirtualProtect(m_slot, sizeof *m_slot, PAGE_READWRITE, &old);
        *m_slot = value;
        ::VirtualProtect(m_slot, sizeof *m_slot, old, &old);
    }

    ULONG_PTR* m_slot = nullptr;
    ULONG_PTR m_original = 0;
};
