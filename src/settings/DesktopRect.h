// Moving a window rectangle back onto the desktop, and rectangle sizes that cannot overflow.
#pragma once

#include "framework/Geometry.h"

// How many pixels of a window's width and height stay on the desktop when it is moved back.
inline constexpr int kDesktopMargin = 32;

// Moves the rectangle in place, without changing its size, just far enough that at least the margin of
// its width and of its height lies on the desktop. A rectangle with exactly the margin on the desktop
// stays. Coordinates that would leave the 32-bit range are clamped to it.
void KeepRectOnDesktop(Rect& rect, const Rect& desktop);

// right - left and bottom - top, clamped to the 32-bit range.
int SaturatedWidth(const Rect& rect);
int SaturatedHeight(const Rect& rect);
