// The application object: checks the platform, runs the palette window modally and ends the program.
#pragma once

#include "framework/WinApp.h"
#include "settings/SettingsStore.h"

class PaletteApp : public CWinApp
{
  public:
    BOOL InitInstance() override;
    // Saves the settings, once, unless start-up failed before or while they were loaded. Returns 0 after
    // a normal end, nonzero after a start that failed.
    int ExitInstance() override;
    bool OnCommand(UINT id) override;

    // The one settings object: loaded before the palette window is built, saved once after it is gone.
    SettingsStore m_settings;

  private:
    void OnAppAbout();
    void OnHelp();

    // Set once the settings are loaded; cleared by a start-up error and by the save.
    bool m_saveAtExit = false;
    int m_exitCode = 0;
};

PaletteApp& GetPaletteApp();
