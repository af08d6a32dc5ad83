// The display palette services on the 8-bit display: the palette size, the explicit palette, the
// capture of the system palette and a realisation in the foreground.
#include "palette/DisplayPalette.h"

#include <gtest/gtest.h>
#include <string>

namespace
{
// The 20 static colours of a 256-slot display: slots 0..9 and 246..255.
struct StaticColour
{
    int slot;
    BYTE red, green, blue;
};
constexpr StaticColour kStaticColours[] = {
    {0, 0, 0, 0},         {1, 128, 0, 0},       {2, 0, 128, 0},       {3, 128, 128, 0},   {4, 0, 0, 128},
    {5, 128, 0, 128},     {6, 0, 128, 128},     {7, 192, 192, 192},   {8, 192, 220, 192}, {9, 166, 202, 240},
    {246, 255, 251, 240}, {247, 160, 160, 164}, {248, 128, 128, 128}, {249, 255, 0, 0},   {250, 0, 255, 0},
    {251, 255, 255, 0},   {252, 0, 0, 255},     {253, 255, 0, 255},   {254, 0, 255, 255}, {255, 255, 255, 255},
};

bool IsStaticSlot(int slot)
{
    return slot < 10 || slot >= 246;
}

std::string Rgb(const PaletteEntry& e)
{
    return std::to_string(e.peRed) + "," + std::to_string(e.peGreen) + "," + std::to_string(e.peBlue);
}

PaletteSnapshot CaptureAll()
{
    PaletteSnapshot snapshot = EmptySnapshot(256);
    CaptureSystemPalette(snapshot, 256);
    return snapshot;
}

// A visible top-level window of the test that is made the foreground window, since only the foreground
// window realises a palette in the foreground.
class ForegroundWindow
{
  public:
    ForegroundWindow()
    {
        m_hWnd = ::CreateWindowExA(0, "STATIC", "palette test", WS_POPUP | WS_VISIBLE, 0, 0, 64, 64, nullptr, nullptr,
                                   ::GetModuleHandleA(nullptr), nullptr);
        ::SetForegroundWindow(m_hWnd);
        Pump();
    }
    ~ForegroundWindow() { ::DestroyWindow(m_hWnd); }
    ForegroundWindow(const ForegroundWindow&) = delete;
    ForegroundWindow& operator=(const ForegroundWindow&) = delete;
    HWND Handle() const { return m_hWnd; }

    static void Pump()
    {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageA(&msg);
    }

  private:
    HWND m_hWnd = nullptr;
};

// Realises a palette through the foreground window: the captured static colours around the 236 entries
// 10..245 of colours, flagged PC_NOCOLLAPSE.
void RealizeFreeSlots(HWND window, const PaletteSnapshot& colours)
{
    PaletteSnapshot snapshot = CaptureAll();
    for (int slot = 10; slot < 246; ++slot)
    {
        snapshot.palPalEntry[slot] = colours.palPalEntry[slot];
        snapshot.palPalEntry[slot].peFlags = kPcNoCollapse;
    }
    const CPalette palette = CreatePaletteOrThrow(snapshot);
    RealizeInWindow(window, palette);
    ForegroundWindow::Pump();
}
} // namespace

TEST(PaletteDisplay, DisplayHas256Slots)
{
    EXPECT_EQ(ReadDisplayPaletteSize(), 256);
}

