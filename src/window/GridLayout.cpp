#include "window/GridLayout.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace
{
int Saturate(std::int64_t value)
{
    return static_cast<int>(std::clamp<std::int64_t>(value, INT_MIN, INT_MAX));
}

// Division truncating toward zero, with a non-positive divisor read as an empty grid (no tiles).
int Divide(int numerator, int divisor)
{
    return divisor > 0 ? numerator / divisor : 0;
}
} // namespace

GridLayout GridLayout::Compute(Extent client, Extent grid)
{
    GridLayout layout{};
    layout.tileSize.cx = Divide(client.cx, grid.cx);
    layout.tileSize.cy = Divide(client.cy, grid.cy);
    // tile * count never exceeds the client extent, so the leftover is exact.
    layout.origin.x = Saturate((std::int64_t{client.cx} - std::int64_t{layout.tileSize.cx} * grid.cx) / 2);
    layout.origin.y = Saturate((std::int64_t{client.cy} - std::int64_t{layout.tileSize.cy} * grid.cy) / 2);
    return layout;
}

int GridLayout::TileFromPoint(Extent grid, Point point) const
{
    if (tileSize.cx <= 0 || tileSize.cy <= 0 || grid.cx <= 0 || grid.cy <= 0)
        return -1;
    const std::int64_t dx = std::int64_t{point.x} - origin.x;
    const std::int64_t dy = std::int64_t{point.y} - origin.y;
    if (dx < 0 || dy < 0 || dx >= std::int64_t{tileSize.cx} * grid.cx || dy >= std::int64_t{tileSize.cy} * grid.cy)
        return -1;
    return Saturate(dy / tileSize.cy * grid.cx + dx / tileSize.cx);
}

Extent GridLayout::FittedClient(Extent grid) const
{
    return {Saturate(std::int64_t{tileSize.cx} * grid.cx), Saturate(std::int64_t{tileSize.cy} * grid.cy)};
}
