#include "framework/ErrorText.h"

std::string_view FileErrorPattern(FileCause cause)
{
    switch (cause)
    {
    case FileCause::none: return "No error occurred while accessing %1.";
    case FileCause::fileNotFound: return "%1 was not found.";
    case FileCause::badPath: return "%1 contains an invalid path.";
    case FileCause::tooManyOpenFiles: return "%1 could not be opened because there are too many open files.";
    case FileCause::accessDenied: return "Access to %1 was denied.";
    case FileCause::invalidFile: return "An invalid file handle was associated with %1.";
    case FileCause::removeCurrentDir: return "%1 could not be removed because it is the current directory.";
    case FileCause::directoryFull: return "%1 could not be created because the directory is full.";
    case FileCause::badSeek: return "Seek failed on %1.";
    case FileCause::hardIO: return "A hardware I/O error was reported while accessing %1.";
    case FileCause::sharingViolation: return "A sharing violation occurred while accessing %1.";
    case FileCause::lockViolation: return "A locking violation occurred while accessing %1.";
    case FileCause::diskFull: return "Disk full while accessing %1.";
    case FileCause::endOfFile: return "An attempt was made to access %1 past its end.";
    case FileCause::genericException: break;
    }
    return "An unknown error occurred while accessing %1.";
}

std::string FileErrorText(FileCause cause, std::string_view fileName)
{
    return FormatNumbered(FileErrorPattern(cause), {fileName.empty() ? kTextUnnamedFile : fileName});
}

std::string FormatNumbered(std::string_view pattern, std::initializer_list<std::string_view> arguments)
{
    std::string text;
    text.reserve(pattern.size());
    for (std::size_t i = 0; i < pattern.size(); ++i)
    {
        const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        if (pattern[i] == '%' && next >= '1' && next <= '9')
        {
            const std::size_t n = static_cast<std::size_t>(next - '1');
            if (n < arguments.size())
                text += arguments.begin()[n];
            ++i;
        }
        else
        {
            text += pattern[i];
        }
    }
    return text;
}
