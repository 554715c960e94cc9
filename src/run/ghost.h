#pragma once
#include <allegro.h>

#include <map>
#include <utility>
#include <vector>

#include "marble/bead.h"
#include "marble/run_tilt.h"

class field;

// The level's best run raced beside the player: a marble of its own on a board of its own,
// stepped with the run's tilts from the first frame of the player's run, and drawn half seen
// over the player's board. It never touches the player's marble or board.
class ghost {
public:
    explicit ghost(std::vector<run_tilt> tilts);

    // Back to the start of its run on `board` (taken over), for a new run of the player's.
    void restart(field *board);
    // The run's next `ticks` ticks of the clock: a frame each, a fall waiting out its cost.
    void advance(int ticks);
    // The ghost's clock when it took the flag whose centre is (fx, fy), or -1.
    int flag_time(int fx, int fy) const;

    bool shown = true;  // the player's switch (G)
    std::vector<std::pair<int, int>> taken_now;  // flags it took in the last advance
    // On the board and switched on: not fallen, not before a restart.
    bool visible() const;
    int x() const { return static_cast<int>(racer.x); }
    int y() const { return static_cast<int>(racer.y); }

    // Draws it into `into`, whose top left corner lies at the screen's (left, top).
    void draw_into(BITMAP *into, int left, int top) const;
    // Where the screen shows it (bead::show_racer keeps this).
    bool on_screen = false;
    int shown_x = 0;
    int shown_y = 0;

private:
    bead racer;                    // the rules only: no pictures, no sound
    std::vector<run_tilt> tilts;
    size_t next = 0;
    int time = 0;                  // the ghost's clock, in ticks
    int waiting = 0;               // ticks of a fall still to wait
    std::map<std::pair<int, int>, int> flags;  // a flag's centre, and when the ghost took it
};
