// A set as a player stands in it: which levels are open, and where Pelaa goes on after a win.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "field/field.h"
#include "records/campaign.h"
#include "records/player_records.h"
#include "records/record_table.h"
#include "records/run_replay.h"
#include "rules/run_file.h"
#include "support/fakes.h"
#include "support/levels.h"

namespace fs = std::filesystem;

TEST(Campaign, ThreeOpenAndOneMoreForEachWinAndPelaaGoesOnToTheFirstNotWon)
{
    const fs::path back = fs::current_path();
    const std::string dir = make_temp_dir();
    fs::current_path(dir);
    fs::create_directories("sarjat/1_koe");
    std::vector<std::string> paths;
    for (int n = 1; n <= 5; n++) {
        const std::string path = "sarjat/1_koe/0" + std::to_string(n) + "_taso.vkl";
        std::ofstream(path) << levels::set_level_file(n);
        paths.push_back(path);
    }
    player_records = record_table();

    std::vector<campaign_set> sets = campaign();
    ASSERT_EQ(2u, sets.size());  // the set, and the player's own (empty) levels
    std::vector<bool> open;
    for (const campaign_level &l : sets[0].levels)
        open.push_back(l.open);
    EXPECT_EQ((std::vector<bool>{true, true, true, false, false}), open);
    EXPECT_EQ(paths[0], first_level());

    // The third won: the fourth opens. Pelaa after it goes to the first after it not won.
    player_records.enter(sets[0].levels[2].key, {500, "2026-12-08", "Aino"});
    sets = campaign();
    EXPECT_TRUE(sets[0].levels[3].open);
    EXPECT_FALSE(sets[0].levels[4].open);
    EXPECT_EQ(paths[3], next_unwon(paths[2]));
    EXPECT_EQ(paths[1], next_unwon(paths[1]));  // not won itself: stays
    EXPECT_EQ(paths[0], next_in_set(paths[4]));  // Seuraava after the last: the first
    player_records = record_table();
    fs::current_path(back);
    fs::remove_all(dir);
}

namespace {

// A set of `n` levels named "S/1.vkl" .. as the select holds them, the first `open` open.
campaign_set test_set(const std::string &name, int n, int open, bool own = false)
{
    campaign_set s;
    s.name = name;
    s.own = own;
    for (int i = 1; i <= n; i++) {
        campaign_level l;
        l.level.path = name + "/" + std::to_string(i) + ".vkl";
        l.open = own || i <= open;
        s.levels.push_back(l);
    }
    return s;
}

}  // namespace

// Seuraava: on through a set, past a locked level; after a set's last, the next set's first
// open level, never the player's own levels; after the last set, the first set again. In the
// player's own levels it goes round in them.
TEST(Campaign, SeuraavaAfterASetsLastGoesOnToTheNextSet)
{
    std::vector<campaign_set> sets = {test_set("a", 3, 3), test_set("b", 4, 3), test_set("c", 2, 2),
                                      test_set("oma", 2, 0, true)};
    EXPECT_EQ("a/2.vkl", next_in_sets(sets, "a/1.vkl"));
    EXPECT_EQ("b/1.vkl", next_in_sets(sets, "a/3.vkl"));
    EXPECT_EQ("c/1.vkl", next_in_sets(sets, "b/3.vkl"));  // b/4.vkl is locked
    EXPECT_EQ("a/1.vkl", next_in_sets(sets, "c/2.vkl"));
    EXPECT_EQ("oma/1.vkl", next_in_sets(sets, "oma/2.vkl"));
    // An empty set is passed over.
    sets[1].levels.clear();
    EXPECT_EQ("c/1.vkl", next_in_sets(sets, "a/3.vkl"));
}

// A run beside a level gives its medal times when its card is shown, not for every level of
// every set; a run replaced is stepped again, and a pipe in a run's place keeps nothing waiting.
TEST(Campaign, MedalsFromARunBesideALevelAreFoundWhenShownAndFollowTheFile)
{
    const fs::path back = fs::current_path();
    const std::string dir = make_temp_dir();
    fs::current_path(dir);
    const std::string shipped = VINKLA_DATA_DIR "/sarjat/1_alkeet/";
    const std::string path = "sarjat/1_koe/01_alku.vkl";
    fs::create_directories("sarjat/1_koe");
    fs::copy_file(shipped + "01_alku.vkl", path);
    fs::copy_file(shipped + "01_alku.vkl.mouse.run", path + ".mouse.run");
    ASSERT_EQ(0, mkfifo((path + ".keys.run").c_str(), 0600));
    player_records = record_table();

    run_record run;
    std::string why;
    ASSERT_TRUE(load_run(path + ".mouse.run", run, why)) << why;
    const replay_result won = replay_run(field::load_field_file(path), run);
    ASSERT_TRUE(won.won) << won.why;
    // No hand's run beside it: its hand time is guessed from the solver's.
    const medal_times expected = medals_from_basis(estimated_hand_time(static_cast<int>(won.time())));

    std::vector<campaign_set> sets = campaign();
    campaign_level &level = sets[0].levels[0];
    EXPECT_FALSE(level.medals_known);
    EXPECT_EQ(0, level.medals.limit[0]);
    find_medals(level);
    EXPECT_TRUE(level.medals_known);
    for (int i = 0; i < 3; i++)
        EXPECT_EQ(expected.limit[i], level.medals.limit[i]);

    // Another level's run in its place wins nothing here; the level's own back, it wins again.
    fs::copy_file(shipped + "10_mutkat.vkl.mouse.run", path + ".mouse.run", fs::copy_options::overwrite_existing);
    EXPECT_EQ(0, solver_basis(path));
    fs::copy_file(shipped + "01_alku.vkl.mouse.run", path + ".mouse.run", fs::copy_options::overwrite_existing);
    EXPECT_EQ(won.time(), solver_basis(path));
    // With the hand's run beside it, the hand's time is the level's.
    fs::copy_file(shipped + "01_alku.vkl.hand.run", path + ".hand.run");
    ASSERT_TRUE(load_run(path + ".hand.run", run, why)) << why;
    const replay_result by_hand = replay_run(field::load_field_file(path), run);
    ASSERT_TRUE(by_hand.won) << by_hand.why;
    EXPECT_EQ(by_hand.time(), hand_time(path));
    fs::current_path(back);
    fs::remove_all(dir);
}
