#pragma once
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "rules/run_file.h"

class field;

// Finding a winning run of a level on the game's own rules. Every flag gets a distance field
// over the positions the marble's centre can take (walls, tube channels and corner points as
// the tiles enforce them, the reach of every hole left out), weighted by how slow or awkward the
// ground is. A beam search then steers the tilt: every round each kept run tries each of nine
// choices (the hand's tilt full one way, the other or level on each axis, or the arrow keys held
// alone or two at right angles) for a few frames, runs that fall are dropped, and the best by
// flags taken and distance to the next flag go on. The shortest orders of the flags by the
// fields are tried in turn; each later one must beat the best run so far, and gives up when it
// falls behind it.
struct solve_settings {
    int width = 160;         // runs kept after each round
    int epoch = 0;           // frames a choice is held; 0: 8 by hand, 12 by the keys, whose
                             // tilt grows slowly: longer holds tell the choices apart
    long max_frames = 30000;
    long budget = 16000000;  // frames stepped by the whole search, every order together
    int tries = 6;           // flag orders tried
    long stall = 300;        // frames without progress before the spot is marked as a dead end
    float lookahead = 6;     // frames of speed counted as progress
    bool keys = false;       // steer with the arrow keys instead of the mouse
    bool hand = false;       // play as a hand can (hand_model): epoch 0 means its decision time
    bool verbose = false;    // the search's progress on standard error
};

// How a hand plays, for the solver's hand mode and the test of a run under a hand's errors. A
// person decides anew about five times a second, acts on a decision a reaction time after it,
// moves the mouse at a bounded speed, and misses the tilt meant by some counts and the moment
// meant by some hundredths.
struct hand_model {
    static constexpr int decision = 20;   // frames between decisions (200 ms)
    static constexpr int reaction = 12;   // frames from a decision to the hand moving (120 ms)
    static constexpr int rate = 25;       // tilt counts a frame at most: full swing in 160 ms
    static constexpr int error = 30;      // a tilt meant is missed by up to this many counts
    static constexpr int jitter = 6;      // and the moment meant by up to this many frames late
    static constexpr int trials = 9;      // replays under errors in a robustness test
    static constexpr int shadows = 3;     // errors each decision of the search is tried under
};

// How many of `trials` replays of `run` on the level text win when each decision time of the
// run (every hand_model::decision frames from its start) has its own error in tilt and delay,
// drawn from `seed`. A replay wins when it takes every flag without falling within a second
// more than the run lasts, holding the run's last tilt.
int noisy_wins(const std::string &level_text, const run_record &run, unsigned seed, int trials = hand_model::trials);
// True when most of those replays win: a run a hand can play.
bool holds_for_a_hand(const std::string &level_text, const run_record &run, unsigned seed = 1);

// The shortest winning run found for the level text `level_text` (as field::from_text builds
// it), taking the flags in `order` (row, column; any left out follow, nearest first) when it is
// given, proven by stepping it again. False with the reason in `why`: a level that cannot be
// searched, "not solved: ..." when no win was found within the budget, or "stopped".
// `progress`, when given, is called every few milliseconds of work with the share done (0 to 1,
// never going back; 1 when the search is over) and returns false to stop the search at once.
bool solve_text(const std::string &level_text, const solve_settings &opt, const std::vector<std::pair<int, int>> &order,
                run_record &found, std::string &why, const std::function<bool(float)> &progress = {});

// The same for the level file at `path`.
bool solve_level(const std::string &path, const solve_settings &opt, const std::vector<std::pair<int, int>> &order,
                 run_record &found, std::string &why, const std::function<bool(float)> &progress = {});

// The level codes on the board, in the tile table's order.
std::string tile_kinds_on(const field &f);
