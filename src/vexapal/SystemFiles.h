// What vexapal asks of the operating system beyond the C++ standard library, one source file per
// system: putting a finished file in place and finding out whether standard output is a terminal.
#pragma once

#include <cstdio>
#include <string>

// Whether standard output is a terminal that shows colours (on Windows, one that takes colour escapes).
bool IsColourTerminal();

// A number that no other running process has, for temporary file names.
unsigned long CurrentProcessId();

// Pushes what was written to the file out to the disk. False with the system's reason when it fails.
bool SyncFile(std::FILE* file, std::string& reason);

// Renames from to to in one step, replacing a file of that name. False with the system's reason.
bool MoveIntoPlace(const std::string& from, const std::string& to, std::string& reason);
