// Reader of a file's version record (by default the program's own): fixed part and US-English strings.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

class VersionInfo
{
  public:
    // Loads the record of the file at once (null: the program's own, from its loaded image). A file
    // without a record leaves every lookup null.
    explicit VersionInfo(const char* fileName = nullptr);
    VersionInfo(const VersionInfo&) = delete;
    VersionInfo& operator=(const VersionInfo&) = delete;

    // A block of the record by its sub-block path ("\" is the fixed part), or null. Points into the
    // reader's buffer: valid while the reader lives.
    const void* QueryValue(const char* subBlock) const;
    // A string of the US-English Unicode table ("040904B0"), or null when absent.
    const char* GetStringValue(const char* name) const;
    // The company name up to its first blank: the program's registry key. Empty when absent.
    std::string GetCompanyKeyName() const;

  private:
    void LoadOwnRecord();

    std::unique_ptr<BYTE[]> m_record;
};
