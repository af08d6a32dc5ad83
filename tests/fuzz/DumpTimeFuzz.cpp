// Arbitrary field values for the dump's time text, and arbitrary counts and time texts for the dump:
// nothing may crash, the time text stays within its bound and is empty exactly when a field is out
// of range, and the dump always has 8 lines plus the held entry count.
#include "FuzzCheck.h"
#include "palette/TextDump.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace
{
int TakeInt(const std::uint8_t*& data, std::size_t& size)
{
    std::uint32_t value = 0;
    const std::size_t n = size < sizeof value ? size : sizeof value;
    std::memcpy(&value, data, n);
    data += n;
    size -= n;
    return static_cast<int>(value);
}

bool InRange(int value, int low, int high)
{
    return value >= low && value <= high;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    LocalTimeFields time{};
    time.year = TakeInt(data, size);
    time.month = TakeInt(data, size);
    time.day = TakeInt(data, size);
    time.weekday = TakeInt(data, size);
    time.hour = TakeInt(data, size);
    time.minute = TakeInt(data, size);
    time.second = TakeInt(data, size);
    const int entryCount = TakeInt(data, size);

    const std::string text = FormatDumpTime(&time);
    const bool valid = InRange(time.year, 0, 9999) && InRange(time.month, 1, 12) && InRange(time.day, 1, 31) &&
                       InRange(time.weekday, 0, 6) && InRange(time.hour, 0, 23) && InRange(time.minute, 0, 59) &&
                       InRange(time.second, 0, 60);
    Check(text.empty() != valid);
    // "Wednesday, September 30, 2026 @23:59:59" is the longest a time text can be.
    Check(text.size() <= 39);
    Check(text.find('\n') == std::string::npos);

    // The rest of the input as a caller's time text, whatever it holds.
    const std::string timeText(reinterpret_cast<const char*>(data), size);
    PaletteSnapshot captured = EmptySnapshot(256);
    for (int i = 0; i < 256; ++i)
        captured.palPalEntry[i] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i * 3),
                                   static_cast<std::uint8_t>(i * 7), 0xFF};
    const std::vector<std::string> lines = FormatTextDump(captured, entryCount, timeText);
    const std::size_t count = entryCount < 0 ? 0 : entryCount > 256 ? 256 : static_cast<std::size_t>(entryCount);
    Check(lines.size() == 8 + count);
    Check(lines[4] == "Time: " + timeText + "\n");
    for (std::size_t i = 8; i < lines.size(); ++i)
        Check(lines[i].size() == 19);
    return 0;
}
