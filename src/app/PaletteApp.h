// The application object: checks the platform, runs the palette window modally and ends the program.
#pragma once

#include "framework/WinApp.h"

class PaletteApp : public CWinApp
{
public:
    BOOL InitInstance() override;
    bool OnCommand(UINT id) override;
};

PaletteApp& GetPaletteApp();
