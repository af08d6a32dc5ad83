// Small geometry types of the Windows-free code, converted to POINT/SIZE/RECT at the Win32 edge.
#pragma once

struct Point
{
    int x;
    int y;
    bool operator==(const Point&) const = default;
};

struct Extent
{
    int cx;
    int cy;
    bool operator==(const Extent&) const = default;
};

struct Rect
{
    int left;
    int top;
    int right;
    int bottom;
    bool operator==(const Rect&) const = default;
};
