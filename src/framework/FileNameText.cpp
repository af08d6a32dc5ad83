#include "framework/FileNameText.h"

namespace
{
// The length of the character at offset i: two bytes for a lead byte with a byte after it.
std::size_t CharacterLength(std::string_view text, std::size_t i, LeadBytePredicate isLeadByte)
{
    return isLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
}
} // namespace

std::size_t FileNameOffset(std::string_view path, LeadBytePredicate isLeadByte)
{
    std::size_t offset = 0;
    for (std::size_t i = 0; i < path.size();)
    {
        const std::size_t length = CharacterLength(path, i, isLeadByte);
        if (length == 1 && (path[i] == '\\' || path[i] == '/'))
            offset = i + 1;
        i += length;
    }
    return offset;
}

std::string StoredFileExtension(std::string_view path, LeadBytePredicate isLeadByte)
{
    const std::string_view name = path.substr(FileNameOffset(path, isLeadByte));
    std::size_t end = 0;                          // after the last character that is no period or space
    std::size_t dot = std::string_view::npos;     // the last period so far
    std::size_t lastDot = std::string_view::npos; // the last period before end
    for (std::size_t i = 0; i < name.size();)
    {
        const std::size_t length = CharacterLength(name, i, isLeadByte);
        if (length == 1 && name[i] == '.')
        {
            dot = i;
        }
        else if (length == 2 || name[i] != ' ')
        {
            end = i + length;
            lastDot = dot;
        }
        i += length;
    }
    return lastDot == std::string_view::npos ? std::string() : std::string(name.substr(lastDot + 1, end - lastDot - 1));
}

void ReplaceSingleByteCharacters(std::string& text, char from, char to, LeadBytePredicate isLeadByte)
{
    for (std::size_t i = 0; i < text.size();)
    {
        const std::size_t length = CharacterLength(text, i, isLeadByte);
        if (length == 1 && text[i] == from)
            text[i] = to;
        i += length;
    }
}
