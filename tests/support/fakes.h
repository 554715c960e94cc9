#pragma once
// The library calls that block or need hardware are replaced in the test binary (fakes.cpp
// defines them with C linkage, so they take precedence over liballeg.so). Each records what it
// was asked and answers from the hooks below. fake::reset() runs before every test.
#include <allegro.h>

#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace fake {

struct AlertCall {
    std::string s1, s2, s3, b1, b2;
    int c1, c2;
    std::string b3;  // alert3 only
};
struct SampleCall {
    const SAMPLE *sample;
    int vol, pan, freq, loop;
};
struct MidiCall {
    MIDI *midi;
    int loop;
};
struct FileSelectCall {
    std::string message, path, ext;
    int size, w, h;
};

extern std::vector<AlertCall> alerts;
extern int alert_result;                        // what alert() returns (default 1)
extern std::deque<int> alert_answers;           // alert and alert3 take these first, in turn
extern std::function<void()> on_alert;          // called while an alert or alert3 is up

extern std::vector<SampleCall> samples;         // play_sample
extern std::vector<const SAMPLE *> stopped;     // stop_sample
extern std::vector<MidiCall> midis;             // play_midi
extern int stop_midi_calls;
extern std::vector<std::pair<int, int>> volumes;  // set_volume(digi, midi)

extern std::deque<std::pair<int, int>> mickeys;   // handed out by get_mouse_mickeys, then (0, 0)
extern std::vector<std::pair<int, int>> mouse_positions;  // position_mouse
extern std::vector<BITMAP *> shown_mouse;       // show_mouse
extern std::vector<BITMAP *> mouse_sprites;     // set_mouse_sprite

extern void (*timer)();                         // the callback install_int installed, or null
extern std::vector<long> install_int_speeds;
extern int remove_int_calls;
extern int rest_calls;
extern long rest_ms;                            // sum of rest() arguments
extern int vsync_calls;
extern int tick_waits;                          // waits of wait_tick and wait_input
extern std::vector<timespec> wait_deadlines;     // each wait's deadline (monotonic clock)
// False (the default): each wait is a tick of the frame clock, counted by the fake. True: each
// wait's deadline passes, and the game counts the tick as it does for real.
extern bool deadline_passes;
// Called on every rest() and every wait, after the tick (of the timer or the frame clock): lets
// a test act "between frames".
extern std::function<void()> on_rest;

// do_dialog / popup_dialog: the hook plays the player's part and returns the closing object.
extern std::function<int(DIALOG *, int)> dialog_hook;
extern std::vector<std::string> dialogs;        // "do_dialog" or "popup_dialog", in call order

// file_select_ex: the hook may edit path and returns the selector's result (0 cancel, non-zero ok).
extern std::function<int(char *path, int size)> file_select_hook;
extern std::vector<FileSelectCall> file_selects;

extern std::vector<const RGB *> palettes;       // set_palette

// poll_joystick: counts the polls; the test sets num_joysticks and joy[] itself.
extern int joystick_polls;

// The keyboard buffer behind keypressed, readkey and clear_keybuf: (scancode << 8) | ASCII.
extern std::deque<int> keys;

void reset();

}  // namespace fake

// A fresh directory under /tmp for one test; removed by the caller if it wants.
std::string make_temp_dir();
std::string read_file(const std::string &path);
void write_file(const std::string &path, const std::string &bytes);
