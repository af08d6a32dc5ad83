// What vexapal asks of the operating system beyond the C++ standard library, one source file per
// system: its arguments, files opened by their UTF-8 names, a new file created and put in place, its
// removal when the program is interrupted, and whether standard output is a terminal.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

// The arguments after the program's name, in UTF-8. Windows gives them as it keeps them, whatever the
// ANSI code page can spell; argv is used elsewhere.
std::vector<std::string> ProgramArguments(int argc, char** argv);

// Makes a console show the UTF-8 that vexapal prints (file names, GIMP's colour names): on Windows, a
// console's output code page is UTF-8 while the program runs.
void PrepareConsoleForUtf8();

// Whether standard output is a terminal that shows colours (on Windows, one that takes colour escapes).
bool IsColourTerminal();

// Opens the file to read, in binary. Null with errno set when it cannot.
std::FILE* OpenToRead(const std::string& path);

// Creates the file to write, in binary: never one that exists, and never through a link of that name.
// Null with the system's reason when it cannot; taken says that the name was taken.
std::FILE* CreateNewFile(const std::string& path, bool& taken, std::string& reason);

// From now on Ctrl+C or a termination signal removes the file of that name before the program ends;
// an empty name stops that.
void RemoveOnInterrupt(const std::string& path);

// Removes the file; false when it cannot.
bool RemoveFile(const std::string& path);

// Pushes what was written to the file out to the disk. False with the system's reason when it fails.
bool SyncFile(std::FILE* file, std::string& reason);

// Renames from to to in one step, replacing a file of that name. False with the system's reason.
bool MoveIntoPlace(const std::string& from, const std::string& to, std::string& reason);
