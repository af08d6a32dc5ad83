// A registry store that is also a settings record: defaults, load, save and a modified flag.
#pragma once

#include "settings/RegistryStore.h"

class PersistentSettings : public RegistryStore
{
  public:
    PersistentSettings(HKEY hive, const char* rootPath) : RegistryStore(hive, rootPath) {}

    virtual void PrepareSave() {}
    // SetDefaults, Load and Save each leave the record unmodified: memory then matches the registry.
    virtual void SetDefaults() { m_modified = 0; }
    virtual void Load() { m_modified = 0; }
    virtual void Save() { m_modified = 0; }
    virtual BOOL IsModified() { return m_modified; }

    // Nonzero once a value in memory differs from what was last loaded, saved or defaulted.
    int m_modified = 0;
};
