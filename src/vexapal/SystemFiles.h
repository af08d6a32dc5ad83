// What vexapal asks of the operating system beyond the C++ standard library, one source file per
// system: its arguments, files opened by their UTF-8 names, a new file created and put in place, its
// removal when the program is interrupted, and whether standard output is a terminal.
#pragma once

#include <cstddef>
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

// The file that writing to a name makes or replaces, and what it keeps of the one it replaces.
struct OutputFile
{
    std::string path;     // the name, or the file that a link of that name leads to
    bool exists = false;  // a regular file is there
    unsigned mode = 0;    // its permissions (not on Windows)
    long long owner = -1; // its owner and group (not on Windows)
    long long group = -1;
};

// Where writing to the name puts the file: the name itself, or for a link the file it leads to (in that
// file's folder, the link kept). False with the reason when the name is something other than a file or a
// folder (which fails when replaced), or a link to one: a pipe, a device (on Windows also NUL, CON, COM1)
// or a socket; on Windows also a reparse point that is not a plain link.
bool FindOutputFile(const std::string& path, OutputFile& output, std::string& reason);

// The longest name, in bytes of UTF-8, that the folder of the file takes.
std::size_t NameLimit(const std::string& path);

// Creates the file to write, in binary and readable by the owner alone: never one that exists, and never
// through a link of that name. It is removed on an interrupt (see RemoveOnInterrupt) from the moment it
// exists. Null with the system's reason when it cannot; taken says that the name was taken.
std::FILE* CreateNewFile(const std::string& path, bool& taken, std::string& reason);

// Gives the file that replaces output the permissions of the one there, and its owner and group where the
// process may; a new file gets the usual ones (0666 less the umask). False with the system's reason.
bool GivePermissions(std::FILE* file, const OutputFile& output, std::string& reason);

// From now on Ctrl+C or a termination signal removes the file of that name before the program ends;
// an empty name stops that.
void RemoveOnInterrupt(const std::string& path);

// Removes the file; false when it cannot.
bool RemoveFile(const std::string& path);

// Pushes what was written to the file out to the disk. False with the system's reason when it fails.
bool SyncFile(std::FILE* file, std::string& reason);

// Renames from to to in one step, replacing a file of that name. False with the system's reason.
bool MoveIntoPlace(const std::string& from, const std::string& to, std::string& reason);
