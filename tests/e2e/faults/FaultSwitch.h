// Test builds only: makes the program's commands fail on demand, so that the report of a failed
// command and the recovery after it can be watched from outside, and counts the process's GDI and USER
// objects for leak tests.
#pragma once

#include <windows.h>

// Reads the environment variable VEXA_FAULT once: kinds of failure separated by commas. When it names
// any, the first routing of each of the program's menu commands throws a failure instead of running the
// command, the n-th such command the n-th kind (cycling through the list); later routings of the same
// command run it normally. Kinds: file, notsupported, memory, resource, user, badalloc, foreign (an
// exception that is none of the framework's); any other text
// throws an exception without a text of its own.
//
// The command kCountObjects, whatever VEXA_FAULT says, stores the process's GDI and USER object counts
// as the properties "VexaGdiObjects" and "VexaUserObjects" of the main window.
//
// The commands kFailBeginPaint and kFailBrushes make the system's BeginPaint give no device context,
// or CreateSolidBrush no brush, for every later call of the program, and kLeavePaletteMode makes the
// display answer as a true-colour one does (no RC_PALETTE, no palette size, no system palette entries),
// until kRestoreSystem; the program's own code runs unchanged, only its imports are redirected.
class FaultSwitch
{
  public:
    static constexpr UINT kCountObjects = 0x7F01;
    static constexpr UINT kFailBeginPaint = 0x7F02;
    static constexpr UINT kFailBrushes = 0x7F03;
    static constexpr UINT kLeavePaletteMode = 0x7F04;
    static constexpr UINT kRestoreSystem = 0x7F0F;

    static void BeforeCommand(UINT id);
};
