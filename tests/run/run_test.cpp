// Whole game runs, headless: the frame loop runs on the fake timer, the player's hand is a
// script of mouse movements handed out one frame at a time.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <random>

#include "field/field.h"
#include "marble/bead.h"
#include "platform/data1.h"
#include "platform/globals.h"
#include "platform/grid.h"
#include "platform/text_encoding.h"
#include "records/record_table.h"
#include "run/play_support.h"
#include "records/run_replay.h"
#include "run/run_panel.h"
#include "soak/soak_checks.h"
#include "support/fakes.h"
#include "support/levels.h"

namespace {

// Calls `frame` once per frame of the run, between frames (while the frame waits for its
// tick), with the frame's number from 1; a fall's frame is one frame. The waits of the fall's
// animation, which leave ticks of the frame still to wait, call `fall_wait` instead.
struct frame_script {
    int frames = 0;
    int last_ticks = 0;
    std::function<void(int)> frame;
    std::function<void()> fall_wait;

    explicit frame_script(std::function<void(int)> f) : frame(std::move(f))
    {
        fake::on_rest = [this] {
            if (fake::tick_waits == last_ticks)
                return;
            last_ticks = fake::tick_waits;
            if (teh_counter > 0) {
                if (fall_wait)
                    fall_wait();
            } else {
                frame(++frames);
            }
        };
    }
    ~frame_script() { fake::on_rest = nullptr; }
};

int count_samples(int object)
{
    int n = 0;
    for (auto &s : fake::samples)
        if (s.sample == (SAMPLE *)data1[object].dat)
            n++;
    return n;
}

std::vector<std::string> with_row1(const std::string &row1)
{
    return {"**************", row1,           "*............*", "*............*",
            "*............*", "*............*", "*............*", "*............*",
            "*............*", "*............*", "*............*", "*............*",
            "*............*", "**************"};
}

class Run : public ::testing::Test {
protected:
    std::string dir = make_temp_dir();
    bead b;
    void TearDown() override { key[KEY_ESC] = 0; }
};

TEST_F(Run, ScriptedMovesPickUpEveryFlagAndEndTheRun)
{
    std::vector<std::string> rows = with_row1("*A....F.....F*");
    rows[12] = "*...........F*";
    std::string level = write_level(dir, "three.vkl", rows);
    bool turned = false;
    frame_script script([&](int n) {
        if (n == 1)
            fake::mickeys.push_back({100, 0});  // east along row 1
        if (b.flags_left == 1 && !turned) {
            fake::mickeys.push_back({0, 150});  // then down the east wall
            turned = true;
        }
        if (n > 3000)
            key[KEY_ESC] = 1;
    });
    EXPECT_EQ(b.start_bead(level), 1);
    EXPECT_LT(script.frames, 3000);
    EXPECT_EQ(b.flags_left, 0);
    EXPECT_EQ(count_samples(OBJ_SND_FLAG), 3);
    EXPECT_EQ(b.state, bead::rolling);  // won, not left with Esc
    // The run's frame: music, pointer hidden and centred, released at the end.
    ASSERT_EQ(fake::midis.size(), 1u);
    EXPECT_EQ(fake::midis[0].midi, (MIDI *)data1[OBJ_MIDI_RUN].dat);
    EXPECT_NE(fake::midis[0].loop, 0);
    EXPECT_EQ(fake::stop_midi_calls, 1);
    ASSERT_FALSE(fake::shown_mouse.empty());
    EXPECT_EQ(fake::shown_mouse[0], nullptr);
    // The pointer is placed only when the run is over: placing it during the run loses
    // movements on X11.
    ASSERT_EQ(fake::mouse_positions.size(), 1u);
    EXPECT_EQ(fake::mouse_positions[0], std::make_pair(400, 300));
    EXPECT_EQ(b.current_field, nullptr);  // the run's board is released
    EXPECT_TRUE(fake::alerts.empty());
}

TEST_F(Run, MovementBeforeTheRunDoesNotCount)
{
    std::string level = write_level(dir, "one.vkl", with_row1("*A..........F*"));
    fake::mickeys = {{500, 500}};  // made in the menu, read once at the start and dropped
    frame_script script([&](int n) {
        if (n == 20)
            key[KEY_ESC] = 1;
    });
    b.start_bead(level);
    EXPECT_EQ(b.tilt_x, 0);
    EXPECT_EQ(b.x, float(grid::cell_centre(1)));
    EXPECT_EQ(b.y, float(grid::cell_centre(1)));
}

TEST_F(Run, FallRestartsAtRestOnTheLastFlag)
{
    std::string level = write_level(dir, "hole.vkl", with_row1("*A..F...O...F*"));
    int fall_frame = 0;
    bool checked = false;
    frame_script script([&](int n) {
        if (n == 1)
            fake::mickeys.push_back({100, 0});
        if (fall_frame == 0 && count_samples(OBJ_SND_HOLE) == 1)
            fall_frame = n;
        if (fall_frame && n == fall_frame + 1) {
            // The frame after the fall: on the flag at column 4, at rest, level board.
            EXPECT_EQ(b.x, float(grid::cell_centre(4)));
            EXPECT_EQ(b.y, float(grid::cell_centre(1)));
            EXPECT_EQ(b.speed.x, 0.0f);
            EXPECT_EQ(b.speed.y, 0.0f);
            EXPECT_EQ(b.tilt_x, 0);
            EXPECT_EQ(b.hole_pull.Langd(), 0.0f);
            EXPECT_EQ(b.tile_push.Langd(), 0.0f);
            EXPECT_EQ(b.state, bead::rolling);
            EXPECT_EQ(b.flags_left, 1);
            checked = true;
        }
        if (fall_frame && n == fall_frame + 30) {
            // Still at rest thirty frames later: nothing from before the fall acts on it.
            EXPECT_EQ(b.x, float(grid::cell_centre(4)));
            key[KEY_ESC] = 1;
        }
        if (n > 3000)
            key[KEY_ESC] = 1;
    });
    // Movement made during the fall is dropped.
    script.fall_wait = [] { fake::mickeys = {{700, -700}}; };
    b.start_bead(level);
    EXPECT_TRUE(checked);
    EXPECT_EQ(fake::mouse_positions.size(), 1u);  // at the end only
    EXPECT_EQ(count_samples(OBJ_SND_FLAG), 1);
    EXPECT_EQ(count_samples(OBJ_SND_HOLE), 1);
    EXPECT_EQ(b.state, bead::stopped);
}

TEST_F(Run, TapOfEscBetweenFramesEndsTheRun)
{
    std::string level = write_level(dir, "tap.vkl", with_row1("*A..........F*"));
    fake::keys = {(KEY_ESC << 8) | 27};  // typed in the menu: does not count
    frame_script script([&](int n) {
        if (n == 10)
            fake::keys = {(KEY_SPACE << 8) | ' ', (KEY_ESC << 8) | 27};  // a tap within a frame
        if (n == 11)
            fake::keys = {(KEY_SPACE << 8) | ' '};
        if (n > 100)
            key[KEY_ESC] = 1;
    });
    b.start_bead(level);
    EXPECT_EQ(script.frames, 11);
    EXPECT_TRUE(fake::keys.empty());  // nothing typed during play reaches the menu
}

TEST_F(Run, FallBeforeAnyFlagRestartsOnTheStart)
{
    std::string level = write_level(dir, "early.vkl", with_row1("*A..O.......F*"));
    bool checked = false, fell = false;
    frame_script script([&](int n) {
        if (n == 1)
            fake::mickeys.push_back({100, 0});
        if (fell && !checked) {  // the frame after the fall's
            EXPECT_EQ(b.x, float(grid::cell_centre(1)));
            EXPECT_EQ(b.y, float(grid::cell_centre(1)));
            EXPECT_EQ(b.restart_tile, b.current_field->start_point);
            checked = true;
            key[KEY_ESC] = 1;
        }
        fell = count_samples(OBJ_SND_HOLE) == 1;
        if (n > 3000)
            key[KEY_ESC] = 1;
    });
    b.start_bead(level);
    EXPECT_TRUE(checked);
}

TEST_F(Run, LevelWithoutFlagsEndsAfterOneFrame)
{
    std::string level = write_level(dir, "none.vkl", with_row1("*A...........*"));
    b.start_bead(level);
    EXPECT_EQ(fake::tick_waits, 1);
    EXPECT_EQ(fake::rest_calls, 0);  // the frame clock sleeps until the tick, it does not poll
    EXPECT_EQ(fake::stop_midi_calls, 1);
    EXPECT_EQ(b.current_field, nullptr);
}

TEST_F(Run, RejectedLevelAlertsAndReturnsWithoutMusic)
{
    for (std::string level : {dir + "/missing.vkl",
                              write_level(dir, "two.vkl", with_row1("*A.....A..F..*"))}) {
        fake::reset();
        EXPECT_EQ(b.start_bead(level), 1);
        ASSERT_FALSE(fake::alerts.empty());
        const fake::AlertCall &a = fake::alerts.back();
        EXPECT_EQ(a.s1, L1("Virhe kentän luomisessa"));
        EXPECT_EQ(a.s2, "");
        EXPECT_EQ(a.s3, "");
        EXPECT_EQ(a.b1, "Ok");
        EXPECT_EQ(a.b2, "(null)");
        EXPECT_EQ(fake::midis.size(), 1u);
        EXPECT_EQ(fake::stop_midi_calls, 1);
        EXPECT_EQ(fake::tick_waits, 0);
        EXPECT_EQ(b.current_field, nullptr);
    }
}

TEST_F(Run, EscLeavesTheLastFrameOnTheScreen)
{
    std::string level = write_level(dir, "esc.vkl", with_row1("*A..........F*"));
    BITMAP *shot = create_bitmap(screen->w, screen->h);
    frame_script script([&](int n) {
        if (n == 1)
            fake::mickeys.push_back({60, 40});
        if (n == 25) {
            blit(screen, shot, 0, 0, 0, 0, screen->w, screen->h);
            key[KEY_ESC] = 1;
        }
    });
    b.start_bead(level);
    EXPECT_EQ(script.frames, 26);
    EXPECT_TRUE(same_pixels(screen, 0, 0, shot, 0, 0, screen->w, screen->h));
    // The whole board was drawn at the start: the far corner's wall is there.
    BITMAP *wall = (BITMAP *)data1[OBJ_WALL].dat;
    EXPECT_TRUE(same_pixels(screen, grid::cell * 13, grid::cell * 13, wall, 0, 0, grid::cell, grid::cell));
    destroy_bitmap(shot);
}

// Plays `frames` frames with a random hand and checks after every frame that the marble is
// on an inner cell that is no wall, and never moved more than a cell's width in a frame.
void random_run(bead &b, const std::string &level, int frames, unsigned seed)
{
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> hand(-25, 25);
    std::uniform_int_distribution<int> percent(0, 99);
    float last_x = b.x, last_y = b.y;
    int problems = 0;
    bool fell = false;  // the last frame was a fall's: this one starts again elsewhere
    frame_script script([&](int n) {
        float x = b.x, y = b.y;
        bool ok = soak::marble_problem(b).empty();
        if (!fell && n > 1)
            ok = ok && std::fabs(x - last_x) < grid::cell && std::fabs(y - last_y) < grid::cell;
        if (!ok && problems++ < 5)
            ADD_FAILURE() << "frame " << n << ": marble at (" << x << ", " << y << ") from ("
                          << last_x << ", " << last_y << ")";
        last_x = x;
        last_y = y;
        fell = b.state == bead::fallen;
        // A wandering hand that drifts back towards level, with now and then a jerk.
        int mx = hand(rng) - b.tilt_x / 40, my = hand(rng) - b.tilt_y / 40;
        if (percent(rng) == 0) {
            mx += hand(rng) * 12;
            my += hand(rng) * 12;
        }
        fake::mickeys.push_back({mx, my});
        fake::samples.clear();  // keeps the record small
        if (n >= frames)
            key[KEY_ESC] = 1;
    });
    b.start_bead(level);
    key[KEY_ESC] = 0;
    EXPECT_EQ(script.frames, frames + 1);  // the last one with Esc down
    EXPECT_EQ(problems, 0);
}

const int long_run = 100000;  // about 5 s under the sanitizers

TEST_F(Run, RandomTiltNeverLeavesTheBoardOrEntersAWall)
{
    for (auto &r : levels::every_tile())
        ASSERT_EQ(r.size(), 14u);
    std::string level = write_level(dir, "every.vkl", levels::every_tile());
    random_run(b, level, long_run, 1);
}

TEST_F(Run, AbsurdPhysicsStillNeverEscapes)
{
    // No friction at all and the most sensitive hand the configuration accepts.
    config_keys keys;
    keys.set("friction", "1");
    keys.set("softfriction", "1");
    keys.set("mouse_sensitivity", "100");
    bead wild;
    std::string level = write_level(dir, "every.vkl", levels::every_tile());
    random_run(wild, level, long_run / 5, 2);
}

TEST_F(Run, BumpersKickingOverStartAndFlagsNeverEscape)
{
    // Bumpers between tiles that keep a push, in long rows and columns.
    std::vector<std::string> rows = {
        "**************", "*ABFBFBFBFBFB*", "*BXBXBXBXBXBB*", "*FBFBFBFBFBFB*", "*BXBXBXBXBXBB*",
        "*FBFBFBFBFBFB*", "*B#B#B#B#B#BB*", "*FBFBFBFBFBFB*", "*BXBXBXBXBXBB*", "*FBFBFBFBFBFB*",
        "*BeBwBnBsBXBB*", "*FBFBFBFBFB***", "*BBBBBBBBBB*F*", "**************"};
    std::string level = write_level(dir, "bumpers.vkl", rows);
    random_run(b, level, long_run / 5, 3);
}

}  // namespace

