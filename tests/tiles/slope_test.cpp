// Slopes: 0.1 over the middle of the cell, fading over the outer five pixels of its square.
#include <gtest/gtest.h>

#include "platform/grid.h"
#include "run/play_support.h"
#include "tiles/slope_down_tile.h"
#include "tiles/slope_left_tile.h"
#include "tiles/slope_right_tile.h"
#include "tiles/slope_up_tile.h"

namespace {

const int c6 = grid::cell_centre(6);

// The slope's acceleration for a marble at (dx, dy) from the tile's centre.
Vektor acc(tile &t, float dx, float dy, char where = under)
{
    bead b;
    place(b, t.x + dx, t.y + dy);
    b.slope_acc = Vektor(5, 5);  // a value no slope sets: "untouched"
    t.interfere(&b, where);
    return b.slope_acc;
}

TEST(SlopeTiles, FullStrengthOverTheMiddle)
{
    slope_down_tile down(c6, c6);
    slope_up_tile up(c6, c6);
    slope_left_tile left(c6, c6);
    slope_right_tile right(c6, c6);
    Vektor a = acc(down, 0, 0);
    EXPECT_EQ(a.x, 0.0f);
    EXPECT_FLOAT_EQ(a.y, 0.1f);
    a = acc(left, 0, 0);
    EXPECT_FLOAT_EQ(a.x, -0.1f);
    EXPECT_EQ(a.y, 0.0f);
    a = acc(up, 14.9f, -14.9f);  // both offsets truncate to 14
    EXPECT_EQ(a.x, 0.0f);
    EXPECT_FLOAT_EQ(a.y, -0.1f);
    a = acc(right, -15, 3);  // m = 15: still 0.1
    EXPECT_FLOAT_EQ(a.x, 0.1f);
}

TEST(SlopeTiles, FadeOverTheEdgeBand)
{
    slope_right_tile right(c6, c6);
    slope_up_tile up(c6, c6);
    Vektor a = acc(right, -16, 0);
    EXPECT_FLOAT_EQ(a.x, 0.08f);
    EXPECT_EQ(a.y, 0.0f);
    a = acc(up, 2, -17);
    EXPECT_EQ(a.x, 0.0f);
    EXPECT_FLOAT_EQ(a.y, -0.06f);
    a = acc(right, 3, 18.5f);
    EXPECT_FLOAT_EQ(a.x, 0.04f);
    a = acc(right, 19.9f, 0);  // truncated to 19
    EXPECT_FLOAT_EQ(a.x, 0.02f);
    a = acc(right, 19.5f, 0, west);  // in the next cell east, still drawn
    EXPECT_FLOAT_EQ(a.x, 0.02f);
    a = acc(right, -19.9f, -19.9f);
    EXPECT_FLOAT_EQ(a.x, 0.02f);
}

TEST(SlopeTiles, NothingFromTwentyOn)
{
    slope_down_tile down(c6, c6);
    for (auto off : {Vektor(20, 0), Vektor(0, -20), Vektor(-20, 5), Vektor(3, 25), Vektor(30, 30)}) {
        Vektor a = acc(down, off.x, off.y);
        EXPECT_EQ(a.x, 5.0f);
        EXPECT_EQ(a.y, 5.0f);
    }
}

TEST(SlopeTiles, TouchOnlyTheSlopeAcceleration)
{
    bead b;
    slope_left_tile left(c6, c6);
    place(b, c6 + 1, c6 + 2);
    b.speed = Vektor(1, 2);
    b.tile_push = Vektor(0.1f, 0.2f);
    b.cur_friction = 0.6f;
    left.interfere(&b, under);
    EXPECT_FLOAT_EQ(b.x, c6 + 1.0f);
    EXPECT_FLOAT_EQ(b.y, c6 + 2.0f);
    EXPECT_FLOAT_EQ(b.speed.x, 1.0f);
    EXPECT_FLOAT_EQ(b.tile_push.y, 0.2f);
    EXPECT_FLOAT_EQ(b.cur_friction, 0.6f);
    EXPECT_FLOAT_EQ(b.slope_acc.x, -0.1f);
}

}  // namespace
