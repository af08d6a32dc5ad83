// The grid as the user sees it: the window's pixels read from the X server, compared with where the
// layout puts every tile, from the first start and after every View command.
//
// Under Wine a tile of palette index j paints as RGB(j, 0, 0), dithered from the static colours black,
// dark red and red: single pixels say little, so tile colours are compared as means over a tile, or
// over 4 x 4 pixel blocks where tiles are narrower than that. Black border lines and the dialog
// background (dithered greys) are exact.
#include "driver/Commands.h"
#include "driver/Fixture.h"
#include "driver/Picture.h"
#include "driver/Wait.h"
#include "resource.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <vector>

namespace
{
constexpr int kEntries = 256;
constexpr int kMargin = -1, kBorder = -2; // pixel kinds beside tile indexes

struct Grid
{
    int columns, rows;
    bool border;
};

struct Layout
{
    SIZE tile;
    POINT origin;
};

Layout LayoutFor(SIZE client, const Grid& grid)
{
    const SIZE tile{client.cx / grid.columns, client.cy / grid.rows};
    return {tile, {(client.cx - tile.cx * grid.columns) / 2, (client.cy - tile.cy * grid.rows) / 2}};
}

// What each client pixel must show: a tile's index, a border line or the margin. Tiles are filled in
// index order, each followed by its frame, which reaches one pixel into its right and lower neighbours.
std::vector<int> ExpectedKinds(SIZE client, const Grid& grid)
{
    std::vector<int> kinds(static_cast<std::size_t>(client.cx) * client.cy, kMargin);
    const auto set = [&](int x, int y, int kind) {
        if (x >= 0 && y >= 0 && x < client.cx && y < client.cy)
            kinds[static_cast<std::size_t>(y) * client.cx + x] = kind;
    };
    const Layout layout = LayoutFor(client, grid);
    for (int j = 0; j < kEntries && j < grid.columns * grid.rows; ++j)
    {
        const int left = layout.origin.x + (j % grid.columns) * layout.tile.cx;
        const int top = layout.origin.y + (j / grid.columns) * layout.tile.cy;
        for (int y = top; y < top + layout.tile.cy; ++y)
            for (int x = left; x < left + layout.tile.cx; ++x)
                set(x, y, j);
        if (!grid.border)
            continue;
        for (int x = left; x <= left + layout.tile.cx; ++x)
            set(x, top, kBorder), set(x, top + layout.tile.cy, kBorder);
        for (int y = top; y <= top + layout.tile.cy; ++y)
            set(left, y, kBorder), set(left + layout.tile.cx, y, kBorder);
    }
    return kinds;
}

// Every difference between the picture and the grid it must show; empty when they agree.
std::vector<std::string> CompareWithGrid(const Picture& picture, const Grid& grid)
{
    std::vector<std::string> faults;
    const auto fault = [&](const std::string& text) {
        if (faults.size() < 8)
            faults.push_back(text);
    };
    const SIZE client{picture.width, picture.height};
    const std::vector<int> kinds = ExpectedKinds(client, grid);
    const auto kindAt = [&](int x, int y) { return kinds[static_cast<std::size_t>(y) * client.cx + x]; };
    const auto where = [](int x, int y) { return " at (" + std::to_string(x) + ", " + std::to_string(y) + ")"; };

    // Pixel by pixel: lines are black, margins background grey, tiles shades of pure red.
    for (int y = 0; y < client.cy; ++y)
        for (int x = 0; x < client.cx; ++x)
        {
            const Rgb p = picture.At(x, y);
            const int kind = kindAt(x, y);
            if (kind == kBorder && !(p == Rgb{}))
                fault("border line not black" + where(x, y));
            else if (kind == kMargin && !(p.red == p.green && p.green == p.blue && p.red >= 128))
                fault("margin not background" + where(x, y));
            else if (kind >= 0 && (p.green || p.blue))
                fault("tile " + std::to_string(kind) + " not red" + where(x, y));
        }

    // Tile colours. Any 4 x 4 block holds the whole dither pattern once, so the mean red of a tile is
    // taken over the largest stack of whole blocks inside it; tiles too small for one are checked as
    // blocks over several tiles, against the mean of their indexes.
    const Layout layout = LayoutFor(client, grid);
    const int inset = grid.border ? 1 : 0;
    const SIZE blocks{(layout.tile.cx - inset) / 4 * 4, (layout.tile.cy - inset) / 4 * 4};
    if (blocks.cx > 0 && blocks.cy > 0)
    {
        for (int j = 0; j < kEntries && j < grid.columns * grid.rows; ++j)
        {
            const int left = layout.origin.x + (j % grid.columns) * layout.tile.cx + inset;
            const int top = layout.origin.y + (j / grid.columns) * layout.tile.cy + inset;
            long red = 0;
            for (int y = top; y < top + blocks.cy; ++y)
                for (int x = left; x < left + blocks.cx; ++x)
                    red += picture.At(x, y).red;
            if (const long mean = red / (blocks.cx * blocks.cy); std::abs(mean - j) > 5)
                fault("tile " + std::to_string(j) + " shows red " + std::to_string(mean) + where(left, top));
        }
        return faults;
    }
    for (int by = 0; by + 4 <= client.cy; by += 4)
        for (int bx = 0; bx + 4 <= client.cx; bx += 4)
        {
            long seen = 0, expected = 0;
            bool allTiles = true;
            for (int y = by; y < by + 4; ++y)
                for (int x = bx; x < bx + 4; ++x)
                    allTiles = allTiles && kindAt(x, y) >= 0, seen += picture.At(x, y).red, expected += kindAt(x, y);
            if (allTiles && std::abs(seen - expected) > 16 * 10)
                fault("mean red " + std::to_string(seen / 16) + " where tiles of mean index " +
                      std::to_string(expected / 16) + " lie" + where(bx, by));
        }
    return faults;
}

std::string Describe(const Grid& grid)
{
    return std::to_string(grid.columns) + " x " + std::to_string(grid.rows) + (grid.border ? ", borders" : "");
}

// Waits until the window has painted and the X server shows the grid; fails with what differs.
void ExpectShowsGrid(HWND main, const Grid& grid, const std::string& view)
{
    WaitUntil([main] { return !::GetUpdateRect(main, nullptr, FALSE); });
    Picture picture;
    std::string error;
    std::vector<std::string> faults;
    // The X server shows a paint a moment after it was made.
    WaitUntil(
        [&] {
            faults = CaptureClientArea(main, picture, error) ? CompareWithGrid(picture, grid)
                                                             : std::vector<std::string>{error};
            return faults.empty();
        },
        3000);
    std::string text;
    for (const std::string& fault : faults)
        text += "\n  " + fault;
    EXPECT_TRUE(faults.empty()) << view << " (" << Describe(grid) << ", client " << picture.width << " x "
                                << picture.height << "):" << text;
}
} // namespace

