// Tile size, origin, hit testing and the fitted client size of the tile grid.
#include "window/GridLayout.h"

#include <climits>
#include <gtest/gtest.h>

namespace
{
struct LayoutCase
{
    const char* name;
    Extent client;
    Extent grid;
    Extent tileSize;
    Point origin;
};

// Edge values first: empty client areas and grids that leave no room for a pixel per tile.
constexpr LayoutCase kLayoutCases[] = {
    {"empty client", {0, 0}, {16, 16}, {0, 0}, {0, 0}},
    {"minimised", {0, 0}, {256, 1}, {0, 0}, {0, 0}},
    {"narrower than the columns", {255, 40}, {256, 1}, {0, 40}, {127, 0}},
    {"one pixel per tile", {256, 1}, {256, 1}, {1, 1}, {0, 0}},
    {"huge row count", {320, 200}, {1, 2'000'000'000}, {320, 0}, {0, 100}},
    {"huge column count", {320, 200}, {2'000'000'000, 1}, {0, 200}, {160, 0}},
    {"largest client, 1 x 1", {INT_MAX, INT_MAX}, {1, 1}, {INT_MAX, INT_MAX}, {0, 0}},
    {"largest client, 256 x 1", {INT_MAX, INT_MAX}, {256, 1}, {INT_MAX / 256, INT_MAX}, {127, 0}},
    {"largest client, largest grid", {INT_MAX, INT_MAX}, {INT_MAX, INT_MAX}, {1, 1}, {0, 0}},
    {"1000 x 300, 256 x 1", {1000, 300}, {256, 1}, {3, 300}, {116, 0}},
    {"330 x 200, 16 x 16", {330, 200}, {16, 16}, {20, 12}, {5, 4}},
    {"320 x 200, 256 x 1", {320, 200}, {256, 1}, {1, 200}, {32, 0}},
    {"320 x 200, 16 x 16", {320, 200}, {16, 16}, {20, 12}, {0, 4}},
    {"odd leftover goes right and down", {19, 7}, {2, 2}, {9, 3}, {0, 0}},
    {"two leftover pixels split", {20, 9}, {3, 2}, {6, 4}, {1, 0}},
    {"three leftover pixels", {23, 11}, {4, 2}, {5, 5}, {1, 0}},
};

TEST(GridLayout, ComputeGivesTileSizeAndCentredOrigin)
{
    for (const LayoutCase& c : kLayoutCases)
    {
        SCOPED_TRACE(c.name);
        const GridLayout layout = GridLayout::Compute(c.client, c.grid);
        EXPECT_EQ(layout.tileSize, c.tileSize);
        EXPECT_EQ(layout.origin, c.origin);
        // The grid always lies inside the client area.
        EXPECT_LE(std::int64_t{layout.origin.x} + std::int64_t{layout.tileSize.cx} * c.grid.cx, c.client.cx);
        EXPECT_LE(std::int64_t{layout.origin.y} + std::int64_t{layout.tileSize.cy} * c.grid.cy, c.client.cy);
    }
}

struct HitCase
{
    const char* name;
    Point point;
    int index;
};

TEST(GridLayout, TileFromPointCoversTheGridRectangleOnly)
{
    // 330 x 200 with 16 x 16: tiles of 20 x 12 from (5, 4); the grid spans x 5..324 and y 4..195.
    const Extent grid{16, 16};
    const GridLayout layout = GridLayout::Compute({330, 200}, grid);
    const HitCase cases[] = {
        {"left margin", {4, 4}, -1},
        {"top margin", {5, 3}, -1},
        {"top-left corner", {5, 4}, 0},
        {"last pixel of tile 0", {24, 15}, 0},
        {"first pixel of tile 1", {25, 4}, 1},
        {"second row", {5, 16}, 16},
        {"last column of row 0", {324, 4}, 15},
        {"right edge is exclusive", {325, 4}, -1},
        {"bottom-right tile", {324, 195}, 255},
        {"bottom edge is exclusive", {324, 196}, -1},
        {"far negative", {INT_MIN, INT_MIN}, -1},
        {"far positive", {INT_MAX, INT_MAX}, -1},
    };
    for (const HitCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(layout.TileFromPoint(grid, c.point), c.index);
    }
}

TEST(GridLayout, TileFromPointIsMinusOneEverywhereWithoutTiles)
{
    // 255 columns of nothing: a client narrower than the grid has zero-width tiles.
    const Extent grid{256, 1};
    const GridLayout narrow = GridLayout::Compute({255, 40}, grid);
    const GridLayout empty = GridLayout::Compute({0, 0}, grid);
    for (const Point point : {Point{0, 0}, Point{127, 0}, Point{127, 20}, Point{254, 39}, Point{-1, -1}})
    {
        EXPECT_EQ(narrow.TileFromPoint(grid, point), -1);
        EXPECT_EQ(empty.TileFromPoint(grid, point), -1);
    }
}

TEST(GridLayout, TileFromPointOnHugeGridsDoesNotOverflow)
{
    const Extent tall{1, 2'000'000'000};
    const GridLayout tallLayout{{0, 0}, {1, 1}};
    EXPECT_EQ(tallLayout.TileFromPoint(tall, {0, 1'999'999'999}), 1'999'999'999);
    EXPECT_EQ(tallLayout.TileFromPoint(tall, {1, 0}), -1);

    const Extent largest{INT_MAX, INT_MAX};
    const GridLayout layout = GridLayout::Compute({INT_MAX, INT_MAX}, largest);
    EXPECT_EQ(layout.TileFromPoint(largest, {0, 0}), 0);
    EXPECT_EQ(layout.TileFromPoint(largest, {INT_MAX - 1, 0}), INT_MAX - 1);
    // Index beyond int: held at the largest int rather than wrapping to a negative "outside".
    EXPECT_GE(layout.TileFromPoint(largest, {5, 5}), 0);
}

TEST(GridLayout, FittedClientIsTheGridExactly)
{
    EXPECT_EQ(GridLayout::Compute({330, 200}, {16, 16}).FittedClient({16, 16}), (Extent{320, 192}));
    EXPECT_EQ(GridLayout::Compute({1000, 300}, {256, 1}).FittedClient({256, 1}), (Extent{768, 300}));
    // Too narrow for the columns: Shrink to Fit asks for zero width.
    EXPECT_EQ(GridLayout::Compute({255, 40}, {256, 1}).FittedClient({256, 1}), (Extent{0, 40}));
    // Fitting a fitted client changes nothing, and the origin becomes (0, 0).
    const GridLayout fitted = GridLayout::Compute({320, 192}, {16, 16});
    EXPECT_EQ(fitted.FittedClient({16, 16}), (Extent{320, 192}));
    EXPECT_EQ(fitted.origin, (Point{0, 0}));
    // Products beyond int are held at the largest int.
    const GridLayout big{{0, 0}, {INT_MAX, INT_MAX}};
    EXPECT_EQ(big.FittedClient({2, 2}), (Extent{INT_MAX, INT_MAX}));
}
} // namespace
