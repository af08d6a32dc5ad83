#include "settings/RegistryValue.h"

#include <cstring>

std::optional<std::int32_t> NumberFromRegistryValue(std::uint32_t type, const void* data, std::size_t size)
{
    if (type != kRegistryNumber || size != 4 || !data)
        return std::nullopt;
    const auto* bytes = static_cast<const unsigned char*>(data);
    const std::uint32_t value = bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (std::uint32_t{bytes[3]} << 24);
    return static_cast<std::int32_t>(value);
}

bool IsRegistryTextValue(std::uint32_t type, std::size_t size)
{
    return type == kRegistryText && size <= kMaxRegistryTextBytes;
}

std::optional<std::string> TextFromRegistryValue(std::uint32_t type, const void* data, std::size_t size)
{
    if (!IsRegistryTextValue(type, size) || (!data && size > 0))
        return std::nullopt;
    if (size == 0)
        return std::string();
    const auto* text = static_cast<const char*>(data);
    const void* nul = std::memchr(text, '\0', size);
    return std::string(text, nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - text) : size);
}
