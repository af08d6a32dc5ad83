// Settings record of the install record ("CurrentVersion") and the main window's placement ("Window").
#pragma once

#include "settings/PersistentSettings.h"

class CWnd;

class PlacementSettings : public PersistentSettings
{
  public:
    PlacementSettings() : PersistentSettings(nullptr, nullptr) {}

    // Brings "Path" and "Version" up to date (the one write outside Save) and resets the placement.
    void SetDefaults() override;
    void Load() override;
    void Save() override;

    // A null window means the main window; every operation does nothing without a live window.
    // Puts the window at the stored rectangle (moved onto the desktop first) in the stored z-order and
    // brings it to the front; FALSE only without a live window.
    BOOL RestorePlacement(CWnd* window, UINT flags, BOOL applyState);
    // Records whether the window is minimised and, unless it is, its rectangle.
    void CapturePlacement(CWnd* window);
    void SetBounds(const RECT& bounds);
    void SetOnTop(BOOL onTop, CWnd* window);
    // Changes only the window's z-order to match the on-top flag.
    void ApplyOnTop(CWnd* window);

    // "Version" as SetDefaults found it (0 when absent); kept for the whole run.
    DWORD m_storedVersion = 0;
    // The running program's product version, major in the high word; set before SetDefaults.
    DWORD m_currentVersion = 0;
    int m_onTop = 0;
    RECT m_bounds{};
    // SW_SHOWMINIMIZED (2) when the window was minimised when last recorded, otherwise 0.
    int m_showState = 0;
};
