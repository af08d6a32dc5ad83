// The paint plan of the tile grid, recorded through a fake canvas.
#include "window/GridPaint.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <vector>

namespace
{
struct Call
{
    bool frame; // FrameTile rather than FillTile
    Rect rect;
    int index; // -1 for frames
    bool operator==(const Call&) const = default;
};

class RecordingCanvas final : public TileCanvas
{
  public:
    std::vector<Call> m_calls;

    void FillTile(const Rect& rect, int paletteIndex) override
    {
        // A plan that runs past any palette ends the test at once rather than recording billions of tiles.
        if (m_calls.size() > 1024)
            throw std::length_error("more tiles than any palette has");
        m_calls.push_back({false, rect, paletteIndex});
    }
    void FrameTile(const Rect& rect) override { m_calls.push_back({true, rect, -1}); }

    std::vector<Call> Fills() const
    {
        std::vector<Call> fills;
        for (const Call& call : m_calls)
        {
            if (!call.frame)
                fills.push_back(call);
        }
        return fills;
    }
};

TEST(GridPaint, FillsEveryTileRowByRowFromTheOrigin)
{
    // 330 x 200 with 16 x 16: tiles of 20 x 12 from (5, 4).
    const Extent grid{16, 16};
    RecordingCanvas canvas;
    PaintGrid(GridLayout::Compute({330, 200}, grid), grid, 256, false, canvas);

    ASSERT_EQ(canvas.m_calls.size(), 256u);
    for (int j = 0; j < 256; ++j)
    {
        const int left = 5 + (j % 16) * 20;
        const int top = 4 + (j / 16) * 12;
        EXPECT_EQ(canvas.m_calls[j], (Call{false, {left, top, left + 20, top + 12}, j})) << "tile " << j;
    }
}

TEST(GridPaint, BordersFrameEachTileOnePixelWider)
{
    const Extent grid{2, 2};
    RecordingCanvas canvas;
    PaintGrid(GridLayout{{1, 2}, {10, 5}}, grid, 4, true, canvas);

    const std::vector<Call> expected = {
        {false, {1, 2, 11, 7}, 0},   {true, {1, 2, 12, 8}, -1},   {false, {11, 2, 21, 7}, 1},
        {true, {11, 2, 22, 8}, -1},  {false, {1, 7, 11, 12}, 2},  {true, {1, 7, 12, 13}, -1},
        {false, {11, 7, 21, 12}, 3}, {true, {11, 7, 22, 13}, -1},
    };
    EXPECT_EQ(canvas.m_calls, expected);
}

TEST(GridPaint, DrawsOnlyTheEntriesThePaletteHas)
{
    struct Case
    {
        const char* name;
        int entryCount;
        std::size_t fills;
    };
    const Case cases[] = {{"no entries", 0, 0},
                          {"negative count", -5, 0},
                          {"fewer than a row", 3, 3},
                          {"part of the grid", 20, 20},
                          {"more than the grid", 300, 256}};
    const Extent grid{16, 16};
    const GridLayout layout = GridLayout::Compute({320, 192}, grid);
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        RecordingCanvas canvas;
        PaintGrid(layout, grid, c.entryCount, true, canvas);
        const std::vector<Call> fills = canvas.Fills();
        ASSERT_EQ(fills.size(), c.fills);
        EXPECT_EQ(canvas.m_calls.size(), 2 * c.fills);
        for (std::size_t j = 0; j < fills.size(); ++j)
            EXPECT_EQ(fills[j].index, static_cast<int>(j));
    }
}

TEST(GridPaint, HugeGridStopsAfterTheLastEntry)
{
    // 1 x 2,000,000,000 on 320 x 200: tiles 320 x 0. The plan visits N tiles, not the grid's cells.
    const Extent grid{1, 2'000'000'000};
    RecordingCanvas canvas;
    PaintGrid(GridLayout::Compute({320, 200}, grid), grid, 256, false, canvas);
    ASSERT_EQ(canvas.m_calls.size(), 256u);
    EXPECT_EQ(canvas.m_calls.back(), (Call{false, {0, 100, 320, 100}, 255}));

    RecordingCanvas wide;
    PaintGrid(GridLayout::Compute({320, 200}, {2'000'000'000, 1}), {2'000'000'000, 1}, 256, false, wide);
    ASSERT_EQ(wide.m_calls.size(), 256u);
    EXPECT_EQ(wide.m_calls.back().index, 255);
}
} // namespace