TEST_F(Run, SensitivityFromTheSettingsCountsFromTheNextRun)
{
    std::string level = write_level(dir, "one.vkl", with_row1("*A..........F*"));
    set_config_string("settings", "mouse_sensitivity", "0.5");
    fake::mickeys = {{0, 0}, {100, 0}};
    frame_script script([&](int n) {
        if (n == 1)
            key[KEY_ESC] = 1;
    });
    b.start_bead(level);
    EXPECT_FLOAT_EQ(b.tilt_acc.x, 50.0f / 1650);
    set_config_string("settings", "mouse_sensitivity", nullptr);
}

// The clock counts frames of the 10 ms timer from the first frame the board is tilted. A run
// never tilted takes no time; below, the mouse moves at the end of frame 9 and Esc is held from
// the end of frame 50, so frames 10 to 51 count: 0:00,42.
TEST_F(Run, ClockCountsFramesFromTheFirstTilt)
{
    std::string level = write_level(dir, "clock.vkl", with_row1("*A..........F*"));
    frame_script untouched([&](int n) {
        if (n == 50)
            key[KEY_ESC] = 1;
    });
    b.start_bead(level);
    EXPECT_EQ(0, b.run_time);

    fake::reset();
    key[KEY_ESC] = 0;
    frame_script script([&](int n) {
        if (n == 9)
            fake::mickeys.push_back({10, 0});
        if (n == 50)
            key[KEY_ESC] = 1;
    });
    b.start_bead(level);
    EXPECT_EQ(42, b.run_time);
    EXPECT_EQ(0, b.falls);
    EXPECT_FALSE(b.won);
}

