#pragma once
#include <string>

// What keeps a board from being played to the end, found before it is saved or tried.
enum class level_problem {
    none,
    no_start,
    many_starts,
    no_flag,
    unknown_code,   // a cell the game has no tile for
    start_shut_in,  // no open side leads out of the start
    flag_shut_in,   // no way from the start to this flag
};

struct level_check {
    level_problem problem = level_problem::none;
    int row = 0;     // the cell concerned, for the last three problems
    int column = 0;
    int starts = 0;
    int flags = 0;
};

// Looks at the 14 by 14 board of `text` (196 characters) with the outer ring taken as walls,
// as the game builds it. Walls and the closed sides of tubes block the way; everything else is
// taken as passable, so a reported flag is surely out of reach, while holes and slopes may
// still make a level hard.
level_check check_level(const char *text);

// The problem in Finnish, two lines of an alert box.
std::string level_problem_line1(const level_check &c);
std::string level_problem_line2(const level_check &c);
