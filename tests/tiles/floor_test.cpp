// Plain floor, start, shutter and cloth.
#include <gtest/gtest.h>

#include "platform/grid.h"
#include "run/play_support.h"
#include "support/levels.h"
#include "tiles/norm_tile.h"
#include "tiles/shutter_tile.h"
#include "tiles/softy_tile.h"
#include "tiles/start_tile.h"

namespace {

const int c6 = grid::cell_centre(6);

// Everything a quiet tile might disturb, set to values no tile would choose.
void disturbed(bead &b)
{
    place(b, c6 + 3.5f, c6 - 2.25f);
    b.old_x = c6 + 1;
    b.speed = Vektor(1.5f, -0.5f);
    b.tile_push = Vektor(0.12f, -0.07f);
    b.hole_pull = Vektor(0, 0);
    b.slope_acc = Vektor(0.04f, 0);
    b.cur_friction = 0.7f;
}

TEST(NormTile, ClearsThePushUnderTheMarbleOnly)
{
    bead b;
    norm_tile t(c6, c6);
    disturbed(b);
    t.interfere(&b, east);
    EXPECT_FLOAT_EQ(b.tile_push.x, 0.12f);
    t.interfere(&b, under);
    EXPECT_EQ(b.tile_push.x, 0.0f);
    EXPECT_EQ(b.tile_push.y, 0.0f);
    EXPECT_FLOAT_EQ(b.speed.x, 1.5f);
    EXPECT_FLOAT_EQ(b.cur_friction, 0.7f);
}

// Start and shutter are floor: they end a push as plain floor does, and touch nothing else.
TEST(StartAndShutterTiles, AreFloorThatEndsAPush)
{
    bead b;
    start_tile s(c6, c6);
    shutter_tile h(c6, c6);
    for (tile *t : {(tile *)&s, (tile *)&h}) {
        disturbed(b);
        for (char where = north_west; where <= west; where++)
            t->interfere(&b, where);
        EXPECT_FLOAT_EQ(b.tile_push.x, 0.12f);
        t->interfere(&b, under);
        EXPECT_EQ(b.tile_push.x, 0.0f);
        EXPECT_EQ(b.tile_push.y, 0.0f);
        EXPECT_FLOAT_EQ(b.x, c6 + 3.5f);
        EXPECT_FLOAT_EQ(b.y, c6 - 2.25f);
        EXPECT_FLOAT_EQ(b.speed.x, 1.5f);
        EXPECT_FLOAT_EQ(b.speed.y, -0.5f);
        EXPECT_FLOAT_EQ(b.slope_acc.x, 0.04f);
        EXPECT_FLOAT_EQ(b.cur_friction, 0.7f);
        EXPECT_EQ(b.state, bead::rolling);
    }
}

TEST(StartAndShutterTiles, BumperKickDoesNotKeepAddingAcrossThem)
{
    bead b;
    give_board(b, levels::open_board({{1, "*............*"}, {6, "*.....AX.....*"}}));
    place(b, c6, c6);
    b.tile_push = Vektor(6, 0);  // a kick from the step before
    b.move();
    EXPECT_FLOAT_EQ(b.speed.x, 6 * 0.99f);
    EXPECT_EQ(b.tile_push.x, 0.0f);
    b.move();
    EXPECT_FLOAT_EQ(b.speed.x, 6 * 0.99f * 0.99f);
}

TEST(SoftyTile, SwitchesTheFrictionByTheOwnCell)
{
    bead b;
    softy_tile t(c6, c6);
    place(b, c6 + 19, c6 + 18);  // a corner of the cell: 26.2 from the centre
    t.interfere(&b, under);
    EXPECT_FLOAT_EQ(b.cur_friction, 0.5f);
    t.interfere(&b, north_east);
    EXPECT_FLOAT_EQ(b.cur_friction, 0.99f);
    // Only the friction changes.
    b.tile_push = Vektor(0.1f, 0.1f);
    t.interfere(&b, under);
    EXPECT_FLOAT_EQ(b.tile_push.x, 0.1f);
}

TEST(SoftyTile, SlowsOnClothAndRestoresOneStepAfterLeaving)
{
    bead b;
    give_board(b, levels::open_board({{6, "*....##......*"}}));
    place(b, grid::cell_centre(5), c6);  // on the western cloth, next to the other cloth
    b.speed = Vektor(2, 0);
    b.move();  // still rolling with the floor's factor, then found on cloth
    EXPECT_FLOAT_EQ(b.speed.x, 2 * 0.99f);
    EXPECT_FLOAT_EQ(b.cur_friction, 0.5f);
    b.move();
    EXPECT_FLOAT_EQ(b.speed.x, 2 * 0.99f * 0.5f);

    // Onto plain floor east of the cloth: one more step at 0.5, then 0.99 again.
    place(b, grid::cell_centre(7) + 1, c6);
    b.cur_friction = 0.5f;
    b.speed = Vektor(1, 0);
    b.move();
    EXPECT_FLOAT_EQ(b.speed.x, 0.5f);
    EXPECT_FLOAT_EQ(b.cur_friction, 0.99f);
    b.move();
    EXPECT_FLOAT_EQ(b.speed.x, 0.5f * 0.99f);

    // Floor next to cloth keeps 0.99; cloth next to floor keeps 0.5.
    place(b, grid::cell_centre(4), c6);
    b.move();
    EXPECT_FLOAT_EQ(b.cur_friction, 0.99f);
    place(b, grid::cell_centre(6), c6);
    b.move();
    EXPECT_FLOAT_EQ(b.cur_friction, 0.5f);
}

TEST(SoftyTile, UsesTheConfiguredFactors)
{
    config_keys keys;
    keys.set("friction", "0.9");
    keys.set("softfriction", "0.3");
    bead b;
    b.read_settings();
    softy_tile t(c6, c6);
    place(b, c6, c6);
    t.interfere(&b, under);
    EXPECT_FLOAT_EQ(b.cur_friction, 0.3f);
    t.interfere(&b, west);
    EXPECT_FLOAT_EQ(b.cur_friction, 0.9f);
}

}  // namespace
