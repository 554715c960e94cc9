#pragma once
#include <allegro.h>
#include <functional>
#include <map>
#include <utility>
#include <string>
#include <vector>

#include "geometry/vektor.h"
#include "input/key_tilt.h"
#include "marble/run_tilt.h"
#include "marble/step_events.h"

class field;
class ghost;
class run_panel;
struct tile_guide_entry;
class tile;

// The marble, and the driver of one game run. Tiles read and write its members directly.
// The rules of motion are `step`: it reads no input, plays no sound, draws nothing and touches
// neither the library nor the data file, so a run can be stepped again anywhere.
class bead {
public:
    int mickey_x;
    int mickey_y;
    int tilt_x;          // sum of mickeys since the run began or the marble restarted
    int tilt_y;
    float sensitivity;
    key_tilt keys;       // the arrow keys' tilt, added to the mouse's
    // The tilt the last motion step used (mouse, keys and stick, clamped): the panel's level.
    float board_tilt_x;
    float board_tilt_y;
    bool level_asked;    // a tap of Space seen in the keyboard buffer, for the next step
    BITMAP *sprite;      // data file object, not owned; null without the data file
    BITMAP *buffer;      // the 3 by 3 cells block, owned; null without the data file
    field *current_field;
    float x;             // centre, screen pixels
    float y;
    float old_x;
    float old_y;
    Vektor speed;        // pixels per frame
    Vektor tilt_acc;
    Vektor slope_acc;
    Vektor hole_pull;
    Vektor tile_push;
    // Stopped ends the run (Esc); fallen lasts from a hole's catch to the restart.
    enum motion : char { stopped, rolling, fallen };
    char state;          // a motion
    char bounced;        // a corner bounce happened in this motion step
    int flags_left;
    tile *restart_tile;
    float cur_friction;
    float friction;
    float softfriction;
    // The factors the rules are stepped with unless the configuration says otherwise; kept and
    // watched runs are stepped with these.
    static constexpr float default_friction = 0.99f;
    static constexpr float default_softfriction = 0.5f;
    // What the last frame put on the screen, so that a frame shows only what changed.
    int shown_column;    // the block's cell; 0 while none of it is on the screen
    int shown_row;
    int shown_x;         // the marble's centre in whole pixels
    int shown_y;
    char shown_state;
    int shown_flags;

    // The clock and the outcome of the last run, for the panel and the tables of the fastest.
    int run_time;            // hundredths: frames played, falls included, pauses not; at most
                             // record_table::time_max
    int falls;
    bool won;                // the last run took every flag
    std::string level_id;    // the key of the last run's board (level_key)
    std::string level_path;  // the file of the level played, "" for a board not from a file
    step_events events;      // what the last step did
    // The tilts the rules were given, from the frame the clock started to the last: the run as
    // it can be kept and stepped again. The clock runs while it holds any.
    std::vector<run_tilt> played;
    // The best run raced beside this one, or null; not owned.
    ghost *racer = nullptr;
    // A run watched, not played: its tilts from the clock's first frame and the next one's
    // index; null while the player plays.
    const std::vector<run_tilt> *script = nullptr;
    size_t script_next = 0;

    // The ticks of the frame clock a fall's animation takes, and so what it costs on the run's
    // clock: 2.07 s, the same on every machine.
    static constexpr int fall_time = 207;
    // How strongly the marble shows through a tube's roof, of 255.
    static constexpr int through_roof_alpha = 110;

    // A face is the line x = F or y = F; the marble is kept on one side of it.
    enum face_axis : char { on_x, on_y };
    enum face_side : char { keeps_less = -1, keeps_more = 1 };

    // Each speed component stays below 16 pixels per frame, what a face needs to catch the
    // marble before its centre reaches the next cell.
    static constexpr float speed_limit = 15.0f;
    // Each axis of the board's tilt stays within this, in mickeys scaled by the sensitivity.
    static constexpr float tilt_limit = 200.0f;

