#include "about/DesktopWindow.h"

#include "about/DesktopRect.h"

void KeepRectOnDesktop(RECT& rect)
{
    RECT desktop{};
    ::GetWindowRect(::GetDesktopWindow(), &desktop);
    Rect moved{rect.left, rect.top, rect.right, rect.bottom};
    KeepRectOnDesktop(moved, {desktop.left, desktop.top, desktop.right, desktop.bottom});
    rect = {moved.left, moved.top, moved.right, moved.bottom};
}
