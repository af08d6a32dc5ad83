// The drag readout in the title of the real program, driven by mouse messages from outside.
//
// Under Wine, GetPixel on the screen may not read what the windows show (it often reads black), so
// these tests check the index, the format and that the colour agrees with the index; the exact
// colour formatting is covered by the unit tests of the title text.
#include "CommandDriver.h"
#include "VexaDriver.h"
#include "resource.h"

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

class PixelReadout : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetVexaSettings();
        m_main = m_vexa.StartAndWaitForMain();
        ASSERT_NE(m_main, nullptr);
        // A 16 x 16 grid: tiles large enough to aim at.
        ASSERT_TRUE(RunCommand(m_main, ID_VIEW_COLUMNS_16));
        RECT client{};
        ::GetClientRect(m_main, &client);
        m_tile = {client.right / 16, client.bottom / 16};
        m_origin = {(client.right - m_tile.cx * 16) / 2, (client.bottom - m_tile.cy * 16) / 2};
        ASSERT_GT(m_tile.cx, 0);
        ASSERT_GT(m_tile.cy, 0);
    }

    POINT TileCentre(int index) const
    {
        return {m_origin.x + (index % 16) * m_tile.cx + m_tile.cx / 2, m_origin.y + (index / 16) * m_tile.cy + m_tile.cy / 2};
    }

    std::string Send(UINT message, LPARAM where)
    {
        ::SendMessageA(m_main, message, message == WM_MOUSEMOVE ? 0 : MK_LBUTTON, where);
        return WindowText(m_main);
    }

    VexaProcess m_vexa;
    HWND m_main = nullptr;
    SIZE m_tile{};
    POINT m_origin{};
};
} // namespace

TEST_F(PixelReadout, PressOverATileShowsItsIndexAtOnceAndReleaseRestoresTheTitle)
{
    const POINT tile17 = TileCentre(17);
    const Reading pressed = ParseTitle(Send(WM_LBUTTONDOWN, At(tile17.x, tile17.y)));
    EXPECT_EQ(pressed.index, 17);
    EXPECT_NE(WindowText(m_main).find("[017]"), std::string::npos) << "three-digit padding";
    EXPECT_EQ(pressed.colour, static_cast<unsigned>(pressed.red | pressed.green << 8 | pressed.blue << 16));

    const POINT tile200 = TileCentre(200);
    EXPECT_EQ(ParseTitle(Send(WM_MOUSEMOVE, At(tile200.x, tile200.y))).index, 200);
    const POINT tile0 = TileCentre(0);
    EXPECT_EQ(ParseTitle(Send(WM_MOUSEMOVE, At(tile0.x, tile0.y))).index, 0);

    EXPECT_EQ(Send(WM_LBUTTONUP, At(tile0.x, tile0.y)), "Vexa");
    EXPECT_EQ(Send(WM_MOUSEMOVE, At(tile17.x, tile17.y)), "Vexa") << "movement after release changes nothing";
    EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(PixelReadout, OffTheGridTheIndexIsTheLowestEntryOfThatColour)
{
    // The system palette as Vexa sees it, through its own Save As.
    ScratchFolder folder;
    PostCommand(m_main, ID_FILE_SAVE_AS);
    ASSERT_TRUE(ChooseFileInDialog(m_vexa.Id(), "Save As", m_main, folder.Path("p.bmp")));
    ASSERT_TRUE(WaitUntilIdle(m_main));
    const std::vector<unsigned char> bitmap = ReadFileBytes(folder.Path("p.bmp"));
    ASSERT_EQ(bitmap.size(), 9270u);

    const POINT tile5 = TileCentre(5);
    Send(WM_LBUTTONDOWN, At(tile5.x, tile5.y));
    // Outside the window, above and left of it, and in the client area's margin below the grid.
    for (const POINT where : {POINT{-40, -40}, POINT{-200, 10}, POINT{1, m_origin.y + m_tile.cy * 16}})
    {
        const Reading reading = ParseTitle(Send(WM_MOUSEMOVE, At(where.x, where.y)));
        ASSERT_GE(reading.index, 0) << WindowText(m_main);
        ASSERT_LE(reading.index, 256);
        int lowest = 256;
        for (int i = 255; i >= 0; --i)
        {
            const unsigned char* quad = &bitmap[54 + 4 * i];
            if (quad[2] == reading.red && quad[1] == reading.green && quad[0] == reading.blue)
                lowest = i;
        }
        EXPECT_EQ(reading.index, lowest) << "at " << where.x << ", " << where.y;
    }
    EXPECT_EQ(Send(WM_LBUTTONUP, At(-40, -40)), "Vexa");
}
