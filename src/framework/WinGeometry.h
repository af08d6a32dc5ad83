// The Windows-free geometry types at the Win32 edge: the one place that converts them.
#pragma once

#include "framework/Geometry.h"

#include <windows.h>

inline RECT ToRECT(const Rect& rect)
{
    return {rect.left, rect.top, rect.right, rect.bottom};
}

inline Rect ToRect(const RECT& rect)
{
    return {rect.left, rect.top, rect.right, rect.bottom};
}
