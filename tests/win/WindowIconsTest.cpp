// The program's icon resource and how the palette window sets it.
#include "resource.h"
#include "window/PaletteWindow.h"

#include <gtest/gtest.h>

namespace
{
#pragma pack(push, 2)
struct IconDirectoryEntry
{
    BYTE width;
    BYTE height;
    BYTE colourCount;
    BYTE reserved;
    WORD planes;
    WORD bitCount;
    DWORD bytes;
    WORD id;
};
struct IconDirectory
{
    WORD reserved;
    WORD type;
    WORD count;
    IconDirectoryEntry entries[1];
};
#pragma pack(pop)

SIZE IconSize(HICON icon)
{
    ICONINFO info{};
    if (!::GetIconInfo(icon, &info))
        return {0, 0};
    BITMAP bitmap{};
    ::GetObjectA(info.hbmMask, sizeof bitmap, &bitmap);
    ::DeleteObject(info.hbmMask);
    if (info.hbmColor)
        ::DeleteObject(info.hbmColor);
    // A monochrome icon's mask holds both halves one above the other.
    return {bitmap.bmWidth, info.hbmColor ? bitmap.bmHeight : bitmap.bmHeight / 2};
}
} // namespace

TEST(WindowIcons, TheIconResourceHoldsA32And16PixelImageOf16Colours)
{
    HRSRC found = ::FindResourceA(nullptr, MAKEINTRESOURCEA(IDI_VEXA), MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */);
    ASSERT_NE(found, nullptr);
    const auto* directory = static_cast<const IconDirectory*>(::LockResource(::LoadResource(nullptr, found)));
    ASSERT_EQ(directory->count, 2);
    int sizes = 0;
    for (int i = 0; i < directory->count; ++i)
    {
        const IconDirectoryEntry& entry = directory->entries[i];
        sizes |= entry.width;
        EXPECT_EQ(entry.width, entry.height);
        EXPECT_EQ(entry.bitCount, 4) << "16 colours";
    }
    EXPECT_EQ(sizes, 32 | 16);
}

TEST(WindowIcons, TheWindowGetsTheLargeAndTheSmallIcon)
{
    HWND window = ::CreateWindowExA(0, "STATIC", "icons", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                    nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    SetWindowIcons(window, 0);
    const auto large = reinterpret_cast<HICON>(::SendMessageA(window, WM_GETICON, ICON_BIG, 0));
    const auto small = reinterpret_cast<HICON>(::SendMessageA(window, WM_GETICON, ICON_SMALL, 0));
    ASSERT_NE(large, nullptr);
    ASSERT_NE(small, nullptr);
    EXPECT_EQ(IconSize(large).cx, ::GetSystemMetrics(SM_CXICON));
    EXPECT_EQ(IconSize(small).cx, 16);
    EXPECT_EQ(IconSize(small).cy, 16);
    ::DestroyWindow(window);
}
