// Files the tests give Vexa and take from it, and what the exe under test holds.
#pragma once

#include "common/Files.h"
#include "driver/Process.h"

#include <windows.h>

#include <string>
#include <vector>

// A fresh folder under the temporary folder, removed with its files at the end.
class ScratchFolder : NoCopy
{
  public:
    ScratchFolder();
    ~ScratchFolder();
    // The path of a file in the folder; the names of the files it holds.
    std::string Path(const std::string& name) const { return m_path + "\\" + name; }
    std::vector<std::string> Files() const { return FilesIn(m_path); }

  private:
    std::string m_path;
};

// The bytes of a file, shared with writers; empty when it cannot be read.
std::vector<unsigned char> ReadFileBytes(const std::string& path);
// Makes or replaces a file with the bytes.
void WriteFileBytes(const std::string& path, const std::vector<unsigned char>& bytes);

// The bytes of a custom resource of Vexa.exe (read as a data file); empty when it has none.
std::string ExeResourceBytes(const char* name, const char* type);
// A string value of Vexa.exe's US-English version table; empty when absent.
std::string ExeVersionString(const char* name);
