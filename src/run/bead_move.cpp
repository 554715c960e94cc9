#include <climits>

#include "input/raw_motion.h"
#include "input/stick_tilt.h"
#include "marble/bead.h"
#include "platform/data1.h"
#include "platform/globals.h"

namespace {

constexpr float tilt_limit = bead::tilt_limit;

// The sums are not clamped (the player moves back by the excess), but they must not overflow.
int add_mickeys(int sum, int mickeys)
{
    long long s = (long long)sum + mickeys;
    if (s > INT_MAX)
        return INT_MAX;
    if (s < INT_MIN)
        return INT_MIN;
    return (int)s;
}

float clamp_tilt(float a)
{
    if (a > tilt_limit)
        return tilt_limit;
    if (a < -tilt_limit)
        return -tilt_limit;
    return a;
}

}  // namespace

void bead::move()
{
    // While a hole pulls the marble the input is left unread: what the mouse does meanwhile
    // counts from the next free frame.
    if (script) {
        // A watched run: the tilts it was stepped with, and nothing the player does.
        const run_tilt t = script_next < script->size() ? (*script)[script_next] : run_tilt{0, 0};
        script_next++;
        board_tilt_x = t.x;
        board_tilt_y = t.y;
        get_mouse_mickeys(&mickey_x, &mickey_y);
    } else if (!(hole_pull.Langd() > 0)) {
        // The pointer is not put back at (400, 300) here: see start_bead.
        read_motion();
        tilt_x = add_mickeys(tilt_x, mickey_x);
        tilt_y = add_mickeys(tilt_y, mickey_y);
        // Mouse, arrow keys and gamepad stick add up within the one limit.
        keys.step(key_direction(KEY_LEFT, KEY_RIGHT), key_direction(KEY_UP, KEY_DOWN));
        stick_tilt pad = read_stick();
        // Space or the pad's first button levels the board: the sums start again from zero,
        // every frame while it is held. The stick's tilt is its position and stays.
        if (key[KEY_SPACE] || level_asked || pad.level) {
            tilt_x = tilt_y = 0;
            keys.level();
        }
        level_asked = false;
        board_tilt_x = clamp_tilt(tilt_x * sensitivity + keys.x + pad.x);
        board_tilt_y = clamp_tilt(tilt_y * sensitivity + keys.y + pad.y);
    }
    step(board_tilt_x, board_tilt_y);
    play_events();

    if (key[KEY_ESC])
        state = stopped;
    // A tap of Esc that came and went between two frames is not in key[] any more, but it
    // waits in the keyboard buffer (bounded: readkey without a keyboard driver reads nothing).
    // A tap of Space waits there as well; it levels the board in the next step.
    for (int i = 0; i < 64 && keypressed(); i++) {
        const int scancode = readkey() >> 8;
        if (scancode == KEY_ESC)
            state = stopped;
        if (scancode == KEY_SPACE)
            level_asked = true;
    }
}

void bead::read_motion()
{
    // The library's counts are read all the same, so they never pile up; where XInput 2 reads
    // the mouse its counts stand in for them, since the library loses some.
    get_mouse_mickeys(&mickey_x, &mickey_y);
    raw_motion_take(mickey_x, mickey_y);
}

void bead::drop_motion()
{
    read_motion();
}

void bead::play_events()
{
    for (int i = 0; i < events.knock_count; i++) {
        // Each knock cuts the one before it short, even one too soft to be heard.
        stop_sample((SAMPLE *)data1[OBJ_SND_SILENT].dat);
        if (events.knocks[i] > 0)
            play_sample((SAMPLE *)data1[OBJ_SND_BOUNCE].dat, events.knocks[i], 128, 1000, 0);
    }
    if (events.bumper_kick)
        play_sample((SAMPLE *)data1[OBJ_SND_BUMPER].dat, 255, 128, 1000, 0);
    if (events.flag_taken)
        play_sample((SAMPLE *)data1[OBJ_SND_FLAG].dat, 255, 128, 1000, 0);
}