// East into the hole beside the start: a fall adds its animation's 207 hundredths to the frames,
// and the run waits through every tick its clock counts, no more and no fewer.
TEST_F(Run, AFallCostsItsAnimation)
{
    std::string level = write_level(dir, "hole.vkl", with_row1("*AO.........F*"));
    int fall_waits = 0;
    frame_script script([&](int n) {
        if (n == 1)
            fake::mickeys.push_back({100, 0});
        if (n == 300)
            key[KEY_ESC] = 1;
    });
    script.fall_wait = [&] { fall_waits++; };
    b.start_bead(level);
    EXPECT_EQ(1, b.falls);
    EXPECT_EQ(207, fall_waits);
    // Frames 2 to 301 (the tilt read first in frame 2, Esc ending frame 301); one of them a fall.
    EXPECT_EQ(300 + 207, b.run_time);
    EXPECT_EQ(301 + 207, fake::tick_waits);
}

// The clock stops at a thousand hours, the longest time the records file reads.
TEST_F(Run, ClockStopsAtAThousandHours)
{
    std::string level = write_level(dir, "long.vkl", with_row1("*A..........F*"));
    const int cap = 1000 * 3600 * 100;
    frame_script script([&](int n) {
        if (n == 1) {
            b.run_time = cap - 3;
            fake::mickeys.push_back({10, 0});
        }
        if (n == 10)
            key[KEY_ESC] = 1;
    });
    b.start_bead(level);
    EXPECT_EQ(cap, b.run_time);
}

