// The wall: four faces with sound, four corner points, one part tested per direction.
#include <gtest/gtest.h>

#include "platform/data1.h"
#include "platform/globals.h"
#include "platform/grid.h"
#include "run/play_support.h"
#include "support/levels.h"
#include "tiles/wall_tile.h"

namespace {

const int c6 = grid::cell_centre(6);

std::vector<std::string> open_rows()
{
    return levels::open_board();
}

TEST(WallTile, EachDirectionTestsTheFacingSide)
{
    bead b;
    wall_tile w(c6, c6);  // centre (254, 254)
    struct {
        char where;
        float x, y, vx, vy;        // marble after its move, beyond the face
        float want_x, want_y;      // put back on the line
        float want_vx, want_vy;
        int volume;
    } cases[] = {
        {east, 220, 250, 5, 1, 218, 250, -1.5f, 1, 212},   // west side, x - 36
        {west, 288, 250, -3, 0, 290, 250, 0.9f, 0, 127},   // east side, x + 36
        {south, 250, 221, 0, 1.2f, 250, 218, 0, -0.36f, 51},  // north side, y - 36
        {north, 250, 287, 0.5f, -6, 250, 290, 0.5f, 1.8f, 255},  // south side, y + 36
    };
    for (auto c : cases) {
        fake::reset();
        place(b, c.x, c.y);
        b.speed = Vektor(c.vx, c.vy);
        w.interfere(&b, c.where);
        heard(b);
        EXPECT_FLOAT_EQ(b.x, c.want_x) << int(c.where);
        EXPECT_FLOAT_EQ(b.y, c.want_y) << int(c.where);
        EXPECT_FLOAT_EQ(b.speed.x, c.want_vx) << int(c.where);
        EXPECT_FLOAT_EQ(b.speed.y, c.want_vy) << int(c.where);
        ASSERT_EQ(fake::samples.size(), 1u) << int(c.where);
        EXPECT_EQ(fake::samples[0].vol, c.volume) << int(c.where);
        EXPECT_EQ(fake::samples[0].sample, (SAMPLE *)data1[OBJ_SND_BOUNCE].dat);
        EXPECT_EQ(b.bounced, 0);
    }
    // Short of a face, or a face seen from the wrong direction: nothing.
    place(b, 217, 250);
    b.speed = Vektor(5, 0);
    w.interfere(&b, east);
    w.interfere(&b, north);
    w.interfere(&b, under);
    EXPECT_EQ(b.x, 217.0f);
    EXPECT_EQ(b.speed.x, 5.0f);
}

TEST(WallTile, RollingAlongAFaceIsSilentBelowOne)
{
    bead b;
    wall_tile w(c6, c6);
    place(b, 219, 240);
    b.speed = Vektor(0.9f, 3);
    w.interfere(&b, east);
    heard(b);
    EXPECT_EQ(b.x, 218.0f);
    EXPECT_TRUE(fake::samples.empty());
    EXPECT_EQ(fake::stopped.size(), 1u);
}

TEST(WallTile, EachDiagonalTestsTheFacingCorner)
{
    bead b;
    wall_tile w(c6, c6);
    // The corner point facing each diagonal neighbour; a marble 10 short of it moving at it
    // head-on bounces as in the worked example: back to 2.2 from where it set off.
    struct {
        char where;
        int kx, ky;
    } cases[] = {{north_west, 274, 274}, {north_east, 234, 274}, {south_east, 234, 234}, {south_west, 274, 234}};
    for (auto c : cases) {
        // Approach along x, from outside the wall's side.
        float side = c.kx > c6 ? 1 : -1;
        place(b, c.kx + side * 10, c.ky);
        b.old_x = c.kx + side * 20;
        b.speed = Vektor(-side * 10, 0);
        w.interfere(&b, c.where);
        EXPECT_EQ(b.bounced, 1) << int(c.where);
        EXPECT_NEAR(b.x, c.kx + side * 17.8f, 1e-4) << int(c.where);
        EXPECT_NEAR(b.speed.x, side * 3, 1e-5) << int(c.where);
        EXPECT_TRUE(fake::samples.empty());

        // The same marble seen from any other diagonal: not touched.
        for (auto other : cases) {
            if (other.where == c.where)
                continue;
            place(b, c.kx + side * 10, c.ky);
            b.speed = Vektor(-side * 10, 0);
            w.interfere(&b, other.where);
            EXPECT_EQ(b.bounced, 0);
        }
    }
}

TEST(WallTile, CorridorHoldsTheMarbleWithinThreeOfItsCentre)
{
    bead b;
    std::vector<std::string> rows = open_rows();
    for (int r = 2; r <= 11; r++)
        rows[r] = "*....*.*.....*";
    give_board(b, rows);
    place(b, c6, c6);
    fake::mickeys = {{400, 30}};
    float most = 0;
    for (int i = 0; i < 60; i++) {
        b.move();
        ASSERT_LE(b.x, c6 + 3.0f);
        ASSERT_GE(b.x, c6 - 3.0f);
        most = std::max(most, b.x);
        if (i == 30)
            fake::mickeys = {{-800, 0}};
    }
    EXPECT_EQ(most, c6 + 3.0f);
    EXPECT_EQ(b.x, c6 - 3.0f);
}

TEST(WallTile, CornerOfTwoWallsHoldsByBothFaces)
{
    bead b;
    std::vector<std::string> rows = open_rows();
    rows[5] = "*.....**.....*";  // north and north-east of (6, 6)
    rows[6] = "*......*.....*";  // east
    give_board(b, rows);
    place(b, c6, c6);
    fake::mickeys = {{200, -200}};
    for (int i = 0; i < 40; i++) {
        b.move();
        ASSERT_LE(b.x, c6 + 3.0f);
        ASSERT_GE(b.y, c6 - 3.0f);
        ASSERT_EQ(b.bounced, 0);  // the north-east corner point stays out of reach
    }
    EXPECT_EQ(b.x, c6 + 3.0f);
    EXPECT_EQ(b.y, c6 - 3.0f);
}

TEST(WallTile, BorderHoldsTheMarbleInAnInnerCell)
{
    bead b;
    give_board(b, open_rows());
    place(b, grid::cell_centre(1), grid::cell_centre(1));
    fake::mickeys = {{-300, -300}};
    for (int i = 0; i < 50; i++)
        b.move();
    EXPECT_EQ(b.x, grid::cell_centre(1) - 3.0f);
    EXPECT_EQ(b.y, grid::cell_centre(1) - 3.0f);
}

// A rush at full speed along the diagonal, from 17.6 off the corner point K (157, 157) of the
// wall at row 3, column 3, ends at (153.93, 155.25): past K and inside the wall's cell, where
// the wall as the own cell would do nothing. Seen from the cell (4, 4) the step began in, the
// wall is the north-west neighbour: contact 1.62 along the step at H (167.64, 168.95), and the
// nearly head-on bounce sends the marble back out at (3.27, 5.51).
TEST(WallTile, DiagonalRushAtACornerBouncesOffIt)
{
    bead b;
    std::vector<std::string> rows = open_rows();
    rows[3] = "*..*.........*";
    give_board(b, rows);
    place(b, 168.783f, 170.098f);
    b.speed = Vektor(-15, -15);
    b.move();
    EXPECT_EQ(b.bounced, 1);
    EXPECT_NEAR(b.x, 170.655f, 0.01);
    EXPECT_NEAR(b.y, 174.037f, 0.01);
    EXPECT_NEAR(b.speed.x, 3.270f, 0.005);
    EXPECT_NEAR(b.speed.y, 5.510f, 0.005);
}

TEST(WallTile, WallUnderTheMarbleDoesNothing)
{
    bead b;
    wall_tile w(c6, c6);
    place(b, c6 + 1, c6 + 1);
    b.speed = Vektor(4, 4);
    w.interfere(&b, under);
    EXPECT_EQ(b.x, c6 + 1.0f);
    EXPECT_EQ(b.speed.x, 4.0f);
    EXPECT_EQ(b.bounced, 0);
    EXPECT_TRUE(fake::samples.empty());
}

}  // namespace
