// The program's one settings object: install record, window placement and the view values ("View").
#pragma once

#include "settings/PlacementSettings.h"

class SettingsStore : public PlacementSettings
{
  public:
    void SetDefaults() override;
    // A stored Columns or Rows below 1 cannot lay out a grid: both then keep their defaults.
    void Load() override;
    void Save() override;

    // Takes the window's view values, marking the settings modified when they differ.
    void SetView(int columns, int rows, int borders);

    int m_columns = 256;
    int m_rows = 1;
    int m_borders = 0;
};