// P holds the clock: the waits of the pause are no frames and do not count, and movement made
// during the pause does not tilt the board. The keys come as the keyboard handler hands them
// on; P and R do not go on to the buffer.
TEST_F(Run, PauseStopsTheClockAndDropsMovement)
{
    std::string level = write_level(dir, "pause.vkl", with_row1("*A..........F*"));
    int frames = 0, paused_waits = 0;
    bool paused = false;
    frame_script script([&](int) {
        if (paused) {
            if (++paused_waits == 1)
                fake::mickeys.push_back({200, 200});  // a hand moving while the game waits
            if (paused_waits == 300) {
                keyboard_callback(KEY_P << 8 | 'p');
                paused = false;
            }
            return;
        }
        if (++frames == 1)
            fake::mickeys.push_back({60, 0});
        if (frames == 5)
            fake::mickeys.push_back({-60, 0});  // level again before the pause
        if (frames == 20) {
            EXPECT_EQ(KEY_SPACE << 8 | ' ', keyboard_callback(KEY_SPACE << 8 | ' '));
            EXPECT_EQ(0, keyboard_callback(KEY_P << 8 | 'p'));
            paused = true;
        }
        if (frames == 50)
            key[KEY_ESC] = 1;
    });
    b.start_bead(level);
    EXPECT_EQ(nullptr, keyboard_callback);  // the run's hook is gone with the run
    EXPECT_EQ(300, paused_waits);
    EXPECT_EQ(50, b.run_time);  // frames 2 to 51
    EXPECT_EQ(0, b.tilt_x);
    EXPECT_EQ(0, b.tilt_y);
}

