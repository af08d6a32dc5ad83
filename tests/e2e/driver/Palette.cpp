#include "driver/Palette.h"

#include "driver/Commands.h"
#include "driver/Files.h"

#include <cstring>
#include <gtest/gtest.h>

bool SameColours(const PALETTEENTRY& a, const PALETTEENTRY& b)
{
    return a.peRed == b.peRed && a.peGreen == b.peGreen && a.peBlue == b.peBlue;
}

void ExpectSamePalette(const SystemPalette& actual, const SystemPalette& expected, const std::string& what)
{
    for (int i = 0; i < 256; ++i)
        EXPECT_TRUE(SameColours(actual[i], expected[i])) << what << (what.empty() ? "" : " ") << "slot " << i;
}

std::vector<unsigned char> MakeBitmap(int bitCount, unsigned compression, unsigned infoSize,
                                      const std::vector<RGBQUAD>& table, std::size_t totalSize)
{
    std::vector<unsigned char> bytes(totalSize);
    auto put = [&](std::size_t offset, unsigned value, int size) {
        for (int i = 0; i < size && offset + i < bytes.size(); ++i)
            bytes[offset + i] = static_cast<unsigned char>(value >> (8 * i));
    };
    put(0, 'B' | ('M' << 8), 2);
    put(2, static_cast<unsigned>(totalSize), 4);
    put(10, static_cast<unsigned>(14 + infoSize + 4 * table.size()), 4);
    put(14, infoSize, 4);
    put(18, 256, 4);
    put(22, 32, 4);
    put(26, 1, 2);
    put(28, static_cast<unsigned>(bitCount), 2);
    put(30, compression, 4);
    put(46, static_cast<unsigned>(table.size()), 4);
    std::size_t offset = 14 + infoSize;
    for (const RGBQUAD& c : table)
    {
        put(offset, c.rgbBlue | (c.rgbGreen << 8) | (c.rgbRed << 16), 4);
        offset += 4;
    }
    for (; offset < bytes.size(); ++offset)
        bytes[offset] = static_cast<unsigned char>(offset * 7 + 3);
    return bytes;
}

std::vector<RGBQUAD> DistinctColours(int seed)
{
    std::vector<RGBQUAD> colours;
    for (int i = 0; i < 236; ++i)
    {
        const int value = i * 5 + seed;
        colours.push_back({static_cast<BYTE>(value * 3), static_cast<BYTE>(value * 7 + seed), static_cast<BYTE>(i), 0});
    }
    return colours;
}

std::vector<RGBQUAD> KnownColoursTable(int seed, std::size_t entries)
{
    std::vector<RGBQUAD> table(10);
    const std::vector<RGBQUAD> colours = DistinctColours(seed);
    table.insert(table.end(), colours.begin(), colours.end());
    table.resize(entries);
    return table;
}

SystemPalette PaletteOfBitmap(const std::vector<unsigned char>& bytes)
{
    SystemPalette palette{};
    for (std::size_t i = 0; i < 256 && bytes.size() >= 1078; ++i)
        palette[i] = {bytes[56 + 4 * i], bytes[55 + 4 * i], bytes[54 + 4 * i], 0};
    return palette;
}

SystemPalette PaletteAfterOpening(const std::vector<unsigned char>& bytes, const SystemPalette& before)
{
    const auto field = [&bytes](std::size_t offset) {
        return bytes.at(offset) | bytes.at(offset + 1) << 8 | bytes.at(offset + 2) << 16 |
               static_cast<DWORD>(bytes.at(offset + 3)) << 24;
    };
    const DWORD used = field(46);
    const DWORD entries = used == 0 || used > 256 ? 256 : used;
    const std::size_t table = 14 + field(14);
    SystemPalette after = before;
    for (DWORD i = 10; i <= 245 && i < entries; ++i)
        after[i] = {bytes.at(table + 4 * i + 2), bytes.at(table + 4 * i + 1), bytes.at(table + 4 * i), 0};
    return after;
}

bool ReadVexaPalette(DWORD processId, HWND main, const std::string& path, SystemPalette& palette, const char* title)
{
    if (!SaveAsThroughDialog(processId, main, path, title))
        return false;
    const std::vector<unsigned char> bytes = ReadFileBytes(path);
    ::DeleteFileA(path.c_str());
    if (bytes.size() != 9270)
        return false;
    palette = PaletteOfBitmap(bytes);
    return true;
}

ClipboardHolder::ClipboardHolder(const char* text)
{
    // The clipboard's data belongs to a window: a plain hidden one of this process.
    m_window = ::CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    m_opened = ::OpenClipboard(m_window) != FALSE;
    if (!m_opened)
        return;
    ::EmptyClipboard();
    const std::size_t size = std::strlen(text) + 1;
    HGLOBAL data = ::GlobalAlloc(GMEM_MOVEABLE, size);
    std::memcpy(::GlobalLock(data), text, size);
    ::GlobalUnlock(data);
    ::SetClipboardData(CF_TEXT, data);
}

ClipboardHolder::~ClipboardHolder()
{
    Close();
    ::DestroyWindow(m_window);
}

void ClipboardHolder::Close()
{
    if (m_opened)
        ::CloseClipboard();
    m_opened = false;
}

bool ClipboardHoldsText(const char* text)
{
    if (!::OpenClipboard(nullptr))
        return false;
    HANDLE data = ::GetClipboardData(CF_TEXT);
    const bool same = data && std::string(static_cast<const char*>(::GlobalLock(data))) == text;
    if (data)
        ::GlobalUnlock(data);
    const bool palette = ::IsClipboardFormatAvailable(CF_PALETTE);
    ::CloseClipboard();
    return same && !palette;
}
