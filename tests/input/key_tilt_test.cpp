#include <allegro.h>
#include <gtest/gtest.h>

#include "input/key_tilt.h"
#include "input/stick_tilt.h"
#include "platform/grid.h"
#include "run/play_support.h"

namespace {

struct keys_down {
    std::vector<int> held;
    explicit keys_down(std::initializer_list<int> k) : held(k)
    {
        for (int s : held)
            key[s] = 1;
    }
    ~keys_down()
    {
        for (int s : held)
            key[s] = 0;
    }
};

const std::vector<std::string> open_rows = {
    "**************", "*A...........*", "*............*", "*............*", "*............*",
    "*............*", "*............*", "*............*", "*............*", "*............*",
    "*............*", "*............*", "*...........F*", "**************",
};

}  // namespace

TEST(KeyTilt, GrowsWhileHeldAndEasesBackWhenReleased)
{
    key_tilt k;
    k.step(1, 0);
    EXPECT_FLOAT_EQ(k.x, 5);
    EXPECT_FLOAT_EQ(k.y, 0);
    for (int i = 1; i < 10; i++)
        k.step(1, -1);
    EXPECT_FLOAT_EQ(k.x, 50);    // ten frames of 5
    EXPECT_FLOAT_EQ(k.y, -45);   // nine
    for (int i = 10; i < 60; i++)
        k.step(1, 0);
    EXPECT_FLOAT_EQ(k.x, 200);   // reached the limit after 40 frames and stays there
    // Released: 200 × 0.88 per frame; below 1 (after 42 frames) it is level.
    k.step(0, 0);
    EXPECT_FLOAT_EQ(k.x, 176);
    for (int i = 1; i < 41; i++)
        k.step(0, 0);
    EXPECT_GT(k.x, 1.0f);        // 200 × 0.88^41 = 1.06
    k.step(0, 0);
    EXPECT_EQ(k.x, 0.0f);
    EXPECT_EQ(k.y, 0.0f);
}

TEST(KeyTilt, TheOppositeKeyBrakesAndBothKeysLevel)
{
    key_tilt k;
    k.x = 200;
    k.step(-1, 0);
    EXPECT_FLOAT_EQ(k.x, 200 * 0.88f - 5);  // eased and steered against at once
    k.x = 3;
    k.step(-1, 0);
    EXPECT_FLOAT_EQ(k.x, 3 * 0.88f - 5);   // through level and on the other way
    k.level();
    EXPECT_EQ(k.x, 0.0f);

    key[KEY_LEFT] = key[KEY_RIGHT] = 1;
    EXPECT_EQ(key_direction(KEY_LEFT, KEY_RIGHT), 0);
    key[KEY_LEFT] = 0;
    EXPECT_EQ(key_direction(KEY_LEFT, KEY_RIGHT), 1);
    key[KEY_RIGHT] = 0;
    key[KEY_UP] = 1;
    EXPECT_EQ(key_direction(KEY_UP, KEY_DOWN), -1);
    key[KEY_UP] = 0;
    EXPECT_EQ(key_direction(KEY_UP, KEY_DOWN), 0);
}

TEST(KeyTilt, ArrowKeysAndMouseAddUpWithinTheOneLimit)
{
    bead b;
    give_board(b, open_rows);
    place(b, grid::cell_centre(6), grid::cell_centre(6));
    b.keys.level();
    {
        keys_down right{KEY_RIGHT, KEY_UP};
        fake::mickeys = {{150, 0}};
        b.move();
        EXPECT_FLOAT_EQ(b.tilt_acc.x, 155.0f / 1650);  // mouse 150 and a frame of the key
        EXPECT_FLOAT_EQ(b.tilt_acc.y, -5.0f / 1650);
        for (int i = 0; i < 9; i++)
            b.move();
        EXPECT_FLOAT_EQ(b.tilt_acc.x, 200.0f / 1650);   // 150 + 50, at the limit
        EXPECT_FLOAT_EQ(b.tilt_acc.y, -50.0f / 1650);
        b.move();
        EXPECT_FLOAT_EQ(b.tilt_acc.x, 200.0f / 1650);   // 205 clamped
    }
    // Let go: the keys' part eases away, the mouse's stays.
    fake::mickeys = {{-150, 0}};
    b.move();
    EXPECT_FLOAT_EQ(b.tilt_acc.x, 55 * 0.88f / 1650);
    // Opposite directions cancel: the mouse holds the board one way, the key the other.
    fake::mickeys = {{100, 0}};
    b.keys.level();
    keys_down left{KEY_LEFT};
    for (int i = 0; i < 20; i++)
        b.move();
    EXPECT_FLOAT_EQ(b.tilt_acc.x, 0.0f);
}