// R starts the level again: every flag back, the marble on its start at rest, the clock at zero.
TEST_F(Run, RestartPutsBackFlagsMarbleAndClock)
{
    std::string level = write_level(dir, "restart.vkl", with_row1("*AF.*......F.*"));
    int flags_before_restart = -1;
    frame_script script([&](int n) {
        if (n == 1)
            fake::mickeys.push_back({60, 0});
        if (n == 100) {
            flags_before_restart = b.flags_left;
            keyboard_callback(KEY_R << 8 | 'r');
        }
        if (n == 101) {
            EXPECT_FLOAT_EQ(grid::cell_centre(1), b.x);
            EXPECT_FLOAT_EQ(grid::cell_centre(1), b.y);
            EXPECT_EQ(0.0f, b.speed.Langd());
        }
        if (n == 110)
            fake::mickeys.push_back({-60, 0});
        if (n == 130)
            key[KEY_ESC] = 1;
    });
    b.start_bead(level);
    EXPECT_LT(flags_before_restart, 2);  // the flag beside the start was taken
    EXPECT_EQ(2, b.flags_left);          // and is back after R
    EXPECT_EQ(21, b.run_time);           // frames 111 to 131, from the first tilt after R
}

// After more than 10 s, R asks first. "Ei" keeps the run: the flag taken, the clock going on
// from where it stood, the tilt without the movement made at the question, and the board and
// panel drawn again where the alert's box stood. "Kyllä" then restarts it.
TEST_F(Run, LongRunAsksBeforeRestart)
{
    std::string level = write_level(dir, "ask.vkl", with_row1("*AF.*......F.*"));
    BITMAP *before = create_bitmap(screen->w, screen->h);
    fake::alert_answers = {2, 1};
    fake::on_alert = [] {
        fake::mickeys.push_back({300, 300});
        rectfill(screen, 300, 250, 700, 350, makecol(255, 255, 255));
    };
    bool checked = false;
    frame_script script([&](int n) {
        if (n == 1)
            fake::mickeys.push_back({60, 0});
        if (n == 1100) {
            blit(screen, before, 0, 0, 0, 0, screen->w, screen->h);
            keyboard_callback(KEY_R << 8 | 'r');
        }
        if (n == 1101) {
            EXPECT_EQ(1u, fake::alerts.size());
            EXPECT_EQ(1, b.flags_left);
            EXPECT_EQ(1100, b.run_time);
            EXPECT_EQ(60, b.tilt_x);
            EXPECT_EQ(0, b.tilt_y);
            // Below the marble's rows the board is as it was; so is the panel below its clock.
            EXPECT_TRUE(same_pixels(screen, 0, 117, before, 0, 117, grid::pixels, grid::pixels - 117));
            EXPECT_TRUE(same_pixels(screen, grid::pixels, 220, before, grid::pixels, 220,
                                    screen->w - grid::pixels, screen->h - 220));
            checked = true;
        }
        if (n == 1200)
            keyboard_callback(KEY_R << 8 | 'r');
        if (n == 1250)
            key[KEY_ESC] = 1;
    });
    b.start_bead(level);
    destroy_bitmap(before);
    EXPECT_TRUE(checked);
    ASSERT_EQ(2u, fake::alerts.size());
    const fake::AlertCall &a = fake::alerts[0];
    EXPECT_EQ("Aloitetaanko alusta?", a.s1);
    EXPECT_EQ(L1("Kyllä"), a.b1);
    EXPECT_EQ("Ei", a.b2);
    EXPECT_EQ('\r', a.c1);  // Return answers "Kyllä" wherever the pointer is
    EXPECT_EQ(2, b.flags_left);  // restarted at frame 1200
    EXPECT_EQ(0, b.run_time);    // and not tilted since
}

// Up to 10 s R restarts at once: at 5 s, and at exactly 10 s of the run that follows.
TEST_F(Run, ShortRunRestartsWithoutAsking)
{
    std::string level = write_level(dir, "short.vkl", with_row1("*AF.*......F.*"));
    frame_script script([&](int n) {
        if (n == 1)
            fake::mickeys.push_back({60, 0});
        if (n == 500) {
            EXPECT_EQ(1, b.flags_left);
            keyboard_callback(KEY_R << 8 | 'r');
        }
        if (n == 501)
            fake::mickeys.push_back({60, 0});
        if (n == 1501) {
            EXPECT_EQ(1000, b.run_time);  // frames 502 to 1501
            keyboard_callback(KEY_R << 8 | 'r');
        }
        if (n == 1530)
            key[KEY_ESC] = 1;
    });
    b.start_bead(level);
    EXPECT_TRUE(fake::alerts.empty());
    EXPECT_EQ(2, b.flags_left);
    EXPECT_EQ(0, b.run_time);
}

