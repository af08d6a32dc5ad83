// Any bytes as a text resource: the text is the bytes up to the first NUL, never longer than the
// resource, and loses exactly one trailing 0x02 end mark when the resource does not start with NUL.
#include "FuzzCheck.h"
#include "about/HelpText.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const char* bytes = reinterpret_cast<const char*>(data);
    const std::string text = TextFromResourceBytes(size ? bytes : nullptr, size);

    std::size_t end = 0;
    while (end < size && bytes[end] != '\0')
        ++end;
    const bool marked = end > 0 && bytes[end - 1] == '\x02';
    Check(text.size() == (marked ? end - 1 : end));
    Check(text.size() <= size);
    Check(text.empty() || std::memcmp(text.data(), bytes, text.size()) == 0);
    Check(text.find('\0') == std::string::npos);
    // Only one mark goes: a text that still ends in 0x02 had two of them.
    if (!text.empty() && text.back() == '\x02')
        Check(end >= 2 && bytes[end - 2] == '\x02');
    return 0;
}
