#include "window/GridPaint.h"

void PaintGrid(const GridLayout& layout, Extent grid, int entryCount, bool border, TileCanvas& canvas)
{
    const Extent tile = layout.tileSize;
    int index = 0;
    for (int row = 0; row < grid.cy && index < entryCount; ++row)
    {
        // Tile positions stay inside the client area, so these sums cannot overflow.
        const int top = layout.origin.y + row * tile.cy;
        for (int column = 0; column < grid.cx && index < entryCount; ++column, ++index)
        {
            const int left = layout.origin.x + column * tile.cx;
            Rect rect{left, top, left + tile.cx, top + tile.cy};
            canvas.FillTile(rect, index);
            if (border)
                canvas.FrameTile({rect.left, rect.top, rect.right + 1, rect.bottom + 1});
        }
    }
}
