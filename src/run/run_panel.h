#pragma once
#include <allegro.h>

#include <string>

#include "platform/grid.h"

struct tile_guide_entry;

// The side panel of a game run, right of the board: the level's name, flags taken, the running
// time, the best time, the falls, the keys and a round spirit level showing the board's tilt.
// It is drawn whole once; after that a frame redraws only what changed, the running time
// character by character.
class run_panel {
public:
    // What the run is: a trial (the editor's Kokeile) says that Esc goes back to the editor; a
    // watched run names its speed keys and its speed.
    enum kind { play, trial, watch };
    run_panel(const std::string &level_name, int flags, int best, kind what = play);
    ~run_panel();
    run_panel(const run_panel &) = delete;
    run_panel &operator=(const run_panel &) = delete;

    // The whole panel onto `screen`.
    void draw();
    // What changed since the last call, onto `screen`. While the clock runs its time is drawn
    // every third frame (33 times a second, faster than a screen shows it, and every digit
    // still comes up); `exact` draws the time as it is, for a run that stops.
    void update(int flags_taken, int time, int falls, bool exact = false);
    // A new best time for "Ennätys": the run just won set a record.
    void show_best(int time);
    // Shows or takes away the pause notice (it covers the spirit level).
    void show_pause(bool paused);
    // The board's tilt (each axis within bead::tilt_limit) on the spirit level: the bubble
    // moves towards the tilt, to the rim at full tilt. Drawn only when the bubble moves a pixel.
    void show_tilt(float tilt_x, float tilt_y);

    // The ghost's part, left of the spirit level: whether it races and is switched on, and how far
    // the player is behind it (hundredths; less than 0 ahead) at the flag both took last.
    void show_ghost(bool racing, bool on);
    void show_gap(int hundredths);
    // The next medal to win (1 gold, 2 silver, 3 bronze; 0 none) and its time, in the name's box.
    void set_medal(int rank, int time);
    // A watched run's speed, in the name's box.
    void show_speed(int speed);
    // In place of the spirit level when a watched run is over: two lines and how to leave.
    void show_end(const std::string &first, const std::string &second);

    // Names a kind of tile the player meets for the first time and says what it does, in place
    // of the game's name at the foot; null puts the name back.
    void show_hint(const tile_guide_entry *entry);

    // The spirit level's centre on the screen, and how far the bubble's centre can go from it.
    static constexpr int vial_x = 727, vial_y = 414;
    static constexpr int bubble_travel = 27;
    // Where the bubble's centre lies for a tilt, relative to vial_x and vial_y.
    static void bubble_offset(float tilt_x, float tilt_y, int &dx, int &dy);

    static constexpr int left = grid::pixels;  // the panel owns the window right of the board

private:
    FONT *text_font;
    std::string name;
    int flags_all;
    int best_time;
    kind what;
    bool racing = false;
    bool ghost_on = false;
    bool gap_known = false;
    int gap = 0;
    int speed = 1;
    int medal_rank = 0;
    int medal_time = 0;
    std::string end_first, end_second;  // a watched run's end, or empty
    int shown_flags = -1;
    int shown_falls = -1;
    std::string shown_time;
    int shown_at = 0;  // the time shown_time was drawn for
    int bubble_dx = 0;  // the bubble's place, relative to the vial's centre
    int bubble_dy = 0;
    bool paused = false;
    const tile_guide_entry *hint = nullptr;
    BITMAP *vial_face;  // the spirit level without its bubble
    BITMAP *vial_work;  // the face and the bubble put together before one blit

    void draw_vial();
    void draw_ghost();
    void draw_name();
    void draw_foot();
    void blit_vial();

    void value(int row, const std::string &text);
    void time_value(const std::string &text, bool whole);
};