// The Esc that answers "Ei" is still held when the alert is gone: it does not leave the run.
// A close request during the question ends the run and restarts nothing, whatever the answer.
TEST_F(Run, EscOrCloseAtTheQuestionNeverRestarts)
{
    std::string level = write_level(dir, "esc.vkl", with_row1("*AF.*......F.*"));
    int frames = 0, held_waits = 0;
    bool held = false;
    fake::alert_answers = {2};
    fake::on_alert = [&] {
        held = true;
        key[KEY_ESC] = 1;
    };
    frame_script script([&](int) {
        if (held) {
            if (++held_waits == 3) {
                key[KEY_ESC] = 0;
                held = false;
            }
            return;
        }
        if (++frames == 1)
            fake::mickeys.push_back({60, 0});
        if (frames == 1100)
            keyboard_callback(KEY_R << 8 | 'r');
        if (frames == 1150)
            key[KEY_ESC] = 1;
    });
    b.start_bead(level);
    EXPECT_EQ(3, held_waits);
    EXPECT_EQ(1u, fake::alerts.size());
    EXPECT_EQ(1, b.flags_left);
    EXPECT_EQ(1150, b.run_time);  // frames 2 to 1151

    fake::reset();
    key[KEY_ESC] = 0;
    fake::alert_answers = {1};  // even a "Kyllä" typed with it
    fake::on_alert = [] { close_requested = true; };
    frame_script closing([&](int n) {
        if (n == 1)
            fake::mickeys.push_back({60, 0});
        if (n == 1100)
            keyboard_callback(KEY_R << 8 | 'r');
        if (n == 1200)
            key[KEY_ESC] = 1;
    });
    b.start_bead(level);
    close_requested = false;
    EXPECT_EQ(1099, b.run_time);
    EXPECT_EQ(1, b.flags_left);
    EXPECT_EQ(bead::stopped, b.state);
    EXPECT_FALSE(b.won);
}

// The frame that takes the last flag is drawn with the flag taken, and the run is a win. It
// stands half a second (50 ticks) before the win panel, and a tap of Space or Esc meanwhile is
// the run's: none reaches the panel.
TEST_F(Run, WinningFrameShowsTheFlagTaken)
{
    std::string level = write_level(dir, "win.vkl", with_row1("*AF..........*"));
    int won_at = 0;
    frame_script script([&](int n) {
        if (n == 1)
            fake::mickeys.push_back({60, 0});
        if (b.flags_left == 0 && won_at == 0)
            won_at = n;
        if (won_at && n == won_at + 20)
            fake::keys = {KEY_SPACE << 8 | ' ', KEY_ESC << 8 | 27};
        if (n == 1000)
            key[KEY_ESC] = 1;
    });
    b.start_bead(level);
    ASSERT_TRUE(b.won);
    EXPECT_EQ(won_at + 50, script.frames);
    EXPECT_TRUE(fake::keys.empty());
    EXPECT_GT(b.run_time, 1);
    EXPECT_LT(b.run_time, 1000);
    // The flag's cell, row 1 column 2, shows floor in its right part, where the flag's cloth
    // was; the marble, which took the flag on reaching it, does not cover that part.
    BITMAP *floor = static_cast<BITMAP *>(data1[OBJ_FLOOR].dat);
    BITMAP *flag = static_cast<BITMAP *>(data1[OBJ_FLAG].dat);
    ASSERT_FALSE(same_pixels(flag, 28, 0, floor, 28, 0, 11, 39));
    EXPECT_LT(b.x + 20, 39 * 2 + 28);
    EXPECT_TRUE(same_pixels(screen, 39 * 2 + 28, 39, floor, 28, 0, 11, 39));
}

// The panel's spirit level: the bubble goes the tilt's way, 27 pixels at full tilt.
TEST(SpiritLevel, BubbleFollowsTheTiltToTheRim)
{
    int dx = 1, dy = 1;
    run_panel::bubble_offset(0, 0, dx, dy);
    EXPECT_EQ(dx, 0);
    EXPECT_EQ(dy, 0);
    run_panel::bubble_offset(200, 0, dx, dy);
    EXPECT_EQ(dx, 27);
    EXPECT_EQ(dy, 0);
    run_panel::bubble_offset(-100, 50, dx, dy);  // -13.5 and 6.75
    EXPECT_EQ(dx, -14);
    EXPECT_EQ(dy, 7);
    // Full tilt on both axes: on the rim, 27 / sqrt 2 = 19.09 each way.
    run_panel::bubble_offset(200, -200, dx, dy);
    EXPECT_EQ(dx, 19);
    EXPECT_EQ(dy, -19);
}

