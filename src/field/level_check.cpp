#include "field/level_check.h"

#include <cstdio>
#include <cstring>

#include "field/tile_kind.h"
#include "platform/grid.h"
#include "platform/text_encoding.h"

namespace {

constexpr int side = grid::cells;

// The closed sides of a cell's tile, all four for a wall; -1 for a code the game has no tile for.
int closed_sides(char code)
{
    const tile_kind *kind = tile_kind_of(code);
    return kind ? kind->closed : -1;
}

std::string numbered(const char *format, int a, int b)
{
    char line[80];
    std::snprintf(line, sizeof line, format, a, b);
    return line;
}

}  // namespace

level_check check_level(const char *text)
{
    level_check c;
    const size_t len = text ? strnlen(text, side * side) : 0;
    char board[side][side];
    for (int i = 0; i < side; i++)
        for (int j = 0; j < side; j++) {
            board[i][j] = grid::board_code(text, len, i, j);
        }

    int start_row = 0, start_column = 0;
    for (int i = 1; i < side - 1; i++)
        for (int j = 1; j < side - 1; j++) {
            if (board[i][j] == 'A') {
                c.starts++;
                start_row = i;
                start_column = j;
            } else if (board[i][j] == 'F') {
                c.flags++;
            }
        }
    for (int i = 1; i < side - 1 && c.problem == level_problem::none; i++)
        for (int j = 1; j < side - 1; j++)
            if (closed_sides(board[i][j]) < 0) {
                c.problem = level_problem::unknown_code;
                c.row = i;
                c.column = j;
                break;
            }
    if (c.problem != level_problem::none)
        return c;
    if (c.starts == 0) {
        c.problem = level_problem::no_start;
        return c;
    }
    if (c.starts > 1) {
        c.problem = level_problem::many_starts;
        return c;
    }
    if (c.flags == 0) {
        c.problem = level_problem::no_flag;
        return c;
    }

    // Cells reachable from the start: a step crosses a side only where neither cell is closed.
    const int di[4] = {-1, 0, 1, 0}, dj[4] = {0, 1, 0, -1};
    const int out[4] = {closed_north, closed_east, closed_south, closed_west};
    const int in[4] = {closed_south, closed_west, closed_north, closed_east};
    bool seen[side][side] = {};
    int queue[side * side], head = 0, tail = 0;
    seen[start_row][start_column] = true;
    queue[tail++] = start_row * side + start_column;
    while (head < tail) {
        int i = queue[head] / side, j = queue[head] % side;
        head++;
        for (int d = 0; d < 4; d++) {
            int ni = i + di[d], nj = j + dj[d];
            if (seen[ni][nj] || (closed_sides(board[i][j]) & out[d]) || (closed_sides(board[ni][nj]) & in[d]))
                continue;
            seen[ni][nj] = true;
            queue[tail++] = ni * side + nj;
        }
    }
    if (tail == 1) {
        c.problem = level_problem::start_shut_in;
        c.row = start_row;
        c.column = start_column;
        return c;
    }
    for (int i = 1; i < side - 1; i++)
        for (int j = 1; j < side - 1; j++)
            if (board[i][j] == 'F' && !seen[i][j]) {
                c.problem = level_problem::flag_shut_in;
                c.row = i;
                c.column = j;
                return c;
            }
    return c;
}

std::string level_problem_line1(const level_check &c)
{
    switch (c.problem) {
    case level_problem::none: return "";
    case level_problem::no_start: return L1("Kentästä puuttuu lähtöruutu.");
    case level_problem::many_starts: return numbered(L1("Kentässä on %d lähtöruutua,"), c.starts, 0);
    case level_problem::no_flag: return L1("Kentässä ei ole yhtään lippua.");
    case level_problem::unknown_code: return numbered("Rivin %d sarakkeessa %d", c.row, c.column);
    case level_problem::start_shut_in: return L1("Lähtöruutu on suljettu:");
    case level_problem::flag_shut_in: return numbered("Rivin %d sarakkeen %d lippuun", c.row, c.column);
    }
    return "";
}

std::string level_problem_line2(const level_check &c)
{
    switch (c.problem) {
    case level_problem::many_starts: return "vain yksi on sallittu.";
    case level_problem::unknown_code: return "on tuntematon ruutu.";
    case level_problem::start_shut_in: return L1("kuula ei pääse siitä mihinkään.");
    case level_problem::flag_shut_in: return L1("ei pääse lähtöruudusta.");
    default: return "";
    }
}
