#pragma once
#include <string>
#include <utility>
#include <vector>

#include "rules/run_file.h"

class field;

// Finding a winning run of a level on the game's own rules. Every flag gets a distance field
// over the positions the marble's centre can take (walls, tube channels and corner points as
// the tiles enforce them, the reach of every hole left out), weighted by how slow or awkward the
// ground is. A beam search then steers the tilt: every round each kept run tries each of the
// hand's tilts (or the arrow keys' nine choices) for a few frames, runs that fall are dropped,
// and the best by flags taken and distance to the next flag go on.
struct solve_settings {
    int width = 160;      // runs kept after each round
    int epoch = 4;        // frames one chosen tilt is held
    long max_frames = 30000;
    int tries = 6;        // flag orders tried
    long stall = 800;     // frames without progress before the spot is marked as a dead end
    float lookahead = 6;  // frames of speed counted as progress
    bool keys = false;    // steer with the arrow keys instead of the mouse
    bool verbose = false; // the search's progress on standard error
};

// The shortest winning run found for the level at `path`, taking the flags in `order` (row,
// column) when it is given, proven by stepping it again; false with the reason in `why`.
bool solve_level(const std::string &path, const solve_settings &opt, const std::vector<std::pair<int, int>> &order,
                 run_record &found, std::string &why);

// The level codes on the board, in the tile table's order.
std::string tile_kinds_on(const field &f);
