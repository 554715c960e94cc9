// Tubes: closed sides stop the marble like a wall's, the openings are guarded by their corner
// points, and inside its cell a tube holds the marble's centre in a channel 3 either side.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/grid.h"
#include "run/play_support.h"
#include "support/levels.h"
#include "tiles/tube_ns_tile.h"
#include "tiles/tube_nse_tile.h"
#include "tiles/tube_nsw_tile.h"
#include "tiles/tube_we_tile.h"
#include "tiles/tube_wen_tile.h"
#include "tiles/tube_wes_tile.h"
#include "tiles/tube_x_tile.h"

namespace {

const int c6 = grid::cell_centre(6);

std::vector<std::string> rows_with(const std::vector<std::pair<int, std::string>> &lines)
{
    std::vector<std::string> rows = levels::open_board();
    for (auto &l : lines)
        rows[l.first] = l.second;
    return rows;
}

TEST(TubeNsTile, HoldsTheMarbleInTheChannelSilently)
{
    bead b;
    std::vector<std::pair<int, std::string>> tube;
    for (int r = 2; r <= 11; r++)
        tube.push_back({r, "*.....I......*"});
    give_board(b, rows_with(tube));
    place(b, c6, grid::cell_centre(11));
    fake::mickeys = {{150, -200}};
    int held_east = 0, held_west = 0;
    while (b.y > grid::cell_centre(2)) {
        b.move();
        ASSERT_LE(std::fabs(b.x - c6), 3.0f);
        if (b.x == c6 + 3.0f) {
            held_east++;
            EXPECT_LE(b.speed.x, 0.0f);  // reversed
        }
        if (b.x == c6 - 3.0f) {
            held_west++;
            EXPECT_GE(b.speed.x, 0.0f);
        }
        if (held_east == 3 && held_west == 0)
            fake::mickeys = {{-300, 0}};  // and the other way
    }
    EXPECT_GE(held_east, 3);
    EXPECT_GE(held_west, 3);
    EXPECT_EQ(b.x, c6 - 3.0f);
    EXPECT_EQ(b.bounced, 0);
    EXPECT_TRUE(fake::samples.empty());
    EXPECT_TRUE(fake::stopped.empty());
}

TEST(TubeNsTile, ChannelBoundReversesAndCuts)
{
    bead b;
    tube_ns_tile t(c6, c6);
    place(b, c6 + 5, c6);
    b.speed = Vektor(2, -4);
    t.interfere(&b, under);
    EXPECT_EQ(b.x, c6 + 3.0f);
    EXPECT_FLOAT_EQ(b.speed.x, -0.6f);
    EXPECT_FLOAT_EQ(b.speed.y, -4.0f);
    place(b, c6 - 4, c6 + 15);
    b.speed = Vektor(-1, 0);
    t.interfere(&b, under);
    EXPECT_EQ(b.x, c6 - 3.0f);
    EXPECT_FLOAT_EQ(b.speed.x, 0.3f);
    EXPECT_EQ(b.y, c6 + 15.0f);  // y is free
}

TEST(TubeNsTile, OpeningIsGuardedByItsCornerPoints)
{
    bead b;
    tube_ns_tile t(c6, c6);
    // From the south, 10 right of the axis: touches the SE corner point (274, 274) while in
    // the cell below.
    place(b, c6 + 10, c6 + 31);
    b.old_y = c6 + 36;
    b.speed = Vektor(0, -5);
    ASSERT_EQ(int(b.y / grid::cell), 7);
    t.interfere(&b, north);
    EXPECT_EQ(b.bounced, 1);
    EXPECT_GT(b.speed.y, -5.0f);
    // On the axis it passes between the two corner points, 20 away on either side.
    place(b, c6, c6 + 31);
    b.speed = Vektor(0, -5);
    t.interfere(&b, north);
    t.interfere(&b, south);
    EXPECT_EQ(b.bounced, 0);
    EXPECT_EQ(b.speed.y, -5.0f);
}

TEST(TubeNsTile, ClosedSidesStopTheMarbleWithASound)
{
    bead b;
    tube_ns_tile t(c6, c6);
    place(b, c6 - 34, c6);  // west of the tube: side W at x - 36
    b.speed = Vektor(3, 0);
    t.interfere(&b, east);
    heard(b);
    EXPECT_EQ(b.x, c6 - 36.0f);
    EXPECT_FLOAT_EQ(b.speed.x, -0.9f);
    ASSERT_EQ(fake::samples.size(), 1u);
    EXPECT_EQ(fake::samples[0].vol, 127);
    place(b, c6 + 35, c6);  // east of it: side E at x + 36
    b.speed = Vektor(-6, 0);
    t.interfere(&b, west);
    heard(b);
    EXPECT_EQ(b.x, c6 + 36.0f);
    ASSERT_EQ(fake::samples.size(), 2u);
    EXPECT_EQ(fake::samples[1].vol, 255);
}

TEST(TubeWeTile, ClosedSidesAreSilent)
{
    bead b;
    tube_we_tile t(c6, c6);
    place(b, c6, c6 - 34);  // north of the tube: side N at y - 36
    b.speed = Vektor(0, 3);
    t.interfere(&b, south);
    EXPECT_EQ(b.y, c6 - 36.0f);
    EXPECT_FLOAT_EQ(b.speed.y, -0.9f);
    place(b, c6, c6 + 33);
    b.speed = Vektor(1, -5);
    t.interfere(&b, north);
    EXPECT_EQ(b.y, c6 + 36.0f);
    EXPECT_FLOAT_EQ(b.speed.y, 1.5f);
    EXPECT_TRUE(fake::samples.empty());
    // Its channel: y within 3 of the axis, x free.
    place(b, c6 + 12, c6 - 7);
    b.speed = Vektor(4, -1);
    t.interfere(&b, under);
    EXPECT_EQ(b.y, c6 - 3.0f);
    EXPECT_FLOAT_EQ(b.speed.y, 0.3f);
    EXPECT_EQ(b.x, c6 + 12.0f);
    place(b, c6, c6 + 3.5f);
    t.interfere(&b, under);
    EXPECT_EQ(b.y, c6 + 3.0f);
}

TEST(TubeWeTile, MarbleRunsThroughFromWestToEast)
{
    bead b;
    give_board(b, rows_with({{6, "*...------...*"}}));
    place(b, grid::cell_centre(2), c6);
    fake::mickeys = {{200, 0}};
    while (b.x < grid::cell_centre(11)) {
        b.move();
        ASSERT_EQ(b.bounced, 0);
        ASSERT_EQ(b.y, float(c6));
    }
    EXPECT_TRUE(fake::samples.empty());
}

TEST(TubeXTile, StopsNothing)
{
    bead b;
    give_board(b, rows_with({{6, "*.....+......*"}}));
    // Across in all four directions along its axes.
    int starts[][4] = {{grid::cell_centre(3), c6, 200, 0}, {grid::cell_centre(9), c6, -200, 0}, {c6, grid::cell_centre(3), 0, 200},
                       {c6, grid::cell_centre(9), 0, -200}};
    for (auto &s : starts) {
        fake::reset();
        place(b, s[0], s[1]);
        fake::mickeys = {{s[2], s[3]}};
        for (int i = 0; i < 90; i++) {
            b.move();
            ASSERT_EQ(b.bounced, 0);
        }
        float along = s[2] != 0 ? b.x : b.y;
        float sign = s[2] + s[3] > 0 ? 1 : -1;
        EXPECT_GT(sign * (along - c6), (float)grid::cell);
    }
}

TEST(TubeXTile, CornerPointsStillDeflect)
{
    bead b;
    tube_x_tile t(c6, c6);
    for (char where = under; where <= west; where++) {
        place(b, c6 + 20, c6 + 31);  // 11 below the SE corner point
        b.old_y = c6 + 36;
        b.speed = Vektor(0, -5);
        t.interfere(&b, where);
        EXPECT_EQ(b.bounced, 1) << int(where);
    }
}

TEST(TubeNseTile, HoldsTheWestOnlyAndLetsTheMarbleOutEast)
{
    bead b;
    give_board(b, rows_with({{6, "*.....E......*"}}));
    place(b, c6, c6);
    fake::mickeys = {{-200, 10}};
    for (int i = 0; i < 40; i++) {
        b.move();
        if (int(b.y / grid::cell) == 6) {
            ASSERT_GE(b.x, c6 - 3.0f);
        }
    }
    EXPECT_EQ(b.x, c6 - 3.0f);
    // The marble leaves east.
    place(b, c6, c6);
    fake::mickeys = {{200, 0}};
    for (int i = 0; i < 60; i++)
        b.move();
    EXPECT_GT(b.x, grid::cell_centre(8));
    EXPECT_EQ(b.y, float(c6));

    // Its closed west side seen from the west: silent.
    tube_nse_tile t(c6, c6);
    place(b, c6 - 33, c6);
    b.speed = Vektor(4, 0);
    fake::reset();
    t.interfere(&b, east);
    EXPECT_EQ(b.x, c6 - 36.0f);
    EXPECT_TRUE(fake::samples.empty());
}

TEST(TubeNswTile, HoldsTheEastOnly)
{
    bead b;
    tube_nsw_tile t(c6, c6);
    place(b, c6 + 4, c6 - 10);
    b.speed = Vektor(1, 2);
    t.interfere(&b, under);
    EXPECT_EQ(b.x, c6 + 3.0f);
    EXPECT_FLOAT_EQ(b.speed.x, -0.3f);
    place(b, c6 - 15, c6);  // free to the west
    t.interfere(&b, under);
    EXPECT_EQ(b.x, c6 - 15.0f);
    place(b, c6 + 34, c6);  // its closed east side, seen from the east
    b.speed = Vektor(-4, 0);
    t.interfere(&b, west);
    EXPECT_EQ(b.x, c6 + 36.0f);
    EXPECT_TRUE(fake::samples.empty());
}

TEST(TubeWenTile, HeldAtMostThreeBelowTheAxisAndGuardedToTheNorth)
{
    bead b;
    tube_wen_tile t(c6, c6);
    place(b, c6 + 10, c6 + 8);
    b.speed = Vektor(1, 2);
    t.interfere(&b, under);
    EXPECT_EQ(b.y, c6 + 3.0f);
    EXPECT_FLOAT_EQ(b.speed.y, -0.6f);
    // Up towards the northern opening, too far right: the NE corner point (274, 234).
    place(b, c6 + 12, c6 - 8);
    b.old_y = c6 - 3;
    b.speed = Vektor(0, -5);
    t.interfere(&b, under);
    EXPECT_EQ(b.bounced, 1);
    // Its closed south side, seen from the south: silent.
    place(b, c6, c6 + 34);
    b.speed = Vektor(0, -4);
    t.interfere(&b, north);
    EXPECT_EQ(b.y, c6 + 36.0f);
    EXPECT_TRUE(fake::samples.empty());
    // Its open north side, seen from the north: only its corner points.
    place(b, c6, c6 - 34);
    b.speed = Vektor(0, 4);
    t.interfere(&b, south);
    EXPECT_EQ(b.y, c6 - 34.0f);
}

TEST(TubeWesTile, HeldAtMostThreeAboveTheAxisAndGuardedToTheSouth)
{
    bead b;
    tube_wes_tile t(c6, c6);
    place(b, c6 - 10, c6 - 8);
    b.speed = Vektor(1, -2);
    t.interfere(&b, under);
    EXPECT_EQ(b.y, c6 - 3.0f);
    EXPECT_FLOAT_EQ(b.speed.y, 0.6f);
    place(b, c6 - 12, c6 + 8);
    b.old_y = c6 + 3;
    b.speed = Vektor(0, 5);
    t.interfere(&b, under);
    EXPECT_EQ(b.bounced, 1);  // the SW corner point (234, 274)
    place(b, c6, c6 - 34);
    b.speed = Vektor(0, 4);
    t.interfere(&b, south);
    EXPECT_EQ(b.y, c6 - 36.0f);
    EXPECT_TRUE(fake::samples.empty());
    place(b, c6, c6 + 34);
    b.speed = Vektor(0, -4);
    t.interfere(&b, north);
    EXPECT_EQ(b.y, c6 + 34.0f);
}

}  // namespace

