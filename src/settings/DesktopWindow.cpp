#include "settings/DesktopWindow.h"

#include "framework/WinGeometry.h"
#include "settings/DesktopRect.h"

void KeepRectOnDesktop(RECT& rect)
{
    RECT desktop{};
    ::GetWindowRect(::GetDesktopWindow(), &desktop);
    Rect moved = ToRect(rect);
    KeepRectOnDesktop(moved, ToRect(desktop));
    rect = ToRECT(moved);
}
