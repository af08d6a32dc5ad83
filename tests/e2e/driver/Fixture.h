// Vexa started in a given state: the settings it finds, the program, the foreground; and the test
// fixture built on it, with the commands most tests drive.
#pragma once

#include "driver/Files.h"
#include "driver/Palette.h"
#include "driver/Process.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>

// The state Vexa starts in.
struct VexaStart
{
    bool firstStart = false;       // no settings at all: the first-start About box and help are closed on the way
    std::function<void()> store{}; // stores settings after the reset, before the start
    std::string exe{};             // empty: the Vexa.exe under test
    bool foreground = false;       // made the foreground window, so that the palettes it realises take effect
    bool exitAtEnd = false;        // the fixture ends it through File > Exit and expects it to end
};

// Resets Vexa's settings as the state says, starts it and waits for its main window; null when none
// appears.
HWND StartVexa(VexaProcess& vexa, const VexaStart& start = {});

// A test with one Vexa running, its main window and a scratch folder for the files it opens and saves.
class VexaTest : public ::testing::Test
{
  protected:
    // Starts Vexa in the state; a fatal failure when no main window appears.
    void Start(const VexaStart& start = {});
    // Ends Vexa through File > Exit when the state asked for it.
    void TearDown() override;

    // Runs File > Save As with the name typed into the dialog.
    void SaveAs(const std::string& name);
    // Runs File > Open on the file; the program's answer is left for the caller.
    void Open(const std::string& path);
    // The system palette as Vexa sees it, from the colour table of a bitmap it saves.
    SystemPalette VexaPalette();

    VexaProcess m_vexa;
    HWND m_main = nullptr;
    ScratchFolder m_folder;
    const char* m_saveAsTitle = "Save As"; // null: the dialog's title is not checked

  private:
    bool m_exitAtEnd = false;
    int m_probes = 0;
};
