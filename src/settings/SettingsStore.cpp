#include "settings/SettingsStore.h"

namespace
{
constexpr const char* kViewSection = "View";
constexpr int kDefaultColumns = 256;
constexpr int kDefaultRows = 1;
} // namespace

void SettingsStore::SetDefaults()
{
    PlacementSettings::SetDefaults();
    m_columns = kDefaultColumns;
    m_rows = kDefaultRows;
    m_borders = 0;
}

void SettingsStore::Load()
{
    m_columns = ReadInt(kViewSection, "Columns", m_columns);
    m_rows = ReadInt(kViewSection, "Rows", m_rows);
    m_borders = ReadInt(kViewSection, "Borders", m_borders);
    // The window divides its client area by both; the bad values stay in the registry untouched.
    if (m_columns < 1 || m_rows < 1)
    {
        m_columns = kDefaultColumns;
        m_rows = kDefaultRows;
    }
    PlacementSettings::Load();
}

void SettingsStore::Save()
{
    WriteInt(kViewSection, "Columns", m_columns);
    WriteInt(kViewSection, "Rows", m_rows);
    WriteInt(kViewSection, "Borders", m_borders);
    PlacementSettings::Save();
}

void SettingsStore::SetView(int columns, int rows, int borders)
{
    if (columns == m_columns && rows == m_rows && borders == m_borders)
        return;
    m_columns = columns;
    m_rows = rows;
    m_borders = borders;
    m_modified = 1;
}
