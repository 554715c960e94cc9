// Holes pull and catch the marble; flags are picked up once and become the restart point.
#include <gtest/gtest.h>

#include "platform/data1.h"
#include "platform/globals.h"
#include "platform/grid.h"
#include "run/play_support.h"
#include "support/levels.h"
#include "tiles/flag_tile.h"
#include "tiles/hole_tile.h"

namespace {

const int c6 = grid::cell_centre(6);

TEST(HoleTile, ReachPullAndFall)
{
    bead b;
    hole_tile h(c6, c6);

    place(b, c6 + 24, c6);  // 24: released
    b.hole_pull = Vektor(1, 1);
    h.interfere(&b, east);
    EXPECT_EQ(b.hole_pull.x, 0.0f);
    EXPECT_EQ(b.hole_pull.y, 0.0f);

    place(b, c6 + 23, c6);  // 23: pulled with 23 / 3 towards the centre
    h.interfere(&b, west);
    EXPECT_FLOAT_EQ(b.hole_pull.x, -23.0f / 3);
    EXPECT_FLOAT_EQ(b.hole_pull.y, 0.0f);
    EXPECT_EQ(b.state, bead::rolling);

    place(b, c6, c6 - 8);  // 8: pulled with 8 / 3, not fallen
    h.interfere(&b, under);
    EXPECT_FLOAT_EQ(b.hole_pull.x, 0.0f);
    EXPECT_FLOAT_EQ(b.hole_pull.y, 8.0f / 3);
    EXPECT_EQ(b.state, bead::rolling);

    place(b, c6 - 6, c6 - 8);  // 10 away on a slant: (0.6, 0.8) * 10 / 3
    h.interfere(&b, under);
    EXPECT_FLOAT_EQ(b.hole_pull.x, 2.0f);
    EXPECT_FLOAT_EQ(b.hole_pull.y, 8.0f / 3);

    place(b, c6 + 7.9f, c6);  // 7.9: fallen, the pull kept as it was
    b.hole_pull = Vektor(-3, 0);
    h.interfere(&b, under);
    EXPECT_EQ(b.state, bead::fallen);
    EXPECT_FLOAT_EQ(b.hole_pull.x, -3.0f);
    // A later call that finds the marble out of reach does not undo the fall.
    place(b, c6 + 30, c6);
    b.state = bead::fallen;
    h.interfere(&b, east);
    EXPECT_EQ(b.state, bead::fallen);
}

TEST(HoleTile, ClearsThePushOnlyUnderTheMarble)
{
    bead b;
    hole_tile h(c6, c6);
    place(b, c6 + 30, c6);
    b.tile_push = Vektor(6, 0);
    h.interfere(&b, west);
    EXPECT_FLOAT_EQ(b.tile_push.x, 6.0f);
    h.interfere(&b, under);
    EXPECT_EQ(b.tile_push.x, 0.0f);
}

TEST(HoleTile, TheHoleCalledLaterDecides)
{
    bead b;
    give_board(b, levels::open_board({{6, "*.....OO.....*"}}));
    // 19.5 from both: in the eastern hole's cell, which is called last (own cell).
    place(b, c6 + 19.5f, c6);
    b.move();
    EXPECT_FLOAT_EQ(b.hole_pull.x, 19.5f / 3);
    EXPECT_EQ(b.hole_pull.y, 0.0f);
    // One pixel further west: in the western hole's cell; now that one decides.
    place(b, c6 + 18.5f, c6);
    b.move();
    EXPECT_FLOAT_EQ(b.hole_pull.x, -18.5f / 3);
}

TEST(HoleTile, CatchesAMarbleRollingAlongTheNextRow)
{
    bead b;
    give_board(b, levels::open_board({{6, "*......O.....*"}}));
    // Row 7, 20 below the hole's row: caught from the neighbouring cell.
    place(b, grid::cell_centre(4), c6 + 20);
    b.speed = Vektor(3, 0);
    int steps = 0;
    while (b.hole_pull.Langd() == 0 && steps < 100) {
        b.move();
        steps++;
    }
    ASSERT_LT(steps, 100);
    EXPECT_LE(b.distance(c6, grid::cell_centre(7)), 23.0f);
    EXPECT_EQ(int(b.y / grid::cell), 7);
    // From now on the tilt does nothing until it falls.
    fake::mickeys = {{-1000, 1000}};
    while (b.state == bead::rolling && steps < 200) {
        b.move();
        steps++;
    }
    EXPECT_EQ(b.state, bead::fallen);
    EXPECT_EQ(fake::mickeys.size(), 1u);
}

TEST(FlagTile, PickedUpOnceFromANeighbouringCell)
{
    bead b;
    flag_tile f(c6, c6);
    f.picture = (BITMAP *)data1[OBJ_FLAG].dat;
    f.taken_picture = (BITMAP *)data1[OBJ_FLOOR].dat;
    b.flags_left = 2;
    b.restart_tile = nullptr;

    place(b, c6 - 25, c6);  // 25: not yet
    f.interfere(&b, east);
    heard(b);
    EXPECT_EQ(f.taken, 0);
    EXPECT_EQ(f.shown_picture(), (BITMAP *)data1[OBJ_FLAG].dat);
    EXPECT_EQ(b.flags_left, 2);

    place(b, c6 - 24.9f, c6);
    f.interfere(&b, east);
    EXPECT_TRUE(b.events.flag_taken);
    heard(b);
    EXPECT_EQ(f.taken, 1);
    EXPECT_EQ(b.flags_left, 1);
    EXPECT_EQ(f.shown_picture(), (BITMAP *)data1[OBJ_FLOOR].dat);
    EXPECT_EQ(b.restart_tile, &f);
    ASSERT_EQ(fake::samples.size(), 1u);
    EXPECT_EQ(fake::samples[0].sample, (SAMPLE *)data1[OBJ_SND_FLAG].dat);
    EXPECT_EQ(fake::samples[0].vol, 255);
    EXPECT_EQ(fake::samples[0].pan, 128);
    EXPECT_EQ(fake::samples[0].freq, 1000);
    EXPECT_EQ(fake::samples[0].loop, 0);

    // Never counted twice.
    place(b, c6, c6);
    b.restart_tile = nullptr;
    f.interfere(&b, under);
    heard(b);
    EXPECT_EQ(b.flags_left, 1);
    EXPECT_EQ(b.restart_tile, nullptr);
    EXPECT_EQ(fake::samples.size(), 1u);
}

TEST(FlagTile, LeavesTheMarblesMotionAlone)
{
    bead b;
    flag_tile f(c6, c6);
    b.flags_left = 1;
    place(b, c6 + 3, c6 + 4);
    b.speed = Vektor(2, -1);
    b.tile_push = Vektor(0.1f, 0.05f);
    f.interfere(&b, under);
    EXPECT_FLOAT_EQ(b.x, c6 + 3.0f);
    EXPECT_FLOAT_EQ(b.speed.x, 2.0f);
    EXPECT_FLOAT_EQ(b.tile_push.x, 0.1f);  // a dome's push goes on over a flag
}

}  // namespace
