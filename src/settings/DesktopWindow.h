// The desktop side of window placement: a screen rectangle kept within reach on the primary screen.
#pragma once

#include <windows.h>

// Moves a rectangle in screen coordinates back onto the desktop window's rectangle (see DesktopRect.h).
void KeepRectOnDesktop(RECT& rect);
