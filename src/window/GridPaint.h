// The plan of one paint of the tile grid, independent of any device: which rectangle is filled with
// which palette index and which frames are drawn, in drawing order.
#pragma once

#include "window/GridLayout.h"

// Receives the drawing calls of PaintGrid; the window draws them with palette-index brushes.
class TileCanvas
{
  public:
    virtual void FillTile(const Rect& rect, int paletteIndex) = 0;
    virtual void FrameTile(const Rect& rect) = 0;

  protected:
    ~TileCanvas() = default;
};

// Tiles 0..entryCount-1 row by row from the origin; a border frames each tile one pixel wider to the
// right and bottom, so neighbours share one black line. Stops as soon as the last tile is drawn.
void PaintGrid(const GridLayout& layout, Extent grid, int entryCount, bool border, TileCanvas& canvas);
