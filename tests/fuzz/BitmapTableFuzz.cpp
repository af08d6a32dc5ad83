// Any bytes as the head of a bitmap file: the reader must give a verdict and an entry count that agree
// with an independent reading of the checks, read nothing past the input, and on success return
// exactly the table's bytes after the info header and zeros after it. Inputs long enough to serve as
// a palette also go through the writer and back.
#include "FuzzCheck.h"
#include "palette/BitmapFormat.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace
{
std::uint64_t Little(const std::uint8_t* bytes, int size)
{
    std::uint64_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | bytes[i];
    return value;
}

// The entry count the file must give (0: refused), with the verdict.
BitmapVerdict ExpectedVerdict(const std::uint8_t* data, std::size_t size, int& entries)
{
    entries = 0;
    if (size < 14 || data[0] != 'B' || data[1] != 'M')
        return BitmapVerdict::genericFileError;
    if (size < 54 || data[28] != 8 || data[29] != 0)
        return BitmapVerdict::notSupported;
    const std::uint64_t infoSize = Little(data + 14, 4);
    const std::uint64_t used = Little(data + 46, 4);
    const std::uint64_t count = used == 0 || used > 256 ? 256 : used;
    if (infoSize < 40 || infoSize > 124 || size < 14 + infoSize + 4 * count)
        return BitmapVerdict::notSupported;
    entries = static_cast<int>(count);
    return BitmapVerdict::ok;
}

void CheckRoundTrip(const std::uint8_t* data)
{
    PaletteSnapshot captured = EmptySnapshot(256);
    std::memcpy(captured.palPalEntry, data, sizeof captured.palPalEntry);
    const std::vector<std::uint8_t> file = BuildBitmapFile(captured);
    Check(file.size() == kBitmapFileSize);
    const BitmapTableResult back = ReadBitmapColourTable(file.data(), file.size());
    Check(back.verdict == BitmapVerdict::ok && back.entryCount == 256);
    for (int i = 0; i < 256; ++i)
    {
        const PaletteEntry& in = captured.palPalEntry[i];
        const PaletteEntry& out = back.table[i];
        Check(out.peRed == in.peRed && out.peGreen == in.peGreen && out.peBlue == in.peBlue && out.peFlags == 0);
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const BitmapTableResult result = ReadBitmapColourTable(data, size);
    int entries = 0;
    Check(result.verdict == ExpectedVerdict(data, size, entries));
    Check(result.entryCount == entries);

    for (int i = 0; i < 256; ++i)
    {
        const PaletteEntry& entry = result.table[i];
        if (i < entries)
        {
            const std::uint8_t* quad = data + 14 + Little(data + 14, 4) + 4 * i;
            Check(entry.peBlue == quad[0] && entry.peGreen == quad[1] && entry.peRed == quad[2] && entry.peFlags == 0);
        }
        else
        {
            Check((entry.peRed | entry.peGreen | entry.peBlue | entry.peFlags) == 0);
        }
    }

    if (size >= sizeof(PaletteSnapshot::palPalEntry))
        CheckRoundTrip(data);
    return 0;
}
