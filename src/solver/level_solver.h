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
    bool verbose = false;    // the search's progress on standard error
};

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