TEST_F(Run, SpaceLevelsTheBoardAndTheBubbleComesBack)
{
    std::string level = write_level(dir, "level.vkl", with_row1("*A..........F*"));
    const int bubble_light = makecol(246, 250, 222), glass = makecol(190, 214, 104);
    // Two pixels below the bubble's centre lies its light middle.
    auto at = [](int dx, int dy) { return getpixel(screen, run_panel::vial_x + dx,
                                                    run_panel::vial_y + dy + 2); };
    int checks = 0;
    frame_script script([&](int n) {
        if (n == 1) {
            EXPECT_EQ(at(0, 0), bubble_light);  // a level board
            fake::mickeys.push_back({-100, -60});  // into the start's corner: the run goes on
        }
        if (n == 2) {
            // -100 / 200 * 27 = -13.5 and -60 / 200 * 27 = -8.1.
            EXPECT_EQ(b.board_tilt_x, -100.0f);
            EXPECT_EQ(b.board_tilt_y, -60.0f);
            EXPECT_EQ(at(-14, -8), bubble_light);
            EXPECT_EQ(at(0, 0), glass);
            key[KEY_SPACE] = 1;
            checks++;
        }
        if (n == 3)
            fake::mickeys.push_back({-50, -50});  // dropped while Space is held
        if (n == 5) {
            key[KEY_SPACE] = 0;
            EXPECT_EQ(b.tilt_x, 0);
            EXPECT_EQ(b.tilt_y, 0);
            EXPECT_EQ(b.board_tilt_x, 0.0f);
            EXPECT_EQ(at(0, 0), bubble_light);
            EXPECT_EQ(at(-14, -8), glass);
            fake::mickeys.push_back({40, 0});
            checks++;
        }
        if (n == 6) {
            EXPECT_EQ(b.tilt_x, 40);
            EXPECT_EQ(at(5, 0), bubble_light);  // 40 / 200 * 27 = 5.4
            fake::keys = {(KEY_SPACE << 8) | ' '};  // a tap that came and went between frames
            checks++;
        }
        if (n == 8) {
            EXPECT_EQ(b.tilt_x, 0);
            EXPECT_EQ(at(0, 0), bubble_light);
            key[KEY_ESC] = 1;
            checks++;
        }
    });
    b.start_bead(level);
    key[KEY_SPACE] = 0;
    EXPECT_EQ(checks, 4);
    EXPECT_EQ(script.frames, 9);  // the frame that sees Esc is the last
}

// The panel names the level by its file name: "öljy_kenttä" (C3 B6 ... C3 A4 on disk) is
// drawn as the Latin-1 letters F6 ... E4 of the game's font, not as two letters each.
TEST_F(Run, ThePanelDrawsFinnishLettersOfTheFileName)
{
    std::string level = write_level(dir, "\xc3\xb6ljy_kentt\xc3\xa4.vkl", with_row1("*A..........F*"));
    FONT *f = static_cast<FONT *>(data1[OBJ_FONT_MENU].dat);
    const int x = 576, y = 18 + 28, w = 205, h = text_height(f);
    BITMAP *want = create_bitmap(w, h);
    clear_to_color(want, makecol(255, 238, 221));
    textout_ex(want, f, "\xf6ljy_kentt\xe4", 0, 0, makecol(0, 0, 0), -1);
    int differ = -1;
    frame_script script([&](int n) {
        if (n == 1) {
            differ = 0;
            for (int j = 0; j < h; j++)
                for (int i = 0; i < w; i++)
                    differ += getpixel(screen, x + i, y + j) != getpixel(want, i, j);
        }
        if (n == 2)
            key[KEY_ESC] = 1;
    });
    b.start_bead(level);
    destroy_bitmap(want);
    EXPECT_EQ(0, differ);
}

// A tile the player has not met is named at the panel's foot for six seconds, once: the walls
// and flags met before, the bowl is new; the next run on the board names nothing.
TEST_F(Run, ATileNotMetBeforeIsNamedOnce)
{
    std::string level = write_level(dir, "bowl.vkl", with_row1("*A.....C....F*"));
    set_config_string("settings", "tiles_met", "*F");
    const int cream = makecol(255, 238, 221);
    auto foot = [] { return getpixel(screen, 600, 570); };  // below the logo, inside the hint's box
    std::vector<int> seen;
    frame_script script([&](int n) {
        if (n == 1 || n == 599 || n == 600)
            seen.push_back(foot());
        if (n == 600)
            key[KEY_ESC] = 1;
    });
    b.start_bead(level);
    EXPECT_EQ(seen, (std::vector<int>{cream, cream, 0}));
    EXPECT_STREQ(get_config_string("settings", "tiles_met", ""), "*FC");

    key[KEY_ESC] = 0;
    seen.clear();
    frame_script again([&](int n) {
        if (n == 1) {
            seen.push_back(foot());
            key[KEY_ESC] = 1;
        }
    });
    b.start_bead(level);
    EXPECT_EQ(seen, std::vector<int>{0});
    set_config_string("settings", "tiles_met", nullptr);
}

