#pragma once
// What must hold after every frame of play, whatever the level and the hand: shared by the
// soak test and the fuzz harnesses. Header-only and free of the test framework, so the fuzz
// build (its own CMake project) can use it too.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <utility>

#include "field/field.h"
#include "marble/bead.h"
#include "platform/grid.h"
#include "support/levels.h"

namespace soak {

// An empty string when the marble is where it may be; otherwise what is wrong.
// The cell is taken from the position itself, not through the clamp the motion step uses, so a
// marble that got past the ring is seen even though the neighbour scan would stay on the grid.
inline std::string marble_problem(const bead &b)
{
    char what[160];
    if (!std::isfinite(b.x) || !std::isfinite(b.y) || !std::isfinite(b.speed.x) ||
        !std::isfinite(b.speed.y)) {
        std::snprintf(what, sizeof what, "not finite: at (%g, %g), speed (%g, %g)", b.x, b.y,
                      b.speed.x, b.speed.y);
        return what;
    }
    const field *f = b.current_field;
    const int row = grid::cell_of(b.y);
    const int column = grid::cell_of(b.x);
    if (row < 1 || column < 1 || row > f->rows - 2 || column > f->columns - 2) {
        std::snprintf(what, sizeof what, "off the inner board: at (%g, %g), cell (%d, %d)", b.x,
                      b.y, row, column);
        return what;
    }
    if (f->codes[row][column] == '*') {
        std::snprintf(what, sizeof what, "inside the wall at cell (%d, %d): at (%g, %g)", row,
                      column, b.x, b.y);
        return what;
    }
    return "";
}

// A level text of 196 codes: the ring of walls, one start, the inner cells drawn from `kinds`
// (tile codes other than 'A').
inline std::string random_level(std::mt19937 &rng, const std::string &kinds)
{
    std::string text(grid::level_chars, '*');
    std::uniform_int_distribution<int> pick(0, (int)kinds.size() - 1);
    const int last = grid::cells - 2;
    for (int i = 1; i <= last; i++)
        for (int j = 1; j <= last; j++)
            text[i * grid::cells + j] = kinds[pick(rng)];
    std::uniform_int_distribution<int> inner(1, last);
    text[inner(rng) * grid::cells + inner(rng)] = 'A';
    return text;
}

// A mix of tile kinds for one random level: sometimes all of them, sometimes a few, so that
// long tubes, fields of bumpers or slope runs come up as well as noise.
inline std::string random_kinds(std::mt19937 &rng)
{
    std::string all = levels::codes_but_start();
    if (std::uniform_int_distribution<int>(0, 2)(rng) == 0)
        return all;
    std::shuffle(all.begin(), all.end(), rng);
    std::string some = all.substr(0, std::uniform_int_distribution<int>(2, 6)(rng));
    return some + "..";  // floor keeps the board passable
}

// The level file of a level text: 14 rows, then the two trailing lines.
inline std::string level_file(const std::string &text)
{
    std::string body;
    for (int i = 0; i < grid::cells; i++)
        body += text.substr(i * grid::cells, grid::cells) + "\n";
    return body + "noname\n9999\n";
}

// One frame's mouse movement of a restless player: a hand that wanders and drifts back
// towards level, now and then a jerk, and now and then a shove far past the tilt limit.
class hand {
public:
    explicit hand(unsigned seed) : rng(seed) {}
    std::pair<int, int> next(int tilt_x, int tilt_y)
    {
        std::uniform_int_distribution<int> small(-25, 25);
        std::uniform_int_distribution<int> percent(0, 999);
        int mx = small(rng) - tilt_x / 40, my = small(rng) - tilt_y / 40;
        int p = percent(rng);
        if (p < 10) {
            mx += small(rng) * 12;
            my += small(rng) * 12;
        } else if (p == 10) {
            mx += small(rng) * 400;
            my += small(rng) * 400;
        }
        return {mx, my};
    }
    std::mt19937 rng;
};

}  // namespace soak
