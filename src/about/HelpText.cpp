#include "about/HelpText.h"

#include <cstring>

std::string TextFromResourceBytes(const char* data, std::size_t size)
{
    if (!data || size == 0)
        return {};
    const void* nul = std::memchr(data, '\0', size);
    const std::size_t length = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - data) : size;
    std::string text(data, length);
    if (data[0] != '\0' && !text.empty() && text.back() == '\x02')
        text.pop_back();
    return text;
}
