#include "window/GridPaint.h"

#include <algorithm>

void PaintGrid(const GridLayout& layout, Extent grid, int entryCount, bool border, TileCanvas& canvas)
{
    // One pass over the tiles themselves: the cells of a grid larger than the palette cost nothing, even
    // a stored grid of billions of rows.
    const long long cells = static_cast<long long>(grid.cx) * grid.cy;
    const int count = static_cast<int>(std::min<long long>(entryCount, cells));
    const Extent tile = layout.tileSize;
    for (int index = 0; index < count; ++index)
    {
        // Tile positions stay inside the client area, so these sums cannot overflow.
        const int left = layout.origin.x + index % grid.cx * tile.cx;
        const int top = layout.origin.y + index / grid.cx * tile.cy;
        const Rect rect{left, top, left + tile.cx, top + tile.cy};
        canvas.FillTile(rect, index);
        if (border)
            canvas.FrameTile({rect.left, rect.top, rect.right + 1, rect.bottom + 1});
    }
}
