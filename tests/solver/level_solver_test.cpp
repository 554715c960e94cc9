// The solver on a level text, as the editor holds it: a stop is obeyed at once, the progress
// only grows and ends at 1, a flag walled in is not solved, and a straight run is found as fast
// as the rules allow.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "field/field.h"
#include "records/record_table.h"
#include "records/run_replay.h"
#include "solver/level_solver.h"

namespace {

// The 14 x 14 text of the inner rows given, open floor where they end.
std::string level(std::vector<std::string> rows)
{
    rows.resize(12);
    std::string text(14, '*');
    for (std::string &row : rows) {
        row.resize(12, '.');
        text += "*" + row + "*";
    }
    return text + std::string(14, '*');
}

struct progress_log {
    std::vector<float> shares;
    size_t stop_at = 0;  // the call that answers stop, 0 for none
    std::function<bool(float)> callback()
    {
        return [this](float share) {
            shares.push_back(share);
            return shares.size() != stop_at;
        };
    }
    bool only_grows() const
    {
        for (size_t i = 1; i < shares.size(); i++)
            if (shares[i] < shares[i - 1])
                return false;
        return true;
    }
};

// One solve of `text`, steered by the mouse or the keys, its progress logged; the log answers
// stop on call `stop_at` (0: never).
struct attempt {
    bool solved = false;
    run_record found;
    std::string why;
    progress_log log;
};
attempt solve(const std::string &text, bool keys, size_t stop_at = 0)
{
    attempt a;
    solve_settings opt;
    opt.keys = keys;
    a.log.stop_at = stop_at;
    a.solved = solve_text(text, opt, {}, a.found, a.why, a.log.callback());
    return a;
}

TEST(LevelSolver, StopsAtOnceWhenTheCallbackSaysSo)
{
    // Five flags far apart: six orders to try, far more work than a few calls' worth.
    const std::string text = level({"A..........F", "", "", "", "", ".....F", "", "", "", "", "", "F..........F"});
    for (size_t stop_at : {1, 3}) {
        const attempt a = solve(text, false, stop_at);
        const progress_log &log = a.log;
        const run_record &found = a.found;
        EXPECT_FALSE(a.solved);
        EXPECT_EQ(a.why, "stopped");
        EXPECT_EQ(log.shares.size(), stop_at) << "called again after the stop";
        EXPECT_TRUE(log.only_grows());
        EXPECT_GE(log.shares.front(), 0.0f);
        EXPECT_LT(log.shares.back(), 1.0f);
        EXPECT_TRUE(found.tilts.empty());
    }
}

TEST(LevelSolver, AFlagWalledInIsNotSolvedAndSaysSo)
{
    const std::string text = level({"A...........", "", "......***...", "......*F*...", "......***..."});
    for (bool keys : {false, true}) {
        const attempt a = solve(text, keys);
        const progress_log &log = a.log;
        EXPECT_FALSE(a.solved);
        EXPECT_EQ(a.why.rfind("not solved", 0), 0u) << a.why;
        ASSERT_FALSE(log.shares.empty());
        EXPECT_TRUE(log.only_grows());
        EXPECT_EQ(log.shares.back(), 1.0f);
    }
}

TEST(LevelSolver, TakesAFlagAheadAsFastAsTheRulesAllow)
{
    // The flag three cells right of the start, 117 pixels: taken once the centre is within 25,
    // after 92. Each frame the speed gains the tilt / 1650 and keeps 0.99 of itself. The hand
    // tilts fully at once (200): 90.8 pixels after 41 frames, 94.9 after 42. The right arrow
    // key tilts 5 more each frame: 90.1 pixels after 59 frames, 94.1 after 60.
    const std::string text = level({"A..F"});
    for (bool keys : {false, true}) {
        const attempt a = solve(text, keys);
        const progress_log &log = a.log;
        const run_record &found = a.found;
        ASSERT_TRUE(a.solved) << a.why;
        EXPECT_EQ(found.tilts.size(), keys ? 60u : 42u);
        EXPECT_EQ(found.board, level_key(text));
        const replay_result proof = replay_run(field::from_text(text), found);
        EXPECT_TRUE(proof.won);
        EXPECT_EQ(proof.frames, keys ? 60 : 42);
        EXPECT_TRUE(log.only_grows());
        EXPECT_EQ(log.shares.back(), 1.0f);
    }
}

TEST(LevelSolver, AHandTakesAFlagAheadAtAHandsSpeed)
{
    // The same flag by hand: the first move starts at once, but the tilt grows 25 a frame to
    // full tilt (200) in 8 frames, so the marble is 88.96 pixels on after 44 frames, 93.05
    // after 45.
    solve_settings opt;
    opt.hand = true;
    run_record found;
    std::string why;
    const std::string text = level({"A..F"});
    ASSERT_TRUE(solve_text(text, opt, {}, found, why)) << why;
    ASSERT_EQ(found.tilts.size(), 45u);
    for (int i : {0, 1, 7, 8, 44})
        EXPECT_EQ(found.tilts[i].x, std::min(200, 25 * (i + 1))) << "frame " << i;
    EXPECT_TRUE(replay_run(field::from_text(text), found).won);
}

// A run holds for a hand when most replays under a hand's errors keep out of the holes. On a
// board without a hole nothing a hand misses loses a run that wins; a run that does not win,
// short of the flag or into a hole, holds for no one.
TEST(HandModel, ARunHoldsWhenAHandsErrorsKeepItOutOfTheHoles)
{
    const std::string open = level({"A..F"});
    run_record straight;
    straight.tilts.assign(42, run_tilt{200, 0});  // the solver's straight run, worked out above
    straight.board = level_key(open);
    ASSERT_TRUE(replay_run(field::from_text(open), straight).won);
    EXPECT_EQ(hand_model::trials, noisy_wins(open, straight, 1));
    EXPECT_TRUE(holds_for_a_hand(open, straight));

    run_record short_of_it = straight;
    short_of_it.tilts.resize(30);
    EXPECT_EQ(0, noisy_wins(open, short_of_it, 1));

    EXPECT_EQ(0, noisy_wins(level({"A.O.F"}), straight, 1));
}

}  // namespace
