// The drag readout in the title of the real program, driven by mouse messages from outside.
//
// Under Wine, GetPixel on the screen may not read what the windows show (it often reads black), so
// these tests check the index, the format and that the colour agrees with the index; the exact
// colour formatting is covered by the unit tests of the title text.
#include "driver/Fixture.h"
#include "driver/Registry.h"

#include <gtest/gtest.h>
#include <regex>

namespace
{
struct Reading
{
    int index = -1;
    unsigned colour = 0;
    int red = -1, green = -1, blue = -1;
};

// Parses "Vexa - [ddd] = 0xXXXXXX = RGB(r, g, b)"; index -1 when the title has another form.
Reading ParseTitle(const std::string& title)
{
    static const std::regex pattern(R"(Vexa - \[(\d{3,})\] = 0x([0-9A-F]{6,8}) = RGB\((\d+), (\d+), (\d+)\))");
    std::smatch match;
    Reading reading;
    if (!std::regex_match(title, match, pattern))
        return reading;
    reading.index = std::stoi(match[1]);
    reading.colour = static_cast<unsigned>(std::stoul(match[2], nullptr, 16));
    reading.red = std::stoi(match[3]);
    reading.green = std::stoi(match[4]);
    reading.blue = std::stoi(match[5]);
    return reading;
}

LPARAM At(int x, int y)
{
    return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
}

// A stored grid of 16 x 32 cells, of which the 256 tiles fill the upper half: the lower half is
// cells without a tile. The window is stored in the middle of the screen, with screen on every side.
constexpr int kColumns = 16;
constexpr int kRows = 32;

class PixelReadout : public VexaTest
{
  protected:
    void SetUp() override
    {
        Start({.store = [] {
            PutInt("View", "Columns", kColumns);
            PutInt("View", "Rows", kRows);
            PutBounds({300, 100, 700, 740});
        }});
        if (HasFatalFailure())
            return;
        const SIZE client = ClientSize(m_main);
        m_tile = {client.cx / kColumns, client.cy / kRows};
        m_origin = {(client.cx - m_tile.cx * kColumns) / 2, (client.cy - m_tile.cy * kRows) / 2};
        ASSERT_GT(m_tile.cx, 1);
        ASSERT_GT(m_tile.cy, 1);
    }

    // The centre of a cell of the grid, in client coordinates.
    POINT CellCentre(int cell) const
    {
        return {m_origin.x + (cell % kColumns) * m_tile.cx + m_tile.cx / 2,
                m_origin.y + (cell / kColumns) * m_tile.cy + m_tile.cy / 2};
    }

    // A point of the screen in the window's client coordinates.
    POINT FromScreen(POINT point) const
    {
        ::ScreenToClient(m_main, &point);
        return point;
    }

    std::string Send(UINT message, POINT where)
    {
        ::SendMessageA(m_main, message, message == WM_MOUSEMOVE ? 0 : MK_LBUTTON, At(where.x, where.y));
        return WindowText(m_main);
    }

    SIZE m_tile{};
    POINT m_origin{};
};
} // namespace

// A second press within the double-click time arrives as a double-click: it starts a readout too.
TEST_F(PixelReadout, PressOrDoubleClickOverATileShowsItsIndexAtOnceAndReleaseRestoresTheTitle)
{
    for (const UINT press : {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK})
    {
        SCOPED_TRACE(press == WM_LBUTTONDOWN ? "press" : "double-click");
        const POINT tile17 = CellCentre(17);
        if (press == WM_LBUTTONDBLCLK)
            Send(WM_LBUTTONUP, tile17);
        const Reading pressed = ParseTitle(Send(press, tile17));
        EXPECT_EQ(pressed.index, 17) << WindowText(m_main);
        EXPECT_NE(WindowText(m_main).find("[017]"), std::string::npos) << "three-digit padding";
        EXPECT_EQ(pressed.colour, static_cast<unsigned>(pressed.red | pressed.green << 8 | pressed.blue << 16));

        EXPECT_EQ(ParseTitle(Send(WM_MOUSEMOVE, CellCentre(200))).index, 200);
        EXPECT_EQ(ParseTitle(Send(WM_MOUSEMOVE, CellCentre(0))).index, 0);

        EXPECT_EQ(Send(WM_LBUTTONUP, CellCentre(0)), "Vexa");
        EXPECT_EQ(Send(WM_MOUSEMOVE, tile17), "Vexa") << "movement after release changes nothing";
    }
}

// Off the tiles (outside the window, in the margin, over the cells past the last tile) the colour is
// searched in the system palette.
TEST_F(PixelReadout, OffTheTilesTheIndexIsTheLowestEntryOfThatColour)
{
    SystemPalette palette{};
    ASSERT_TRUE(ReadVexaPalette(m_vexa.Id(), m_main, m_folder.Path("p.bmp"), palette));

    Send(WM_LBUTTONDOWN, CellCentre(5));
    const POINT places[] = {FromScreen({100, 50}), FromScreen({900, 700}), {1, m_origin.y + m_tile.cy * kRows},
                            CellCentre(256),       CellCentre(288),        CellCentre(kColumns * kRows - 1)};
    for (const POINT where : places)
    {
        SCOPED_TRACE("at " + std::to_string(where.x) + ", " + std::to_string(where.y));
        // Over tile 5 first, so that a place whose pixel could not be read shows tile 5's reading
        // rather than pass for the place's own.
        Send(WM_MOUSEMOVE, CellCentre(5));
        const Reading reading = ParseTitle(Send(WM_MOUSEMOVE, where));
        ASSERT_GE(reading.index, 0) << WindowText(m_main);
        int lowest = 256;
        for (int i = 255; i >= 0; --i)
        {
            if (palette[i].peRed == reading.red && palette[i].peGreen == reading.green &&
                palette[i].peBlue == reading.blue)
                lowest = i;
        }
        EXPECT_EQ(reading.index, lowest) << WindowText(m_main);
    }
    EXPECT_EQ(Send(WM_LBUTTONUP, CellCentre(5)), "Vexa");
}

// A point off every screen has no pixel to read: the title keeps the last reading.
TEST_F(PixelReadout, APointOffEveryScreenLeavesTheTitleAsItIs)
{
    const std::string over17 = Send(WM_LBUTTONDOWN, CellCentre(17));
    ASSERT_EQ(ParseTitle(over17).index, 17) << over17;
    const int right = ::GetSystemMetrics(SM_XVIRTUALSCREEN) + ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int bottom = ::GetSystemMetrics(SM_YVIRTUALSCREEN) + ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
    for (const POINT off : {POINT{-20, 300}, POINT{500, -20}, POINT{right + 20, 300}, POINT{500, bottom + 20}})
        EXPECT_EQ(Send(WM_MOUSEMOVE, FromScreen(off)), over17) << "at " << off.x << ", " << off.y;
    EXPECT_EQ(ParseTitle(Send(WM_MOUSEMOVE, CellCentre(200))).index, 200) << "the readout goes on";
    EXPECT_EQ(Send(WM_LBUTTONUP, CellCentre(200)), "Vexa");
}