TEST(StickTilt, PositionIsTheTiltWithADeadZone)
{
    EXPECT_EQ(stick_axis_tilt(0), 0.0f);
    EXPECT_EQ(stick_axis_tilt(16), 0.0f);    // inside the dead zone
    EXPECT_EQ(stick_axis_tilt(-16), 0.0f);
    EXPECT_FLOAT_EQ(stick_axis_tilt(17), 200.0f / 111);  // just out: a smooth start
    EXPECT_FLOAT_EQ(stick_axis_tilt(127), 200);
    EXPECT_FLOAT_EQ(stick_axis_tilt(-127), -200);
    EXPECT_FLOAT_EQ(stick_axis_tilt(128), 200);          // the library's nominal end
    EXPECT_FLOAT_EQ(stick_axis_tilt(-128), -200);
    EXPECT_FLOAT_EQ(stick_axis_tilt(72), 200.0f * 56 / 111);  // about half way along

    // No gamepad: no tilt and no polling.
    num_joysticks = 0;
    stick_tilt none = read_stick();
    EXPECT_EQ(none.x, 0.0f);
    EXPECT_EQ(none.y, 0.0f);
    EXPECT_EQ(fake::joystick_polls, 0);

    // A pad whose d-pad comes first as a digital stick: the analogue stick after it steers.
    JOYSTICK_INFO saved = joy[0];
    num_joysticks = 1;
    joy[0].num_sticks = 2;
    joy[0].stick[0].flags = JOYFLAG_DIGITAL;
    joy[0].stick[0].num_axis = 2;
    joy[0].stick[0].axis[0].pos = -128;
    joy[0].stick[0].axis[1].pos = -128;
    joy[0].stick[1].flags = JOYFLAG_ANALOGUE | JOYFLAG_SIGNED;
    joy[0].stick[1].num_axis = 2;
    joy[0].stick[1].axis[0].pos = 127;
    joy[0].stick[1].axis[1].pos = -10;
    stick_tilt s = read_stick();
    EXPECT_FLOAT_EQ(s.x, 200);
    EXPECT_EQ(s.y, 0.0f);
    EXPECT_EQ(fake::joystick_polls, 1);

    // In a run the stick adds to the mouse like the keys do.
    bead b;
    give_board(b, open_rows);
    place(b, grid::cell_centre(6), grid::cell_centre(6));
    b.keys.level();
    joy[0].stick[1].axis[0].pos = -72;   // -200 × 56/111
    joy[0].stick[1].axis[1].pos = 127;   // 200
    fake::mickeys = {{30, -50}};
    b.move();
    EXPECT_FLOAT_EQ(b.tilt_acc.x, (30 - 200.0f * 56 / 111) / 1650);
    EXPECT_FLOAT_EQ(b.tilt_acc.y, 150.0f / 1650);

    // The first button levels the mouse's and the keys' part; the stick's stays.
    EXPECT_FALSE(s.level);
    joy[0].num_buttons = 1;
    joy[0].button[0].b = 1;
    b.keys.x = 50;
    fake::mickeys = {{20, 0}};
    b.move();
    EXPECT_EQ(b.tilt_x, 0);
    EXPECT_EQ(b.tilt_y, 0);
    EXPECT_EQ(b.keys.x, 0.0f);
    EXPECT_FLOAT_EQ(b.board_tilt_x, -200.0f * 56 / 111);
    EXPECT_FLOAT_EQ(b.board_tilt_y, 200.0f);

    num_joysticks = 0;
    joy[0] = saved;
}
