#include "field/level_check.h"
#include "platform/text_encoding.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A board from its first inner rows, twelve codes each ("" for floor), the ring added around
// them and floor below.
std::string board(std::initializer_list<std::string> inner)
{
    std::string s(14, '*');
    int rows = 0;
    for (const std::string &r : inner) {
        s += "*" + (r.empty() ? std::string(12, '.') : r) + "*";
        rows++;
    }
    for (; rows < 12; rows++)
        s += "*............*";
    return s + std::string(14, '*');
}

}  // namespace

TEST(LevelCheck, CountsStartsAndFlags)
{
    level_check c = check_level(board({"AF.........."}).c_str());
    EXPECT_EQ(level_problem::none, c.problem);
    EXPECT_EQ(1, c.starts);
    EXPECT_EQ(1, c.flags);

    c = check_level(board({"F..........."}).c_str());
    EXPECT_EQ(level_problem::no_start, c.problem);
    EXPECT_EQ(L1("Kentästä puuttuu lähtöruutu."), level_problem_line1(c));

    c = check_level(board({"A.F.........", "", "..........AA"}).c_str());
    EXPECT_EQ(level_problem::many_starts, c.problem);
    EXPECT_EQ(3, c.starts);
    EXPECT_EQ(L1("Kentässä on 3 lähtöruutua,"), level_problem_line1(c));
    EXPECT_EQ("vain yksi on sallittu.", level_problem_line2(c));

    c = check_level(board({"A..........."}).c_str());
    EXPECT_EQ(level_problem::no_flag, c.problem);
    EXPECT_EQ(L1("Kentässä ei ole yhtään lippua."), level_problem_line1(c));

    // A start or flag on the ring does not count: the game makes the ring walls.
    std::string ring_start = board({"F..........."});
    ring_start[5] = 'A';
    EXPECT_EQ(level_problem::no_start, check_level(ring_start.c_str()).problem);
}

TEST(LevelCheck, CodeTheGameHasNoTileFor)
{
    level_check c = check_level(board({"AF..........", "", "....Z......."}).c_str());
    EXPECT_EQ(level_problem::unknown_code, c.problem);
    EXPECT_EQ(3, c.row);
    EXPECT_EQ(5, c.column);
    EXPECT_EQ("Rivin 3 sarakkeessa 5", level_problem_line1(c));
    EXPECT_EQ("on tuntematon ruutu.", level_problem_line2(c));
}

TEST(LevelCheck, WalledInStartAndFlags)
{
    // Walls right of and below the start in the corner.
    level_check c = check_level(board({"A*..F.......", "*..........."}).c_str());
    EXPECT_EQ(level_problem::start_shut_in, c.problem);
    EXPECT_EQ(1, c.row);
    EXPECT_EQ(1, c.column);

    // A wall across row 6: the flag below it is out of reach; holes, slopes and cloth are not walls.
    c = check_level(board({"AOnsew#CVBX.", "", "", "", "", "************", "", "....F......."}).c_str());
    EXPECT_EQ(level_problem::flag_shut_in, c.problem);
    EXPECT_EQ(8, c.row);
    EXPECT_EQ(5, c.column);
    EXPECT_EQ("Rivin 8 sarakkeen 5 lippuun", level_problem_line1(c));
    EXPECT_EQ(L1("ei pääse lähtöruudusta."), level_problem_line2(c));

    // A gap of a vertical tube in that wall leads through; a horizontal one is closed from above.
    EXPECT_EQ(level_problem::none,
              check_level(board({"A...........", "", "", "", "", "*****I******", "", "....F......."}).c_str()).problem);
    EXPECT_EQ(level_problem::flag_shut_in,
              check_level(board({"A...........", "", "", "", "", "*****-******", "", "....F......."}).c_str()).problem);
    // A branch open up, down and right ("E") enters from above and leaves below; "N" is closed below.
    EXPECT_EQ(level_problem::none,
              check_level(board({"A...........", "", "", "", "", "*****E******", "", "....F......."}).c_str()).problem);
    EXPECT_EQ(level_problem::flag_shut_in,
              check_level(board({"A...........", "", "", "", "", "*****N******", "", "....F......."}).c_str()).problem);
    // A flag boxed in by tubes whose closed sides face it.
    EXPECT_EQ(level_problem::flag_shut_in,
              check_level(board({"A...........", "", "....-.......", "...IFI......", "....-......."}).c_str()).problem);
}