TEST(GridPicture, FromTheFirstStartThroughEveryViewCommand)
{
    VexaProcess vexa;
    HWND main = StartVexa(vexa, {.firstStart = true}); // as a new user starts it
    ASSERT_NE(main, nullptr);
    ExpectShowsGrid(main, {256, 1, false}, "first start");

    struct Step
    {
        UINT command;
        Grid grid;
    };
    const Step steps[] = {
        {ID_VIEW_COLUMNS_8, {8, 32, false}},     {ID_VIEW_COLUMNS_16, {16, 16, false}},
        {ID_VIEW_COLUMNS_32, {32, 8, false}},    {ID_VIEW_COLUMNS_64, {64, 4, false}},
        {ID_VIEW_COLUMNS_128, {128, 2, false}},  {ID_VIEW_COLUMNS_256, {256, 1, false}},
        {ID_VIEW_TOGGLE_BORDER, {256, 1, true}}, {ID_VIEW_COLUMNS_128, {128, 2, true}},
        {ID_VIEW_COLUMNS_64, {64, 4, true}},     {ID_VIEW_COLUMNS_32, {32, 8, true}},
        {ID_VIEW_COLUMNS_16, {16, 16, true}},    {ID_VIEW_SHRINK_TO_FIT, {16, 16, true}},
        {ID_VIEW_COLUMNS_8, {8, 32, true}},      {ID_VIEW_SHRINK_TO_FIT, {8, 32, true}},
        {ID_VIEW_TOGGLE_BORDER, {8, 32, false}},
    };
    for (const Step& step : steps)
    {
        ASSERT_TRUE(RunCommand(main, step.command));
        ExpectShowsGrid(main, step.grid, "after command " + std::to_string(step.command));
    }
    EXPECT_TRUE(vexa.Exit(main));
}

// Whether the picture holds the icon's opaque pixels, exactly, anywhere in its left part.
bool ShowsIcon(const Picture& picture, const Picture& icon, const std::vector<bool>& opaque)
{
    for (int top = 0; top + icon.height <= picture.height; ++top)
        for (int left = 0; left + icon.width <= picture.width && left < 48; ++left)
        {
            bool same = true;
            for (int y = 0; y < icon.height && same; ++y)
                for (int x = 0; x < icon.width && same; ++x)
                    same = !opaque[y * icon.width + x] || picture.At(left + x, top + y) == icon.At(x, y);
            if (same)
                return true;
        }
    return false;
}

TEST(GridPicture, MinimisedWindowShowsTheProgramIcon)
{
    // The 16 x 16 image of icon 1000 as Vexa.exe holds it, and which of its pixels are opaque.
    HMODULE exe = ::LoadLibraryExA(VexaExePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(exe, nullptr);
    HICON handle = static_cast<HICON>(::LoadImageA(exe, MAKEINTRESOURCEA(IDI_VEXA), IMAGE_ICON, 16, 16, 0));
    ASSERT_NE(handle, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(handle, &info));
    Picture icon{16, 16, std::vector<Rgb>(256)};
    std::vector<bool> opaque(256);
    BITMAPINFO format{};
    format.bmiHeader = {sizeof(BITMAPINFOHEADER), 16, -16, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<RGBQUAD> colour(256), mask(256);
    HDC screen = ::GetDC(nullptr);
    ASSERT_EQ(::GetDIBits(screen, info.hbmColor, 0, 16, colour.data(), &format, DIB_RGB_COLORS), 16);
    ASSERT_EQ(::GetDIBits(screen, info.hbmMask, 0, 16, mask.data(), &format, DIB_RGB_COLORS), 16);
    ::ReleaseDC(nullptr, screen);
    for (int i = 0; i < 256; ++i)
    {
        icon.pixels[i] = {colour[i].rgbRed, colour[i].rgbGreen, colour[i].rgbBlue};
        opaque[i] = mask[i].rgbRed == 0;
    }
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    ::DestroyIcon(handle);
    ::FreeLibrary(exe);

    VexaProcess vexa;
    HWND main = StartVexa(vexa, {.firstStart = true}); // as a new user starts it
    ASSERT_NE(main, nullptr);
    ::SendMessageA(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(::IsIconic(main));
    // Without a window manager a minimised window is a small caption with the program's small icon.
    Picture picture;
    std::string error;
    EXPECT_TRUE(
        WaitUntil([&] { return CaptureWindow(main, picture, error) && ShowsIcon(picture, icon, opaque); }, 3000))
        << "no icon on the minimised window (" << picture.width << " x " << picture.height << ") " << error;
    EXPECT_TRUE(vexa.Exit(main));
}
