// Pieces of file names in the system's ANSI code page, free of Win32: in a double-byte code page
// (932, 936, 949, 950) the second byte of a character can equal '\\', '/' or '|', so names are walked a
// character at a time with the code page's lead-byte test rather than searched byte by byte.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// True for a byte that starts a two-byte character in the code page of the names.
using LeadBytePredicate = bool (*)(unsigned char);

// Where the file name starts: after the last backslash or slash of the path, or 0 without one.
std::size_t FileNameOffset(std::string_view path, LeadBytePredicate isLeadByte);

// The extension of the name the file system stores for the path: the text after the last period of
// the file name once its trailing periods and spaces are gone (the file system drops them), so
// "pic.bmp." has "bmp". Empty when the name has no period.
std::string StoredFileExtension(std::string_view path, LeadBytePredicate isLeadByte);

// Replaces every character that is the single byte from by to; bytes inside two-byte characters stay.
void ReplaceSingleByteCharacters(std::string& text, char from, char to, LeadBytePredicate isLeadByte);