    bead();
    ~bead();
    bead(const bead &) = delete;
    bead &operator=(const bead &) = delete;

    float distance(int y, int x);
    // The physics factors and the mouse's sensitivity from the configuration: a run reads
    // them as it begins, a bead made without the library keeps the defaults.
    void read_settings();
    // Puts the marble at rest: no speed, no force, no tilt summed; where it is stays.
    void stop_motion();
    // The marble at rest on current_field's start, every flag to take, the clock at zero.
    void place_on_start();
    // One frame of the rules with the board's tilt (mouse, keys and stick summed and clamped):
    // the marble moves over current_field, and `events` says what happened. While a hole pulls
    // the marble the tilt is not used.
    void step(float tilt_x, float tilt_y);
    // After a fall: the marble at rest on restart_tile, rolling again.
    void come_back();
    int start_bead(std::string file);
    // A run on a level text as it stands, not read from a file (the editor's try).
    int try_level(const char *text);
    // The run itself: `make` builds the level, at the start and again for every restart;
    // `title` names it in the panel.
    int play_level(const std::string &title, const std::function<field *()> &make, bool trial = false);
    // Builds the level anew and draws it, the marble at rest on its start and the clock at
    // zero; false (and no field) when the level cannot be built.
    bool begin_level(const std::function<field *()> &make);
    // Plays a kept run back in the run's view, its clock running, at 1x, 2x or 4x (keys 1, 2, 4);
    // P pauses, Esc ends it. When it is over, the panel says so, and `verdict` under it.
    int watch_level(const std::string &title, const std::function<field *()> &make,
                    const std::vector<run_tilt> &tilts, const std::string &verdict);
    std::string watch_verdict;
    void watch_end(run_panel &panel);
    // Shows how far the player is behind the ghost when both have taken a flag.
    void race_flags(run_panel &panel, std::map<std::pair<int, int>, int> &flag_times);
    // The frame that took the last flag stands this many ticks before the win panel covers it:
    // the player sees the flag taken, and a key pressed meanwhile for the run (Space to level
    // the board, Esc) is the run's, dropped with the run's keys, not the panel's.
    static constexpr int won_frame_stands = 50;
    void stand_won_frame();
    // Holds the run while the panel says "Tauko"; returns the key that ended the pause.
    int pause(run_panel &panel);
    // A run longer than this (hundredths) asks before R throws it away.
    static constexpr int ask_after = 1000;
    // Asks whether to restart, the run standing still meanwhile; true for "Kyllä". A close
    // request during the question stops the run instead.
    bool ask_restart(run_panel &panel);
    // Tiles of the board this player has not met yet, named in the panel one after another for
    // hint_frames each; hint_shown counts the frames of the first in the queue.
    std::vector<const tile_guide_entry *> hints;
    int hint_shown = 0;
    static constexpr int hint_frames = 600;
    void next_hint_frame(run_panel &panel);
    // The run's frame: reads the input, hands the tilt to step, plays what it did.
    void move();
    // The mouse's counts since the last reading into mickey_x and mickey_y; drop_motion reads
    // them only to throw them away.
    void read_motion();
    void drop_motion();
    void play_events();
    void show();
    // The 3 by 3 cells round (column, row) into `into`: the tiles, the ghost, the marble and the
    // tubes' covers over both.
    void compose(BITMAP *into, int column, int row) const;
    // Puts the frame's ghost (racer) on the screen: the squares it left and took, composed again.
    void show_racer();
    void bounce_soundh();
    void bounce_soundv();
    void corner_bounce(int ky, int kx);

    // The face bounce of every wall side, tube side and tube channel; true if the marble touched.
    bool face_bounce(face_axis axis, int line, face_side side, bool sounds);
    // The corner test: bounces off (kx, ky) when the centre is nearer than 16; true if touched.
    bool corner_test(int ky, int kx);
};
