// The marble object and its motion step: configuration, tilt, speed, the tile pass and Esc.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <utility>

#include "marble/bead.h"
#include "platform/data1.h"
#include "platform/globals.h"
#include "platform/grid.h"
#include "run/play_support.h"
#include "support/fakes.h"
#include "support/levels.h"
#include "tiles/flag_tile.h"

namespace {

TEST(Bead, ConstructorDefaults)
{
    bead b;
    EXPECT_FLOAT_EQ(b.friction, 0.99f);
    EXPECT_FLOAT_EQ(b.softfriction, 0.5f);
    EXPECT_FLOAT_EQ(b.sensitivity, 1.0f);
    EXPECT_FLOAT_EQ(b.cur_friction, 0.99f);
    EXPECT_EQ(b.sprite, (BITMAP *)data1[OBJ_MARBLE].dat);
    ASSERT_NE(b.buffer, nullptr);
    EXPECT_EQ(b.buffer->w, 117);
    EXPECT_EQ(b.buffer->h, 117);
    EXPECT_EQ(b.speed.x, 0.0f);
    EXPECT_EQ(b.tile_push.y, 0.0f);
    EXPECT_EQ(b.current_field, nullptr);
}

TEST(Bead, ReadsThePhysicsFactorsFromTheConfiguration)
{
    config_keys keys;
    keys.set("friction", "0.95");
    keys.set("softfriction", "0.25");
    keys.set("mouse_sensitivity", "-2.5");
    bead b;
    b.read_settings();
    EXPECT_FLOAT_EQ(b.friction, 0.95f);
    EXPECT_FLOAT_EQ(b.cur_friction, 0.95f);
    EXPECT_FLOAT_EQ(b.softfriction, 0.25f);
    EXPECT_FLOAT_EQ(b.sensitivity, -2.5f);
}

TEST(Bead, AbsurdConfigurationFallsBackToTheDefaults)
{
    const char *bad[] = {"nan", "inf", "-inf", "abc", "", "0.9x", "1.5", "-0.1", "1e30", "NAN"};
    for (const char *v : bad) {
        config_keys keys;
        keys.set("friction", v);
        keys.set("softfriction", v);
        bead b;
        b.read_settings();
        EXPECT_FLOAT_EQ(b.friction, 0.99f) << v;
        EXPECT_FLOAT_EQ(b.softfriction, 0.5f) << v;
    }
    config_keys keys;
    keys.set("friction", "1");
    keys.set("softfriction", "0");
    bead b;
    b.read_settings();
    EXPECT_FLOAT_EQ(b.friction, 1.0f);  // the ends of the range are sound
    EXPECT_FLOAT_EQ(b.softfriction, 0.0f);
}

// The sensitivity only scales the tilt before its clamp, so any finite number is safe: the
// player's own is taken, however large; one beyond the float range is held at the largest.
TEST(Bead, AnyFiniteSensitivityIsTaken)
{
    const std::pair<const char *, float> taken[] = {
        {"100.5", 100.5f}, {"250", 250.0f}, {"-1000", -1000.0f}, {"1e30", 1e30f},
        {"0", 0.0f},       {"1e39", FLT_MAX}, {"-1e999", -FLT_MAX}, {" 2.5 ", 2.5f}};
    for (const auto &t : taken) {
        config_keys keys;
        keys.set("mouse_sensitivity", t.first);
        bead b;
        b.read_settings();
        EXPECT_EQ(b.sensitivity, t.second) << t.first;
    }
    for (const char *v : {"nan", "inf", "-inf", "abc", "", "1,5", "2x"}) {
        config_keys keys;
        keys.set("mouse_sensitivity", v);
        bead b;
        b.read_settings();
        EXPECT_EQ(b.sensitivity, 1.0f) << v;
    }

    // A run with the largest sensitivity: one mickey tilts the board fully, none leaves it level.
    config_keys keys;
    keys.set("mouse_sensitivity", "1e39");
    bead b;
    b.read_settings();
    give_board(b, levels::open_board());
    place(b, grid::cell_centre(6), grid::cell_centre(6));
    fake::mickeys = {{1, -1}, {-1, 1}};
    b.move();
    EXPECT_FLOAT_EQ(b.tilt_acc.x, 200.0f / 1650);
    EXPECT_FLOAT_EQ(b.tilt_acc.y, -200.0f / 1650);
    b.move();
    EXPECT_EQ(b.tilt_acc.x, 0.0f);
    EXPECT_EQ(b.tilt_acc.y, 0.0f);
}

TEST(Bead, DistanceTakesYFirst)
{
    bead b;
    b.x = 13;
    b.y = 4;
    EXPECT_FLOAT_EQ(b.distance(0, 10), 5.0f);
    EXPECT_FLOAT_EQ(b.distance(4, 13), 0.0f);
    EXPECT_FLOAT_EQ(b.distance(13, 4), std::sqrt(81.0f + 81.0f));
}

TEST(Move, TiltIsTheClampedSumOfAllMovement)
{
    bead b;
    give_board(b, levels::open_board());
    place(b, grid::cell_centre(6), grid::cell_centre(6));
    fake::mickeys = {{100, -50}, {150, 0}, {-30, 0}, {-30, 0}, {0, 0}};

    b.move();
    EXPECT_EQ(b.tilt_x, 100);
    EXPECT_EQ(b.tilt_y, -50);
    EXPECT_FLOAT_EQ(b.tilt_acc.x, 100.0f / 1650);
    EXPECT_FLOAT_EQ(b.tilt_acc.y, -50.0f / 1650);
    EXPECT_FLOAT_EQ(b.speed.x, 100.0f / 1650 * 0.99f);
    EXPECT_FLOAT_EQ(b.x, grid::cell_centre(6) + 100.0f / 1650 * 0.99f);

    b.move();  // 250: at the limit
    EXPECT_EQ(b.tilt_x, 250);
    EXPECT_FLOAT_EQ(b.tilt_acc.x, 200.0f / 1650);
    b.move();  // 220: the excess is not yet undone
    EXPECT_EQ(b.tilt_x, 220);
    EXPECT_FLOAT_EQ(b.tilt_acc.x, 200.0f / 1650);
    b.move();  // 190: back within the limit
    EXPECT_FLOAT_EQ(b.tilt_acc.x, 190.0f / 1650);
    b.move();  // holding the mouse still keeps the board tilted
    EXPECT_FLOAT_EQ(b.tilt_acc.x, 190.0f / 1650);
    EXPECT_FLOAT_EQ(b.tilt_acc.y, -50.0f / 1650);

    // The sensitivity scales the sum before the clamp.
    b.sensitivity = 0.5f;
    b.move();
    EXPECT_FLOAT_EQ(b.tilt_acc.x, 95.0f / 1650);
}

TEST(Move, TerminalSpeedIsTwelveAtTheDefaultFriction)
{
    bead b;
    give_board(b, levels::open_board());
    place(b, grid::cell_centre(6), grid::cell_centre(6));
    fake::mickeys = {{200, 200}};
    for (int i = 0; i < 3000; i++) {
        b.move();
        // Keep it in the open: the speed does not depend on where the marble is.
        b.x = grid::cell_centre(6);
        b.y = grid::cell_centre(6);
    }
    // 200 / 1650 * 0.99 / 0.01 = 12, on each axis: at the default friction the tilt alone stays
    // under the limit of 15. It binds for a bumper's kick and for frictions near 1, where the
    // terminal speed passes 15 (0.995 gives 24); a hole's pull is not limited.
    EXPECT_NEAR(b.speed.x, 12.0f, 0.001);
    EXPECT_NEAR(b.speed.y, 12.0f, 0.001);
}

TEST(Move, SpeedComponentsStayBelowSixteen)
{
    bead b;
    give_board(b, levels::open_board());
    place(b, grid::cell_centre(6), grid::cell_centre(6));
    b.tile_push = Vektor(40, -25);
    b.speed = Vektor(14, -14);
    b.move();
    EXPECT_EQ(b.speed.x, 15.0f);
    EXPECT_EQ(b.speed.y, -15.0f);
    EXPECT_EQ(b.x, grid::cell_centre(6) + 15.0f);
    EXPECT_EQ(b.y, grid::cell_centre(6) - 15.0f);
    // The floor cleared the push in the tile pass.
    EXPECT_EQ(b.tile_push.x, 0.0f);
}

// Near a hole at full speed: 14 + 7 = 21 across the board's middle, not cut at 15.
TEST(Move, AHolesPullIsNotLimited)
{
    bead b;
    give_board(b, levels::open_board());
    place(b, grid::cell_centre(6), grid::cell_centre(6));
    b.speed = Vektor(14, -14);
    b.hole_pull = Vektor(7, -7);
    b.tile_push = Vektor(40, 0);  // not applied under the pull
    b.move();
    EXPECT_EQ(b.speed.x, 21.0f);
    EXPECT_EQ(b.speed.y, -21.0f);
    EXPECT_EQ(b.x, grid::cell_centre(6) + 21.0f);
    EXPECT_EQ(b.y, grid::cell_centre(6) - 21.0f);
    // Without the pull the limit holds again.
    b.hole_pull = Vektor();
    b.move();
    EXPECT_EQ(b.speed.x, 15.0f);
    EXPECT_EQ(b.speed.y, -15.0f);
}

TEST(Move, HolePullReplacesTiltFrictionAndPush)
{
    bead b;
    give_board(b, levels::open_board());
    place(b, grid::cell_centre(6), grid::cell_centre(6));
    b.speed = Vektor(1, 2);
    b.hole_pull = Vektor(-3, 0);
    b.tile_push = Vektor(5, 5);
    b.slope_acc = Vektor(0.1f, 0);
    fake::mickeys = {{100, 100}};
    b.move();
    // speed + pull, no friction; the mouse is neither read nor re-centred.
    EXPECT_FLOAT_EQ(b.speed.x, -2.0f);
    EXPECT_FLOAT_EQ(b.speed.y, 2.0f);
    EXPECT_EQ(fake::mickeys.size(), 1u);
    EXPECT_TRUE(fake::mouse_positions.empty());
    EXPECT_EQ(b.tilt_x, 0);
    // The movement made meanwhile is read once the pull ends.
    b.hole_pull = Vektor();
    b.move();
    EXPECT_EQ(b.tilt_x, 100);
}

TEST(Move, SlopeActsOneStepLate)
{
    std::vector<std::string> rows = levels::open_board();
    rows[6] = "*.....s......*";
    bead b;
    give_board(b, rows);
    place(b, grid::cell_centre(6), grid::cell_centre(6));
    b.move();
    EXPECT_EQ(b.speed.y, 0.0f);  // found on the slope in this step
    EXPECT_FLOAT_EQ(b.slope_acc.y, 0.1f);
    b.move();
    EXPECT_FLOAT_EQ(b.speed.y, 0.1f * 0.99f);

    // Off the slope: its last acceleration acts once more, then no longer.
    place(b, grid::cell_centre(6), grid::cell_centre(8));
    b.slope_acc = Vektor(0, 0.1f);
    b.move();
    EXPECT_FLOAT_EQ(b.speed.y, 0.1f * 0.99f);
    EXPECT_EQ(b.slope_acc.y, 0.0f);
    b.move();
    EXPECT_FLOAT_EQ(b.speed.y, 0.1f * 0.99f * 0.99f);
}

TEST(Move, EscEndsTheRunAfterTheWholeStep)
{
    std::vector<std::string> rows = levels::open_board();
    rows[6] = "*......F.....*";
    bead b;
    give_board(b, rows);
    place(b, grid::cell_centre(6) + 14, grid::cell_centre(6));
    b.speed = Vektor(2, 0);
    esc_down esc;
    b.move();
    EXPECT_EQ(b.state, bead::stopped);
    EXPECT_FLOAT_EQ(b.x, grid::cell_centre(6) + 14 + 2 * 0.99f);  // still moved
    // ... and the tiles still ran: the flag east of it, now 23 away, was picked up.
    auto *flag = dynamic_cast<flag_tile *>(b.current_field->tiles[6][7]);
    ASSERT_NE(flag, nullptr);
    EXPECT_EQ(flag->taken, 1);
    EXPECT_EQ(b.flags_left, 0);
}

TEST(Move, ClearsBouncedAndSlopeBeforeTheTilePass)
{
    bead b;
    give_board(b, levels::open_board());
    place(b, grid::cell_centre(6), grid::cell_centre(6));
    b.bounced = 1;
    b.slope_acc = Vektor(0.05f, 0.05f);
    b.move();
    EXPECT_EQ(b.bounced, 0);
    EXPECT_EQ(b.slope_acc.x, 0.0f);
    EXPECT_EQ(b.slope_acc.y, 0.0f);
}

TEST(Move, ScanStaysOnTheBoardWhereverTheMarbleIs)
{
    // Positions off the board or on the ring cannot arise in play; the scan must still not
    // read outside the 14 by 14 grid (the sanitizer build checks the reads).
    bead b;
    give_board(b, levels::open_board());
    float spots[][2] = {{-500, -500}, {5, 5}, {540, 540}, {1e6f, 20}, {20, 1e6f}, {-1, 300}};
    for (auto &s : spots) {
        place(b, s[0], s[1]);
        b.move();
        b.show();
    }
    SUCCEED();
}

}  // namespace
