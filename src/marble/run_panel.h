#pragma once
#include <allegro.h>

#include <string>

#include "field/grid.h"

// The side panel of a game run, right of the board: the level's name, flags taken, the running
// time, the best time, the falls and the keys. It is drawn whole once; after that a frame
// redraws only what changed, the running time character by character.
class run_panel {
public:
    run_panel(const std::string &level_name, int flags, int best);
    run_panel(const run_panel &) = delete;
    run_panel &operator=(const run_panel &) = delete;

    // The whole panel onto `screen`.
    void draw();
    // What changed since the last call, onto `screen`. While the clock runs its time is drawn
    // every third frame (33 times a second, faster than a screen shows it, and every digit
    // still comes up); `exact` draws the time as it is, for a run that stops.
    void update(int flags_taken, int time, int falls, bool exact = false);
    // Shows or takes away the pause notice.
    void show_pause(bool paused);

    static constexpr int left = grid::pixels;  // the panel owns the window right of the board

private:
    FONT *text_font;
    std::string name;
    int flags_all;
    int best_time;
    int shown_flags = -1;
    int shown_falls = -1;
    std::string shown_time;
    int shown_at = 0;  // the time shown_time was drawn for

    void value(int row, const std::string &text);
    void time_value(const std::string &text, bool whole);
};