namespace {

// A rush along the diagonal from the cell (2, 2) at the north-west corner point K (117, 117) of
// a tube at row 3, column 3: from Q (105, 105), 16.97 from K and so not yet touching, at 15 per
// axis to P (120, 120), inside the tube's cell, through its closed west side (or, for the
// west-east tube, its closed north side). As for a wall, the tile pass is taken from the cell
// the step began in, where the tube is the south-east neighbour and K stops the marble:
// L = 21.21, b = 2 (Q - K) . step / L = -33.94, m = 288 - 256 = 32, t = 16.97 - 16 = 0.97,
// H = (105.69, 105.69); head-on, so the speed becomes (-4.5, -4.5), r = 10 / 3, and the
// marble ends at H - (1, 1) / sqrt 2 * (21.21 - 0.97) * 0.3 = (101.39, 101.39).
TEST(TubeTiles, DiagonalRushAtACornerBouncesOffItLikeAWall)
{
    for (const char *row : {"*..I.........*", "*..-.........*", "*..S.........*", "*..*.........*"}) {
        SCOPED_TRACE(row);
        bead b;
        give_board(b, rows_with({{3, row}}));
        place(b, 105, 105);
        b.speed = Vektor(16, 16);  // 15.84 after friction, held at the limit of 15
        b.move();
        EXPECT_EQ(b.bounced, 1);
        EXPECT_NEAR(b.x, 101.392f, 0.001);
        EXPECT_NEAR(b.y, 101.392f, 0.001);
        EXPECT_NEAR(b.speed.x, -4.5f, 0.0001);
        EXPECT_NEAR(b.speed.y, -4.5f, 0.0001);
    }

    // Through an open side the tube's own cell takes the marble as before: down the axis of a
    // north-south tube from the cell above, into its channel.
    bead b;
    give_board(b, rows_with({{3, "*..I.........*"}}));
    place(b, 137, 110);
    b.speed = Vektor(0, 12.12f);
    b.move();
    EXPECT_EQ(b.bounced, 0);
    EXPECT_EQ(b.x, 137.0f);
    EXPECT_NEAR(b.y, 122.0f, 0.01);
}

// A hole's pull is not held at 15, so a marble drawn past the hole at (98, 137) can reach the
// tube beside it in one step: from (100, 147) at (20, 0) plus the pull (0, -1) it would land at
// (120, 146), in the tube's cell through its closed west side, and the channel would put it
// into the tube. Taken from the hole's cell, the tube is the east neighbour: its west side
// x = 137 - 36 = 101 stops the marble with a sound (255: 20 is far above 6), the speed across
// becomes -6, and the hole, 9.49 away at (101, 146), pulls with (-3, -9) / 3 = (-1, -3).
TEST(TubeTiles, AMarbleDrawnByAHoleStopsAtTheTubesClosedSide)
{
    bead b;
    give_board(b, rows_with({{3, "*.OI.........*"}}));
    place(b, 100, 147);
    b.speed = Vektor(20, 0);
    b.hole_pull = Vektor(0, -1);
    b.move();
    EXPECT_EQ(b.x, 101.0f);
    EXPECT_EQ(b.y, 146.0f);
    EXPECT_FLOAT_EQ(b.speed.x, -6.0f);
    EXPECT_FLOAT_EQ(b.speed.y, -1.0f);
    EXPECT_FLOAT_EQ(b.hole_pull.x, -1.0f);
    EXPECT_FLOAT_EQ(b.hole_pull.y, -3.0f);
    EXPECT_EQ(b.state, 1);
    ASSERT_EQ(fake::samples.size(), 1u);
    EXPECT_EQ(fake::samples[0].vol, 255);
}

}  // namespace
