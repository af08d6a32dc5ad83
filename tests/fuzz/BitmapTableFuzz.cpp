// Any bytes as the head of a bitmap file: the reader must give a verdict that agrees with an
// independent reading of the checks, read nothing past the input, and on success return exactly
// bytes 54..1077. Inputs long enough to serve as a palette also go through the writer and back.
#include "palette/BitmapFormat.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace
{
void Check(bool condition)
{
    if (!condition)
        std::abort();
}

BitmapVerdict ExpectedVerdict(const std::uint8_t* data, std::size_t size)
{
    if (size < 14 || data[0] != 'B' || data[1] != 'M')
        return BitmapVerdict::genericFileError;
    if (size < 54 || data[28] != 8 || data[29] != 0 || size < 1078)
        return BitmapVerdict::notSupported;
    return BitmapVerdict::ok;
}

void CheckRoundTrip(const std::uint8_t* data)
{
    PaletteSnapshot captured = EmptySnapshot(256);
    std::memcpy(captured.palPalEntry, data, sizeof captured.palPalEntry);
    const std::vector<std::uint8_t> file = BuildBitmapFile(captured);
    Check(file.size() == kBitmapFileSize);
    const BitmapTableResult back = ReadBitmapColourTable(file.data(), file.size());
    Check(back.verdict == BitmapVerdict::ok);
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
    Check(result.verdict == ExpectedVerdict(data, size));

    for (int i = 0; i < 256; ++i)
    {
        const PaletteEntry& entry = result.table[i];
        if (result.verdict == BitmapVerdict::ok)
        {
            const std::uint8_t* quad = data + kBitmapColourTableOffset + 4 * i;
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
