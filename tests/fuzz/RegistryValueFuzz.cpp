// Any type and any bytes as a stored registry value: a number only from a four-byte REG_DWORD, a text
// only from a REG_SZ within the size limit, ended at its first NUL, and nothing read past the value.
// Input: the type (4 bytes, little-endian), a length byte, then the value's bytes. A length byte whose
// low four bits are all set stands for a value near the size limit, made by repeating the rest.
#include "FuzzCheck.h"
#include "settings/RegistryValue.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace
{
std::vector<unsigned char> ValueBytes(std::uint8_t lengthByte, const std::uint8_t* rest, std::size_t restSize)
{
    if ((lengthByte & 0x0F) != 0x0F)
        return {rest, rest + restSize};
    // From 8 bytes below the limit to 7 above it: rare, since each such run costs a long value.
    const std::size_t size = kMaxRegistryTextBytes - 8 + (lengthByte >> 4);
    std::vector<unsigned char> bytes(size, 'x');
    if (restSize == 0)
        return bytes;
    // The rest of the input repeated, by doubling what is already there.
    std::size_t filled = restSize < size ? restSize : size;
    std::memcpy(bytes.data(), rest, filled);
    while (filled < size)
    {
        const std::size_t step = filled < size - filled ? filled : size - filled;
        std::memcpy(bytes.data() + filled, bytes.data(), step);
        filled += step;
    }
    return bytes;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::uint32_t type = 0;
    std::memcpy(&type, data, size < 4 ? size : 4);
    const std::size_t used = size < 5 ? size : 5;
    const std::uint8_t lengthByte = size > 4 ? data[4] : 0;
    // Exactly the value's bytes on the heap, so that the address sanitizer sees any read past them.
    const std::vector<unsigned char> value = ValueBytes(lengthByte, data + used, size - used);
    const unsigned char* bytes = value.empty() ? nullptr : value.data();

    const std::optional<std::int32_t> number = NumberFromRegistryValue(type, bytes, value.size());
    Check(number.has_value() == (type == 4 && value.size() == 4));
    if (number)
    {
        std::int32_t expected = 0;
        std::memcpy(&expected, bytes, 4);
        Check(*number == expected);
    }

    const bool isText = type == 1 && value.size() <= 64 * 1024;
    Check(IsRegistryTextValue(type, value.size()) == isText);
    const std::optional<std::string> text = TextFromRegistryValue(type, bytes, value.size());
    Check(text.has_value() == isText);
    if (text)
    {
        std::size_t end = 0;
        while (end < value.size() && value[end] != 0)
            ++end;
        Check(text->size() == end);
        Check(end == 0 || std::memcmp(text->data(), bytes, end) == 0);
        Check(std::strlen(text->c_str()) == text->size());
    }
    return 0;
}
