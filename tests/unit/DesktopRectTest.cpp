// Moving window rectangles back onto the desktop, including rectangles at the ends of the 32-bit range.
#include "settings/DesktopRect.h"

#include <gtest/gtest.h>
#include <limits>

namespace
{
constexpr Rect kScreen{0, 0, 1024, 768};
constexpr int kMin = std::numeric_limits<int>::min();
constexpr int kMax = std::numeric_limits<int>::max();

Rect Kept(Rect rect, Rect desktop = kScreen)
{
    KeepRectOnDesktop(rect, desktop);
    return rect;
}

struct Case
{
    Rect before;
    Rect after;
};
} // namespace

TEST(KeepRectOnDesktop, MovesJustFarEnoughOnA1024x768Screen)
{
    const Case cases[] = {
        {{-500, 100, -480, 200}, {12, 100, 32, 200}},    // left of the screen: right edge to 32
        {{100, -300, 300, -10}, {100, -258, 300, 32}},   // above: bottom edge to 32
        {{992, 100, 1192, 300}, {992, 100, 1192, 300}},  // exactly 32 pixels on the screen: stays
        {{1000, 740, 1200, 900}, {992, 736, 1192, 896}}, // right and below: both axes move
        {{10, 20, 500, 400}, {10, 20, 500, 400}},        // wholly on the screen
        {{-10, 736, 31, 1000}, {-9, 736, 32, 1000}},     // one pixel short of the margin on the left
        {{0, 0, 0, 0}, {32, 32, 32, 32}},                // an empty rectangle moves like any other
    };
    for (const Case& c : cases)
        EXPECT_EQ(Kept(c.before), c.after) << c.before.left << "," << c.before.top;
}

TEST(KeepRectOnDesktop, FollowsADesktopThatDoesNotStartAtZero)
{
    const Rect desktop{-1280, -200, 0, 824};
    EXPECT_EQ(Kept({100, 0, 400, 300}, desktop), (Rect{-32, 0, 268, 300}));
    EXPECT_EQ(Kept({-2000, 0, -1300, 300}, desktop), (Rect{-1948, 0, -1248, 300}));
}

TEST(KeepRectOnDesktop, NeverWrapsAtTheEndsOfThe32BitRange)
{
    // Wider than the whole range: left and right already reach over the screen, only the height moves.
    EXPECT_EQ(Kept({kMin, 0, kMax, 10}), (Rect{kMin, 22, kMax, 32}));
    // Far left: the move is larger than 2^31 but the result fits.
    EXPECT_EQ(Kept({kMin, 0, kMin + 1, 100}), (Rect{31, 0, 32, 100}));
    // Far right and below.
    EXPECT_EQ(Kept({kMax - 1, kMax - 1, kMax, kMax}), (Rect{992, 736, 993, 737}));
    EXPECT_EQ(Kept({kMin, 0, -1, 100}), (Rect{kMin + 33, 0, 32, 100}));
    // Swapped edges: the left edge would pass the end of the range and stops there.
    EXPECT_EQ(Kept({kMax, 0, kMin, 100}), (Rect{kMax, 0, 32, 100}));
    EXPECT_EQ(Kept({0, kMax, 100, kMin}), (Rect{0, kMax, 100, 32}));
}

TEST(SaturatedSize, ClampsInsteadOfWrapping)
{
    EXPECT_EQ(SaturatedWidth({10, 0, 30, 0}), 20);
    EXPECT_EQ(SaturatedHeight({0, 30, 0, 10}), -20);
    EXPECT_EQ(SaturatedWidth({kMin, 0, kMax, 0}), kMax);
    EXPECT_EQ(SaturatedHeight({0, kMax, 0, kMin}), kMin);
}
