// The tile grid's geometry: tile size and origin for a client area, the tile under a point, and the
// client size that fits the grid exactly. Every result is exact for any client size and any grid of at
// least 1 x 1, with no intermediate overflow.
#pragma once

#include "framework/Geometry.h"

struct GridLayout
{
    Point origin;    // client coordinates of the grid's top-left corner
    Extent tileSize; // pixel size of one tile

    // Tiles of client / grid (truncating), centred; the odd leftover pixel goes right or down.
    static GridLayout Compute(Extent client, Extent grid);

    // The palette index of the tile under the point, or -1 outside the grid rectangle.
    int TileFromPoint(Extent grid, Point point) const;

    // The client size that holds the grid exactly: tile size times the grid.
    Extent FittedClient(Extent grid) const;

    bool operator==(const GridLayout&) const = default;
};
