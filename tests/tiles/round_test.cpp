// Dome, bowl and bumper: pushes through tile_push while the marble is on them.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/data1.h"
#include "platform/globals.h"
#include "platform/grid.h"
#include "run/play_support.h"
#include "support/levels.h"
#include "tiles/bumper_tile.h"
#include "tiles/concave_tile.h"
#include "tiles/convex_tile.h"

namespace {

const int c6 = grid::cell_centre(6);

Vektor push(tile &t, float dx, float dy, char where = under)
{
    bead b;
    place(b, t.x + dx, t.y + dy);
    b.tile_push = Vektor(9, 9);
    t.interfere(&b, where);
    return b.tile_push;
}

TEST(ConvexTile, PushesAwayFromTheCentre)
{
    convex_tile dome(c6, c6);
    Vektor p = push(dome, 10, 0);
    EXPECT_FLOAT_EQ(p.x, 0.1f);
    EXPECT_FLOAT_EQ(p.y, 0.0f);
    p = push(dome, -9, 12);  // 15 away: (-0.6, 0.8) * 0.15
    EXPECT_FLOAT_EQ(p.x, -0.09f);
    EXPECT_FLOAT_EQ(p.y, 0.12f);
    p = push(dome, 0, -17.9f);
    EXPECT_NEAR(p.Langd(), 0.179f, 1e-6);
    EXPECT_LT(p.y, 0.0f);
    p = push(dome, 18, 0);
    EXPECT_EQ(p.x, 0.0f);
    EXPECT_EQ(p.y, 0.0f);
    p = push(dome, 0, 0);  // on the centre: no direction, no push
    EXPECT_EQ(p.x, 0.0f);
    EXPECT_EQ(p.y, 0.0f);
    p = push(dome, 10, 0, east);  // as a neighbour: nothing
    EXPECT_EQ(p.x, 9.0f);
}

TEST(ConcaveTile, PullsTowardsTheCentre)
{
    concave_tile bowl(c6, c6);
    Vektor p = push(bowl, 10, 0);
    EXPECT_FLOAT_EQ(p.x, -0.1f);
    EXPECT_FLOAT_EQ(p.y, 0.0f);
    p = push(bowl, -9, 12);
    EXPECT_FLOAT_EQ(p.x, 0.09f);
    EXPECT_FLOAT_EQ(p.y, -0.12f);
    p = push(bowl, 17.9f, 0);
    EXPECT_NEAR(p.x, -0.179f, 1e-6);
    p = push(bowl, 0, 18);
    EXPECT_EQ(p.x, 0.0f);
    EXPECT_EQ(p.y, 0.0f);
    p = push(bowl, 10, 0, north);
    EXPECT_EQ(p.y, 9.0f);
}

TEST(ConvexTile, PushGoesOnOverAFlagUntilPlainFloor)
{
    bead b;
    give_board(b, levels::open_board({{6, "*.....VF.....*"}}));
    place(b, c6 + 10, c6);
    b.move();
    EXPECT_FLOAT_EQ(b.tile_push.x, 0.1f);
    place(b, grid::cell_centre(7), c6);  // on the flag
    b.flags_left = 5;
    b.tile_push = Vektor(0.1f, 0);
    b.move();
    EXPECT_FLOAT_EQ(b.tile_push.x, 0.1f);
    EXPECT_FLOAT_EQ(b.speed.x, 0.1f * 0.99f);
    place(b, grid::cell_centre(8), c6);  // plain floor
    b.tile_push = Vektor(0.1f, 0);
    b.move();
    EXPECT_EQ(b.tile_push.x, 0.0f);
}

TEST(BumperTile, KicksOncePerVisitWithOneSound)
{
    bead b;
    bumper_tile k(c6, c6);
    // Enters the cell 20 from the centre, up and to the left: (-0.6, -0.8) * 6.
    place(b, c6 - 12, c6 - 16);
    k.interfere(&b, under);
    heard(b);
    EXPECT_FLOAT_EQ(b.tile_push.x, -3.6f);
    EXPECT_FLOAT_EQ(b.tile_push.y, -4.8f);
    EXPECT_EQ(k.fired, 1);
    ASSERT_EQ(fake::samples.size(), 1u);
    EXPECT_EQ(fake::samples[0].sample, (SAMPLE *)data1[OBJ_SND_BUMPER].dat);
    EXPECT_EQ(fake::samples[0].vol, 255);
    EXPECT_EQ(fake::samples[0].pan, 128);
    EXPECT_EQ(fake::samples[0].freq, 1000);
    EXPECT_EQ(fake::samples[0].loop, 0);

    // Still in the cell: no second kick, and the push ends.
    place(b, c6 - 5, c6 - 5);
    k.interfere(&b, under);
    heard(b);
    EXPECT_EQ(b.tile_push.x, 0.0f);
    EXPECT_EQ(b.tile_push.y, 0.0f);
    EXPECT_EQ(fake::samples.size(), 1u);

    // Re-armed only from a neighbouring cell.
    k.interfere(&b, south);
    EXPECT_EQ(k.fired, 0);
    EXPECT_EQ(b.tile_push.x, 0.0f);
    place(b, c6 + 24, c6);
    k.interfere(&b, under);
    heard(b);
    EXPECT_FLOAT_EQ(b.tile_push.x, 6.0f);
    EXPECT_EQ(fake::samples.size(), 2u);
}

TEST(BumperTile, CornerOfItsCellIsOutOfReach)
{
    bead b;
    bumper_tile k(c6, c6);
    place(b, c6 + 18, c6 - 18);  // 25.5 away
    b.tile_push = Vektor(3, 3);
    k.interfere(&b, under);
    EXPECT_EQ(k.fired, 0);
    EXPECT_EQ(b.tile_push.x, 0.0f);
    EXPECT_EQ(b.tile_push.y, 0.0f);
    EXPECT_TRUE(fake::samples.empty());
}

TEST(BumperTile, DeadOnTheKnobThrowsTheMarbleBack)
{
    bead b;
    bumper_tile k(c6, c6);
    place(b, c6, c6);
    b.speed = Vektor(3, -4);
    k.interfere(&b, under);
    EXPECT_FLOAT_EQ(b.tile_push.x, -3.6f);
    EXPECT_FLOAT_EQ(b.tile_push.y, 4.8f);
    // At rest on the centre (it cannot start there, but a board may put it): north.
    bumper_tile k2(c6, c6);
    place(b, c6, c6);
    k2.interfere(&b, under);
    EXPECT_EQ(b.tile_push.x, 0.0f);
    EXPECT_FLOAT_EQ(b.tile_push.y, -6.0f);
}

TEST(BumperTile, RollingAcrossKicksOncePerVisit)
{
    bead b;
    give_board(b, levels::open_board({{6, "*.....B......*"}}));
    // Towards the bumper from the west, on its row: kicked back west, once.
    place(b, grid::cell_centre(4), c6 + 2);
    b.speed = Vektor(3, 0);
    int kicks_before_leaving = 0;
    for (int i = 0; i < 40; i++) {
        b.move();
        if (int(b.x / grid::cell) == 6)
            kicks_before_leaving = (int)fake::samples.size();
    }
    EXPECT_EQ(kicks_before_leaving, 1);
    EXPECT_EQ(fake::samples.size(), 1u);
    EXPECT_LT(b.speed.x, 0.0f);  // it went back the way it came
}

}  // namespace