// A won run keeps the tilts the rules were given from the clock's first frame: stepped again on
// the board they win in the run's time less the falls' fixed cost. The hand waits 20 frames
// (no clock), rolls east into the hole beside the start, then, back on the start, rolls round
// the hole along row 2 to the flag.
TEST_F(Run, AWonRunStepsAgainToItsTime)
{
    std::vector<std::string> rows = with_row1("*AO........F.*");
    std::string level = write_level(dir, "kept.vkl", rows);
    int phase = 0;
    frame_script script([&](int n) {
        if (n == 20)
            fake::mickeys.push_back({80, 0});
        if (b.falls == 1 && phase == 0 && b.state == bead::rolling) {
            phase = 1;
            fake::mickeys.push_back({0, 60});  // down to row 2
        }
        if (phase == 1 && b.y > grid::cell_centre(2) - 2) {
            phase = 2;
            fake::mickeys.push_back({60, -120});  // east, and back up at the far end
        }
        if (n > 6000)
            key[KEY_ESC] = 1;
    });
    b.start_bead(level);
    ASSERT_TRUE(b.won);
    ASSERT_EQ(b.falls, 1);
    run_record run;
    field *board = field::load_field_file(level);
    run.board = level_key(*board);
    run.tilts = b.played;
    const replay_result r = replay_run(board, run);  // it deletes the board
    EXPECT_TRUE(r.won) << r.why;
    EXPECT_EQ(r.falls, 1);
    EXPECT_EQ(r.frames, b.run_time - bead::fall_time);
}

namespace {

// Whether the screen shows `text` centred at (x, y) in `ink` on the panel's cream.
bool panel_text_is(const std::string &text, int x, int y, int ink)
{
    FONT *f = static_cast<FONT *>(data1[OBJ_FONT_MENU].dat);
    BITMAP *want = create_bitmap(screen->w, screen->h);
    clear_to_color(want, makecol(255, 238, 221));
    textout_centre_ex(want, f, text.c_str(), x, y, ink, -1);
    const int w = text_length(f, text.c_str()), left = x - w / 2;
    const bool same = same_pixels(screen, left - 2, y, want, left - 2, y, w + 4, text_height(f));
    destroy_bitmap(want);
    return same;
}

}  // namespace

// A watched run at 4x, then a run played: the run waits a tick for every frame, as before any
// watch. East at frame 1 is read in frame 2, Esc at frame 40 ends frame 41: 40 frames timed,
// 41 ticks waited.
TEST_F(Run, AWatchsSpeedIsNotTheNextRuns)
{
    std::string level = write_level(dir, "speed.vkl", with_row1("*A..........F*"));
    {
        frame_script watching([&](int n) {
            if (n == 2)
                keyboard_callback(KEY_4 << 8 | '4');
            if (n == 30)
                key[KEY_ESC] = 1;
        });
        b.watch_level("katselu", [&] { return field::load_field_file(level); },
                      std::vector<run_tilt>(500, run_tilt{5, 0}), "");
    }
    key[KEY_ESC] = 0;
    fake::reset();
    frame_script playing([&](int n) {
        if (n == 1)
            fake::mickeys.push_back({5, 0});
        if (n == 40)
            key[KEY_ESC] = 1;
    });
    b.start_bead(level);
    EXPECT_EQ(40, b.run_time);
    EXPECT_EQ(41, fake::tick_waits);
}

// A watched run paused says that P goes on watching (the pause box's second line, in the
// labels' brown, centred at x 672, y 415).
TEST_F(Run, AWatchedRunsPauseSaysWatching)
{
    std::string level = write_level(dir, "pause_watch.vkl", with_row1("*A..........F*"));
    bool said = false, paused = false;
    int waits = 0;
    frame_script script([&](int n) {
        if (paused) {
            if (++waits == 5) {
                said = panel_text_is("P jatkaa katselua", 672, 415, makecol(120, 72, 40));
                keyboard_callback(KEY_P << 8 | 'p');
                paused = false;
            }
            return;
        }
        if (n == 3) {
            keyboard_callback(KEY_P << 8 | 'p');
            paused = true;
        }
        if (n > 10)
            key[KEY_ESC] = 1;
    });
    b.watch_level("katselu", [&] { return field::load_field_file(level); },
                  std::vector<run_tilt>(500, run_tilt{5, 0}), "");
    EXPECT_TRUE(said);
}