// Entry i of the window's palette refers to hardware slot i, and the GDI palette keeps that.
TEST(PaletteDisplay, ExplicitPaletteRefersToEverySlot)
{
    const CPalette palette = CreatePaletteOrThrow(ExplicitPalette(ReadDisplayPaletteSize()));
    ASSERT_NE(palette.GetSafeHandle(), nullptr);
    EXPECT_EQ(::GetPaletteEntries(palette, 0, 0, nullptr), 256u);
    PALETTEENTRY entries[256]{};
    ASSERT_EQ(::GetPaletteEntries(palette, 0, 256, entries), 256u);
    for (int i = 0; i < 256; ++i)
    {
        SCOPED_TRACE(i);
        EXPECT_EQ(entries[i].peRed, i);
        EXPECT_EQ(entries[i].peGreen, 0);
        EXPECT_EQ(entries[i].peBlue, 0);
        EXPECT_EQ(entries[i].peFlags, PC_EXPLICIT);
    }
    EXPECT_EQ(entries[255].peRed, 255);

    // A smaller palette makes a GDI palette of exactly that many entries.
    const CPalette small = CreatePaletteOrThrow(ExplicitPalette(16));
    EXPECT_EQ(::GetPaletteEntries(small, 0, 0, nullptr), 16u);
}

// A capture fills exactly the entries asked for: the 20 static colours at both ends of a full capture,
// and nothing beyond a shorter one.
TEST(PaletteDisplay, CaptureReadsTheStaticColoursAtBothEnds)
{
    const PaletteSnapshot all = CaptureAll();
    for (const StaticColour& expected : kStaticColours)
    {
        SCOPED_TRACE(expected.slot);
        const PaletteEntry& entry = all.palPalEntry[expected.slot];
        EXPECT_EQ(entry.peRed, expected.red);
        EXPECT_EQ(entry.peGreen, expected.green);
        EXPECT_EQ(entry.peBlue, expected.blue);
    }

    PaletteSnapshot partial = EmptySnapshot(256);
    for (PaletteEntry& entry : partial.palPalEntry)
        entry = {1, 2, 3, 4};
    CaptureSystemPalette(partial, 10);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(Rgb(partial.palPalEntry[i]), Rgb(all.palPalEntry[i])) << i;
    for (int i = 10; i < 256; ++i)
    {
        ASSERT_EQ(Rgb(partial.palPalEntry[i]), "1,2,3") << i;
        ASSERT_EQ(partial.palPalEntry[i].peFlags, 4) << i;
    }
}

// A PC_NOCOLLAPSE palette realised through the foreground window writes the 236 free slots and leaves
// the static colours; a second realisation from the same window writes them again.
TEST(PaletteDisplay, RealizeInForegroundWindowWritesTheFreeSlots)
{
    const PaletteSnapshot original = CaptureAll();
    ForegroundWindow window;
    ASSERT_NE(window.Handle(), nullptr);
    ASSERT_EQ(::GetForegroundWindow(), window.Handle());

    PaletteSnapshot colours = EmptySnapshot(256);
    for (int slot = 0; slot < 256; ++slot)
        colours.palPalEntry[slot] = {static_cast<std::uint8_t>(slot), static_cast<std::uint8_t>(255 - slot), 77, 0};
    RealizeFreeSlots(window.Handle(), colours);
    const PaletteSnapshot ramp = CaptureAll();
    for (int slot = 0; slot < 256; ++slot)
    {
        SCOPED_TRACE(slot);
        if (IsStaticSlot(slot))
            EXPECT_EQ(Rgb(ramp.palPalEntry[slot]), Rgb(original.palPalEntry[slot]));
        else
            EXPECT_EQ(Rgb(ramp.palPalEntry[slot]), std::to_string(slot) + "," + std::to_string(255 - slot) + ",77");
    }

    const CPalette black = CreatePaletteOrThrow(BlackPalette(256));
    RealizeInWindow(window.Handle(), black);
    ForegroundWindow::Pump();
    const PaletteSnapshot cleared = CaptureAll();
    for (int slot = 0; slot < 256; ++slot)
    {
        SCOPED_TRACE(slot);
        EXPECT_EQ(Rgb(cleared.palPalEntry[slot]), IsStaticSlot(slot) ? Rgb(original.palPalEntry[slot]) : "0,0,0");
    }

    // Put the free slots back as they were for the tests that follow.
    RealizeFreeSlots(window.Handle(), original);
}
