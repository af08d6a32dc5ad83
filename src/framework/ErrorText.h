// The framework's standard report texts and its numbered-argument formatting, free of Win32.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// Causes of a file error, numbered as the framework numbers them.
enum class FileCause : int
{
    none = 0,
    genericException = 1,
    fileNotFound = 2,
    badPath = 3,
    tooManyOpenFiles = 4,
    accessDenied = 5,
    invalidFile = 6,
    removeCurrentDir = 7,
    directoryFull = 8,
    badSeek = 9,
    hardIO = 10,
    sharingViolation = 11,
    lockViolation = 12,
    diskFull = 13,
    endOfFile = 14,
};

inline constexpr std::string_view kTextOutOfMemory = "Out of memory.";
inline constexpr std::string_view kTextResourceFailure = "A required resource was unavailable.";
inline constexpr std::string_view kTextNotSupported = "An unsupported operation was attempted.";
inline constexpr std::string_view kTextCommandFailed = "Command failed.";
inline constexpr std::string_view kTextUnnamedFile = "an unnamed file";

// The message pattern for a file error of that cause, with %1 standing for the file name.
std::string_view FileErrorPattern(FileCause cause);

// The full text of a file error: the pattern with the file name, or "an unnamed file" without one.
std::string FileErrorText(FileCause cause, std::string_view fileName);

// Replaces %1..%9 by the matching argument (an empty text for a missing one); other text is copied.
std::string FormatNumbered(std::string_view pattern, std::initializer_list<std::string_view> arguments);
